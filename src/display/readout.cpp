#include "display/readout.h"

#include <cmath>

#include "display/disptypes.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/unitconv.h"

namespace qz {

namespace {

bool InChart(const TRaster& r, TPt p) {
  const TRectI& c = r.ChartRect;
  return p.x >= c.left && p.x <= c.right && p.y >= c.top && p.y <= c.bottom;
}

// The value of point `n` (its x equal to n) of a trace.
std::optional<double> ValueAtPoint(const TOneTrace& t, int32_t n) {
  // The points of a sweep stand at their own index unless records were skipped.
  if (const auto x = t.GetX(n); x && *x == double(n)) return t.GetY(n);
  for (int32_t i = 0; i < t.GetCount(); ++i)
    if (*t.GetX(i) == double(n)) return t.GetY(i);
  return std::nullopt;
}

QString Fixed3(double v) { return Format(QStringLiteral("%1.3f"), {v}); }

}  // namespace

double AxisValueAt(const TOs& axis, int32_t pixel) {
  if (axis.Gmult == 0.0) return axis.Gshift;
  return double(pixel) / axis.Gmult + axis.Gshift;
}

QString RectReadout(const TRaster& raster, const TTraces& traces, TPt pixel) {
  if (!InChart(raster, pixel)) return QString();
  double x = AxisValueAt(raster.Ox, pixel.x);
  if (!raster.Ox.Stp.Data.Blin) x = std::pow(10.0, x);
  if (!std::isfinite(x)) return QString();
  const int32_t n = RoundToInt32(ClampLowWins(x, 0.0, double(TOneTrace::kMaxPoints)));
  const QString unit = raster.Oy.Stp.Data.Jedn;
  QString text = Format(QStringLiteral("Pt %d:"), {n});
  bool any = false;
  for (int32_t j = 0; j < traces.Count(); ++j) {
    const TOneTrace* t = traces.Trace(j);
    if (!t || !t->Attr().Visible) continue;
    const std::optional<double> v = ValueAtPoint(*t, n);
    if (!v) continue;
    any = true;
    text += QStringLiteral("  ") + t->Title + QLatin1Char(' ') + NumberText5(*v);
    if (!unit.isEmpty()) text += QLatin1Char(' ') + unit;
  }
  if (!any) text += QStringLiteral(" no data");
  return text;
}

std::optional<complex> RhoAtPixel(const TRaster& raster, int32_t type, TPt pixel) {
  if (!InChart(raster, pixel)) return std::nullopt;
  const double x = AxisValueAt(raster.Ox, pixel.x);
  const double y = AxisValueAt(raster.Oy, pixel.y);
  // The VSWR chart shows (Im, -Re): straight up is an angle of 180 degrees.
  const complex rho = type == diOven ? complex(-y, x) : complex(x, y);
  if (!(CAbs(rho) <= 1.0)) return std::nullopt;
  return rho;
}

QString RhoReadout(int32_t type, complex rho) {
  const double mag = CAbs(rho);
  QString text = Format(QStringLiteral("Mag %1.3f  Deg %1.1f  VSWR "), {mag, CArgDeg(rho)}) +
                 SwrToText(RhoToSwr(mag)).trimmed();
  if (type == diZSmith || type == diYSmith) {
    // The normalised impedance (1 + G) / (1 - G), or its inverse, the admittance.
    complex z = CDiv(complex(1.0 + rho.re, rho.im), complex(1.0 - rho.re, -rho.im));
    if (type == diYSmith) z = CInv(z);
    const QString im = Fixed3(std::fabs(z.im));
    const bool minus = z.im < 0.0 && im != Fixed3(0.0);
    text += (type == diZSmith ? QStringLiteral("  z ") : QStringLiteral("  y ")) + Fixed3(z.re) +
            (minus ? QStringLiteral("-j") : QStringLiteral("+j")) + im;
  }
  return text;
}

QString PointerReadout(const TRaster& raster, const TTraces& traces, int32_t type, TPt pixel) {
  if (!IsCircularType(type)) return RectReadout(raster, traces, pixel);
  const std::optional<complex> rho = RhoAtPixel(raster, type, pixel);
  return rho ? RhoReadout(type, *rho) : QString();
}

}  // namespace qz
