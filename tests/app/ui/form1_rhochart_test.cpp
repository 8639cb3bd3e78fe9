// The reflection-coefficient chart in the frame window: shown by the model when its load type
// is "Chart", choosing the simulated load, giving the model back a defined load when closed,
// following the model's frequency, and kept in the automatic setup.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/program.h"
#include "app/simcore.h"
#include "app/transformcmds.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/testfiles.h"
#include "display/ui/rhochart.h"
#include "sim/ui/qzmdl.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

class Form1RhoChart : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    startInSetUp = false;
    StartedForm1Test::SetUp();
    if (HasFatalFailure()) return;
    // The shipped setup, with the shipped tuner.
    ASSERT_TRUE(QFile::copy(InProgramFolder(QStringLiteral("QzSim0.ini")), Auto()));
    QFile(Auto()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Restart();
    if (HasFatalFailure()) return;
    chart = form->ToolWindows().Window<TRhoChart>("RhoChart");
    mdl = form->ToolWindows().Window<TQzMdl>("Model");
    ASSERT_NE(chart, nullptr);
    ASSERT_NE(mdl, nullptr);
  }
  // The model window's load type (and frequency text, when given) applied as "&Apply" does.
  void ApplyModel(int dutType, const QString& freq = QString()) {
    mdl->ToEntries();
    mdl->Presenter().Ent.DutType = dutType;
    mdl->Presenter().Ent.RhoUncert = QStringLiteral("0");  // no random deviation of the load
    if (!freq.isEmpty()) mdl->Presenter().Ent.Fre = freq;
    mdl->FromEntries();
    mdl->DoApply();
  }
  void ShowArea(int kind) {
    chart->findChild<QGroupBox*>(QStringLiteral("rgArea"))
        ->findChildren<QAbstractButton*>()[kind]
        ->click();
  }
  // One measurement run of at least one accepted frame.
  void MeasureOnce() {
    const int64_t before = form->Core().Cycle.AcceptedFrames();
    QTimer t;
    t.setInterval(0);
    QObject::connect(&t, &QTimer::timeout, [&] {
      if (form->Core().Cycle.AcceptedFrames() > before) {
        t.stop();
        form->miSweepClick();
      }
    });
    t.start();
    form->miSweepClick();
  }

  TRhoChart* chart = nullptr;
  TQzMdl* mdl = nullptr;
};

TEST_F(Form1RhoChart, TheModelOnChartShowsItAndTheChosenLoadReachesTheFrames) {
  EXPECT_FALSE(chart->isVisible());
  ApplyModel(kDutChart);
  ASSERT_TRUE(chart->isVisible());
  TSimCore& core = form->Core();
  EXPECT_TRUE(core.Model.UseChart);
  const int c = chart->ChartPanel()->height() / 2;
  const int d = c / 2;
  chart->PressAt(TPt{c, c});
  chart->MoveTo(TPt{c - d, c});  // about -0.5 at radius 1
  chart->Release();
  EXPECT_EQ(core.Model.SimulRo, chart->Rho());
  EXPECT_NEAR(chart->Rho().re, -0.5, 0.02);
  MeasureOnce();
  EXPECT_NEAR(core.Qv.Res.Rho_z.re, chart->Rho().re, 1.0 / 4096);
  EXPECT_NEAR(core.Qv.Res.Rho_z.im, chart->Rho().im, 1.0 / 4096);
  // "&Apply" again keeps the chart's value as the load.
  ApplyModel(kDutChart);
  EXPECT_EQ(core.Model.SimulRo, chart->Rho());
}

TEST_F(Form1RhoChart, ClosingTheChartGivesTheModelADefinedLoadAgain) {
  ApplyModel(kDutChart);
  ASSERT_TRUE(chart->isVisible());
  chart->PressAt(TPt{5, 5});
  chart->close();
  EXPECT_FALSE(chart->isVisible());
  TMdlEngine& m = form->Core().Model;
  const TMdlEntries& e = form->Core().MdlPresenter.Ent;
  EXPECT_FALSE(m.UseChart);
  EXPECT_EQ(e.DutType, kDutDefined);
  mdl->ToEntries();
  EXPECT_EQ(e.DutType, kDutDefined);            // the window's "Type" shows it too
  EXPECT_NEAR(CAbs(m.SimulRo), m.Mg11, 1e-12);  // the defined load
  EXPECT_NE(m.SimulRo, chart->Rho());
  // Another load type leaves a hidden chart hidden.
  ApplyModel(kDutMatch);
  EXPECT_FALSE(chart->isVisible());
}

