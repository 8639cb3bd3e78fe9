// The tool-window registry's refusals: a registration that could never take its place is
// refused with its reason and changes nothing.

#include <gtest/gtest.h>

#include "app/toolwindows.h"
#include "util/inifile.h"

namespace qz {
namespace {

TToolWindowEntry Entry(const char* section, int32_t createRank) {
  TToolWindowEntry e;
  e.section = QString::fromLatin1(section);
  e.create = [](const IniFile*) {};
  e.createRank = createRank;
  return e;
}

TEST(ToolWindowRegistry, ARegistrationThatCouldNeverTakeItsPlaceIsRefusedWithItsReason) {
  auto writer = [](IniFile&) {};
  auto reader = [](const IniFile&) {};
  struct Case {
    const char* what;
    std::function<TToolWindowEntry()> entry;
    QString reason;
  };
  const std::vector<Case> cases = {
      {"no section", [] { return Entry("", 20); }, "no section"},
      {"blank section", [] { return Entry("  ", 20); }, "no section"},
      {"no factory",
       [] {
         TToolWindowEntry e = Entry("B", 20);
         e.create = nullptr;
         return e;
       },
       "no factory"},
      {"doubled section", [] { return Entry("a", 20); }, "registered twice"},
      {"no creation rank", [] { return Entry("B", 0); }, "no creation rank"},
      {"writer without rank",
       [&] {
         TToolWindowEntry e = Entry("B", 20);
         e.writeStp = writer;
         return e;
       },
       "a writer without its write rank"},
      {"reader without rank",
       [&] {
         TToolWindowEntry e = Entry("B", 20);
         e.readStp = reader;
         return e;
       },
       "a reader without its load rank"},
      {"View item without rank",
       [] {
         TToolWindowEntry e = Entry("B", 20);
         e.viewCaption = "&B";
         return e;
       },
       "a View item without its view rank"},
      {"shared creation rank", [] { return Entry("B", 10); }, "creation rank shared with \"A\""},
      {"shared write rank",
       [&] {
         TToolWindowEntry e = Entry("B", 20);
         e.writeStp = writer;
         e.writeRank = 30;
         return e;
       },
       "write rank shared with \"A\""},
      {"shared load rank",
       [&] {
         TToolWindowEntry e = Entry("B", 20);
         e.readStp = reader;
         e.loadRank = 40;
         return e;
       },
       "load rank shared with \"A\""},
      {"shared view rank",
       [] {
         TToolWindowEntry e = Entry("B", 20);
         e.viewCaption = "&B";
         e.viewRank = 50;
         return e;
       },
       "view rank shared with \"A\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TToolWindows reg;
    reg.assertOnRefusal = false;
    TToolWindowEntry a = Entry("A", 10);
    a.writeStp = writer;
    a.writeRank = 30;
    a.readStp = reader;
    a.loadRank = 40;
    a.viewCaption = "&A";
    a.viewRank = 50;
    ASSERT_TRUE(reg.Register(a));
    QString why;
    EXPECT_FALSE(reg.Register(c.entry(), &why));
    EXPECT_EQ(why, c.reason);
    ASSERT_EQ(reg.Refusals().size(), 1);
    EXPECT_TRUE(reg.Refusals()[0].endsWith(": " + c.reason)) << reg.Refusals()[0].toStdString();
    // Nothing changed: the first window keeps its places, no other one came.
    EXPECT_EQ(reg.CreateOrder(TCreatePoint::FrameStart), QStringList({"A"}));
    EXPECT_EQ(reg.WriteOrder(), QStringList({"A"}));
    EXPECT_EQ(reg.LoadOrder(), QStringList({"A"}));
    ASSERT_EQ(reg.ViewEntries().size(), 1u);
    EXPECT_EQ(reg.ViewEntries()[0]->viewCaption, "&A");
  }
}

TEST(ToolWindowRegistry, RanksOrderTheWindowsWhateverTheRegistrationOrder) {
  TToolWindows reg;
  for (auto [name, create, point] : {std::tuple{"Late", 30, TCreatePoint::FrameStart},
                                     {"Early", 10, TCreatePoint::FrameStart},
                                     {"Unit", 10, TCreatePoint::UnitStart},
                                     {"Help", 10, TCreatePoint::OnDemand},
                                     {"Middle", 20, TCreatePoint::FrameStart}}) {
    TToolWindowEntry e = Entry(name, create);
    e.createPoint = point;  // the same rank at another creation point is no clash
    ASSERT_TRUE(reg.Register(e)) << name;
  }
  EXPECT_EQ(reg.CreateOrder(TCreatePoint::FrameStart), QStringList({"Early", "Middle", "Late"}));
  EXPECT_EQ(reg.CreateOrder(TCreatePoint::UnitStart), QStringList({"Unit"}));
  EXPECT_EQ(reg.DestroyOrder(), QStringList({"Help", "Unit", "Late", "Middle", "Early"}));
  EXPECT_EQ(reg.CreatePointOf("unit"), TCreatePoint::UnitStart);
  EXPECT_TRUE(reg.Refusals().isEmpty());
}

TEST(ToolWindowRegistry, AWindowReplacingAPartWithoutWindowTakesItsRanksOnce) {
  TToolWindows reg;
  reg.assertOnRefusal = false;
  QStringList calls;
  TToolWindowEntry part = Entry("Model", 100);
  part.writeStp = [&](IniFile&) { calls << "part"; };
  part.writeRank = 110;
  part.loadRank = 70;
  part.replaceable = true;
  ASSERT_TRUE(reg.Register(part));
  TToolWindowEntry other = Entry("Other", 10);
  other.writeStp = [&](IniFile&) { calls << "other"; };
  other.writeRank = 200;
  ASSERT_TRUE(reg.Register(other));
  // The window gives no ranks of its own: it takes the part's places.
  TToolWindowEntry window = Entry("model", 0);
  window.writeStp = [&](IniFile&) { calls << "window"; };
  window.readStp = [](const IniFile&) {};
  QString why;
  ASSERT_TRUE(reg.Register(window, &why)) << why.toStdString();
  EXPECT_TRUE(why.isEmpty());
  const TToolWindowEntry* e = reg.Find("Model");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->createRank, 100);
  EXPECT_EQ(e->writeRank, 110);
  EXPECT_EQ(e->loadRank, 70);
  IniFile ini;
  reg.WriteAll(ini);
  EXPECT_EQ(calls, QStringList({"window", "other"}));
  // A window is not replaced in turn.
  EXPECT_FALSE(reg.Register(Entry("Model", 0), &why));
  EXPECT_EQ(why, "registered twice");
}

TEST(ToolWindowRegistry, AWindowHoldingTheUnitAndOneEndingWorkBeforeTheClose) {
  TToolWindows reg;
  bool holds = false, playing = false;
  int closes = 0;
  TToolWindowEntry e = Entry("Sce", 10);
  e.holdsUnit = [&] { return holds; };
  e.endBeforeClose = [&](std::function<void()> again) {
    if (!playing) return false;
    playing = false;
    again();
    return true;
  };
  ASSERT_TRUE(reg.Register(e));
  ASSERT_TRUE(reg.Register(Entry("Plain", 20)));
  EXPECT_FALSE(reg.HoldsUnit());
  holds = true;
  EXPECT_TRUE(reg.HoldsUnit());
  EXPECT_FALSE(reg.EndBeforeClose([&] { ++closes; }));
  playing = true;
  EXPECT_TRUE(reg.EndBeforeClose([&] { ++closes; }));
  EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace qz
