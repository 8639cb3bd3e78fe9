// The remote control's rules over a fake port: which calls a dialog or a run refuses, which
// stay available, the value checks of the model's keys and the stub positions, and that a
// refused call changes nothing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/control.h"
#include "common/fakecontrolport.h"
#include "common/testframes.h"
#include "core/qvwin.h"

namespace qz {
namespace {

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;
using testing::TFakeControlPort;

// One call of the control with valid arguments.
struct TCall {
  const char* name;
  bool disabledInRun;  // its menu or control is disabled during a run
  std::function<TControlResult(TControl&, const QString& file)> call;
};

const std::vector<TCall>& Calls() {
  static const std::vector<TCall> calls = {
      {"LoadSetup", true, [](TControl& c, const QString& f) { return c.LoadSetup(f); }},
      {"SaveSetup", true, [](TControl& c, const QString& f) { return c.SaveSetup(f, "x"); }},
      {"SaveResults", true, [](TControl& c, const QString& f) { return c.SaveResults(f, "x"); }},
      {"SaveResultsCsv", true,
       [](TControl& c, const QString& f) { return c.SaveResultsCsv(f, "x"); }},
      {"AutoTune", true, [](TControl& c, const QString&) { return c.AutoTune().result; }},
      {"MoveStubs", true,
       [](TControl& c, const QString&) { return c.MoveStubs(1.0, 2.0, 3.0).result; }},
      {"SetModelLoad", false,
       [](TControl& c, const QString&) { return c.SetModelLoad(0.5, 90.0); }},
      {"SetModelValue", false,
       [](TControl& c, const QString&) { return c.SetModelValue("Temp", "30"); }},
      {"Stop", false, [](TControl& c, const QString&) { return c.Stop(); }},
      {"Finish", false, [](TControl& c, const QString&) { return c.Finish(true); }},
      {"Quit", false, [](TControl& c, const QString&) { return c.Quit(false); }},
  };
  return calls;
}

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    file = dir.filePath("a.stp");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[QuzarForm]\r\n");
  }
  QTemporaryDir dir;
  QString file;
  NiceMock<TFakeControlPort> port;
};

TEST_F(ControlTest, AnOpenDialogRefusesEveryCallAndNothingIsDone) {
  port.dialog = true;
  TControl c(port);
  for (const TCall& k : Calls()) {
    SCOPED_TRACE(k.name);
    const TControlResult r = k.call(c, file);
    EXPECT_EQ(r.status, TControlStatus::Busy);
    EXPECT_EQ(r.error, "busy: a dialog is open");
    EXPECT_EQ(c.LastError(), "busy: a dialog is open");
  }
  EXPECT_EQ(c.Run().error, "busy: a dialog is open");
  EXPECT_EQ(c.Pause().error, "busy: a dialog is open");
  EXPECT_EQ(port.actions, 0);
}

TEST_F(ControlTest, ARunRefusesWhatItDisablesAndLeavesTheRestAvailable) {
  port.running = true;
  for (const TCall& k : Calls()) {
    SCOPED_TRACE(k.name);
    TControl c(port);
    port.actions = 0;
    const TControlResult r = k.call(c, file);
    if (k.disabledInRun) {
      EXPECT_EQ(r.status, TControlStatus::Busy);
      EXPECT_EQ(r.error, "busy: running");
      EXPECT_EQ(port.actions, 0);
    } else {
      EXPECT_TRUE(r.ok()) << r.error.toStdString();
      EXPECT_EQ(port.actions, 1);
      EXPECT_EQ(c.LastError(), "");
    }
  }
}

TEST_F(ControlTest, IdleEveryCallIsCarriedOut) {
  for (const TCall& k : Calls()) {
    SCOPED_TRACE(k.name);
    TControl c(port);
    port.actions = 0;
    const TControlResult r = k.call(c, file);
    EXPECT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(port.actions, 1);
  }
}

