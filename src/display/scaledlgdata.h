#pragma once
// What the chart-scaling dialog shows and stores, apart from its controls: the field texts and
// check boxes taken from a display, which controls are usable for the display's kind, and how
// the texts go back into the display's axes and zoom. The dialog works on these copies; the
// display changes only on OK (and "Integral" whenever the dialog closes).

#include <QString>
#include <cstdint>

#include "display/displ.h"

namespace qz {

// The texts, check boxes and zoom choice of the dialog, as the operator sees them.
struct TScaleFields {
  QString Xmin, Xmax, Ymin, Ymax;
  QString PolarR;
  int32_t SmithZoom = -1;  // the chosen zoom level of a Smith or VSWR chart; -1 none
  bool Automatic = false;  // the point axis follows the sweep length
  bool Integral = false;   // the vertical axis ends on whole divisions
  bool operator==(const TScaleFields&) const = default;
};

enum class TScaleFocus { Ymax, PolarR, SmithR };

// Which controls are usable. Unusable fields are shown empty in the face colour; the X fields
// of a rectangular display whose point axis follows the sweep keep their texts.
struct TScaleEnabling {
  bool Automatic = false;
  bool Xfields = false;
  bool Xemptied = false;
  bool Yfields = false;  // "Ymin", "Ymax", "Integral" and the axis labels
  bool PolarR = false;
  bool SmithR = false;
  TScaleFocus Focus = TScaleFocus::Ymax;
  bool operator==(const TScaleEnabling&) const = default;
};

// Axis entries are limited to +-1e38, the polar radius to 1e-6 .. 1e6; texts that are not
// numbers give the fixed defaults (X 0 and 100, Y 1 and 10, radius 1).
class TScaleDlgData {
 public:
  // The display's present settings into the fields; npts is the current sweep's point count.
  void Load(const TDispl& displ, int32_t npts);
  TScaleEnabling Enabling() const;
  // The fields into the display: ranges, the point axis rule, the polar radius or the zoom; both
  // axes leave their default ranges.
  void Ok(TDispl& displ);
  // The vertical fields (polar: the radius) from the last range entered by hand.
  void Back(const TDispl& displ);
  // Whenever the dialog closes, OK or not: "Integral" into the vertical axis.
  void Close(TDispl& displ) const;

  TScaleFields F;
  int32_t Npts = 0;
  double Xmin = 0.0, Xmax = 0.0, Ymin = 0.0, Ymax = 0.0;
  double PolarR = 1.0;
  int32_t SmithZoom = 0;
  bool Kruhovy = false;   // circular: polar, Smith or VSWR chart
  bool Pravouhly = true;  // rectangular
  bool Polar = false;     // polar chart
  bool Smith = false;     // Smith or VSWR chart
};

// The zoom levels as the dialog lists them.
inline constexpr const char* kSmithZoomTexts[] = {" 1", " 0.5", " 0.3", " 0.1", " 0.05"};

}  // namespace qz
