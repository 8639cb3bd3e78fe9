#pragma once
// The readout under the pointer that a display window shows in the frame window's hint panel
// while the pointer moves over its chart: on rectangular charts the values of the nearest point
// of every visible trace, on circular charts the reflection coefficient under the pointer.

#include <QString>
#include <cstdint>
#include <optional>

#include "charts/raster.h"
#include "charts/traces.h"
#include "util/complex.h"

namespace qz {

// The axis value at a pixel of the axis (the log10 of the value on a logarithmic axis).
double AxisValueAt(const TOs& axis, int32_t pixel);

// Rectangular charts: "Pt " + the point nearest the pointer + ":", then per visible trace two
// blanks, its title, the value (NumberText5) and the unit; "Pt n: no data" when no visible trace
// has that point. Empty outside the chart rectangle.
QString RectReadout(const TRaster& raster, const TTraces& traces, TPt pixel);

// The reflection coefficient under the pointer of a circular display of type `type` (the VSWR
// chart is turned by -90 degrees); nothing beyond |Gamma| = 1 or outside the chart rectangle.
std::optional<complex> RhoAtPixel(const TRaster& raster, int32_t type, TPt pixel);

// "Mag 0.500  Deg -90.0  VSWR 3.00", Smith charts adding "  z 0.600-j0.800" (Z) or
// "  y 0.600+j0.800" (Y).
QString RhoReadout(int32_t type, complex rho);

// The readout of a display of `type` for the pointer at `pixel` of its chart panel.
QString PointerReadout(const TRaster& raster, const TTraces& traces, int32_t type, TPt pixel);

}  // namespace qz
