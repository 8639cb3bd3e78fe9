// The "Tuner View" window on the offscreen platform: step buttons with repeat, lost releases,
// dragging, typed positions, the tool bar's commands, autotune at work, and the setup section.
// A picture of the window during a run with autotune on is written when QZ_SCREENSHOT_DIR names
// a folder.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

#include "common/tpicrig.h"
#include "common/widgets.h"
#include "core/planeext.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/numutil.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::Return;

void Mouse(QWidget* w, QEvent::Type t, QPoint at, Qt::MouseButton b = Qt::LeftButton,
           Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const Qt::MouseButtons held =
      t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
  QMouseEvent e(t, QPointF(at), w->mapToGlobal(QPointF(at)), b, held, mods);
  QCoreApplication::sendEvent(w, &e);
}

// The window over one tuner; the mouse counts as held unless a test lets go of it.
struct TpicTest : ::testing::Test {
  testing::TpicRig rig;
  TPlaneExt ext;
  TScriptedAsker asker;
  bool running = false;
  bool held = true;
  std::unique_ptr<TTpic> w;

  void SetUp() override {
    asker.quiet = true;
    w = std::make_unique<TTpic>(rig.m, rig.at, rig.cmd, ext, nullptr, nullptr, &asker);
    w->IsRunning = [this] { return running; };
    w->MouseHeld = [this] { return held; };
    // Start-up updates the autotune parameters right after creating the window.
    rig.m.UpdateAtParams();
  }
  template <class T>
  T* Find(const char* name) const {
    return qz::testing::Child<T>(*w, name);
  }
  QString Text(int steps) const { return ShowIndic(steps, w->Stp().Indic, rig.m.Derived().StepMm); }
  QPoint StubPoint(int mo) const {
    const TTpicLayout& l = w->Layout();
    return QPoint(l.stubX[size_t(mo - 1)] + 5, l.guide.y() + 2);
  }
};

TEST_F(TpicTest, BuiltInTunerStepSizesAndAPlainDeeperPress) {
  ASSERT_EQ(rig.m.Derived().MaxSteps, 3000);
  EXPECT_EQ(w->Motion().StepSize(), (TStepSize{1, 14, 208}));
  EXPECT_CALL(rig.cmd, MoveStubs());
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonPress, {3, 3});
  EXPECT_EQ(rig.mot.ActPos, MakeMotPos(0, 14, 0));
  EXPECT_EQ(w->MotorText(2), QStringLiteral("0.14"));  // 14 steps of 0.01 mm
  EXPECT_TRUE(w->TimerActive(2));
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonRelease, {3, 3});
}

TEST_F(TpicTest, ModifiersAndTheRightButtonChooseTheStepSize) {
  struct Case {
    Qt::MouseButton button;
    Qt::KeyboardModifiers mods;
    int pos;
  } cases[] = {{Qt::LeftButton, Qt::ControlModifier, 1},
               {Qt::LeftButton, Qt::ShiftModifier, 208},
               {Qt::RightButton, Qt::NoModifier, 208},
               {Qt::LeftButton, Qt::NoModifier, 14}};
  for (const Case& c : cases) {
    rig.mot.ActPos = MakeMotPos(0, 0, 0);
    Mouse(Find<QToolButton>("sbDn3"), QEvent::MouseButtonPress, {3, 3}, c.button, c.mods);
    EXPECT_EQ(rig.mot.ActPos[3], c.pos);
    Mouse(Find<QToolButton>("sbDn3"), QEvent::MouseButtonRelease, {3, 3}, c.button);
  }
  EXPECT_TRUE(asker.Records(TAskRecord::Color).empty());  // no colour question on a button
}