TEST_F(ControlTest, RunAnswersFirstAndStartsFromTheEventLoop) {
  TControl c(port);
  std::vector<std::function<void()>> deferred;
  c.Defer = [&](std::function<void()> f) { deferred.push_back(std::move(f)); };
  EXPECT_CALL(port, RunPause()).Times(0);
  ASSERT_TRUE(c.Run().ok());
  // Until the run begins it counts as running: a second Run is refused, a disabled call too.
  EXPECT_TRUE(c.Running());
  EXPECT_EQ(c.Run().error, "running");
  EXPECT_EQ(c.Run().status, TControlStatus::WrongState);
  EXPECT_EQ(c.SaveResults(file, "").error, "busy: running");
  ASSERT_EQ(deferred.size(), 1u);
  ::testing::Mock::VerifyAndClearExpectations(&port);
  EXPECT_CALL(port, RunPause()).Times(1);
  QStringList ends;
  c.OnRunEnded = [&](const QString& r) { ends << r; };
  deferred[0]();
  EXPECT_FALSE(c.Running());  // the fake's run has ended when RunPause returns
  // The fake told no start: the run never began, and that is its end.
  EXPECT_EQ(ends, QStringList{"not started"});
}

TEST_F(ControlTest, PauseBeforeTheRunBeganCancelsIt) {
  TControl c(port);
  std::vector<std::function<void()>> deferred;
  c.Defer = [&](std::function<void()> f) { deferred.push_back(std::move(f)); };
  QStringList ends;
  c.OnRunEnded = [&](const QString& r) { ends << r; };
  ASSERT_TRUE(c.Run().ok());
  ASSERT_TRUE(c.Pause().ok());
  EXPECT_CALL(port, RunPause()).Times(0);
  for (auto& f : deferred) f();
  EXPECT_EQ(ends, QStringList{"paused"});
}

TEST_F(ControlTest, PauseAndRunFollowTheRunState) {
  TControl c(port);
  const TControlResult idle = c.Pause();
  EXPECT_EQ(idle.status, TControlStatus::WrongState);
  EXPECT_EQ(idle.error, "not running");
  EXPECT_EQ(c.LastError(), "not running");
  port.running = true;
  EXPECT_EQ(c.Run().error, "running");
  EXPECT_CALL(port, RunPause()).Times(1);
  EXPECT_TRUE(c.Pause().ok());
  EXPECT_EQ(c.LastError(), "");
}

TEST_F(ControlTest, FinishSetsTheCheckMarkRatherThanToggling) {
  TControl c(port);
  for (bool on : {true, true, false, false, true}) {
    ASSERT_TRUE(c.Finish(on).ok());
    EXPECT_EQ(port.finish, on);
  }
  EXPECT_EQ(port.actions, 3);  // only the changes toggled
}

