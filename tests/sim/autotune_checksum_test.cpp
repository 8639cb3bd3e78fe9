// Fingerprints of the simulated tuner's results: the autotune over the load table, the
// matchable-area borders and a run of model frames. The constants were taken from the program
// before its arithmetic was reorganised for speed; every later change of these paths must leave
// each bit of them as it was (a change of the autotune's decisions shows here too, which is why
// the loads whose tune the first pair of stubs cannot finish are left out of the default grid).
#include <gtest/gtest.h>

#include "common/indeptuner.h"
#include "common/tunerrig.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "core/qvwin.h"
#include "sim/autotune.h"
#include "sim/mdlengine.h"
#include "sim/modeltuner.h"
#include "sim/rhoarea.h"
#include "util/random.h"

namespace qz {
namespace {

using testing::LoadTable;
using testing::TableLoad;

// 64-bit FNV-1a over the bytes of the values added.
struct Fnv {
  uint64_t h = 14695981039346656037ull;
  void Bytes(const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i) {
      h ^= b[i];
      h *= 1099511628211ull;
    }
  }
  void Int(int64_t v) { Bytes(&v, sizeof v); }
  void Dbl(double v) {
    uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    Bytes(&u, sizeof u);
  }
};

void AddTune(Fnv& f, const testing::TunerRig& r) {
  for (int k = 1; k <= 3; ++k) f.Int(r.mot.TargPos[k]);
  f.Int(r.at.LastSolve().Iterations);
  f.Dbl(r.at.LastSolve().Q);
  f.Dbl(r.at.LastSolve().Err);
}

// Loads of |Gamma| <= 0.8 that the first pair of stubs leaves above the tolerance from a fresh
// start (the other pair matches them).
const TableLoad kFirstPairShort[] = {
    {0.05, -150}, {0.05, -135}, {0.05, -120}, {0.05, -105}, {0.05, -90}, {0.05, -75},
    {0.05, -60},  {0.05, -45},  {0.1, -165},  {0.1, -150},  {0.1, -135}, {0.1, -45},
    {0.1, -30},   {0.2, -165},  {0.2, -150},  {0.2, -15},   {0.3, 0},    {0.4, -150},
    {0.5, -150},  {0.5, 15},    {0.7, -135},  {0.8, 45}};

bool FirstPairShort(const TableLoad& l) {
  for (const TableLoad& s : kFirstPairShort)
    if (s.mag == l.mag && s.deg == l.deg) return true;
  return false;
}

TEST(TunerChecksum, AutotuneOverTheLoadTable) {
  Fnv exact, defaults;
  int nDefaults = 0;
  for (const TableLoad& l : LoadTable()) {
    const complex load = CPolarDeg(l.mag, l.deg);
    {
      testing::TunerRig r;
      r.mot.Toler_mU = 0;
      r.mot.HystDg = 0;
      r.m.DerivedAt();
      r.at.TU_AutoTun(load);
      AddTune(exact, r);
    }
    if (l.mag <= 0.8 && !FirstPairShort(l)) {
      testing::TunerRig r;
      r.at.TU_AutoTun(load);
      AddTune(defaults, r);
      ++nDefaults;
    }
  }
  EXPECT_EQ(nDefaults, 216 - 22);
  EXPECT_EQ(exact.h, 0x3e1713c3a2fab555ull) << std::hex << exact.h;
  EXPECT_EQ(defaults.h, 0x64a407000c404e6dull) << std::hex << defaults.h;
}

TEST(TunerChecksum, MatchableAndRealizableAreas) {
  testing::TunerRig r;
  Fnv f;
  for (double fHz : {2.40e9, 2.45e9, 2.50e9})
    for (int typ : {kAreaRealizable, kAreaMatchable})
      for (int plane = kAreaOutput; plane <= kAreaTransform; ++plane) {
        TRhoArea a{};
        GetRhoArea(r.m, fHz, typ, plane, nullptr, a);
        for (const TRhoPt& p : a) {
          f.Int(p.re);
          f.Int(p.im);
        }
      }
  EXPECT_EQ(f.h, 0xb2b0fb6361401852ull) << std::hex << f.h;
}

TEST(TunerChecksum, ModelFramesWithAutotune) {
  struct Case {
    double funcert;
    uint64_t sum;
  };
  for (const Case c : {Case{0.0, 0xbb12186b5a04e2afull}, Case{0.1, 0x6027f2942cc5bae5ull}}) {
    SetRandomSource(std::make_unique<SeededRandom>(12345));
    testing::TunerRig r;
    TTunerModelAdapter tuner{r.m, r.at};
    TQvWin qv{r.mot};
    TMdlEngine model{qv, r.sim, tuner};
    model.Sleep = [](int64_t) {};
    r.mot.AtOn = true;
    model.SimulRo = CPolarDeg(0.5, 90.0);
    model.Funcert = c.funcert;
    Fnv f;
    TMerObjekt mob{};
    for (int i = 0; i < 5000; ++i) {
      const int n = model.GetMobBytes(1, mob);
      f.Bytes(mob.data(), static_cast<std::size_t>(n));
      for (int k = 1; k <= 3; ++k) f.Int(r.mot.ActPos[k]);
    }
    SetRandomSource(nullptr);
    EXPECT_EQ(f.h, c.sum) << c.funcert << " " << std::hex << f.h;
  }
}

}  // namespace
}  // namespace qz