TEST_F(TpicTest, HeldPressStepsOncePerTickAndReleaseStopsEveryTimer) {
  Mouse(Find<QToolButton>("sbDn1"), QEvent::MouseButtonPress, {3, 3});
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonPress, {3, 3});
  EXPECT_EQ(rig.mot.ActPos[2], 14);
  for (int tick = 1; tick <= 3; ++tick) {
    w->TimerTick(2);
    EXPECT_EQ(rig.mot.ActPos[2], 14 * (tick + 1)) << tick;
  }
  EXPECT_TRUE(w->TimerActive(1));
  EXPECT_TRUE(w->TimerActive(2));
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonRelease, {3, 3});
  for (int mo = 1; mo <= 3; ++mo) EXPECT_FALSE(w->TimerActive(mo)) << mo;
  EXPECT_EQ(w->MotorText(2), Text(56));
}

TEST_F(TpicTest, HeldPressWhoseReleaseIsLostStopsAtTheNextTick) {
  Mouse(Find<QToolButton>("sbUp1"), QEvent::MouseButtonPress, {3, 3});  // at 0: nothing
  EXPECT_FALSE(w->TimerActive(1));
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonPress, {3, 3});
  ASSERT_TRUE(w->TimerActive(2));
  held = false;  // the release went to a box opened meanwhile
  EXPECT_CALL(rig.cmd, MoveStubs()).Times(0);
  w->TimerTick(2);
  EXPECT_EQ(rig.mot.ActPos[2], 14);
  for (int mo = 1; mo <= 3; ++mo) EXPECT_FALSE(w->TimerActive(mo)) << mo;
}

TEST_F(TpicTest, AModalBoxOrHidingEndsTheRepeat) {
  for (QEvent::Type t : {QEvent::WindowBlocked, QEvent::Hide}) {
    rig.mot.ActPos = MakeMotPos(0, 0, 0);
    Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonPress, {3, 3});
    ASSERT_TRUE(w->TimerActive(2));
    if (t == QEvent::Hide) {
      w->show();
      w->hide();
    } else {
      QEvent e(t);
      QCoreApplication::sendEvent(w.get(), &e);
    }
    EXPECT_FALSE(w->TimerActive(2)) << int(t);
  }
}

TEST_F(TpicTest, RepeatStopsAtTheEndStop) {
  rig.d.MaxSteps = 1000;
  rig.sim.UserMax_mm = -1.0;
  rig.Derive();
  EXPECT_EQ(w->Motion().StepSize(), (TStepSize{1, 10, 100}));
  EXPECT_DOUBLE_EQ(w->Scale().Kgra, 0.0448);
  rig.mot.ActPos = MakeMotPos(0, 995, 0);
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonPress, {3, 3});
  EXPECT_EQ(rig.mot.ActPos[2], 1000);
  EXPECT_EQ(w->StubDrawnHeight(2), 48);
  w->TimerTick(2);
  EXPECT_FALSE(w->TimerActive(2));
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonRelease, {3, 3});
  EXPECT_CALL(rig.cmd, MoveStubs()).Times(0);
  Mouse(Find<QToolButton>("sbDn2"), QEvent::MouseButtonPress, {3, 3});
  EXPECT_FALSE(w->TimerActive(2));
}

TEST_F(TpicTest, EndStopButtons) {
  rig.mot.ActPos = MakeMotPos(7, 8, 9);
  Find<QToolButton>("sbBott1")->click();
  EXPECT_EQ(rig.mot.ActPos, MakeMotPos(3000, 8, 9));
  Find<QToolButton>("sbTop1")->click();
  EXPECT_EQ(rig.mot.ActPos, MakeMotPos(0, 8, 9));
  EXPECT_EQ(w->MotorText(1), Text(0));
}

