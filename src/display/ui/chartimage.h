#pragma once
// A display type's chart of a sweep as a picture, drawn without any window: the chart kind with
// the type's default scales, axes and limit line (as a new display window has them), the traces
// of every record of the sweep, the window's caption centred where a chart caption stands and
// the legend at the top right, all on the image canvas. It needs the GUI application (fonts)
// but no screen: the offscreen platform is enough.

#include <QImage>
#include <cstdint>

#include "core/qvwin.h"

namespace qz {

// The chart of `type` (an offered display type) of the analyzer state's last sweep, width x
// height pixels. bilinActive tells the caption whether the input values are transformed.
QImage RenderSweepChart(const TQvWin& qv, int32_t type, int32_t width, int32_t height,
                        bool bilinActive);

}  // namespace qz
