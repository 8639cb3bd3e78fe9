#pragma once
// Where a display window's legend and clock panels sit over its chart panel. Both panels are
// dragged by the operator and follow the panel proportionally when the window is resized, so
// they keep their place over the chart; wherever they go, they stay whole inside the panel.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <vector>

#include "charts/textbox.h"

namespace qz {

// A panel of size `item` with its top-left at `p`, moved into the chart panel: left 1 .. panel
// width − item width − 2, top 1 .. panel height − item height − 2 (1 when the panel is smaller).
QPoint ClampPanelInto(QSize item, QSize panel, QPoint p);

// The top-left corner as fractions of the panel's size, and back (then clamped).
QPointF PanelFractions(QPoint topLeft, QSize panel);
QPoint PanelFromFractions(QPointF fractions, QSize item, QSize panel);

struct TPanelPlaces {
  QPoint legend;
  QPoint clock;
};

// Until the operator or the setup places them: the legend at the top, right-aligned, the clock
// left of it.
TPanelPlaces DefaultPanelPlaces(QSize legend, QSize clock, QSize panel);

// "Arrange Panels": the clock at the top with its right edge 2 pixels right of the chart's,
// the legend inside the chart's top right corner (right edge 1 pixel left of the chart's, top 4
// pixels below the chart's top), both clamped into the panel.
TPanelPlaces ArrangedPanelPlaces(QRect chart, QSize legend, QSize clock, QSize panel);

// The clock placed by the program (not by the operator) never covers a text of the chart or a
// label: where its place would, it goes below the legend (right edges aligned, 2 pixels below,
// or further down where that covers a text too), clamped into the panel. `legend` is the
// legend's place and size.
QPoint ClockClearOfTexts(QPoint clock, QSize clockSize, QRect legend,
                         const std::vector<TTextBox>& texts, QSize panel);

// The legend placed by the program never covers a text of the chart or a label either: where
// its place would, it goes down, its left edge kept, to the first place that covers none inside
// the panel; where there is none it stays. Places the operator or the setup gave are kept as
// they are.
QPoint LegendClearOfTexts(QPoint legend, QSize legendSize, const std::vector<TTextBox>& texts,
                          QSize panel);

// Both rules for places the program gives (its default ones, "Arrange Panels"): the legend first,
// then the clock by the legend where it finally stands.
TPanelPlaces PanelsClearOfTexts(TPanelPlaces asked, QSize legend, QSize clock,
                                const std::vector<TTextBox>& texts, QSize panel);

}  // namespace qz
