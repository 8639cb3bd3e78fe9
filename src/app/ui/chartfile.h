#pragma once
// Saving the chart of the last sweep without a window: for the command line's --chart and the
// control interface. Runs wherever the GUI application exists, also on the offscreen platform.

#include <QString>
#include <cstdint>

#include "app/chartrequest.h"
#include "core/qvwin.h"

namespace qz {

// Renders the last sweep of the analyzer state as the display type named `typeName` (a name of
// ChartTypeNames(), letter case ignored) at width x height (a side of 0 takes its default: 800
// wide, 600 high) and writes it by the file's extension (.png full colour; .bmp, .gif, .jpg in the
// 16 colours of pictures). Code 2 for an unknown type, size or extension (nothing drawn or
// written), 1 when the file cannot be written (an old file stays whole); error is one line.
TChartResult SaveSweepChart(const TQvWin& qv, const QString& typeName, const QString& path,
                            uint32_t width = 0, uint32_t height = 0);
// The same for a display type already read (the command line's --chart).
TChartResult SaveSweepChart(const TQvWin& qv, const TChartRequest& req, const QString& path);

}  // namespace qz
