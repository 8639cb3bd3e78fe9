#include "tuner/stubrules.h"

#include <algorithm>

#include "util/numutil.h"

namespace qz {

int NextStepPosition(int act, int size, TSmer dir) {
  const int s = std::max(1, size);
  const int q = act / s;  // integer division, toward zero
  if (dir == TSmer::Dolu) return s * (q + 1);
  return act % s == 0 ? s * (q - 1) : s * q;
}

bool StepPressAllowed(int act, int maxSteps, TSmer dir) {
  return dir == TSmer::Dolu ? act < maxSteps : act > 0;
}

bool RepeatContinues(int targ, int maxSteps) { return targ > 0 && targ < maxSteps; }

TStep StepIndexFor(bool ctrl, bool shift, bool rightButton) {
  if (ctrl) return 0;
  if (shift || rightButton) return 2;
  return 1;
}

TStepSize LimitStepSizes(int st1, int st2, int st3, int maxSteps) {
  const int hi = std::max(1, maxSteps);
  auto lim = [hi](int v) { return uint16_t(ClampLowWins(int32_t(v), 1, int32_t(hi))); };
  return TStepSize{lim(st1), lim(st2), lim(st3)};
}

TStubScale GetStubDrawParams(int maxSteps) {
  TStubScale s;
  s.MaxSteps = std::max(1, maxSteps);
  s.Qgra = kStubQgra;
  s.Kgra = (kGuideHeight - kStubQgra) * 0.8 / s.MaxSteps;
  return s;
}

int StubHeight(const TStubScale& s, int p) {
  const int drawn = ClampLowWins(int32_t(p), 0, int32_t(s.MaxSteps));
  return TruncToInt32(drawn * s.Kgra) + s.Qgra;
}

TStubDragPos StubHeightToSteps(const TStubScale& s, int height) {
  const int p = ClampLowWins(RoundToInt32((height - s.Qgra) / s.Kgra), 0, int32_t(s.MaxSteps));
  if (p == 0 || p == s.MaxSteps) return {p, StubHeight(s, p)};
  return {p, height};
}

TMotErrView ShowMotErr(uint8_t flags) {
  TMotErrView v;
  if (flags & 0x08) {
    v.label = QStringLiteral("Read Stub Position Fail");
    v.visible = true;
    v.stubs.fill(TStubLook::Hatched);
  } else if (flags & 0x07) {
    v.label = QStringLiteral("Motors Error");
    v.visible = true;
    for (int k = 0; k < 3; ++k)
      if (flags & (1u << k)) v.stubs[size_t(k)] = TStubLook::Red;
  }
  return v;
}

TExtMarker PlaceExtMarker(double extMm, int loadX0, int symbolWidth, int textWidth) {
  TExtMarker m;
  if (extMm < -0.001) {
    m.markerX = loadX0 - 9;
    m.visible = true;
  } else if (extMm > 0.001) {
    m.markerX = loadX0 + symbolWidth + 5;
    m.visible = true;
  } else {
    m.markerX = loadX0;
  }
  m.symbolX = m.markerX - symbolWidth;
  m.textX = m.symbolX - 4 - textWidth;
  return m;
}

}  // namespace qz
