// The tool-window registry of the window program: every window in the orders its setup files
// and the operators' habits rely on.

#include <gtest/gtest.h>

#include <QAction>
#include <functional>

#include "app/program.h"
#include "app/setupfiles.h"
#include "app/toolwindows.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/windoworders.h"
#include "display/ui/rhochart.h"
#include "sim/mdlentries.h"
#include "sim/ui/qzmdl.h"
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
         mdl->EditAndApply([](TMdlEngine& m) { m.Ent.DutType = kDutChart; });
         emit ev.ChartClosedByOperator();
       },
       [&] { return model.Ent.DutType == kDutDefined && !model.UseChart; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    c.tell();
    EXPECT_TRUE(c.reached());
  }
  // TransformChanged reaches the chart only while the model uses it: the transform commands'
  // test (form1_rhochart_test) shows the areas following it.
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
