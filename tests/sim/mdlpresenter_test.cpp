// The model window's entries without the window: the presenter over a model, and the
// animation's boxes, which act on the running animation at once on every path.
#include "sim/mdlpresenter.h"

#include <gtest/gtest.h>

#include <functional>

#include "mdltesthelpers.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::MdlRig;
using testing::ScopedRandom;

constexpr int kScrW = 1920, kScrH = 1080;

TEST(MdlPresenter, AnimationBoxesReachTheModelOnEveryPath) {
  const TAnimFlags all{true, true, true};
  const struct {
    const char* path;
    std::function<void(TMdlPresenter&)> act;
  } cases[] = {
      {"a box clicked",
       [](TMdlPresenter& p) {
         p.SetAnimFlag(&TAnimFlags::ReverseMag, true);
         p.SetAnimFlag(&TAnimFlags::ReversePha, true);
         p.SetAnimFlag(&TAnimFlags::NoSpiral, true);
       }},
      {"the record edited, then \"&Apply\"",
       [all](TMdlPresenter& p) {
         p.Ent.Flags = all;
         p.Apply();
       }},
      {"the controls changed outside \"&Apply\"",
       [all](TMdlPresenter& p) {
         p.Ent.Flags = all;
         p.AnimControlsChanged();
       }},
      {"a setup read",
       [](TMdlPresenter& p) {
         IniFile ini;
         ini.SetText("[Model]\r\ncbReverseMag=1\r\ncbReversePha=1\r\ncbNoSpiral=1\r\n");
         p.ReadStp(ini, kScrW, kScrH);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    MdlRig r;
    r.p.InitModel(nullptr, kScrW, kScrH);
    ASSERT_EQ(r.m.AnimFlags, TAnimFlags{});
    c.act(r.p);
    EXPECT_EQ(r.p.Ent.Flags, all);
    EXPECT_EQ(r.m.AnimFlags, all);
  }
  // A box cleared again is cleared in the model too, the others stay.
  MdlRig r;
  r.p.SetAnimFlag(&TAnimFlags::ReversePha, true);
  r.p.SetAnimFlag(&TAnimFlags::NoSpiral, true);
  r.p.SetAnimFlag(&TAnimFlags::NoSpiral, false);
  EXPECT_EQ(r.m.AnimFlags, (TAnimFlags{false, true, false}));
}

// "No spiral" clicked while the animation runs: the next frames keep the magnitude offset
// where it stands, the phase offset walks on by its step.
TEST(MdlPresenter, NoSpiralActsOnTheRunningAnimation) {
  ScopedRandom rnd;
  MdlRig r;
  r.p.InitModel(nullptr, kScrW, kScrH);
  TMdlEntries& e = r.p.Ent;
  e.DutType = kDutAnimated;
  e.RhoUncert = QStringLiteral("0");
  e.Anim.UdDwell = 1;
  e.Anim.MeasPerPositTxt = QStringLiteral("1");
  r.p.Apply();
  ASSERT_TRUE(r.m.AnimRho.Active);
  r.m.GetSimRho(1);
  r.m.GetSimRho(1);
  const double ma = r.m.AnimRho.Ma;
  const double fa = r.m.AnimRho.Fa;
  EXPECT_GT(ma, 0.0);  // the spiral moved the magnitude

  r.p.SetAnimFlag(&TAnimFlags::NoSpiral, true);
  r.m.GetSimRho(1);
  EXPECT_DOUBLE_EQ(r.m.AnimRho.Ma, ma);
  EXPECT_DOUBLE_EQ(r.m.AnimRho.Fa, fa + 1.0);  // the phase step of 1 degree
}

}  // namespace
}  // namespace qz