TEST_F(ControlTest, StubPositionsOutsideTheTravelAreRefused) {
  // Travel 3000 steps of 0.01 mm: 0 .. 30 mm.
  struct Case {
    double mm1, mm2, mm3;
    const char* error;  // empty: carried out
    std::array<int, 3> steps;
  };
  const Case cases[] = {
      {0.0, 15.0, 30.0, "", {0, 1500, 3000}},
      {1.234, 2.006, 0.016, "", {123, 201, 2}},  // the nearest step
      {-0.1, 1, 1, "Stub 1 must be from 0 to 30 mm, not -0.1 mm.", {}},
      {1, 30.01, 1, "Stub 2 must be from 0 to 30 mm, not 30.01 mm.", {}},
      {1, 1, std::nan(""), "Stub 3 must be from 0 to 30 mm, not NAN mm.", {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mm1);
    TControl c(port);
    std::array<int, 3> got{-1, -1, -1};
    ON_CALL(port, MoveStubs(_)).WillByDefault([&](const std::array<int, 3>& s) {
      got = s;
      return 0;
    });
    const TControlCmdAnswer a = c.MoveStubs(k.mm1, k.mm2, k.mm3);
    if (*k.error) {
      EXPECT_EQ(a.result.status, TControlStatus::InvalidValue);
      EXPECT_EQ(a.result.error, k.error);
      EXPECT_EQ(got, (std::array<int, 3>{-1, -1, -1}));
    } else {
      EXPECT_TRUE(a.result.ok()) << a.result.error.toStdString();
      EXPECT_EQ(got, k.steps);
      EXPECT_EQ(a.code, 0);
      EXPECT_EQ(a.text, "No error");
    }
  }
}

TEST_F(ControlTest, CommandResultCodesAreAnsweredWithTheirText) {
  TControl c(port);
  EXPECT_CALL(port, SingleTune()).WillOnce(::testing::Return(6));
  const TControlCmdAnswer a = c.AutoTune();
  EXPECT_TRUE(a.result.ok());
  EXPECT_EQ(a.code, 6);
  EXPECT_EQ(a.text, "RX timeout");
}

TEST_F(ControlTest, ATuneThatRanAnswersItsOutcomeAndAFailureItsError) {
  TControl c(port);
  const QString outside =
      QStringLiteral("Load outside the matchable area: |Gamma in| = 0.211 (tolerance 0.025)");
  ON_CALL(port, TuneOutcomeText()).WillByDefault(::testing::Return(outside));
  EXPECT_CALL(port, SingleTune()).WillOnce(::testing::Return(0)).WillOnce(::testing::Return(6));
  const TControlCmdAnswer ran = c.AutoTune();
  EXPECT_EQ(ran.code, 0);
  EXPECT_EQ(ran.text, outside);
  const TControlCmdAnswer failed = c.AutoTune();
  EXPECT_EQ(failed.code, 6);
  EXPECT_EQ(failed.text, "RX timeout");
}

TEST_F(ControlTest, WithoutATunerTheTunerCallsAreRefused) {
  port.tuner = false;
  TControl c(port);
  for (const TControlCmdAnswer& a : {c.AutoTune(), c.MoveStubs(1, 1, 1)}) {
    EXPECT_EQ(a.result.status, TControlStatus::Failed);
    EXPECT_EQ(a.result.error, "The unit has no tuner.");
  }
  EXPECT_EQ(port.actions, 0);
}

TEST_F(ControlTest, ModelLoadOutsideItsLimitsIsRefused) {
  struct Case {
    double mag, pha;
    const char* error;
  };
  const Case cases[] = {
      {0.5, 90.0, ""},
      {0.0, -180.0, ""},
      {1.0, 180.0, ""},
      {1.01, 0.0, "The magnitude must be from 0 to 1, not 1.01."},
      {-0.2, 0.0, "The magnitude must be from 0 to 1, not -0.2."},
      {0.5, 180.5, "The phase must be from -180 to 180 degrees, not 180.5."},
      {0.5, std::numeric_limits<double>::infinity(),
       "The phase must be from -180 to 180 degrees, not INF."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.error);
    TControl c(port);
    port.actions = 0;
    const TControlResult r = c.SetModelLoad(k.mag, k.pha);
    EXPECT_EQ(r.error, k.error);
    EXPECT_EQ(port.actions, *k.error ? 0 : 1);
  }
}

TEST(ModelValue, TextsAreCheckedAgainstTheKeysLimits) {
  struct Case {
    const char* key;
    const char* text;
    int format;
    const char* error;  // empty: accepted
  };
  const Case cases[] = {
      {"RhoMag", "0.5", kRflMag, ""},
      {"rhomag", "0,25", kRflMag, ""},  // keys ignore case; a comma is a decimal point
      {"RhoMag", "1.5", kRflMag, "RhoMag must be a number from 0 to 1, not \"1.5\"."},
      {"RhoMag", "-3", kRflDb, ""},
      {"RhoMag", "3", kRflDb, "RhoMag must be a number from -160 to 0 dB, not \"3\"."},
      {"RhoMag", "0.5", kRflVswr, "RhoMag must be a number from 1 to 100000, not \"0.5\"."},
      {"RhoMag", "abc", kRflMag, "RhoMag must be a number from 0 to 1, not \"abc\"."},
      {"RhoPha", "nan", kRflMag, "RhoPha must be a number from -180 to 180, not \"nan\"."},
      {"RhoPha", "-180", kRflMag, ""},
      {"DutType", "3", kRflMag, ""},
      {"DutType", "4", kRflMag, "DutType must be a whole number from 0 to 3, not \"4\"."},
      {"DutType", "1.5", kRflMag, "DutType must be a whole number from 0 to 3, not \"1.5\"."},
      {"AniPhaS", "10", kRflMag, ""},
      {"AniPhaS", "11", kRflMag, "AniPhaS must be a whole number from 0 to 10, not \"11\"."},
      {"AniDwell", "0", kRflMag, "AniDwell must be a whole number from 1 to 1000, not \"0\"."},
      {"ErrByte", "256", kRflMag, "ErrByte must be a whole number from 0 to 255, not \"256\"."},
      {"Pinc", "0", kRflMag, "Pinc must be a number from 1E-12 to 10000, not \"0\"."},
      {"PUncert", "100", kRflMag, ""},
      {"Freq", "2450", kRflMag, ""},
      {"Freq", "2.5G", kRflMag, ""},
      {"Freq", "3000", kRflMag, "Freq must be a number from 2205 to 2695 MHz, not \"3000\"."},
      {"cbNoSpiral", "1", kRflMag, ""},
      {"cbNoSpiral", "yes", kRflMag, "cbNoSpiral must be 0 or 1, not \"yes\"."},
      {"MdlResPath", "any text", kRflMag, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.key) + "=" + k.text);
    TMdlEntries now;
    now.RFormat = k.format;
    std::function<void(TMdlPresenter&)> edit;
    const QString why = ModelValueEdit(k.key, k.text, now, 2.45e9, edit);
    EXPECT_EQ(why, k.error);
    EXPECT_EQ(bool(edit), !*k.error);
  }
}

