#pragma once
// Where the command layer's frame read takes its frames from. With no unit attached the
// simulation model builds them; tests hand in a source of their own.

#include "core/records.h"

namespace qz {

class TFrameSource {
 public:
  virtual ~TFrameSource() = default;
  // Builds the next result frame into mob. avg is the unit's averaging count (the analyzer's
  // Vrpt, at least 1); the random deviations of a simulated frame shrink with its square root.
  virtual void GetMobBytes(int avg, TMerObjekt& mob) = 0;
};

}  // namespace qz
