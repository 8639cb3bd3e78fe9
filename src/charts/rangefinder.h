#pragma once
// Choosing round axis ends and division steps: the linear finder, and the logarithmic finders by
// decades and with divisions at 2..9 of each decade.

#include <cstdint>

namespace qz {

// The two step candidates for a span split into about n divisions: the coarse one and the next
// finer one (2p/p, 5p/2p or 10p/5p for a power of ten p).
struct TLinSteps {
  double coarse = 1.0;
  double fine = 1.0;
};
TLinSteps FindLinSteps(double lo, double hi, int32_t n);

// Result of the linear finder.
struct TLinRange {
  double lo = 0.0;  // the requested ends, widened when they had no usable span
  double hi = 1.0;
  double step = 1.0;  // the division step taken (D)
  double min = 0.0;   // axis ends on whole steps
  double max = 1.0;
  double min1 = 0.0;  // first division above min, last division below max
  double max1 = 1.0;
  int32_t count = 1;  // divisions between min and max
};

// Round ends and step for lo..hi (lo <= hi) with at most about n divisions. A range without a
// usable span is widened first: to -1..1 near zero, else to 0.5*lo..1.5*lo (ordered).
TLinRange FindLinRange(double lo, double hi, int32_t n);

struct TLogRange {
  double min = 1.0;
  double max = 10.0;
  double min1 = 1.0;
  double max1 = 10.0;
};

// Logarithmic ends for 0 < lo <= hi on whole decades.
TLogRange FindLogDecadeRange(double lo, double hi);
// Logarithmic ends for 0 < lo <= hi on the divisions 1..10 of each decade.
TLogRange FindLogFineRange(double lo, double hi);

}  // namespace qz