TEST(ModelValue, WindowPlaceAndTunerKeysAreNotModelValues) {
  for (const char* key : {"Top", "Left", "Visible", "TUMANUF", ""}) {
    SCOPED_TRACE(key);
    std::function<void(TMdlPresenter&)> edit;
    const QString why = ModelValueEdit(key, "1", TMdlEntries{}, 2.45e9, edit);
    EXPECT_TRUE(why.startsWith(QStringLiteral("Unknown key \"%1\"; the model's keys are: DutType, "
                                              "RhoMag,")
                                   .arg(key)))
        << why.toStdString();
    EXPECT_FALSE(edit);
  }
}

TEST_F(ControlTest, ARefusedModelValueIsNotApplied) {
  TControl c(port);
  EXPECT_CALL(port, EditModel(_)).Times(0);
  const TControlResult r = c.SetModelValue("Temp", "warm");
  EXPECT_EQ(r.status, TControlStatus::InvalidValue);
  EXPECT_EQ(c.LastError(), r.error);
}

TEST_F(ControlTest, PathsThatCannotBeWrittenAreRefusedBeforeAnything) {
  const QString readOnly = dir.filePath("ro.stp");
  {
    QFile f(readOnly);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
  }
  ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup));
  struct Case {
    QString path;
    QString error;
  };
  const Case cases[] = {
      {"", "A file name is needed."},
      {"  ", "A file name is needed."},
      {dir.path(), "\"" + dir.path() + "\" is not a regular file"},
      {readOnly, "\"" + readOnly + "\" is read-only; it is not overwritten."},
      {"/nonexistent-qz-folder/x.stp", "Folder \"/nonexistent-qz-folder\" does not exist."},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.path.toStdString());
    EXPECT_EQ(WritablePathProblem(k.path), k.error);
    TControl c(port);
    EXPECT_EQ(c.SaveSetup(k.path, "").error, k.error);
    EXPECT_EQ(c.SaveResults(k.path, "").status, TControlStatus::NotWritable);
    EXPECT_EQ(c.SaveResultsCsv(k.path, "").status, TControlStatus::NotWritable);
  }
  EXPECT_EQ(port.actions, 0);
  EXPECT_EQ(WritablePathProblem(dir.filePath("new.txt")), "");
  QFile f(readOnly);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "keep");
}

