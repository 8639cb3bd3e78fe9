// The tool-window registry of the window program: every window in the orders its setup files
// and the operators' habits rely on.

#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <functional>

#include "app/program.h"
#include "app/setupfiles.h"
#include "app/toolwindows.h"
#include "app/ui/form1.h"
#include "comm/qzcmd.h"
#include "common/form1rig.h"
#include "common/sampleresult.h"
#include "common/windoworders.h"
#include "core/qvwin.h"
#include "display/ui/rhochart.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/mdlentries.h"
#include "sim/ui/qzmdl.h"
#include "tuner/posindic.h"
#include "tuner/ui/makesce.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"
#include "util/inifile.h"

namespace qz {
namespace {

using namespace qz::testing;

class Form1Registry : public StartedForm1Test {};

// The registry's orders as the program iterates them, limited to the registered windows.
struct TOrders {
  QStringList frameStart, unitStart, onDemand, write, load, view, destroy;
};

TOrders OrdersOf(const TToolWindows& reg) {
  TOrders o;
  o.frameStart = reg.CreateOrder(TCreatePoint::FrameStart);
  o.unitStart = reg.CreateOrder(TCreatePoint::UnitStart);
  o.onDemand = reg.CreateOrder(TCreatePoint::OnDemand);
  o.write = reg.WriteOrder();
  o.load = reg.LoadOrder();
  for (const TToolWindowEntry* e : reg.ViewEntries()) o.view << e->section;
  o.destroy = reg.DestroyOrder();
  return o;
}

TEST_F(Form1Registry, EveryToolWindowStandsInItsOrders) {
  const TOrders o = OrdersOf(form->ToolWindows());
  EXPECT_EQ(o.frameStart, kFrameStartOrder);
  EXPECT_EQ(o.unitStart, kUnitStartOrder);
  EXPECT_EQ(o.onDemand, kOnDemandOrder);
  EXPECT_EQ(o.write, kWriteOrder);
  EXPECT_EQ(o.load, kLoadOrder);
  EXPECT_EQ(o.view, kViewOrder);
  EXPECT_EQ(o.destroy, kDestroyOrder);
  // Every registration took its place, and a setup of the window program is recognised by its
  // tool-window sections.
  EXPECT_TRUE(form->ToolWindows().Refusals().isEmpty())
      << form->ToolWindows().Refusals().join("\n").toStdString();
  EXPECT_EQ(o.write, kToolWindowSections);
}

// Each event reaches the windows that show what it tells, as the frame window's relays did.
TEST_F(Form1Registry, EachEventReachesTheWindowsThatFollowIt) {
  TToolWindows& reg = form->ToolWindows();
  TProgramEvents& ev = form->Program().Events;
  TTpic* tpic = reg.Window<TTpic>("TunPic");
  TScenario* sce = reg.Window<TScenario>("TuScenarioForm");
  TMakeSceForm* gen = reg.Window<TMakeSceForm>("MakeSce");
  TRhoChart* chart = reg.Window<TRhoChart>("RhoChart");
  TQzMdl* mdl = reg.Window<TQzMdl>("Model");
  ASSERT_TRUE(tpic && sce && gen && chart && mdl);
  // A window of one class is not taken for another.
  EXPECT_EQ(reg.Window<TTpic>("TuScenarioForm"), nullptr);
  EXPECT_EQ(reg.Window<TTpic>("NoSuchWindow"), nullptr);
  QAction* atButton = tpic->findChild<QAction*>("sbAuto");
  QAction* sceButton = tpic->findChild<QAction*>("sbScenar");
  QAction* sceItem = form->findChild<QAction*>("miTunScenario");
  ASSERT_TRUE(atButton && sceButton && sceItem);
  TMdlEngine& model = form->Core().Model;
  const TMdlEntries& entries = form->Core().MdlPresenter.Ent;
  const struct {
    const char* event;
    std::function<void()> tell;
    std::function<bool()> reached;
  } cases[] = {
      {"AtButtonChanged on", [&] { emit ev.AtButtonChanged(true); },
       [&] { return atButton->isChecked(); }},
      {"AtButtonChanged off", [&] { emit ev.AtButtonChanged(false); },
       [&] { return !atButton->isChecked(); }},
      // The scenario window shows itself and tells it: the picture's button and the menu item.
      {"ScenarioRequested show", [&] { emit ev.ScenarioRequested(true); },
       [&] { return sce->isVisible() && sceButton->isChecked() && sceItem->isChecked(); }},
      {"ScenarioRequested hide", [&] { emit ev.ScenarioRequested(false); },
       [&] { return !sce->isVisible() && !sceButton->isChecked() && !sceItem->isChecked(); }},
      {"ScenarioPathChosen", [&] { emit ev.ScenarioPathChosen("a.sce"); },
       [&] { return gen->isVisible() && gen->ScePath() == "a.sce"; }},
      {"ModelApplied on chart", [&] { emit ev.ModelApplied(true); },
       [&] { return chart->isVisible(); }},
      {"ChartClosedByOperator",
       [&] {
         mdl->EditAndApply([](TMdlPresenter& m) { m.Ent.DutType = kDutChart; });
         emit ev.ChartClosedByOperator();
       },
       [&] { return entries.DutType == kDutDefined && !model.UseChart; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    c.tell();
    EXPECT_TRUE(c.reached());
  }
  // TransformChanged reaches the chart only while the model uses it: the transform commands'
  // test (form1_rhochart_test) shows the areas following it.
}

// The events of the measurement side: the plane extension, the transform, a result shown
// outside the cycle, the stubs, a loaded setup and a started unit each reach the results
// windows and the tuner picture.
TEST_F(Form1Registry, MeasurementEventsReachTheResultsAndTunerWindows) {
  TToolWindows& reg = form->ToolWindows();
  TProgramEvents& ev = form->Program().Events;
  TQzResForm* maxi = reg.Window<TQzResForm>("QzResForm");
  TQzSmallFrm* mini = reg.Window<TQzSmallFrm>("QzSmallFrm");
  TTpic* tpic = reg.Window<TTpic>("TunPic");
  ASSERT_TRUE(maxi && mini && tpic);
  TQvWin& qv = form->Core().Qv;
  const QString plain = QStringLiteral("Reflection Coefficient: Input");
  const QString transformed = QStringLiteral("Reflection Coefficient: Input (Transformed)");
  const QString placeholder = QStringLiteral("(stale)");
  const THresults res = testing::SampleResult();
  const struct {
    const char* event;
    std::function<void()> tell;
    std::function<bool()> reached;
  } cases[] = {
      {"PlaneExtChanged",
       [&] {
         qv.PlaneExt.MsgStr = QStringLiteral("Plane ext. 12.5 mm");
         emit ev.PlaneExtChanged();
       },
       [&] { return maxi->ExtLabel()->text() == "Plane ext. 12.5 mm"; }},
      {"TransformChanged on",
       [&] {
         qv.BiTr.FEnabled = true;
         qv.BiTr.SetActive(true);
         emit ev.TransformChanged();
       },
       [&] {
         return maxi->RflBox()->title() == transformed &&
                mini->windowTitle() == "Input (Transformed)";
       }},
      {"TransformChanged off",
       [&] {
         qv.BiTr.SetActive(false);
         emit ev.TransformChanged();
       },
       [&] { return maxi->RflBox()->title() == plain && mini->windowTitle() == "Input"; }},
      {"SetupLoaded",
       [&] {
         qv.BiTr.SetActive(true);
         qv.PlaneExt.MsgStr = QStringLiteral("Plane ext. 3 mm");
         emit ev.SetupLoaded();
       },
       [&] {
         return maxi->RflBox()->title() == transformed &&
                maxi->ExtLabel()->text() == "Plane ext. 3 mm" &&
                mini->windowTitle() == "Input (Transformed)";
       }},
      // A hidden results window is not filled by a shown result; a visible one is.
      {"ResultShown hidden",
       [&] {
         maxi->hide();
         maxi->MagPanel()->setText(placeholder);
         emit ev.ResultShown(res);
       },
       [&] { return maxi->MagPanel()->text() == placeholder; }},
      {"ResultShown visible",
       [&] {
         maxi->show();
         maxi->MagPanel()->setText(placeholder);
         emit ev.ResultShown(res);
         maxi->FlushRefresh();
       },
       [&] { return maxi->MagPanel()->text().trimmed() == "0.250"; }},
      // The started unit has sent nothing yet: the window shows no value.
      {"UnitStarted",
       [&] {
         qv.PlaneExt.MsgStr = QStringLiteral("Plane ext. 0 mm");
         emit ev.UnitStarted();
         maxi->FlushRefresh();
       },
       [&] {
         return maxi->ExtLabel()->text() == "Plane ext. 0 mm" &&
                maxi->MagPanel()->text().trimmed() != "0.250";
       }},
      {"StubsMoved",
       [&] {
         tpic->Motion().Mot().ActPos[2] = 1234;
         emit ev.StubsMoved();
       },
       [&] {
         return tpic->MotorText(2) ==
                ShowIndic(1234, tpic->Stp().Indic, tpic->Motion().StepMm(), QChar('.'));
       }},
      {"StubsRead failed", [&] { emit ev.StubsRead(kCmdAborted); },
       [&] { return tpic->MotErrShown(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    c.tell();
    EXPECT_TRUE(c.reached());
  }
}

// Without windows the model and the data logging keep their sections themselves.
class HeadlessRegistry : public FreshProfileTest {};

TEST_F(HeadlessRegistry, WritesAndLoadsTheLogAndTheModel) {
  TProgram program(true);
  const TOrders o = OrdersOf(program.Windows);
  EXPECT_EQ(o.write, QStringList({"LogForm", "Model"}));
  EXPECT_EQ(o.load, QStringList({"LogForm", "Model"}));
  EXPECT_TRUE(o.view.isEmpty());

  IniFile ini;
  program.Windows.WriteAll(ini);
  EXPECT_EQ(ini.ReadSections(), QStringList({"LogForm", "Model"}));
  ini.WriteString("Model", "RhoMag", "0.7");
  ini.WriteString("LogForm", "MaxSamples", "37");
  program.Windows.ReadAll(ini);
  IniFile back;
  program.Windows.WriteAll(back);
  EXPECT_EQ(back.ReadString("Model", "RhoMag", ""), "0.7");
  EXPECT_EQ(back.ReadString("LogForm", "MaxSamples", ""), "37");
}

}  // namespace
}  // namespace qz
