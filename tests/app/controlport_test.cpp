// The remote control over the program without a window: the end of each run told with its
// reason, the model's values reaching the model as "&Apply" takes them, the stubs moved through
// the command layer, and a setup saved without touching the automatic setup.

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <memory>

#include "app/control.h"
#include "app/controlport.h"
#include "app/program.h"
#include "common/freshprofile.h"
#include "util/inifile.h"

namespace qz {
namespace {

// Does one thing once the run has accepted a number of frames.
class TActAt : public TCycleHost {
 public:
  TActAt(TCycle& c, int64_t frames, std::function<void()> act)
      : c_(c), frames_(frames), act_(std::move(act)) {}
  void Pump() override {
    if (act_ && c_.AcceptedFrames() >= frames_) std::exchange(act_, nullptr)();
  }

 private:
  TCycle& c_;
  int64_t frames_;
  std::function<void()> act_;
};

class ProgramPortTest : public testing::FreshProfileTest {
 protected:
  void SetUp() override {
    FreshProfileTest::SetUp();
    program = std::make_unique<TProgram>(true);
    QString messages;
    ASSERT_TRUE(program->Start(messages)) << messages.toStdString();
    port = std::make_unique<TProgramPort>(*program);
    control = std::make_unique<TControl>(*port);
    port->OnRunEnded = [this](const QString& r) {
      ends << r;
      control->RunEnded(r);
    };
    port->OnQuit = [this] { ++quits; };
  }
  void TearDown() override {
    control.reset();
    port.reset();
    program.reset();
    FreshProfileTest::TearDown();
  }
  // Runs the cycle (Run answers at once here: no event loop defers it) with `act` done at the
  // 50th frame.
  void RunWith(std::function<void()> act) {
    TCycle& c = program->Core.Cycle;
    TActAt host(c, 50, std::move(act));
    TCyclePorts p = c.Ports();
    p.host = &host;
    c.SetPorts(p);
    ASSERT_TRUE(control->Run().ok());
    p.host = nullptr;
    c.SetPorts(p);
  }
  TMdlEngine& Model() { return program->Core.Model; }
  TMdlEntries& Entries() { return program->Core.MdlPresenter.Ent; }

