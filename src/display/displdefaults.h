#pragma once
// What every new display window starts from: a depot, a caption style, four trace attribute
// sets and the type for new windows. A closing window leaves its own settings here.

#include <cstdint>

#include "charts/labelstyle.h"
#include "charts/traces.h"
#include "display/rasterdepot.h"

namespace qz {

// The four attribute sets a fresh program gives traces 0..3: the default trace (red line,
// square markers), blue with circles, dark green with diamonds of size 3, black with upward
// triangles of size 3.
TTracesAtrib StartAttributes();

struct TDisplayDefaults {
  TRasterDepot Depot;
  TLabelStyle CaptStyle;
  TTracesAtrib Atr = StartAttributes();
  int32_t NewType = diMag;

  // The attribute sets anew; depot and caption style keep what they hold.
  void ResetDisplayDefaults() { Atr = StartAttributes(); }
};

}  // namespace qz
