// Arbitrary frames through the decoder and the sweep memory. The first 31 bytes are the frame
// (missing bytes are 0); further bytes choose the cut-off frequency, the transforms, the motor
// state and the sweep's capacity and pre-trigger. Any crash, sanitizer report or broken
// invariant is a finding.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/frame.h"
#include "core/frameenc.h"
#include "core/onesweep.h"
#include "core/records.h"

namespace {

class FuzzTransforms : public qz::TFrameTransforms {
 public:
  bool bilin = false, plane = false;
  double factor = 0.0, scale = 1.0;
  bool BilinActive() const override { return bilin; }
  qz::complex BilinToShown(const qz::complex& rho, double f) const override {
    return qz::complex(rho.re * scale, rho.im * scale + f * 0.0);
  }
  bool PlaneExtOn() const override { return plane; }
  double PlaneExtFactor() const override { return factor; }
};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qz::TMerObjekt frame{};
  const size_t n = size < frame.size() ? size : frame.size();
  std::memcpy(frame.data(), data, n);
  const uint8_t* extra = data + n;
  size_t left = size - n;
  auto take = [&](size_t k, void* out) {
    std::memset(out, 0, k);
    const size_t c = left < k ? left : k;
    std::memcpy(out, extra, c);
    extra += c;
    left -= c;
  };

  uint8_t mode = 0;
  take(1, &mode);
  double fc = 0.0;
  double factor = 0.0;
  take(sizeof fc, &fc);
  take(sizeof factor, &factor);
  static const double kCutoffs[] = {0.0, 1.49896229e11 / 86.36, 2.45e9, 1e300};
  if (!(mode & 0x80)) fc = kCutoffs[mode & 3];  // else the raw bytes, NaN and infinities too

  FuzzTransforms tr;
  tr.bilin = (mode & 0x04) != 0;
  tr.plane = (mode & 0x08) != 0;
  tr.factor = factor;
  tr.scale = (mode & 0x10) ? 1e308 : 0.5;

  qz::THresults res;
  qz::TMotState mot;
  uint8_t flags = 0;
  take(1, &flags);
  mot.ErrFlags = flags;
  uint16_t nmo = 0xFFFF;
  const bool ok = qz::DekodMerData(frame, res, mot, fc, tr, nmo);

  Check(nmo < qz::kMobSize);
  Check(((mot.ErrFlags ^ flags) & qz::kMotErrReadFail) == 0);
  if (ok) {
    Check(nmo + 1 == qz::FrameLength(frame[0]));
    Check(res.qv_ok || res.su_mot);
    Check(frame[nmo] == qz::FrameChecksum(frame, nmo));
    if (res.qv_ok) {
      Check(res.Pinc >= 0.0);
      Check(!(res.Prfl > res.Pinc));
      Check(res.FreD == double(res.Fre) * 10.0);
    }
  }

  // The same frame into a sweep of fuzzed capacity, resized and rotated.
  int16_t cap = 0, cap2 = 0;
  int32_t pre = 0;
  take(sizeof cap, &cap);
  take(sizeof cap2, &cap2);
  take(sizeof pre, &pre);
  qz::TOneSweep swp;
  swp.SetNwanted(cap % 64);
  for (int i = 0; i < (mode & 0x1F); ++i) swp.Add(frame);
  swp.SetNwanted(cap2 % 64);
  swp.Add(frame);
  const int32_t before = pre;
  swp.Rotuj(pre);
  Check(swp.Count() >= 0 && swp.Count() <= swp.Nwanted());
  Check(swp.Last() >= -1 && swp.Last() < swp.Nwanted());
  if (swp.Count() == 0)
    Check(pre == before);
  else
    Check(pre >= 0 && pre < swp.Count());
  for (int i = 0; i < swp.Count(); ++i) {
    qz::THresults r2;
    qz::TMotState m2;
    uint16_t n2 = 0;
    Check(qz::DekodMerData(swp.Frame(i), r2, m2, fc, n2) == ok);
  }
  return 0;
}