 public:
  std::unique_ptr<TProgram> program;
  std::unique_ptr<TProgramPort> port;
  std::unique_ptr<TControl> control;
  QStringList ends;
  int quits = 0;
};

// The program started over an automatic setup whose frame section has a given separator, with
// the model at a fixed 2450 MHz.
class ProgramPortFileTest : public ProgramPortTest {
 protected:
  void SetUp() override { FreshProfileTest::SetUp(); }
  bool StartWithAutoSeparator(const char* sep) {
    control.reset();
    port.reset();
    program.reset();
    {
      IniFile ini(Auto());
      ini.EraseSection("QuzarForm");
      if (sep) ini.WriteString("QuzarForm", "SeparForTxtSave", QString::fromLatin1(sep));
      ini.WriteString("Model", "Freq", "2450");
      ini.WriteString("Model", "FUncert", "0");
      if (!ini.SaveAs(Auto())) return false;
    }
    program = std::make_unique<TProgram>(true);
    QString messages;
    if (!program->Start(messages)) return false;
    port = std::make_unique<TProgramPort>(*program);
    control = std::make_unique<TControl>(*port);
    return true;
  }
};

TEST_F(ProgramPortTest, EveryRunEndIsToldWithWhatEndedIt) {
  struct Case {
    const char* reason;
    std::function<void(ProgramPortTest&)> act;
    int quits;
  };
  const Case cases[] = {
      {"paused", [](ProgramPortTest& t) { EXPECT_TRUE(t.control->Pause().ok()); }, 0},
      {"stopped", [](ProgramPortTest& t) { EXPECT_TRUE(t.control->Stop().ok()); }, 0},
      {"passes done",
       [](ProgramPortTest& t) {
         t.port->PassesDone();
         t.program->Core.Cycle.miSweepClick();
       },
       0},
      // Quit during a run: the run ends first, then the program is told to end.
      {"closing", [](ProgramPortTest& t) { EXPECT_TRUE(t.control->Quit(true).ok()); }, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.reason);
    ends.clear();
    quits = 0;
    RunWith([&] { k.act(*this); });
    EXPECT_EQ(ends, QStringList{k.reason});
    EXPECT_EQ(quits, k.quits);
    EXPECT_FALSE(control->Running());
    EXPECT_GE(control->FramesAccepted(), 50);
  }
}

TEST_F(ProgramPortTest, QuitWhileIdleEndsAtOnceAndWritesNothing) {
  const QString autoPath = Auto();
  const bool existed = QFile::exists(autoPath);
  ASSERT_TRUE(control->Quit(true).ok());
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(ends.isEmpty());
  EXPECT_EQ(QFile::exists(autoPath), existed);
}

TEST_F(ProgramPortTest, ModelValuesAreAppliedAsTheModelWindowApplies) {
  ASSERT_TRUE(control->SetModelLoad(0.5, 90.0).ok());
  EXPECT_EQ(Entries().DutType, kDutDefined);
  EXPECT_DOUBLE_EQ(Model().Mg11, 0.5);
  EXPECT_NEAR(Model().SimulRo.re, 0.0, 1e-12);
  EXPECT_NEAR(Model().SimulRo.im, 0.5, 1e-12);

  // The magnitude shown in dB: 20 log10 0.5.
  ASSERT_TRUE(control->SetModelValue("RFormat", "1").ok());
  EXPECT_EQ(Entries().RFormat, kRflDb);
  EXPECT_EQ(Entries().Mag, "-6.02");
  // "&Apply" reads the entry as shown.
  EXPECT_DOUBLE_EQ(Model().Rloss, -6.02);
  // A magnitude in dB now reads in dB.
  ASSERT_TRUE(control->SetModelValue("RhoMag", "-20").ok());
  EXPECT_NEAR(Model().Mg11, 0.1, 1e-12);
  EXPECT_EQ(control->SetModelValue("RhoMag", "0.5").error,
            "RhoMag must be a number from -160 to 0 dB, not \"0.5\".");
  EXPECT_NEAR(Model().Mg11, 0.1, 1e-12);

  ASSERT_TRUE(control->SetModelValue("ErrByte", "16").ok());
  EXPECT_EQ(Model().ErrByte, 16);
  EXPECT_TRUE(Entries().ErrLowSignal);
  ASSERT_TRUE(control->SetModelValue("Temp", "31.5").ok());
  EXPECT_DOUBLE_EQ(Model().Temp, 31.5);
  ASSERT_TRUE(control->SetModelValue("Pinc", "2").ok());
  EXPECT_DOUBLE_EQ(Model().Pow, 2000.0);  // kW entry, W in the model
  ASSERT_TRUE(control->SetModelValue("DutType", "1").ok());
  EXPECT_EQ(Model().SimulRo.re, 0.0);
  EXPECT_EQ(Model().SimulRo.im, 0.0);
}

// An idle AutoTune tunes at once (the model builds the unit's next frame) and answers how the
// tune ended.
TEST_F(ProgramPortTest, IdleAutoTuneMovesTheStubsAtOnceAndAnswersItsOutcome) {
  ASSERT_TRUE(control->SetModelValue("RUncert", "0").ok());
  ASSERT_TRUE(control->SetModelValue("FUncert", "0").ok());
  struct Case {
    double mag, deg;
    const char* text;
    double mm[3];  // where the stubs stand after the tune (negative: not checked)
  };
  const Case cases[] = {
      {0.95,
       60.0,
       "Load outside the matchable area: |Gamma in| = 0.577 (tolerance 0.025)",
       {30.0, 5.20, 0.0}},
      {0.5, 90.0, "No error", {-1.0, -1.0, -1.0}},
  };
  const double step = port->StepMm();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.mag);
    ASSERT_TRUE(control->SetModelLoad(k.mag, k.deg).ok());
    const TControlCmdAnswer a = control->AutoTune();
    ASSERT_TRUE(a.result.ok()) << a.result.error.toStdString();
    EXPECT_EQ(a.code, 0);
    EXPECT_EQ(a.text, QString::fromUtf8(k.text));
    const TMotState& mot = program->Core.Mot;
    for (int i = 1; i <= 3; ++i) {
      if (k.mm[i - 1] >= 0.0) {
        EXPECT_NEAR(mot.ActPos[i] * step, k.mm[i - 1], 0.005) << i;
      }
    }
    EXPECT_FALSE(program->Core.Sim.Btune1);
  }
}

TEST_F(ProgramPortTest, StubsMoveThroughTheCommandLayerToTheNearestStep) {
  const double step = port->StepMm();
  ASSERT_GT(step, 0.0);
  const double mm[3] = {1.0, 2.5, 7.25};
  const TControlCmdAnswer a = control->MoveStubs(mm[0], mm[1], mm[2]);
  ASSERT_TRUE(a.result.ok()) << a.result.error.toStdString();
  EXPECT_EQ(a.code, 0);
  const TMotState& mot = program->Core.Mot;
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(mot.ActPos[i], mot.TargPos[i]);
    EXPECT_LE(std::abs(mot.ActPos[i] * step - mm[i - 1]), step / 2 + 1e-9) << i;
  }
}

