// The logging window: its controls feed the log, preparing goes through the file question,
// the status, LED and group caption follow the log, and messages wait until the pass is over.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "results/ui/logform.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

class FakeTimer : public TLogTimer {
 public:
  void SetOnTick(std::function<void()>) override {}
  void Start(int) override { active = true; }
  void Stop() override { active = false; }
  bool Active() const override { return active; }
  bool active = false;
};

// Writes a fixed line for every record.
class FixedText : public TLogWriteProc {
 public:
  QString Header() const override { return QStringLiteral("No\tTime_s"); }
  QString DataLine(const THresults&, int32_t n, double, QChar, const QDateTime&) const override {
    return QString::number(n + 1);
  }
  QString SaveTxtInfo() const override { return QStringLiteral("\r\ninfo"); }
  QString Stamp() const override { return QStringLiteral("[Analyzer setup]\r\n"); }
};

class LogFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    asker.quiet = true;
    engine.SetWriteProc(&text);
  }
  QTemporaryDir dir;
  TScriptedAsker asker;
  TLogFileSink sink;
  FakeTimer timer;
  ManualClock clock;
  TLogEngine engine{sink, timer, clock};
  FixedText text;
};

TEST_F(LogFormTest, PrepareStartStopShowStatusLedAndCaption) {
  TLogForm form(engine, &asker);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Data Logging"));
  EXPECT_EQ(form.StatusText(), QStringLiteral("Not ready"));
  EXPECT_EQ(form.LogFileGroupTitle(), QStringLiteral("Log File - not prepared"));

  form.IntervalBox(2)->setValue(10);
  form.SamplesEdit()->setText(QStringLiteral("3"));
  form.InfoEdit()->setText(QStringLiteral("note"));
  EXPECT_EQ(engine.Entries().intS, 10);
  EXPECT_EQ(engine.Entries().samples, QStringLiteral("3"));

  const QString path = dir.filePath(QStringLiteral("a.txt"));
  asker.QueueFile(path);
  form.PrepareClick();
  const auto saves = asker.Records(TAskRecord::SaveFile);
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].caption, QStringLiteral("Prepare Log File"));
  EXPECT_EQ(form.StatusText(), QStringLiteral("Ready"));
  EXPECT_EQ(form.LogFileGroupTitle(), QStringLiteral("Log File - prepared"));
  EXPECT_EQ(form.LedColor(), QColor(255, 255, 0));
  EXPECT_EQ(form.NameText(), QStringLiteral("a.txt"));
  EXPECT_TRUE(QFile::exists(path));

  engine.PoSpusteniMer();
  EXPECT_EQ(form.StatusText(), QStringLiteral("Logging..."));
  EXPECT_EQ(form.LogFileGroupTitle(), QStringLiteral("Log File - open"));
  THresults res;
  for (int i = 0; i < 3; ++i) {
    clock.AdvanceMs(500);
    if (engine.LoggingOn()) engine.ZapisData(res);
  }
  EXPECT_EQ(form.RecordedText(), QStringLiteral("1"));
  EXPECT_EQ(form.ElapsedText(), QStringLiteral("00:00:01.50"));

  form.EnableForRun(false);
  EXPECT_FALSE(form.TimingGroup()->isEnabled());
  form.EnableForRun(true);

  form.StopClick();
  EXPECT_EQ(form.StatusText(), QStringLiteral("Aborted"));
  EXPECT_EQ(form.LogFileGroupTitle(), QStringLiteral("Log File - closed"));
  EXPECT_EQ(form.LedColor(), QColor(0xC0, 0xC0, 0xC0));

  // Cancelling the file question leaves no log prepared.
  form.PrepareClick();
  EXPECT_EQ(form.StatusText(), QStringLiteral("Not ready"));
}

// A data line of 120 characters: 122 bytes with its line end.
class WideText : public FixedText {
 public:
  QString DataLine(const THresults&, int32_t, double, QChar, const QDateTime&) const override {
    return QString(120, QChar('x'));
  }
};

