#include "core/records.h"

#include "util/numutil.h"

namespace qz {

namespace {
constexpr uint16_t kLvlMask = 0x7F;
constexpr int kPulsShift = 7;
constexpr int kMethShift = 14;
}  // namespace

int TrgMethodOf(uint16_t packed) { return packed >> kMethShift; }
int RectAccLvlOf(uint16_t packed) { return packed & kLvlMask; }
int PulsAccLvlOf(uint16_t packed) { return (packed >> kPulsShift) & kLvlMask; }

uint16_t WithTrgMethod(uint16_t packed, int method) {
  const int m = ClampLowWins(int32_t(method), 0, kTrgMethMax);
  return uint16_t((packed & 0x3FFF) | (m << kMethShift));
}

uint16_t WithRectAccLvl(uint16_t packed, int level) {
  const int l = ClampLowWins(int32_t(level), 0, kAccLvlMax);
  return uint16_t((packed & ~kLvlMask) | l);
}

uint16_t WithPulsAccLvl(uint16_t packed, int level) {
  const int l = ClampLowWins(int32_t(level), 0, kAccLvlMax);
  return uint16_t((packed & ~(kLvlMask << kPulsShift)) | (l << kPulsShift));
}

bool BlockSamplingOn(int waveform, const TRectif& rectif, const TPulsed& pulsed) {
  if (waveform == wfRectified) return rectif.Bsamples;
  if (waveform == wfPulsed) return pulsed.Bsamples;
  return false;
}

TMeaStpBytes MeaStpToBytes(const TMeaStp& m) {
  TMeaStpBytes b{};
  auto put16 = [&b](int off, uint16_t v) {
    b[off] = uint8_t(v & 0xFF);
    b[off + 1] = uint8_t(v >> 8);
  };
  put16(0, m.OnPeriod_ms);
  put16(2, m.OfsPeriod_s);
  put16(4, m.FPeriod_ms);
  put16(6, m.TPeriod_s);
  put16(8, m.TxPeriod_ms);
  b[10] = m.TxMask;
  b[11] = uint8_t(m.OnRnge);
  b[12] = uint8_t(m.OfsRnge);
  b[13] = m.OfsEqualOn ? 1 : 0;
  b[14] = m.AkoOnOff;
  return b;
}

TMeaStp MeaStpFromBytes(const TMeaStpBytes& b) {
  auto get16 = [&b](int off) { return uint16_t(b[off] | (b[off + 1] << 8)); };
  TMeaStp m;
  m.OnPeriod_ms = get16(0);
  m.OfsPeriod_s = get16(2);
  m.FPeriod_ms = get16(4);
  m.TPeriod_s = get16(6);
  m.TxPeriod_ms = get16(8);
  m.TxMask = b[10];
  m.OnRnge = TRangeE(b[11]);
  m.OfsRnge = TRangeE(b[12]);
  m.OfsEqualOn = b[13] != 0;
  m.AkoOnOff = b[14];
  return m;
}

void SetAutotuneDefaults(TMotState& m) {
  m.Toler_mU = kAtDefToler_mU;
  m.Skip = kAtDefSkip;
  m.Delay5b = kAtDefDelay5b;
  m.Smooth = kAtDefSmooth;
  m.WaitRF = kAtDefWaitRF;
  m.Targ_mU = kAtDefTarg_mU;
}

}  // namespace qz
