// A tuner description applied to the program: the unit's identity, the analyzer's cut-off
// frequency and, only when the nominal frequency changed, the substitute frequency and the model's
// frequency entry follow it.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/program.h"
#include "common/freshprofile.h"
#include "sim/mdlpresenter.h"
#include "sim/tunerdescr.h"
#include "tuner/atparamedit.h"
#include "tuner/sysinfotext.h"
#include "tuner/tunmem.h"

namespace qz {
namespace {

struct TunerHost : testing::FreshProfileTest {
  std::unique_ptr<TProgram> p;
  void SetUp() override {
    FreshProfileTest::SetUp();
    p = std::make_unique<TProgram>(true);
    p->Core.MdlPresenter.InitModel(nullptr, 1920, 1080);
  }
  TSimCore& Core() { return p->Core; }
  // Writes a version-2 memory file of the built-in tuner changed by `change` and loads it.
  int32_t LoadChanged(const std::function<void(TTunerDescr&)>& change) {
    TTunMemContent c = TunMemContentOf(DefaultTunerDescr(), Core().Mot);
    change(c.Descr);
    const QString path = dir.filePath(QStringLiteral("t.mem"));
    QString error;
    EXPECT_TRUE(WriteTunMemFile(path, c, 2, error)) << error.toStdString();
    TAtParamEdit edit(Core().TunerModel, Core().Cmd, &asker);
    return edit.LoadMem(path);
  }
};

TEST_F(TunerHost, AMemoryFileSetsTheAnalyzersGuideAndIdentity) {
  Core().Qv.VarPar.FsubstKHz = 2460000;
  ASSERT_EQ(LoadChanged([](TTunerDescr& d) {
              d.WgA_um = 72140;
              d.WgB_um = 34040;
              d.Nick = QStringLiteral("Small Tuner");
              d.SerNum = 77;
            }),
            kTunMemOk);
  EXPECT_DOUBLE_EQ(Core().Qv.f_cutoff, 1.49896229e11 / 72.14);
  const QStringList quzar = QuzarIdentityTexts(Core().Qv.FixPar);
  EXPECT_EQ(quzar[0], "Small Tuner");
  EXPECT_EQ(quzar[4], "77");
  EXPECT_EQ(quzar[5], "72.14 mm x 34.04 mm");
  // The nominal frequency stayed: the operator's substitute frequency stays too.
  EXPECT_EQ(Core().Qv.VarPar.FsubstKHz, 2460000);

  // An autotune edit derives the description again and leaves it as well.
  TAtParamEdit edit(Core().TunerModel, Core().Cmd, &asker);
  asker.QueueText(QStringLiteral("40"));
  edit.EditToler();
  EXPECT_EQ(Core().Mot.Toler_mU, 40);
  EXPECT_EQ(Core().Qv.VarPar.FsubstKHz, 2460000);
}

TEST_F(TunerHost, ANewNominalFrequencyMovesTheSubstituteAndTheModelsFrequency) {
  Core().Qv.VarPar.FsubstKHz = 2460000;
  int shown = 0;
  Core().TunerHost.OnFreRechecked = [&shown] { ++shown; };
  ASSERT_EQ(LoadChanged([](TTunerDescr& d) {
              d.FnominKHz = 915000;
              d.CellType = kCellCoax;
            }),
            kTunMemOk);
  EXPECT_EQ(Core().Qv.VarPar.FsubstKHz, 915000);
  EXPECT_EQ(Core().Qv.FixPar.IsCoax, 1);
  EXPECT_EQ(Core().Qv.f_cutoff, 0.0);
  // 2.45 GHz is far from the new nominal frequency: the model takes the nominal one.
  EXPECT_DOUBLE_EQ(Core().Model.f_Hz, 915e6);
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace qz