// The data log the program is writing is never overwritten, under its own name or another (a
// hard link), and a folder that takes no new file is refused before anything is written.
TEST_F(ControlTest, TheRunningLogAndFoldersThatTakeNoFileAreNotWritable) {
  const QString log = dir.filePath("run.log");
  {
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("log");
  }
  const QString link = dir.filePath("link.txt");
  ASSERT_EQ(::link(QFile::encodeName(log).constData(), QFile::encodeName(link).constData()), 0);
  ON_CALL(port, RunningLogPath()).WillByDefault(Return(log));
  const qsizetype filesBefore = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size();
  const QString running = "\"%1\" is the running data log; it is not overwritten.";
  struct Case {
    QString path;
    QString error;
  };
  const Case cases[] = {
      {log, running.arg(log)},
      {link, running.arg(link)},
      {dir.filePath("./run.log"), running.arg(dir.filePath("./run.log"))},
      {"/proc/x.stp", "\"/proc/x.stp\" cannot be written: "},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.path.toStdString());
    EXPECT_TRUE(WritablePathProblem(k.path, log).startsWith(k.error))
        << WritablePathProblem(k.path, log).toStdString();
    TControl c(port);
    for (const TControlResult& r :
         {c.SaveSetup(k.path, ""), c.SaveResults(k.path, ""), c.SaveResultsCsv(k.path, "")}) {
      EXPECT_EQ(r.status, TControlStatus::NotWritable);
      EXPECT_TRUE(r.error.startsWith(k.error)) << r.error.toStdString();
    }
  }
  EXPECT_EQ(port.actions, 0);
  EXPECT_EQ(WritablePathProblem(dir.filePath("other.txt"), log), "");
  // The check leaves nothing behind in the folder.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), filesBefore);
  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "log");
}

// A save that fails on its way (a full disk) stays a failure of the command; one whose file
// could not be made at all is a path that cannot be written.
TEST_F(ControlTest, AFailingWriteIsAFailureAndAFileThatCannotBeMadeIsNotWritable) {
  TControl c(port);
  EXPECT_CALL(port, SaveResults(_, _, _)).WillOnce([](const QString&, const QString&, QString& e) {
    e = "No space left on device";
    return false;
  });
  const TControlResult full = c.SaveResults(dir.filePath("full.txt"), "");
  EXPECT_EQ(full.status, TControlStatus::Failed);
  EXPECT_EQ(full.error, "No space left on device");
  // The folder went away between the check and the write.
  const QString gone = dir.filePath("gone");
  ASSERT_TRUE(QDir().mkdir(gone));
  EXPECT_CALL(port, SaveSetup(_, _, _))
      .WillOnce([gone](const QString&, const QString&, QString& e) {
        QDir(gone).removeRecursively();
        e = "cannot be created";
        return false;
      });
  const TControlResult made = c.SaveSetup(gone + "/a.stp", "");
  EXPECT_EQ(made.status, TControlStatus::NotWritable);
  EXPECT_EQ(made.error, "cannot be created");
}

TEST_F(ControlTest, AFailedCommandAnswersItsOwnMessage) {
  TControl c(port);
  EXPECT_CALL(port, LoadSetup(_, _, _)).WillOnce([](const QString&, QString&, QString& e) {
    e = "File \"x\" holds no setup of this program";
    return false;
  });
  const TControlResult r = c.LoadSetup("x");
  EXPECT_EQ(r.status, TControlStatus::Failed);
  EXPECT_EQ(r.error, "File \"x\" holds no setup of this program");
}

