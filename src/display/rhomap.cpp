#include "display/rhomap.h"

#include <cmath>

#include "util/numutil.h"

namespace qz {

double RhoRadius(int index) {
  switch (index) {
    case 1:
      return 0.5;
    case 2:
      return 0.25;
    default:
      return 1.0;
  }
}

int32_t RhoClientHeight(int32_t height, int32_t minBottom) {
  int64_t h = height;
  if (h < int64_t(minBottom) + 2) h = int64_t(minBottom) + 2;
  if (h % 2 == 0) ++h;
  return static_cast<int32_t>(ClampLowWins(h, int64_t(1), int64_t(INT32_MAX - 1)));
}

void TRhoMap::Layout(int32_t left, int32_t width) {
  X1 = left + 2;
  X2 = left + width - 3;
  Stred = (double(X1) + double(X2)) / 2.0;
  Dlzka = double(X2) - Stred + 1.0;
}

void TRhoMap::Scale(double r) {
  R = r;
  Pmult = R / Dlzka;
  Rmult = Dlzka / R;
  Pshift = Stred;
  Rshift = -Stred * R / Dlzka;

  for (int k = 1; k <= 5; ++k) {
    const double rk = R * k / 5.0;
    const TPt tl = ToPixel(complex(-rk, rk));
    const TPt br = ToPixel(complex(rk, -rk));
    Kr[static_cast<std::size_t>(k - 1)] = TRectI{tl.x, tl.y, br.x, br.y};
  }
  const double d = R / std::sqrt(2.0);
  auto seg = [this](const complex& a, const complex& b) {
    const TPt p = ToPixel(a);
    const TPt q = ToPixel(b);
    return TSegment{p.x, p.y, q.x, q.y};
  };
  Li[0] = seg(complex(-R, 0.0), complex(R, 0.0));
  Li[1] = seg(complex(0.0, R), complex(0.0, -R));
  Li[2] = seg(complex(-d, -d), complex(d, d));
  Li[3] = seg(complex(-d, d), complex(d, -d));
}

TPt TRhoMap::ToPixel(const complex& g) const {
  return TPt{RoundToInt32((g.re - Rshift) * Rmult), RoundToInt32(Rmult * (-Rshift - g.im))};
}

complex TRhoMap::ToRho(TPt p) const {
  return complex((double(p.x) - Pshift) * Pmult, (Pshift - double(p.y)) * Pmult);
}

}  // namespace qz