TEST_F(TpicTest, DraggingAStubAndTheMoveAtTheRelease) {
  QWidget* pic = Find<QWidget>("pbTun");
  EXPECT_CALL(rig.cmd, MoveStubs()).Times(0);
  Mouse(pic, QEvent::MouseButtonPress, StubPoint(2));
  EXPECT_TRUE(w->Motion().MouseActive());
  Mouse(pic, QEvent::MouseMove, StubPoint(2) - QPoint(0, 30));  // above the top: stays at 0
  EXPECT_EQ(w->StubDrawnHeight(2), 4);
  Mouse(pic, QEvent::MouseMove, StubPoint(2) - QPoint(0, 30) + QPoint(0, 22));
  // 22 px below the top at 44.8 / 3000 pixels per step.
  const int expected = RoundToInt32(22 / (44.8 / 3000));
  EXPECT_EQ(rig.mot.TargPos[2], expected);
  EXPECT_EQ(w->MotorText(2), Text(expected));
  ::testing::Mock::VerifyAndClearExpectations(&rig.cmd);
  EXPECT_CALL(rig.cmd, MoveStubs());
  Mouse(pic, QEvent::MouseButtonRelease, StubPoint(2));
  EXPECT_FALSE(w->Motion().MouseActive());
  EXPECT_EQ(rig.mot.ActPos[2], expected);
}

TEST_F(TpicTest, ADragWhoseReleaseNeverArrivesEndsAsAMouseUp) {
  QWidget* pic = Find<QWidget>("pbTun");
  w->show();
  Mouse(pic, QEvent::MouseButtonPress, StubPoint(1));
  Mouse(pic, QEvent::MouseMove, StubPoint(1) + QPoint(0, 10));
  const int16_t dragged = rig.mot.TargPos[1];
  ASSERT_GT(dragged, 0);
  EXPECT_CALL(rig.cmd, MoveStubs());
  w->hide();
  EXPECT_FALSE(w->Motion().MouseActive());
  EXPECT_EQ(rig.mot.ActPos[1], dragged);
}

TEST_F(TpicTest, TypedPositionAndUnitCycling) {
  asker.QueueText(QStringLiteral("12.34"));
  Mouse(Find<QLabel>("lbMotor2"), QEvent::MouseButtonRelease, {2, 2});
  EXPECT_EQ(rig.mot.ActPos[2], 1234);
  asker.QueueCancel();
  Mouse(Find<QLabel>("lbMotor2"), QEvent::MouseButtonRelease, {2, 2});
  EXPECT_EQ(rig.mot.ActPos[2], 1234);
  const char* texts[] = {"0.486", "1234", "12.34"};
  const char* units[] = {"inch", "Steps", "mm"};
  for (int i = 0; i < 3; ++i) {
    Mouse(Find<QLabel>("lbIndic"), QEvent::MouseButtonRelease, {2, 2});
    EXPECT_EQ(w->MotorText(2), QString::fromLatin1(texts[i]));
    EXPECT_EQ(Find<QLabel>("lbIndic")->text(), QString::fromLatin1(units[i]));
  }
}

TEST_F(TpicTest, SingleTuneOutsideARunOnlyTellsTheOperator) {
  EXPECT_CALL(rig.cmd, SingleTune()).Times(0);
  Find<QAction>("sbTune1")->trigger();
  Mouse(Find<QLabel>("pTuneTime"), QEvent::MouseButtonRelease, {2, 2});
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[0].text, QStringLiteral("Start measurement first"));
  EXPECT_EQ(msgs[0].type, TMsgType::Information);
}

TEST_F(TpicTest, SingleTuneInARunShowsItsTimeAndThePositions) {
  running = true;
  rig.mot.ActPos = MakeMotPos(100, 200, 300);
  // The next frame of the run makes the tune the command asked for.
  EXPECT_CALL(rig.cmd, SingleTune()).WillOnce([this] {
    rig.sim.TuStartPos = rig.mot.ActPos;
    rig.sim.Btune1 = true;
    rig.sim.WasTune1Click = true;
    rig.at.TunerStep(complex(0.5), CPolarDeg(0.5, 170.0));
    return kCmdOk;
  });
  Find<QAction>("sbTune1")->trigger();
  ASSERT_NE(rig.mot.ActPos, MakeMotPos(100, 200, 300));
  const int ms = TuneTimeMs(rig.at.TuneTime());
  ASSERT_GT(ms, 0);
  EXPECT_EQ(w->TuneTimeText(), Format(QStringLiteral("%d"), {int64_t(ms)}));
  for (int mo = 1; mo <= 3; ++mo) EXPECT_EQ(w->MotorText(mo), Text(rig.mot.ActPos[mo])) << mo;
  // Another command clears the time.
  Find<QAction>("sbReadPos")->trigger();
  EXPECT_EQ(w->TuneTimeText(), QString());
}

