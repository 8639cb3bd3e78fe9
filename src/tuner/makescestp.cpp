#include "tuner/makescestp.h"

#include <cstdint>

#include "util/inifile.h"
#include "util/stpkeys.h"

namespace qz {

const char* const kMakeSceEdKeys[kMakeSceEntries] = {
    "edRstart", "edRstop", "edRstep", "edStartAngle", "edStopAngle", "edRot", "edDwell"};

namespace {

const TStpKeys<TMakeSceStp>& Keys() {
  using M = TMakeSceStp;
  static const TStpKeys<M> keys = [] {
    constexpr int64_t lo = INT32_MIN;
    constexpr int64_t hi = INT32_MAX;
    TStpKeys<M> k;
    k.Int(
         "Top", [](M& m) -> int& { return m.pos.top; }, lo, hi)
        .Int(
            "Left", [](M& m) -> int& { return m.pos.left; }, lo, hi)
        .Int(
            "Width", [](M& m) -> int& { return m.pos.width; }, lo, hi)
        .Int(
            "Height", [](M& m) -> int& { return m.pos.height; }, lo, hi)
        // Only 1 means circles, whatever else the key holds.
        .CustomKey(
            "rgTrajectory",
            [](const M& m, IniFile& ini, const QString& s, const QString& key) {
              ini.WriteInteger(s, key, m.circ ? 1 : 0);
            },
            [](M& m, const IniFile& ini, const QString& s, const QString& key) {
              m.circ = ini.ReadInteger(s, key, m.circ ? 1 : 0) == 1;
            });
    for (int i = 0; i < kMakeSceEntries; ++i)
      k.Text(kMakeSceEdKeys[i], [i](M& m) -> QString& { return m.ed[size_t(i)]; });
    k.Bool("cbClockwise", &M::clockwise)
        .Bool("cbSegment", &M::segment)
        .Bool("cbAddMatch", &M::addMatch)
        .Bool("cbSkipMatches", &M::skipMatches)
        .Bool("cbShuttle", &M::shuttle);
    return k;
  }();
  return keys;
}

}  // namespace

void TMakeSceStp::WriteStp(IniFile& ini, const QString& section) const {
  Keys().Write(*this, ini, section);
}

void TMakeSceStp::ReadStp(const IniFile& ini, const QString& section) {
  Keys().Read(*this, ini, section);
}

}  // namespace qz