TEST_F(Form1RhoChart, ClosingTheChartGivesTheDefinedEntriesTheirColourBack) {
  auto* mag = mdl->findChild<QLineEdit*>(QStringLiteral("edMag"));
  ASSERT_NE(mag, nullptr);
  const QColor entry = mdl->palette().color(QPalette::Base);
  // "Chart" chosen in the model window: the defined load's entries do not act.
  mdl->findChild<QAbstractButton*>(QStringLiteral("rbType3"))->click();
  mdl->findChild<QPushButton*>(QStringLiteral("btApply"))->click();
  ASSERT_TRUE(chart->isVisible());
  EXPECT_EQ(mag->palette().color(QPalette::Base), mdl->palette().color(QPalette::Button));
  chart->close();
  EXPECT_EQ(form->Core().MdlPresenter.Ent.DutType, kDutDefined);
  EXPECT_EQ(mag->palette().color(QPalette::Base), entry);
  EXPECT_TRUE(mag->parentWidget()->isEnabled());
}

TEST_F(Form1RhoChart, TheModelsApplyWithAnotherFrequencyRedrawsTheAreas) {
  ApplyModel(kDutChart);
  ShowArea(kAreaMatchable);
  const TRhoArea before = chart->Pad().RhoArea;
  EXPECT_NE(before, TRhoArea{});
  EXPECT_EQ(chart->Pad().FreqText, "2.45 GHz");
  ApplyModel(kDutChart, QStringLiteral("2400"));
  EXPECT_NE(chart->Pad().RhoArea, before);
  EXPECT_EQ(chart->Pad().FreqText, "2.4 GHz");
  // Not on "Chart" any more, a chart still shown follows too.
  chart->show();
  const TRhoArea at24 = chart->Pad().RhoArea;
  ApplyModel(kDutMatch, QStringLiteral("2480"));
  EXPECT_NE(chart->Pad().RhoArea, at24);
  EXPECT_EQ(chart->Pad().FreqText, "2.48 GHz");
}

TEST_F(Form1RhoChart, ATransformCommandRedrawsTheAreasWhileTheModelUsesTheChart) {
  QAction* load = nullptr;
  for (QAction* a : form->findChildren<QAction*>())
    if (a->text() == "Load" && a->statusTip() == QString::fromLatin1(kTransformLoadHint)) load = a;
  ASSERT_NE(load, nullptr);
  ApplyModel(kDutChart);
  ShowArea(kAreaMatchable);
  const TRhoArea fetched = chart->Pad().RhoArea;
  const TRhoArea junk{};
  chart->Pad().RhoArea = junk;
  load->trigger();  // no file chosen: the transform is switched off, which counts as a change
  EXPECT_EQ(chart->Pad().RhoArea, fetched);
  // A model that does not use the chart leaves it alone.
  ApplyModel(kDutMatch);
  chart->show();
  chart->Pad().RhoArea = junk;
  load->trigger();
  EXPECT_EQ(chart->Pad().RhoArea, junk);
}

TEST_F(Form1RhoChart, ItsSectionIsWrittenAndLoaded) {
  chart->show();
  chart->move(30, 40);
  QString err;
  ASSERT_TRUE(form->Setup().WriteAutoSetup(err)) << err.toStdString();
  IniFile a(InUserFolder("QzSim0.ini"));
  EXPECT_EQ(a.ReadInteger("RhoChart", "Top", -1), 40);
  EXPECT_EQ(a.ReadInteger("RhoChart", "Left", -1), 30);
  EXPECT_EQ(a.ReadInteger("RhoChart", "Height", -1), chart->height());
  EXPECT_EQ(a.ReadInteger("RhoChart", "Width", -1), chart->width());
  EXPECT_FALSE(a.ValueExists("RhoChart", "Visible"));

  const QString stp = InUserFolder("user.stp");
  testing::WriteAll(stp, "[RhoChart]\r\nTop=70\r\nLeft=80\r\nHeight=600\r\n");
  QString comment;
  ASSERT_TRUE(form->Program().LoadSetupFile(stp, comment, err)) << err.toStdString();
  EXPECT_EQ(chart->pos(), QPoint(80, 70));
  EXPECT_EQ(chart->height(), 601);
}

}  // namespace
}  // namespace qz