// A tune that cannot match its load shows why below the guide; a motor error wins over it,
// the next command and a tune that matches clear it.
TEST_F(TpicTest, AnUnreachedTuneShowsItsOutcomeBelowTheGuide) {
  rig.mot.AtOn = true;
  rig.mot.Skip = 0;
  const QString outside =
      QStringLiteral("Load outside the matchable area: |Gamma in| = 0.577 (tolerance 0.025)");
  rig.at.TunerStep(complex(0.9), CPolarDeg(0.95, 60.0));
  EXPECT_EQ(w->TuneOutcomeText(), outside);
  EXPECT_TRUE(w->MotErrShown());
  EXPECT_EQ(w->MotErrText(), outside);
  rig.mot.ErrFlags = 0x05;
  w->ShowMotPositAll();
  EXPECT_EQ(w->MotErrText(), QStringLiteral("Motors Error"));
  rig.mot.ErrFlags = 0;
  w->ShowMotPositAll();
  EXPECT_EQ(w->MotErrText(), outside);
  // Another command clears it.
  Find<QAction>("sbReadPos")->trigger();
  EXPECT_FALSE(w->MotErrShown());
  EXPECT_EQ(w->TuneOutcomeText(), QString());
  // Shown again by the next unreached tune, gone with a tune that matches.
  rig.sim.Btune1 = true;
  rig.at.TunerStep(complex(0.9), CPolarDeg(0.95, 60.0));
  EXPECT_EQ(w->MotErrText(), outside);
  rig.at.TunerStep(complex(0.5), CPolarDeg(0.5, 90.0));
  EXPECT_FALSE(w->MotErrShown());
}

TEST_F(TpicTest, ReadingAndHomeAndTheirFailures) {
  rig.mot.ActPos = MakeMotPos(10, 20, 30);
  EXPECT_CALL(rig.cmd, ResetStubs());
  EXPECT_CALL(rig.cmd, ReadMotStatus()).WillOnce(Return(kCmdOk)).WillOnce(Return(-7));
  Find<QAction>("sbAllHome")->trigger();
  EXPECT_EQ(rig.mot.ActPos, MakeMotPos(0, 0, 0));
  EXPECT_FALSE(w->MotErrShown());
  EXPECT_CALL(rig.cmd, ShowCmdResult(QStringLiteral("Read Stub Position"), -7));
  Find<QAction>("sbReadPos")->trigger();
  EXPECT_TRUE(w->MotErrShown());
  EXPECT_EQ(w->MotErrText(), QStringLiteral("Read Stub Position Fail"));
  for (int mo = 1; mo <= 3; ++mo) EXPECT_EQ(w->StubLook(mo), TStubLook::Hatched);
  // Motor errors from the frames.
  rig.mot.ErrFlags = 0x05;
  w->ShowMotPositAll();
  EXPECT_EQ(w->MotErrText(), QStringLiteral("Motors Error"));
  EXPECT_EQ(w->StubLook(1), TStubLook::Red);
  EXPECT_EQ(w->StubLook(2), TStubLook::Solid);
  rig.mot.ErrFlags = 0;
  w->ShowMotPositAll();
  EXPECT_FALSE(w->MotErrShown());
}

TEST_F(TpicTest, ARefusedSingleTuneIsReportedByItsName) {
  running = true;
  EXPECT_CALL(rig.cmd, SingleTune()).WillOnce(Return(-3)).WillOnce(Return(kCmdOk));
  EXPECT_CALL(rig.cmd, ShowCmdResult(QStringLiteral("Single Tune"), -3));
  Find<QAction>("sbTune1")->trigger();
  Find<QAction>("sbTune1")->trigger();  // a success is not reported
  EXPECT_TRUE(asker.Records(TAskRecord::Message).empty());
}