TEST_F(LogFormTest, PreparedLogForecastsItsGrowthAndARunShowsRateAndSize) {
  WideText wide;
  engine.SetWriteProc(&wide);
  TLogForm form(engine, &asker);
  form.FreeBytes = [](const QString&) { return std::optional<int64_t>(10'000'000'000); };
  EXPECT_EQ(form.ForecastText(), QString());
  const QString path = dir.filePath(QStringLiteral("f.txt"));
  asker.QueueFile(path);
  form.PrepareClick();
  EXPECT_EQ(form.ForecastText(), QStringLiteral("Free 10 GB, rate known after the first run"));
  EXPECT_FALSE(form.ForecastWarns());
  // A first run of 40 000 frames in one second, nothing logged (started before the prepare).
  engine.PoSpusteniMer();
  // 300 records, one a millisecond.
  THresults res;
  for (int i = 0; i < 300; ++i) {
    clock.AdvanceMs(1);
    if (engine.LoggingOn()) engine.ZapisData(res);
  }
  form.EnableForRun(false);
  EXPECT_TRUE(form.ProgressGroup()->isEnabled());
  form.FlushRefresh();
  EXPECT_EQ(form.RecordedText(), QStringLiteral("300"));
  EXPECT_EQ(form.RateText(), QStringLiteral("1000 records/s"));
  EXPECT_EQ(form.WrittenText(), LogSizeText(double(QFileInfo(path).size())));
  // Comment line, header and 300 lines of 122 bytes: about 36.6 kB.
  EXPECT_EQ(form.WrittenText(), QStringLiteral("36.6 kB"));
  clock.AdvanceMs(39700);  // the run lasted 40 s in all
  engine.RunEnded(1'600'000);
  engine.EventLoggingOff();
  form.EnableForRun(true);
  form.FlushRefresh();
  // 122 bytes at 40 000 records/s: 292.8 MB a minute, 10 GB in 34 minutes.
  EXPECT_EQ(form.ForecastText(), QStringLiteral("Free 10 GB, about 293 MB per minute at 40000 "
                                                "records/s; full in about 34 min"));
  EXPECT_TRUE(form.ForecastWarns());
  form.StopClick();
  EXPECT_EQ(form.ForecastText(), QString());
  EXPECT_EQ(form.RateText(), QString());
  EXPECT_EQ(form.WrittenText(), LogSizeText(double(QFileInfo(path).size())));
}

TEST_F(LogFormTest, WriteFailureMessageWaitsForTheEventLoop) {
  TLogForm form(engine, &asker);
  const QString path = dir.filePath(QStringLiteral("b.txt"));
  asker.QueueFile(path);
  form.PrepareClick();
  engine.PoSpusteniMer();
  ASSERT_TRUE(QFile::remove(path));
  THresults res;
  engine.ZapisData(res);  // inside the pass: no box yet
  EXPECT_EQ(form.StatusText(), QStringLiteral("Illegal end"));
  EXPECT_TRUE(asker.Records(TAskRecord::Message).empty());
  QApplication::processEvents();
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_TRUE(msgs[0].text.contains(path));
}

TEST_F(LogFormTest, SetupSectionFillsTheControls) {
  IniFile ini;
  ini.SetText(
      QByteArray("[LogForm]\r\nVisible=0\r\nTop=9000\r\nLeft=20\r\nSeparator=,\r\n"
                 "MaxSamples=12\r\nudDurH=5\r\nedLogInfo=hello\r\n"));
  TLogForm form(engine, &asker);
  const TFixedScreen screen(QSize(800, 600));
  TScopedScreen scoped(&screen);
  form.ReadStp(ini);
  EXPECT_EQ(form.y(), 550);
  EXPECT_EQ(form.x(), 20);
  EXPECT_TRUE(form.CommaButton()->isChecked());
  EXPECT_EQ(form.RecordsEdit()->text(), QStringLiteral("12"));
  EXPECT_EQ(form.DurationBox(1)->value(), 5);
  EXPECT_EQ(form.InfoEdit()->text(), QStringLiteral("hello"));
  IniFile out;
  form.WriteStp(out);
  EXPECT_EQ(out.ReadString(QStringLiteral("LogForm"), QStringLiteral("MaxSamples"), QString()),
            QStringLiteral("12"));
  EXPECT_EQ(out.ReadInteger(QStringLiteral("LogForm"), QStringLiteral("udDurH"), 0), 5);
}

// "Format": CSV greys the separator (a CSV log always has the point), is kept as "LogFormat" and
// makes Prepare offer CSV files.
TEST_F(LogFormTest, CsvFormatGreysTheSeparatorAndPreparesACsvFile) {
  IniFile ini;
  ini.SetText(QByteArray("[LogForm]\r\nSeparator=,\r\nLogFormat=1\r\n"));
  TLogForm form(engine, &asker);
  form.ReadStp(ini);
  EXPECT_TRUE(form.CsvButton()->isChecked());
  EXPECT_TRUE(engine.Entries().csv);
  EXPECT_FALSE(form.CommaButton()->isEnabled());
  asker.QueueFile(dir.filePath(QStringLiteral("a.csv")));
  form.PrepareClick();
  const auto saves = asker.Records(TAskRecord::SaveFile);
  ASSERT_EQ(saves.size(), 1u);
  EXPECT_EQ(saves[0].extra, QString::fromLatin1(kLogCsvFilter));
  EXPECT_EQ(engine.Applied().decSep, QChar('.'));
  // Back to Text: the separator is the operator's again.
  form.CsvButton()->setChecked(false);
  for (QRadioButton* b : form.findChildren<QRadioButton*>())
    if (b->text() == QStringLiteral("Text")) b->setChecked(true);
  EXPECT_FALSE(engine.Entries().csv);
  EXPECT_TRUE(form.CommaButton()->isEnabled());
  IniFile out;
  form.WriteStp(out);
  EXPECT_EQ(out.ReadInteger(QStringLiteral("LogForm"), QStringLiteral("LogFormat"), -1), 0);
}

TEST_F(LogFormTest, AVisibleWindowShowsTheProgressOfTheLastRecordOnceTheRefreshHasFired) {
  TLogForm form(engine, &asker);
  form.show();
  asker.QueueFile(dir.filePath(QStringLiteral("c.txt")));
  form.PrepareClick();
  EXPECT_EQ(form.StatusText(), QStringLiteral("Ready"));
  engine.PoSpusteniMer();
  THresults res;
  for (int i = 0; i < 200; ++i) {
    clock.AdvanceMs(10);
    engine.ZapisData(res);
  }
  // Continuous logging: 200 records, shown together at the next refresh tick.
  EXPECT_TRUE(form.RefreshPending());
  QElapsedTimer t;
  t.start();
  while (form.RefreshPending() && t.elapsed() < 1000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_EQ(form.StatusText(), QStringLiteral("Logging..."));
  EXPECT_EQ(form.RecordedText(), QStringLiteral("200"));
  EXPECT_EQ(form.ElapsedText(), QStringLiteral("00:00:02.00"));
  // A stop by the operator shows its outcome at once.
  form.StopClick();
  EXPECT_EQ(form.StatusText(), QStringLiteral("Aborted"));
  form.hide();
}

}  // namespace
}  // namespace qz