TEST_F(ControlTest, SaveChartDrawsThroughTheProgramAndFollowsTheRules) {
  struct Drawn {
    QString type, path;
    uint32_t width = 0, height = 0;
  };
  std::vector<Drawn> drawn;
  TChartResult answer;
  auto make = [&](TControl& c) {
    c.ChartSaver = [&](const QString& t, const QString& p, uint32_t w, uint32_t h) {
      drawn.push_back({t, p, w, h});
      return answer;
    };
  };
  const QString png = dir.filePath("c.png");
  {
    TControl c(port);
    make(c);
    EXPECT_TRUE(c.SaveChart("z-smith", png, 640, 480).ok());
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].type, "z-smith");
    EXPECT_EQ(drawn[0].path, png);
    EXPECT_EQ(drawn[0].width, 640u);
    EXPECT_EQ(drawn[0].height, 480u);
  }
  // The chart's own refusals: code 2 is a wrong value, code 1 a failed write.
  const struct {
    int code;
    TControlStatus status;
  } failures[] = {{2, TControlStatus::InvalidValue}, {1, TControlStatus::Failed}};
  for (const auto& f : failures) {
    TControl c(port);
    make(c);
    answer = {f.code, QStringLiteral("reason %1").arg(f.code)};
    const TControlResult r = c.SaveChart("mag", png, 0, 0);
    EXPECT_EQ(r.status, f.status);
    EXPECT_EQ(r.error, answer.error);
    EXPECT_EQ(c.LastError(), answer.error);
  }
  answer = {};
  drawn.clear();
  // Refused before anything is drawn: a path that cannot be written, a run (as the picture
  // commands are), an open dialog; and without a way to draw, it fails.
  {
    TControl c(port);
    make(c);
    EXPECT_EQ(c.SaveChart("mag", "/nonexistent-qz-folder/x.png", 0, 0).status,
              TControlStatus::NotWritable);
    port.running = true;
    EXPECT_EQ(c.SaveChart("mag", png, 0, 0).error, "busy: running");
    port.running = false;
    port.dialog = true;
    EXPECT_EQ(c.SaveChart("mag", png, 0, 0).error, "busy: a dialog is open");
    port.dialog = false;
  }
  EXPECT_TRUE(drawn.empty());
  TControl bare(port);
  EXPECT_EQ(bare.SaveChart("mag", png, 0, 0).status, TControlStatus::Failed);
}

TEST_F(ControlTest, AMeasuredScenarioPlayRefusesWhatARunRefusesAndRun) {
  TControl c(port);
  EXPECT_CALL(port, ScenarioPlaying()).WillRepeatedly(::testing::Return(true));
  for (const TCall& k : Calls()) {
    SCOPED_TRACE(k.name);
    port.actions = 0;
    const TControlResult r = k.call(c, file);
    if (k.disabledInRun) {
      EXPECT_EQ(r.status, TControlStatus::Busy);
      EXPECT_EQ(r.error, "busy: a scenario is playing");
      EXPECT_EQ(port.actions, 0);
    } else {
      EXPECT_TRUE(r.ok()) << r.error.toStdString();
    }
  }
  const TControlResult run = c.Run();
  EXPECT_EQ(run.error, "busy: a scenario is playing");
  EXPECT_FALSE(c.Running());
}

TEST_F(ControlTest, ARunAskedForHasNoFramesAndEndsClosingWhenQuitComesFirst) {
  std::vector<std::function<void()>> tasks;
  QStringList ends;
  TControl c(port);
  c.Defer = [&](std::function<void()> t) { tasks.push_back(std::move(t)); };
  c.OnRunEnded = [&](const QString& r) { ends << r; };
  EXPECT_CALL(port, FramesAccepted()).WillRepeatedly(::testing::Return(int64_t(5000)));
  EXPECT_EQ(c.FramesAccepted(), 5000);
  ASSERT_TRUE(c.Run().ok());
  EXPECT_EQ(c.FramesAccepted(), 0);  // not the last run's count
  ASSERT_TRUE(c.Quit(false).ok());
  EXPECT_EQ(ends, QStringList{"closing"});
  EXPECT_FALSE(c.Running());
}

