// Arbitrary bytes as a tuner memory file: the reader never crashes or reads past the bytes, a
// refused file leaves the present description, and an accepted one is usable (finite step length
// within its key's range, positive guide, rates within their range) and writes back to a file
// that reads to the same description.
#include <cmath>

#include "core/records.h"
#include "fuzzcheck.h"
#include "sim/tunerdescr.h"
#include "tuner/tunmem.h"

using qz::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::TMotState mot;
  const qz::TTunMemContent current = qz::TunMemContentOf(qz::DefaultTunerDescr(), mot);
  qz::TTunMemContent out;
  const int32_t code = qz::ReadTunMem(qz::fuzz::Bytes(data, size), current, out);
  Check(code == qz::kTunMemOk || code == qz::kTunMemInvalid, "unexpected result code");
  if (code != qz::kTunMemOk) return 0;

  const qz::TTunerDescr& d = out.Descr;
  Check(std::isfinite(d.MmPerStep) && d.MmPerStep >= 1e-6 && d.MmPerStep <= 10.0,
        "step length outside its range");
  Check(d.WgA_um > 0 && d.WgB_um > 0 && d.FnominKHz > 0, "guide or frequency not positive");
  Check(d.InRate >= 500 && d.OutRate >= 500 && d.MaxSteps >= 10, "motor data outside range");
  Check(d.CellType == qz::kCellWaveguide || d.CellType == qz::kCellCoax, "unknown cell type");
  Check(d.Par1.NH >= 0 && d.Par1.NH <= 9 && d.Par2.NH >= 0 && d.Par2.NH <= 9, "degree outside");
  for (const qz::TStubModel* m : {&d.Par1, &d.Par2})
    for (const auto& row : m->C)
      for (const double c : row) Check(std::isfinite(c), "coefficient not finite");

  // What was accepted writes to a file that reads back the same.
  qz::TTunMemContent again;
  Check(qz::ReadTunMem(qz::TunMemBytes(out, 2), current, again) == qz::kTunMemOk,
        "a written file is refused");
  again.HystDg = out.HystDg;
  Check(again == out, "a written file reads back differently");
  return 0;
}
