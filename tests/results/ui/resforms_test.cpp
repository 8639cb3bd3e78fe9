// The two numeric results windows on the offscreen platform: what a refresh shows, the popup
// menus, the temperature toggle, buttons and the setup section.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

#include "common/sampleresult.h"
#include "core/qvwin.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "results/ui/resui.h"
#include "util/inifile.h"

namespace qz {
namespace {

THresults Result() { return testing::SampleResult(); }

void Press(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
  QMouseEvent e(QEvent::MouseButtonPress, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), b, b,
                Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

class ResFormsTest : public ::testing::Test {
 protected:
  TMotState mot;
  TQvWin qv{mot};
};

TEST_F(ResFormsTest, FullWindowNoDataThenResult) {
  TQzResForm f(qv, nullptr);
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Quzar Measurement Results"));
  EXPECT_EQ(f.size(), QSize(320, 281));
  EXPECT_EQ(f.RflBox()->title(), QStringLiteral("Reflection Coefficient: Input"));
  EXPECT_EQ(f.FormatPanel()->text(), QStringLiteral("Mag"));
  EXPECT_TRUE(f.MagPanel()->text().isEmpty());
  for (QLabel* l : {f.PowStatus(), f.FreqStatus(), f.TempStatus(), f.ErrLabel()})
    EXPECT_EQ(l->text(), QStringLiteral("No data"));
  EXPECT_EQ(f.PowUnit(Postup)->text(), QStringLiteral("W"));

  const THresults r = Result();
  f.Napln(&r);
  EXPECT_EQ(f.MagPanel()->text(), QStringLiteral("  0.250"));
  EXPECT_EQ(f.PhasePanel()->text(), QStringLiteral("  30.0"));
  EXPECT_EQ(f.FreqPanel()->text(), QStringLiteral("2450.00"));
  EXPECT_EQ(f.FreqStatus()->text(), QStringLiteral("Valid"));
  EXPECT_EQ(f.PowValue(Postup)->text(), QStringLiteral("1"));
  EXPECT_EQ(f.PowUnit(Postup)->text(), QStringLiteral("kW"));
  EXPECT_EQ(f.PowStatus()->text(), QStringLiteral("Normal"));
  EXPECT_EQ(f.TempPanel()->text(), QStringLiteral("30.0"));
  EXPECT_EQ(f.ErrLabel()->text(), QStringLiteral("005=00000101"));

  // No data again: frequency and temperature numbers stay, the rest is emptied.
  f.Napln(nullptr);
  EXPECT_TRUE(f.MagPanel()->text().isEmpty());
  EXPECT_EQ(f.FreqPanel()->text(), QStringLiteral("2450.00"));
  EXPECT_EQ(f.TempPanel()->text(), QStringLiteral("30.0"));
  EXPECT_EQ(f.PowValue(Postup)->text(), QStringLiteral("  "));
  EXPECT_EQ(f.FreqStatus()->text(), QStringLiteral("No data"));
}

TEST_F(ResFormsTest, CounterStateAndLamp) {
  qv.VarPar.IsCntOn = 0;
  TQzResForm f(qv, nullptr);
  const THresults r = Result();
  f.Napln(&r);
  EXPECT_EQ(f.FreqStatus()->text(), QStringLiteral("Cnt OFF"));
  EXPECT_EQ(f.FreqLampLabel()->property("lampColor").toUInt(), clBlue);
  f.FreLedCounterOnOff(true);
  EXPECT_EQ(f.FreqStatus()->text(), QStringLiteral("Cnt ON"));
  EXPECT_EQ(f.FreqLampLabel()->property("lampColor").toUInt(), clBtnFace);
}

TEST_F(ResFormsTest, PowerMenuFollowsThePressedRow) {
  TQzResForm f(qv, nullptr);
  THresults r = Result();
  f.Napln(&r);
  // The incident value panel does not react; its unit does.
  Press(f.PowValue(Odraz));
  Press(f.PowValue(Postup));
  EXPECT_EQ(f.View().KtoryVykon, Odraz);
  Press(f.PowUnit(Postup), Qt::RightButton);
  EXPECT_EQ(f.View().KtoryVykon, Postup);
  f.PreparePowMenu();
  const auto& items = f.PowMenu()->Items();
  EXPECT_FALSE(items[puDbRel]->isEnabled());
  EXPECT_FALSE(items[puPercent]->isEnabled());
  EXPECT_TRUE(items[puWatts]->isChecked());

  Press(f.PowValue(Odraz));
  f.PreparePowMenu();
  EXPECT_TRUE(items[puPercent]->isEnabled());
  // A new frame decoded into the same record must not show through a unit switch.
  r.Prfl = 999.0;
  items[puPercent]->trigger();
  EXPECT_EQ(f.PowValue(Odraz)->text(), QStringLiteral("    6.2"));
  EXPECT_EQ(f.PowUnit(Odraz)->text(), QStringLiteral("%"));
  f.PreparePowMenu();
  EXPECT_TRUE(items[puPercent]->isChecked());
  EXPECT_FALSE(items[puWatts]->isChecked());
}

TEST_F(ResFormsTest, FormatMenuTemperatureToggleAndShowLoad) {
  TQzResForm f(qv, nullptr);
  const THresults r = Result();
  f.Napln(&r);
  f.PrepareRflMenu();
  f.RflMenu()->Items()[ruSwr]->trigger();
  EXPECT_EQ(f.FormatPanel()->text(), QStringLiteral("SWR"));
  EXPECT_EQ(f.MagPanel()->text(), QStringLiteral("   1.67"));
  Press(f.TempPanel());
  EXPECT_EQ(f.TempUnit()->text(), QStringLiteral("F"));
  EXPECT_EQ(f.TempPanel()->text(), QStringLiteral("86.0"));
  Press(f.TempPanel());
  EXPECT_EQ(f.TempUnit()->text(), QStringLiteral("C"));

  f.ShowLoadBox()->setChecked(true);
  EXPECT_EQ(f.RflBox()->title(), QStringLiteral("Reflection Coefficient: Load"));
  EXPECT_EQ(f.MagPanel()->text(), QStringLiteral("   1.67"));  // numbers follow the next result
  f.Napln(&r);
  EXPECT_EQ(f.MagPanel()->text(), QStringLiteral("   7.00"));
}

TEST_F(ResFormsTest, ButtonsAndSetupSection) {
  TQzResForm f(qv, nullptr);
  int runs = 0;
  QString topic;
  f.OnStartStop = [&] { ++runs; };
  f.OnHelp = [&](const QString& t) { topic = t; };
  f.show();
  f.StartStopButton()->click();
  f.HelpButton()->click();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(topic, QStringLiteral("Results Windows"));
  f.CloseButton()->click();
  EXPECT_FALSE(f.isVisible());

  QTemporaryDir dir;
  IniFile ini(dir.filePath(QStringLiteral("a.ini")));
  ini.WriteString("QzResForm", "Top", "-40");
  ini.WriteString("QzResForm", "Left", "100000");
  ini.WriteString("QzResForm", "Visible", "1");
  f.ReadStp(ini);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.y(), 0);
  EXPECT_LT(f.x(), 100000);
  IniFile out(dir.filePath(QStringLiteral("b.ini")));
  f.WriteStp(out);
  EXPECT_EQ(out.ReadString("QzResForm", "Visible", ""), QStringLiteral("1"));
  EXPECT_EQ(out.ReadInteger("QzResForm", "Left", -1), f.x());
  f.hide();
}

TEST_F(ResFormsTest, SmallWindowCaptionsAndColours) {
  qv.BiTr.SetActive(true);
  TQzSmallFrm s(qv, nullptr);
  EXPECT_EQ(s.size(), QSize(187, 53));
  const bool transformed = qv.BiTr.GetActive();
  EXPECT_EQ(s.windowTitle(),
            transformed ? QStringLiteral("Input (Transformed)") : QStringLiteral("Input"));
  s.ShowLoadAction()->setChecked(true);
  EXPECT_EQ(s.windowTitle(), QStringLiteral("Load"));
  THresults r = Result();
  r.LowSignal = true;
  r.FreSubst = true;
  s.Napln(&r);
  EXPECT_EQ(s.MagPanel()->text(), QStringLiteral("  0.750"));
  EXPECT_EQ(s.PowValue(Absorb)->text(), QStringLiteral("937.5"));
  EXPECT_EQ(s.PowValue(Postup)->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_EQ(s.FreqUnit()->palette().color(QPalette::WindowText), QColor(Qt::red));
  // Every row of the small window reacts, the incident value too.
  Press(s.PowValue(Odraz));
  Press(s.PowValue(Postup));
  EXPECT_EQ(s.View().KtoryVykon, Postup);
  s.Napln(nullptr);
  EXPECT_EQ(s.PowUnit(Postup)->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_EQ(s.FreqUnit()->palette().color(QPalette::WindowText), QColor(Qt::red));
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

class ResFormsCycleTest : public ::testing::Test {
 protected:
  TMotState mot;
  TQvWin qv{mot};
};

// Runs the event loop until the windows' gathered refreshes have fired.
void WaitForRefresh(const std::function<bool()>& pending) {
  QElapsedTimer t;
  t.start();
  while (pending() && t.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST_F(ResFormsCycleTest, VisibleWindowsShowTheLastOfManyResultsOnceTheRefreshHasFired) {
  TQzResForm f(qv, nullptr);
  TQzSmallFrm s(qv, nullptr);
  f.show();
  s.show();
  THresults r = testing::SampleResult();
  // A burst of frames, the last one different: one refresh is waiting, nothing painted yet.
  for (int i = 0; i < 500; ++i) {
    r.Mag_m = 0.001 * i;
    f.Napln(&r);
    s.Napln(&r);
  }
  r.Mag_m = 0.875;
  r.Pinc = 2500;
  f.Napln(&r);
  s.Napln(&r);
  EXPECT_TRUE(f.RefreshPending());
  EXPECT_TRUE(s.RefreshPending());
  EXPECT_TRUE(f.MagPanel()->text().isEmpty());  // still the state before the burst
  WaitForRefresh([&] { return f.RefreshPending() || s.RefreshPending(); });
  EXPECT_FALSE(f.RefreshPending());
  EXPECT_EQ(f.MagPanel()->text(), QStringLiteral("  0.875"));
  EXPECT_EQ(f.PowValue(Postup)->text(), QStringLiteral("2.5"));
  EXPECT_EQ(f.PowUnit(Postup)->text(), QStringLiteral("kW"));
  EXPECT_EQ(f.FreqStatus()->text(), QStringLiteral("Valid"));
  EXPECT_EQ(s.MagPanel()->text(), QStringLiteral("  0.875"));
  EXPECT_EQ(s.PowValue(Postup)->text(), QStringLiteral("2.5"));
  // "No data" reaches a visible window the same way.
  f.Napln(nullptr);
  WaitForRefresh([&] { return f.RefreshPending(); });
  EXPECT_EQ(f.FreqStatus()->text(), QStringLiteral("No data"));
  EXPECT_TRUE(f.MagPanel()->text().isEmpty());
}

TEST_F(ResFormsCycleTest, HelpKeyInTheReducedWindowIsLeftToTheProgramsOwnRule) {
  QMainWindow frame;
  frame.resize(600, 400);
  frame.show();
  TQzSmallFrm s(qv, nullptr, &frame);
  s.show();
  // The program's F1 rule minimises the frame window (tested with the frame window); the
  // window alone does nothing with the key.
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(&s, &f1);
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame.isMinimized());
  QKeyEvent other(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
  QCoreApplication::sendEvent(&s, &other);
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame.isMinimized());
}

}  // namespace
}  // namespace qz
