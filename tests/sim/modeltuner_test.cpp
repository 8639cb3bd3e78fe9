// The model's frames through the real tuner model and its autotune.
#include "sim/modeltuner.h"

#include <gtest/gtest.h>

#include "common/tunerrig.h"

#include "core/frame.h"
#include "core/qvwin.h"
#include "core/smatrixalg.h"
#include "mdltesthelpers.h"
#include "sim/autotune.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "sim/tunerdescr.h"
#include "sim/tunermodel.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::ScopedRandom;

// The shared tuner rig with the model on top of it.
struct ModelRig : testing::TunerRig {
  TTunerModelAdapter tuner{m, at};
  TQvWin qv{mot};
  TMdlEngine model{qv, sim, tuner};
  ModelRig() {
    model.Sleep = [](int64_t) {};
  }
};

TEST(ModelTuner, FrameCarriesTunerInputAndLoad) {
  ScopedRandom rnd;
  ModelRig r;
  r.mot.AtOn = false;
  r.mot.ActPos = MakeMotPos(300, 800, 0);
  r.model.SimulRo = CPolarDeg(0.5, 40);
  TMerObjekt f{};
  ASSERT_EQ(r.model.GetMobBytes(1, f), 29);
  THresults res;
  TMotState mot2;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(f, res, mot2, 0.0, nmo));
  // The load is the DUT; the measured value is what the tuner's input shows for it.
  EXPECT_NEAR(res.Rho_z.re, r.model.SimulRo.re, 1.0 / 4096);
  EXPECT_NEAR(res.Rho_z.im, r.model.SimulRo.im, 1.0 / 4096);
  const complex in = InputFromLoad(r.model.SimulRo, r.m.TunerChain(r.mot.ActPos, kCloseOutput));
  EXPECT_NEAR(res.Rho_m.re, in.re, 1.0 / 4096);
  EXPECT_NEAR(res.Rho_m.im, in.im, 1.0 / 4096);
  EXPECT_EQ(mot2.ActPos, r.mot.ActPos);
  EXPECT_GT(CAbs(complex(in.re - r.model.SimulRo.re, in.im - r.model.SimulRo.im)), 0.01);
}

TEST(ModelTuner, AutotuneMatchesTheLoadOverFrames) {
  ScopedRandom rnd;
  ModelRig r;
  r.mot.AtOn = true;
  r.model.SimulRo = CPolarDeg(0.5, 60);
  TMerObjekt f{};
  THresults res;
  TMotState mot2;
  uint16_t nmo = 0;
  for (int i = 0; i < 3; ++i) r.model.GetMobBytes(1, f);
  ASSERT_TRUE(DekodMerData(f, res, mot2, 0.0, nmo));
  EXPECT_LT(res.Mag_m, 0.05);
  EXPECT_NE(mot2.ActPos, MakeMotPos(0, 0, 0));
}

TEST(ModelTuner, SetupCarriesTheDescription) {
  ModelRig a;
  a.d.MaxSteps = 4321;
  IniFile ini;
  TMdlPresenter(a.model).WriteStp(ini);
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Model"), QStringLiteral("MaxSteps"), 0), 4321);
  ModelRig b;
  b.sim.UserMax_mm = 3;
  TMdlPresenter(b.model).ReadStp(ini, 1000, 1000);
  EXPECT_EQ(b.d.MaxSteps, 4321);
}

}  // namespace
}  // namespace qz
