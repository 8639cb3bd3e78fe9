// The tool-window registry of the window program: every window in the orders its setup files
// and the operators' habits rely on.

#include <gtest/gtest.h>

#include "app/program.h"
#include "app/toolwindows.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/windoworders.h"
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
  auto registered = [&reg](const QStringList& order) {
    QStringList out;
    for (const QString& s : order)
      if (reg.Has(s)) out << s;
    return out;
  };
  TOrders o;
  o.frameStart = registered(TToolWindows::CreateOrder());
  o.unitStart = registered(TToolWindows::UnitStartOrder());
  o.onDemand = registered(TToolWindows::OnDemandOrder());
  QStringList writers, readers;
  for (const QString& s : TToolWindows::WriteOrder())
    if (const TToolWindowEntry* e = reg.Find(s); e && e->writeStp) writers << s;
  for (const QString& s : TToolWindows::LoadOrder())
    if (const TToolWindowEntry* e = reg.Find(s); e && e->readStp) readers << s;
  o.write = writers;
  o.load = readers;
  for (const TToolWindowEntry* e : reg.ViewEntries()) o.view << e->section;
  o.destroy = registered(TToolWindows::DestroyOrder());
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