TEST_F(TpicTest, AutotuneButtonSetsTheFlagWithoutACommandAndFollowsIt) {
  QAction* at = Find<QAction>("sbAuto");
  EXPECT_CALL(rig.cmd, AutotuneOnOff(_)).Times(0);
  at->trigger();
  EXPECT_TRUE(rig.mot.AtOn);
  at->trigger();
  EXPECT_FALSE(rig.mot.AtOn);
  rig.mot.AtOn = true;
  rig.m.UpdateAtParams();
  EXPECT_TRUE(at->isChecked());
}

TEST_F(TpicTest, PositionsBeyondTheTravelDrawInsideTheGuide) {
  rig.mot.ActPos = MakeMotPos(-20, 3000, 9000);  // left by another description
  w->ShowMotPositAll();
  EXPECT_EQ(w->StubDrawnHeight(1), 4);
  EXPECT_EQ(w->StubDrawnHeight(2), 48);
  EXPECT_EQ(w->StubDrawnHeight(3), 48);
  EXPECT_EQ(w->MotorText(3), QStringLiteral("90.00"));  // the text tells the truth
}

TEST_F(TpicTest, PlaneExtensionMarker) {
  const int x0 = w->Layout().load_x0;
  ext.SetValue(-1.0);
  w->pbTunPaint();
  EXPECT_TRUE(w->ExtMarker().visible);
  EXPECT_EQ(w->ExtMarker().markerX, x0 - 9);
  EXPECT_FALSE(Find<QLabel>("lbExt")->isHidden());
  EXPECT_EQ(Find<QLabel>("lbExt")->text(), ext.MsgStr);
  ext.SetValue(0.0);
  w->pbTunPaint();
  EXPECT_FALSE(w->ExtMarker().visible);
  EXPECT_TRUE(Find<QLabel>("lbExt")->isHidden());
}

TEST_F(TpicTest, BackgroundColourAndSetupSection) {
  asker.QueueColor(0x00336699);
  Mouse(Find<QWidget>("pbTun"), QEvent::MouseButtonPress, StubPoint(1), Qt::RightButton);
  EXPECT_TRUE(asker.Records(TAskRecord::Color).empty());  // a stub is not the background
  Mouse(Find<QWidget>("pbTun"), QEvent::MouseButtonPress, {2, 2}, Qt::RightButton);
  EXPECT_EQ(asker.Records(TAskRecord::Color).size(), 1u);
  EXPECT_EQ(w->Stp().Bcolor, 0x00336699u);
  Mouse(Find<QLabel>("lbIndic"), QEvent::MouseButtonRelease, {2, 2});
  IniFile ini;
  w->WriteStp(ini);
  const QString s = QString::fromLatin1(kTpicSection);
  for (const char* key : {"Visible", "Top", "Left", "Indic", "Bcolor"})
    EXPECT_TRUE(ini.ValueExists(s, QString::fromLatin1(key))) << key;
  TScriptedAsker other;
  TTpic w2(rig.m, rig.at, rig.cmd, ext, &ini, nullptr, &other);
  EXPECT_EQ(w2.Stp(), w->Stp());
  EXPECT_EQ(w2.findChild<QLabel*>(QStringLiteral("lbIndic"))->text(), QStringLiteral("inch"));
}

TEST_F(TpicTest, ScreenshotDuringARunWithAutotuneOn) {
  const QByteArray dir = qgetenv("QZ_SCREENSHOT_DIR");
  rig.mot.AtOn = true;
  rig.mot.ActPos = MakeMotPos(400, 1500, 2600);
  rig.mot.ErrFlags = 0x02;
  ext.SetValue(12.5);
  w->show();
  w->OnTuneTime(rig.at, 0.147);
  EXPECT_TRUE(Find<QAction>("sbAuto")->isChecked());
  EXPECT_EQ(w->TuneTimeText(), QStringLiteral("147"));
  if (dir.isEmpty()) return;
  w->grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("tpic.png")));
}

}  // namespace
}  // namespace qz