TEST(ChartRequest, AZeroSideTakesItsDefaultAndWrongRequestsAreCode2) {
  TChartRequest req;
  ASSERT_TRUE(ChartRequestOf("Z-Smith", 640, 480, "x.png", req).ok());
  EXPECT_EQ(req.width, 640);
  EXPECT_EQ(req.height, 480);
  const TChartRequest asked = req;
  ASSERT_TRUE(ChartRequestOf("z-smith", 0, 480, "x.png", req).ok());
  EXPECT_EQ(req.type, asked.type);
  EXPECT_EQ(req.width, kChartDefaultWidth);
  EXPECT_EQ(req.height, 480);
  ASSERT_TRUE(ChartRequestOf("z-smith", 0, 0, "x.png", req).ok());
  EXPECT_EQ(req.width, kChartDefaultWidth);
  EXPECT_EQ(req.height, kChartDefaultHeight);
  for (const auto& [type, w, path] :
       {std::tuple<const char*, uint32_t, const char*>{"nonesuch", 100u, "x.png"},
        {"mag", 10u, "x.png"},
        {"mag", 100000u, "x.png"},
        {"mag", 100u, "x.tiff"}}) {
    SCOPED_TRACE(std::string(type) + " " + path);
    TChartRequest s = asked;
    EXPECT_EQ(ChartRequestOf(type, w, w, path, s).code, 2);
    EXPECT_EQ(s, asked);  // left as it was
  }
}

// The typed reads are readings: a dialog or a run never refuses them; before the first frame
// GetResult fails and GetResults answers only "from the start".
TEST_F(ControlTest, TypedReadsAreNeverRefusedAndFailOnlyWithoutFrames) {
  TControl c(port);
  TResultRecord rec;
  std::vector<TResultRecord> rows;
  uint64_t missed = 7;
  const TControlResult none = c.GetResult(rec);
  EXPECT_EQ(none.status, TControlStatus::Failed);
  EXPECT_EQ(none.error, "No measured data available");
  EXPECT_TRUE(c.GetResults(0, rows, missed).ok());
  EXPECT_EQ(missed, 0u);
  const TControlResult beyond = c.GetResults(1, rows, missed);
  EXPECT_EQ(beyond.status, TControlStatus::InvalidValue);
  EXPECT_EQ(beyond.error, "There is no frame 1 yet: the newest accepted frame is 0.");

  TMotState mot;
  TQvWin qv(mot);
  qv.LastSwp.SetNwanted(2);
  for (int k = 1; k <= 3; ++k) {
    qv.Mob = testing::EncodedFrame(testing::MeasSpec(10.0 * k));
    qv.LastSwp.Add(qv.Mob, qv.StampAccepted(1000 + k));
  }
  ON_CALL(port, Analyzer()).WillByDefault(Return(&qv));
  ON_CALL(port, MmPerStep()).WillByDefault(Return(0.01));
  port.dialog = true;
  port.running = true;
  ASSERT_TRUE(c.GetResult(rec).ok());
  EXPECT_EQ(rec.frame, 3);
  EXPECT_DOUBLE_EQ(rec.pinc_W, 30.0);
  ASSERT_TRUE(c.GetResults(0, rows, missed).ok());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].frame, 2);
  EXPECT_EQ(missed, 1u);
  EXPECT_EQ(c.GetResults(4, rows, missed).status, TControlStatus::InvalidValue);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(port.actions, 0);
}

TEST(RunEnd, TheReasonNamesWhatEndedTheRun) {
  struct Case {
    bool closing, immed, passes;
    const char* reason;
  };
  const Case cases[] = {
      {false, false, false, "paused"},     {false, true, false, "stopped"},
      {false, false, true, "passes done"}, {true, true, true, "closing"},
      {false, true, true, "stopped"},
  };
  for (const Case& k : cases) EXPECT_EQ(RunEndReason(k.closing, k.immed, k.passes), k.reason);
}

}  // namespace
}  // namespace qz
