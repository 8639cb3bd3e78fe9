#include "display/displdefaults.h"

namespace qz {

TTracesAtrib StartAttributes() {
  TTracesAtrib a;
  auto set = [&](size_t i, TColor line, int32_t shape, int32_t size) {
    a[i].LinePen.Color = line;
    a[i].Dots.Tvar = shape;
    a[i].Dots.Dsize = size;
  };
  set(1, clBlue, tvCircle, a[1].Dots.Dsize);
  set(2, clGreen, tvDiamond, 3);
  set(3, clBlack, tvTriangleUp, 3);
  return a;
}

}  // namespace qz