TEST_F(ProgramPortTest, ASetupIsSavedWithoutWritingTheAutomaticSetup) {
  const QString autoPath = Auto();
  QByteArray before;
  if (QFile f(autoPath); f.open(QIODevice::ReadOnly)) before = f.readAll();
  const bool existed = QFile::exists(autoPath);
  ASSERT_TRUE(control->SetModelLoad(0.25, -45.0).ok());
  const QString path = dir.filePath("saved.stp");
  const TControlResult r = control->SaveSetup(path, "from a script");
  ASSERT_TRUE(r.ok()) << r.error.toStdString();

  IniFile saved(path);
  EXPECT_EQ(saved.ReadString("Model", "RhoMag", ""), "0.25");
  EXPECT_EQ(saved.ReadString("Model", "RhoPha", ""), "-45");
  EXPECT_TRUE(saved.SectionExists("QvTuStp1"));
  EXPECT_EQ(QFile::exists(autoPath), existed);
  if (QFile f(autoPath); f.open(QIODevice::ReadOnly)) {
    EXPECT_EQ(f.readAll(), before);
  }

  // The saved setup loads back.
  ASSERT_TRUE(control->SetModelLoad(0.75, 10.0).ok());
  ASSERT_TRUE(control->LoadSetup(path).ok());
  EXPECT_DOUBLE_EQ(Model().Mg11, 0.25);
}

TEST_F(ProgramPortTest, ResultsNeedAMeasuredSweep) {
  const QString path = dir.filePath("r.txt");
  const TControlResult none = control->SaveResults(path, "");
  EXPECT_EQ(none.status, TControlStatus::Failed);
  EXPECT_EQ(none.error, "No measured data available");
  EXPECT_FALSE(QFile::exists(path));
  RunWith([&] { control->Pause(); });
  const TControlResult r = control->SaveResults(path, "after a run");
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readLine().startsWith("after a run"));
}

// The frequency column of every results line of a file.
QStringList FrequencyColumn(const QString& path) {
  QStringList freqs;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return freqs;
  for (const QByteArray& line : f.readAll().split('\n')) {
    const QList<QByteArray> cols = line.split('\t');
    bool number = false;
    cols.first().toInt(&number);
    if (number && cols.size() == 16) freqs << QString::fromLatin1(cols[1]);
  }
  return freqs;
}

// Saved without a window, the results take the decimal separator of the frame window's section,
// from the automatic setup and then from a loaded setup, as the frame window reads it (a section
// without the key means the point).
TEST_F(ProgramPortFileTest, ResultsTakeTheFrameSectionsSeparator) {
  struct Case {
    const char* name;
    const char* autoSep;  // nullptr: no key in the automatic setup
    const char* loaded;   // the "QuzarForm" lines of a loaded setup; nullptr: nothing loaded
    const char* pattern;  // every frequency matches
  };
  const Case cases[] = {
      {"automatic comma", ",", nullptr, "^2450,000$"},
      {"automatic point", ".", nullptr, "^2450\\.000$"},
      {"no key", nullptr, nullptr, "^2450\\.000$"},
      {"loaded comma", ".", "SeparForTxtSave=,\r\n", "^2450,000$"},
      {"loaded section without the key", ",", "PicTyp=1\r\n", "^2450\\.000$"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(StartWithAutoSeparator(k.autoSep));
    if (k.loaded) {
      const QString stp = dir.filePath("sep.stp");
      QFile f(stp);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(QByteArray("[QuzarForm]\r\n") + k.loaded);
      f.close();
      ASSERT_TRUE(control->LoadSetup(stp).ok());
    }
    RunWith([&] { control->Pause(); });
    const QString path = dir.filePath("r.txt");
    ASSERT_TRUE(control->SaveResults(path, "").ok());
    const QStringList freqs = FrequencyColumn(path);
    ASSERT_FALSE(freqs.isEmpty());
    const QRegularExpression re(QString::fromLatin1(k.pattern));
    for (const QString& fr : freqs) EXPECT_TRUE(re.match(fr).hasMatch()) << fr.toStdString();
    // The CSV always has the point.
    const QString csv = dir.filePath("r.csv");
    ASSERT_TRUE(control->SaveResultsCsv(csv, "").ok());
    QFile c(csv);
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    const QByteArray bytes = c.readAll();
    EXPECT_TRUE(bytes.contains(",2450.00000,")) << k.name;
    EXPECT_FALSE(bytes.contains("2450,0")) << k.name;
  }
}

}  // namespace
}  // namespace qz
