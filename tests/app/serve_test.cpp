// The program run with --serve on a private session bus, driven as a test script would drive it:
// the model's load, a run of at least one sweep, the results saved; an autotune that matches the
// load; the calls refused with their errors without any change; Quit with exit code 0.

#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSize>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QVariantMap>
#include <algorithm>

#include "app/recordbus.h"
#include "app/runlog.h"
#include "common/privatebus.h"

namespace qz {
namespace {

using testing::TPrivateBus;
using testing::TRunLog;
using testing::TServedProgram;
using testing::WaitFor;

// Collects the RunEnded signals of the control.
class TEndWatch : public QObject {
  Q_OBJECT
 public:
  QStringList reasons;
 public slots:
  void Ended(const QString& reason) { reasons << reason; }
};

QString ErrorOf(const QDBusMessage& r) {
  return r.type() == QDBusMessage::ErrorMessage ? r.errorName() + ": " + r.errorMessage()
                                                : QString();
}

// The data lines of a results file, split into their columns.
QList<QStringList> DataLines(const QString& path) {
  QList<QStringList> rows;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return rows;
  for (const QByteArray& raw : f.readAll().split('\n')) {
    const QStringList cols = QString::fromUtf8(raw).trimmed().split(QChar('\t'));
    bool number = false;
    cols.first().toInt(&number);
    if (number && cols.size() > 10) rows << cols;
  }
  return rows;
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A record as it arrives: its keys and values in the order sent, read entry by entry as the
// bus's own record type reads an a{sv} (the replies' signatures are checked where they matter).
using TWireRecord = QList<QPair<QString, QVariant>>;

TWireRecord ReadWireRecord(const QDBusArgument& a) {
  TBusRecord r;
  a >> r;
  return r.values;
}

QVariant Value(const TWireRecord& r, const QString& key) {
  for (const auto& [k, v] : r)
    if (k == key) return v;
  return {};
}

// Whether a column of a results file holds `value` as its format writes it (the fixed forms by
// their decimals, the exponent form by its five significant digits).
bool ColumnHolds(const QString& column, const char* format, double value) {
  return QString::asprintf(format, value).toDouble() == column.toDouble();
}

class ServeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!bus.Start()) GTEST_SKIP() << bus.why.toStdString();
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFileInfo::exists(TServedProgram::Exe())) << "build the program first";
    ASSERT_TRUE(bus.Connection().connect(QString(), "/Control", "local.QzSim.Control", "RunEnded",
                                         &watch, SLOT(Ended(QString))));
  }
  QString Profile() const { return dir.filePath("profile"); }
  QString AutoSetup() const { return Profile() + "/Vostrel/QzSim/QzSim0.ini"; }
  // Waits for a property to satisfy `ok`.
  bool WaitProperty(const char* name, const std::function<bool(const QVariant&)>& ok) {
    return WaitFor([&] { return ok(bus.Property(name)); });
  }
  bool WaitIdle() {
    return WaitProperty("Running", [](const QVariant& v) { return v.isValid() && !v.toBool(); });
  }
  bool WaitFrames(qulonglong n) {
    return WaitProperty("FramesAccepted",
                        [n](const QVariant& v) { return v.isValid() && v.toULongLong() >= n; });
  }

  TPrivateBus bus;
  QTemporaryDir dir;
  TEndWatch watch;
};

// The width and height a PNG file's header gives (empty when it is no PNG).
QSize PngSize(const QByteArray& png) {
  if (png.size() < 24 || !png.startsWith("\x89PNG\r\n\x1a\n")) return {};
  auto be32 = [&](int at) {
    return int(uint8_t(png[at])) << 24 | int(uint8_t(png[at + 1])) << 16 |
           int(uint8_t(png[at + 2])) << 8 | int(uint8_t(png[at + 3]));
  };
  return QSize(be32(16), be32(20));
}

TEST_F(ServeTest, AScriptSetsTheLoadRunsSavesTunesAndQuits) {
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve"})) << qz.ErrorOutput().toStdString();
  const QByteArray autoBefore = Bytes(AutoSetup());

  EXPECT_EQ(ErrorOf(bus.Call("SetModelValue", {"RUncert", "0"})), "");
  EXPECT_EQ(ErrorOf(bus.Call("SetModelLoad", {0.5, 90.0})), "");
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(101));

  // During the run: what the run disables is refused and nothing is written.
  const QString during = dir.filePath("during.txt");
  struct Refusal {
    const char* method;
    QVariantList args;
    const char* error;
  };
  const Refusal inRun[] = {
      {"SaveResults", {during, ""}, "local.QzSim.Control.Error.Busy: busy: running"},
      {"SaveResultsCsv", {during, ""}, "local.QzSim.Control.Error.Busy: busy: running"},
      {"SaveSetup", {during, ""}, "local.QzSim.Control.Error.Busy: busy: running"},
      {"LoadSetup", {during}, "local.QzSim.Control.Error.Busy: busy: running"},
      {"AutoTune", {}, "local.QzSim.Control.Error.Busy: busy: running"},
      {"MoveStubs", {1.0, 1.0, 1.0}, "local.QzSim.Control.Error.Busy: busy: running"},
      {"Run", {}, "local.QzSim.Control.Error.WrongState: running"},
  };
  for (const Refusal& k : inRun) {
    SCOPED_TRACE(k.method);
    EXPECT_EQ(ErrorOf(bus.Call(k.method, k.args)), k.error);
    EXPECT_EQ(bus.Property("LastError").toString(), QString(k.error).section(": ", 1));
  }
  EXPECT_FALSE(QFile::exists(during));
  EXPECT_TRUE(bus.Property("Running").toBool());

  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(WaitFor([&] { return watch.reasons == QStringList{"paused"}; }))
      << watch.reasons.join(",").toStdString();
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "local.QzSim.Control.Error.WrongState: not running");

  const QString results = dir.filePath("load.txt");
  ASSERT_EQ(ErrorOf(bus.Call("SaveResults", {results, "defined load"})), "");
  const QList<QStringList> rows = DataLines(results);
  EXPECT_EQ(rows.size(), 101);  // one sweep of the default 101 points
  for (const QStringList& r : rows) {
    EXPECT_EQ(r[8], "0.5000") << r.join(' ').toStdString();
    EXPECT_EQ(r[9], "90.000") << r.join(' ').toStdString();
  }

  // The same sweep as CSV: 101 rows of the load after the description, read by pandas.
  const QString csv = dir.filePath("load.csv");
  ASSERT_EQ(ErrorOf(bus.Call("SaveResultsCsv", {csv, "defined load"})), "");
  const QByteArray csvBytes = Bytes(csv);
  EXPECT_TRUE(csvBytes.contains("\r\n# comment: defined load\r\n"));
  EXPECT_TRUE(csvBytes.contains("\r\n# rows_kept: 101\r\n"));
  if (QFileInfo::exists("/usr/bin/python3")) {
    QProcess py;
    py.start("/usr/bin/python3",
             {"-c",
              "import sys\ntry:\n import pandas\nexcept ImportError:\n print('skip'); sys.exit()\n"
              "d = pandas.read_csv(sys.argv[1], comment='#')\n"
              "print(len(d), round(d['mag_load'].mean(), 3), d['frame'].is_monotonic_increasing)",
              csv});
    ASSERT_TRUE(py.waitForFinished(60000));
    const QString out = QString::fromUtf8(py.readAllStandardOutput()).trimmed();
    if (out != "skip") {
      EXPECT_EQ(out, "101 0.5 True") << py.readAllStandardError().toStdString();
    }
  }

  // Bad values and paths answer their errors and change nothing.
  const QString readOnly = dir.filePath("ro.txt");
  {
    QFile f(readOnly);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep");
  }
  ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner));
  const QString invalid = "org.freedesktop.DBus.Error.InvalidArgs: ";
  const Refusal idle[] = {
      {"SaveResults", {readOnly, ""}, "is read-only; it is not overwritten."},
      {"SaveResultsCsv", {readOnly, ""}, "is read-only; it is not overwritten."},
      {"SaveResultsCsv",
       {"/nonexistent-qz/a.csv", ""},
       "Folder \"/nonexistent-qz\" does not exist."},
      {"SaveSetup", {readOnly, ""}, "is read-only; it is not overwritten."},
      {"SaveSetup", {"/nonexistent-qz/a.stp", ""}, "Folder \"/nonexistent-qz\" does not exist."},
      {"SetModelLoad", {1.5, 0.0}, "The magnitude must be from 0 to 1, not 1.5."},
      {"SetModelValue", {"Freq", "3000"}, "Freq must be a number from 2205 to 2695 MHz"},
      {"SetModelValue", {"Top", "1"}, "Unknown key \"Top\""},
      {"MoveStubs", {1.0, 1.0, 1.0e6}, "Stub 3 must be from 0 to"},
  };
  for (const Refusal& k : idle) {
    SCOPED_TRACE(k.method);
    const QString e = ErrorOf(bus.Call(k.method, k.args));
    EXPECT_TRUE(e.startsWith(invalid)) << e.toStdString();
    EXPECT_TRUE(e.contains(k.error)) << e.toStdString();
  }
  EXPECT_EQ(Bytes(readOnly), "keep");
  const QString missing = ErrorOf(bus.Call("LoadSetup", {dir.filePath("none.stp")}));
  EXPECT_TRUE(missing.startsWith("org.freedesktop.DBus.Error.Failed: ")) << missing.toStdString();
  // The load is still the one set: a second sweep carries it.
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(101));
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitIdle());
  const QString again = dir.filePath("again.txt");
  ASSERT_EQ(ErrorOf(bus.Call("SaveResults", {again, ""})), "");
  for (const QStringList& r : DataLines(again)) EXPECT_EQ(r[8] + " " + r[9], "0.5000 90.000");

  // Autotune at that load, then a run: the tuner input is matched.
  const QDBusMessage tune = bus.Call("AutoTune");
  ASSERT_EQ(ErrorOf(tune), "");
  ASSERT_EQ(tune.arguments().size(), 2);
  EXPECT_EQ(tune.arguments()[0].toInt(), 0);
  EXPECT_EQ(tune.arguments()[1].toString(), "No error");
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(202));
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitIdle());
  const QString tuned = dir.filePath("tuned.txt");
  ASSERT_EQ(ErrorOf(bus.Call("SaveResults", {tuned, ""})), "");
  const QList<QStringList> tunedRows = DataLines(tuned);
  ASSERT_EQ(tunedRows.size(), 101);
  for (const QStringList& r : tunedRows) {
    EXPECT_LT(r[2].toDouble(), 0.03) << r.join(' ').toStdString();
    EXPECT_EQ(r[8], "0.5000");
  }

  // A setup is written to the named file only.
  const QString stp = dir.filePath("script.stp");
  ASSERT_EQ(ErrorOf(bus.Call("SaveSetup", {stp, "scripted"})), "");
  EXPECT_TRUE(Bytes(stp).contains("[Model]"));
  EXPECT_EQ(Bytes(AutoSetup()), autoBefore);

  // A chart of the tuned sweep, drawn without any display; a wrong type changes nothing.
  const QString chart = dir.filePath("tuned.png");
  ASSERT_EQ(ErrorOf(bus.Call("SaveChart", {"z-smith", chart, QVariant::fromValue(640u),
                                           QVariant::fromValue(480u)})),
            "");
  EXPECT_EQ(PngSize(Bytes(chart)), QSize(640, 480));
  const QString wrong =
      ErrorOf(bus.Call("SaveChart", {"nonesuch", dir.filePath("n.png"), QVariant::fromValue(0u),
                                     QVariant::fromValue(0u)}));
  EXPECT_TRUE(wrong.startsWith(invalid)) << wrong.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("n.png")));

  EXPECT_EQ(ErrorOf(bus.Call("Quit", {true})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
  // A run without a window writes no automatic setup, whatever Quit says.
  EXPECT_EQ(Bytes(AutoSetup()), autoBefore);
}

// Autotune on, every frame checked: after a load change between two runs the tuner matches the
// new load with the pair of stubs that can match it, whatever pair the last load needed.
TEST_F(ServeTest, AutotuneMatchesALoadChangedBetweenRuns) {
  const QString stp = dir.filePath("autotune.stp");
  {
    QFile f(stp);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[QvTuStp1]\r\nIsOn=1\r\nSkip=0\r\n[Model]\r\nRUncert=0\r\nFUncert=0\r\n");
  }
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve", "--setup", stp})) << qz.ErrorOutput().toStdString();
  struct Case {
    double fromMag, fromDeg, toMag, toDeg;
    double mm[3];
  };
  const Case cases[] = {
      {0.5, -90.0, 0.3, 180.0, {12.50, 18.94, 0.0}},
      {0.7, 0.0, 0.25, 170.0, {13.44, 18.12, 0.0}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.toDeg);
    for (const auto& [mag, deg] : {std::pair{c.fromMag, c.fromDeg}, std::pair{c.toMag, c.toDeg}}) {
      EXPECT_EQ(ErrorOf(bus.Call("SetModelLoad", {mag, deg})), "");
      EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
      ASSERT_TRUE(WaitFor([&] { return bus.Property("Running").toBool(); }));
      ASSERT_TRUE(WaitFrames(250));
      EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
      ASSERT_TRUE(WaitIdle());
    }
    const QString out = dir.filePath(QString("tuned%1.txt").arg(++n));
    ASSERT_EQ(ErrorOf(bus.Call("SaveResults", {out, ""})), "");
    const QList<QStringList> rows = DataLines(out);
    ASSERT_EQ(rows.size(), 101);
    for (const QStringList& r : rows) {
      EXPECT_LE(r[2].toDouble(), 0.006) << r.join(' ').toStdString();
      for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(r[10 + k].toDouble(), c.mm[k], 0.05) << r.join(' ').toStdString();
    }
  }
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
}

TEST_F(ServeTest, PassesStartARunAtOnceAndQuitEndsItClosing) {
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve", "--passes", "300"})) << qz.ErrorOutput().toStdString();
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(WaitFor([&] { return !watch.reasons.isEmpty(); }));
  EXPECT_EQ(watch.reasons, QStringList{"passes done"});
  EXPECT_EQ(bus.Property("FramesAccepted").toULongLong(), 300u);

  // A run in progress when Quit comes ends first ("closing"); the exit code is 0.
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(50));
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
  ASSERT_TRUE(WaitFor([&] { return watch.reasons.size() == 2; }));
  EXPECT_EQ(watch.reasons.last(), "closing");
}

TEST_F(ServeTest, ThePassLimitBelongsToTheFirstRunAlone) {
  // A slow model (2 ms a frame) so the first run can be paused long before its 1500 frames.
  const QString slow = dir.filePath("slow.stp");
  {
    QFile f(slow);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Model]\r\nAniPause=100\r\n");
  }
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve", "--passes", "1500", "--setup", slow}))
      << qz.ErrorOutput().toStdString();
  ASSERT_TRUE(WaitFrames(20));
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(WaitFor([&] { return watch.reasons == QStringList{"paused"}; }));
  ASSERT_LT(bus.Property("FramesAccepted").toULongLong(), 1500u);
  // A run the client starts goes on past the first run's limit until it is paused.
  EXPECT_EQ(ErrorOf(bus.Call("SetModelValue", {"AniPause", "0"})), "");
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(3000));
  EXPECT_TRUE(bus.Property("Running").toBool());
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(WaitFor([&] { return watch.reasons.size() == 2; }));
  EXPECT_EQ(watch.reasons, (QStringList{"paused", "paused"}));
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
}

TEST_F(ServeTest, ASecondServerCannotHaveTheNameAndEndsWithCodeOne) {
  TServedProgram first(bus, Profile());
  ASSERT_TRUE(first.Start({"--serve"})) << first.ErrorOutput().toStdString();
  TServedProgram second(bus, dir.filePath("other"));
  ASSERT_TRUE(second.Start({"--serve"}, false));
  EXPECT_EQ(second.Finish(), 1);
  const QString why = second.ErrorOutput();
  EXPECT_TRUE(
      why.contains("The remote control cannot be served: The name local.QzSim is taken on "
                   "the session bus (another program of this user holds it)."))
      << why.toStdString();
  // The first one still answers.
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(first.Finish(), 0);
}

TEST_F(ServeTest, TheWindowProgramAnswersTheSameCalls) {
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({})) << qz.ErrorOutput().toStdString();
  EXPECT_EQ(ErrorOf(bus.Call("SetModelValue", {"RUncert", "0"})), "");
  EXPECT_EQ(ErrorOf(bus.Call("SetModelLoad", {0.5, 90.0})), "");
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(101));
  EXPECT_EQ(ErrorOf(bus.Call("SaveResults", {dir.filePath("x.txt"), ""})),
            "local.QzSim.Control.Error.Busy: busy: running");
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitIdle());
  ASSERT_TRUE(WaitFor([&] { return watch.reasons == QStringList{"paused"}; }));
  const QString results = dir.filePath("window.txt");
  ASSERT_EQ(ErrorOf(bus.Call("SaveResults", {results, ""})), "");
  const QList<QStringList> rows = DataLines(results);
  EXPECT_EQ(rows.size(), 101);
  for (const QStringList& r : rows) EXPECT_EQ(r[8] + " " + r[9], "0.5000 90.000");
  // The window program draws charts too, at the default size when none is given.
  const QString chart = dir.filePath("window.png");
  ASSERT_EQ(ErrorOf(bus.Call("SaveChart",
                             {"mag", chart, QVariant::fromValue(0u), QVariant::fromValue(0u)})),
            "");
  EXPECT_EQ(PngSize(Bytes(chart)), QSize(800, 600));
  // Quit with the setup saved: no question, the automatic setup holds the model's load.
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {true})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
  EXPECT_TRUE(Bytes(AutoSetup()).contains("RhoMag=0.5")) << Bytes(AutoSetup()).toStdString();
}

// Two served programs under names of their own share one bus; a name the bus cannot have ends
// the program before it starts (exit code 2).
TEST_F(ServeTest, TwoProgramsWithBusNamesOfTheirOwnShareABus) {
  TServedProgram bad(bus, dir.filePath("bad"));
  ASSERT_TRUE(bad.Start({"--serve", "--bus-name", "no-points"}, false));
  EXPECT_EQ(bad.Finish(), 2);
  EXPECT_TRUE(bad.ErrorOutput().contains("--bus-name needs a name of the session bus"));

  TServedProgram a(bus, dir.filePath("a")), b(bus, dir.filePath("b"));
  ASSERT_TRUE(a.Start({"--serve", "--bus-name", "test.QzSimA"}, false));
  ASSERT_TRUE(b.Start({"--serve", "--bus-name", "test.QzSimB"}, false));
  auto call = [&](const char* service, const char* path, const char* iface, const char* method,
                  const QVariantList& args) {
    QDBusMessage m = QDBusMessage::createMethodCall(service, path, iface, method);
    m.setArguments(args);
    return bus.Await(m);
  };
  for (const char* name : {"test.QzSimA", "test.QzSimB"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(WaitFor([&] {
      return call(name, "/Control", "org.freedesktop.DBus.Properties", "Get",
                  {"local.QzSim.Control", "Running"})
                 .type() == QDBusMessage::ReplyMessage;
    }));
    const QDBusMessage item =
        call(name, "/QuzarDdeTopic", "local.QzSim.QuzarDdeTopic", "Request", {"QuzarDdeItem"});
    EXPECT_EQ(item.type(), QDBusMessage::ReplyMessage);
  }
  // Neither holds the default name.
  EXPECT_FALSE(bus.Property("Running").isValid());
  EXPECT_EQ(ErrorOf(call("test.QzSimA", "/Control", "local.QzSim.Control", "Quit", {false})), "");
  EXPECT_EQ(a.Finish(), 0);
  EXPECT_EQ(ErrorOf(call("test.QzSimB", "/Control", "local.QzSim.Control", "Quit", {false})), "");
  EXPECT_EQ(b.Finish(), 0);
}

// The prepared data log and a file the system refuses are paths that cannot be written: every
// save onto them answers InvalidArgs and the log stays whole.
TEST_F(ServeTest, SavesOntoTheRunningLogOrASystemFolderAreInvalidArgs) {
  const QString log = dir.filePath("run.log");
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve", "--passes", "101", "--log", log}))
      << qz.ErrorOutput().toStdString();
  ASSERT_TRUE(WaitFor([&] { return !watch.reasons.isEmpty(); }));
  ASSERT_TRUE(WaitIdle());
  const QByteArray before = Bytes(log);
  const QString invalid = "org.freedesktop.DBus.Error.InvalidArgs: ";
  const struct {
    const char* method;
    QVariantList args;
    QString error;
  } cases[] = {
      {"SaveResults", {log, ""}, "\"" + log + "\" is the running data log; it is not overwritten."},
      {"SaveResultsCsv", {log, ""}, "\"" + log + "\" is the running data log"},
      {"SaveSetup", {log, ""}, "\"" + log + "\" is the running data log"},
      {"SaveChart",
       {"mag", log, QVariant::fromValue(0u), QVariant::fromValue(0u)},
       "\"" + log + "\" is the running data log"},
      {"SaveSetup", {"/proc/x.stp", ""}, "\"/proc/x.stp\" cannot be written"},
      {"SaveResults", {"/proc/x.txt", ""}, "\"/proc/x.txt\" cannot be written"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.method);
    const QString e = ErrorOf(bus.Call(k.method, k.args));
    EXPECT_TRUE(e.startsWith(invalid + k.error)) << e.toStdString();
  }
  EXPECT_EQ(Bytes(log), before);
  EXPECT_FALSE(QFile::exists("/proc/x.stp"));
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
}

// Counts the item's two signals and keeps the last text of each.
class TItemWatch : public QObject {
  Q_OBJECT
 public:
  int changed = 0, properties = 0;
  QString lastChanged, lastProperty;
 public slots:
  void Changed(const QString& t) {
    ++changed;
    lastChanged = t;
  }
  void Properties(const QString&, const QVariantMap& props, const QStringList&) {
    ++properties;
    lastProperty = props.value("QuzarDdeItem").toString();
  }
};

// The item at full speed (DdeWait_ms 0): the property follows every frame, the followers get at
// most one of each signal per 10 ms, the last being the item's text after the run; a subscribed
// client's blocking calls are answered at once meanwhile.
TEST_F(ServeTest, AtFullSpeedTheItemsSignalsAreRateLimitedAndCallsStayQuick) {
  const QString stp = dir.filePath("fast.stp");
  {
    QFile f(stp);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[QuzarForm]\r\nmiDdeOn=1\r\nDdeWait_ms=0\r\n");
  }
  TItemWatch item;
  ASSERT_TRUE(bus.Connection().connect(QString(), "/QuzarDdeTopic", "local.QzSim.QuzarDdeTopic",
                                       "QuzarDdeItemChanged", &item, SLOT(Changed(QString))));
  ASSERT_TRUE(bus.Connection().connect(QString(), "/QuzarDdeTopic",
                                       "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                       &item, SLOT(Properties(QString, QVariantMap, QStringList))));
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve", "--setup", stp})) << qz.ErrorOutput().toStdString();
  QElapsedTimer run;
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  run.start();
  QDBusMessage request = QDBusMessage::createMethodCall("local.QzSim", "/QuzarDdeTopic",
                                                        "local.QzSim.QuzarDdeTopic", "Request");
  request.setArguments({"QuzarDdeItem"});
  qint64 slowest = 0;
  int calls = 0;
  while (calls < 1000 || run.elapsed() < 5000) {
    QElapsedTimer t;
    t.start();
    const QDBusMessage r = bus.Connection().call(request, QDBus::Block, 10000);
    slowest = std::max(slowest, t.elapsed());
    EXPECT_EQ(r.type(), QDBusMessage::ReplyMessage);
    ++calls;
    if (calls % 50 == 0) QCoreApplication::processEvents();
  }
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  const qint64 ranMs = run.elapsed();
  ASSERT_TRUE(WaitFor([&] { return !watch.reasons.isEmpty(); }));
  EXPECT_LE(slowest, 100) << calls << " calls";
  const QDBusMessage after = bus.Await(request);
  ASSERT_EQ(after.type(), QDBusMessage::ReplyMessage);
  const QString text = after.arguments().value(0).toString();
  EXPECT_EQ(text.count('\r'), 15);
  // It is the item of the last accepted frame, the one GetResult gives, in the item's formats.
  const QDBusMessage latest = bus.Call("GetResult");
  ASSERT_EQ(ErrorOf(latest), "");
  const TWireRecord rec = ReadWireRecord(latest.arguments().value(0).value<QDBusArgument>());
  const QStringList values = text.split("\r\n");
  ASSERT_EQ(values.size(), 16);
  const struct {
    const char* key;
    const char* format;
    double scale;
  } fields[] = {
      {"status", "%.0f", 1.0},       {"error", "%.0f", 1.0},        {"freq_Hz", "%.3f", 1e-6},
      {"mag_in", "%.3f", 1.0},       {"pha_in_deg", "%.1f", 1.0},   {"mag_load", "%.3f", 1.0},
      {"pha_load_deg", "%.1f", 1.0}, {"pinc_W", "%.5g", 1.0},       {"prfl_W", "%.5g", 1.0},
      {"temp_C", "%.1f", 1.0},       {"stub1_mm", "%.2f", 1.0},     {"stub2_mm", "%.2f", 1.0},
      {"stub3_mm", "%.2f", 1.0},     {"motor_status", "%.0f", 1.0}, {"motor_error", "%.0f", 1.0}};
  for (int i = 0; i < 15; ++i) {
    const double v = Value(rec, fields[i].key).toDouble() * fields[i].scale;
    EXPECT_TRUE(ColumnHolds(values[i], fields[i].format, v))
        << fields[i].key << ": item " << values[i].toStdString() << ", record " << v;
  }
  // The last notification is there once the run's end is: they come in order on one connection.
  WaitFor([&] { return item.lastChanged == text && item.lastProperty == text; }, 2000);
  EXPECT_EQ(item.lastChanged, text);
  EXPECT_EQ(item.lastProperty, text);
  const int most = int(ranMs / 10) + 5;
  EXPECT_LE(item.changed, most) << ranMs << " ms";
  EXPECT_LE(item.properties, most) << ranMs << " ms";
  EXPECT_GE(item.changed, 10);
  EXPECT_EQ(item.changed, item.properties);
  EXPECT_GT(bus.Property("FramesAccepted").toULongLong(), qulonglong(item.changed));
  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
}

// The frames of a served run read back typed: the rows GetResults gives agree with the results
// file of the same sweep in every column, and in the ring's order; the keys come in their order
// with their types; the socket's MEAS:ALL? is the same record as GetResult.
TEST_F(ServeTest, TypedReadsGiveTheSweepsFramesWithTheirNumbersAndRuns) {
  TRunLog log;
  QDBusConnection c = bus.Connection();
  ASSERT_TRUE(c.connect(QString(), "/Control", "local.QzSim.Control", "RunStarted", &log,
                        SLOT(Started(uint, qulonglong))));
  ASSERT_TRUE(c.connect(QString(), "/Control", "local.QzSim.Control", "RunEnded", &log,
                        SLOT(Ended(QString))));
  ASSERT_TRUE(c.connect(QString(), "/Control", "org.freedesktop.DBus.Properties",
                        "PropertiesChanged", &log,
                        SLOT(Properties(QString, QVariantMap, QStringList))));
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve", "--passes", "300", "--scpi", "0"}))
      << qz.ErrorOutput().toStdString();
  ASSERT_TRUE(WaitFor([&] { return watch.reasons == QStringList{"passes done"}; }));
  ASSERT_TRUE(WaitFor([&] { return log.events.contains("ended passes done"); }));
  EXPECT_EQ(log.events.first(), "Running=true") << log.events.join('|').toStdString();
  EXPECT_EQ(log.events.value(1), "started 1 1");
  // Both properties once more, then the end.
  EXPECT_EQ(log.events.mid(log.events.size() - 2),
            (QStringList{"Running=false FramesAccepted=300", "ended passes done"}));

  const QString results = dir.filePath("passes.txt");
  ASSERT_EQ(ErrorOf(bus.Call("SaveResults", {results, ""})), "");
  const QList<QStringList> lines = DataLines(results);
  ASSERT_EQ(lines.size(), 101);

  QDBusMessage m = QDBusMessage::createMethodCall("local.QzSim", "/Control", "local.QzSim.Control",
                                                  "GetResults");
  m.setArguments({QVariant::fromValue(qulonglong(0))});
  const QDBusMessage all = bus.Await(m);
  ASSERT_EQ(ErrorOf(all), "");
  EXPECT_EQ(all.signature(), "aa{sv}t");
  ASSERT_EQ(all.arguments().size(), 2);
  EXPECT_EQ(all.arguments()[1].toULongLong(), 199u);
  QList<TWireRecord> rows;
  const QDBusArgument array = all.arguments()[0].value<QDBusArgument>();
  array.beginArray();
  while (!array.atEnd()) rows << ReadWireRecord(array);
  array.endArray();
  ASSERT_EQ(rows.size(), 101);
  for (int i = 0; i < rows.size(); ++i) {
    const TWireRecord& r = rows[i];
    SCOPED_TRACE(i);
    const qulonglong frame = Value(r, "frame").toULongLong();
    EXPECT_EQ(frame, qulonglong(200 + i));
    EXPECT_EQ(Value(r, "run").toUInt(), 1u);
    // Frame k went to slot (k - 1) mod 101, which is line (k - 1) mod 101 + 1 of the file.
    const QStringList& line = lines[int((frame - 1) % 101)];
    EXPECT_TRUE(ColumnHolds(line[1], "%.3f", Value(r, "freq_Hz").toDouble() / 1e6))
        << line[1].toStdString();
    EXPECT_TRUE(ColumnHolds(line[2], "%.4f", Value(r, "mag_in").toDouble()));
    EXPECT_TRUE(ColumnHolds(line[3], "%.3f", Value(r, "pha_in_deg").toDouble()));
    EXPECT_TRUE(ColumnHolds(line[4], "%.4E", Value(r, "pinc_W").toDouble() / 1000.0));
    EXPECT_TRUE(ColumnHolds(line[5], "%.4E", Value(r, "prfl_W").toDouble() / 1000.0));
    EXPECT_TRUE(ColumnHolds(line[6], "%.1f", Value(r, "temp_C").toDouble()));
    EXPECT_EQ(line[7].toInt(), Value(r, "error").toInt());
    EXPECT_TRUE(ColumnHolds(line[8], "%.4f", Value(r, "mag_load").toDouble()));
    EXPECT_TRUE(ColumnHolds(line[9], "%.3f", Value(r, "pha_load_deg").toDouble()));
    for (int k = 0; k < 3; ++k)
      EXPECT_TRUE(
          ColumnHolds(line[10 + k], "%.3f", Value(r, QString("stub%1_mm").arg(k + 1)).toDouble()));
    EXPECT_EQ(line[13].toInt(), Value(r, "motor_status").toInt());
    EXPECT_EQ(line[14].toInt(), Value(r, "motor_error").toInt());
    EXPECT_DOUBLE_EQ(Value(r, "pabs_W").toDouble(),
                     Value(r, "pinc_W").toDouble() - Value(r, "prfl_W").toDouble());
    EXPECT_TRUE(QDateTime::fromString(Value(r, "time").toString(), Qt::ISODateWithMs).isValid());
  }

  // The latest: the same record as the last row, its keys in order with their bus types.
  const QDBusMessage latest = bus.Call("GetResult");
  ASSERT_EQ(ErrorOf(latest), "");
  EXPECT_EQ(latest.signature(), "a{sv}");
  const TWireRecord last = ReadWireRecord(latest.arguments().value(0).value<QDBusArgument>());
  EXPECT_EQ(last, rows.last());
  const struct {
    const char* key;
    int type;
  } keys[] = {{"frame", QMetaType::ULongLong},  {"run", QMetaType::UInt},
              {"time", QMetaType::QString},     {"freq_Hz", QMetaType::Double},
              {"mag_in", QMetaType::Double},    {"pha_in_deg", QMetaType::Double},
              {"mag_load", QMetaType::Double},  {"pha_load_deg", QMetaType::Double},
              {"pinc_W", QMetaType::Double},    {"prfl_W", QMetaType::Double},
              {"pabs_W", QMetaType::Double},    {"temp_C", QMetaType::Double},
              {"stub1_mm", QMetaType::Double},  {"stub2_mm", QMetaType::Double},
              {"stub3_mm", QMetaType::Double},  {"status", QMetaType::UChar},
              {"error", QMetaType::UChar},      {"motor_status", QMetaType::UChar},
              {"motor_error", QMetaType::UChar}};
  ASSERT_EQ(last.size(), qsizetype(std::size(keys)));
  for (size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_EQ(last[qsizetype(i)].first, keys[i].key);
    EXPECT_EQ(last[qsizetype(i)].second.typeId(), keys[i].type) << keys[i].key;
  }

  // The socket reads the same record.
  ASSERT_TRUE(WaitFor([&] { return qz.p.canReadLine(); }));
  const QString told = QString::fromUtf8(qz.p.readLine()).trimmed();
  ASSERT_TRUE(told.startsWith("SCPI 127.0.0.1:")) << told.toStdString();
  QTcpSocket socket;
  socket.connectToHost("127.0.0.1", quint16(told.section(':', 1).toUInt()));
  ASSERT_TRUE(socket.waitForConnected(10000));
  socket.write("MEAS:ALL?\n");
  ASSERT_TRUE(WaitFor([&] { return socket.canReadLine() || socket.waitForReadyRead(10); }));
  const QStringList measured = QString::fromUtf8(socket.readLine()).trimmed().split(',');
  ASSERT_EQ(measured.size(), last.size());
  for (qsizetype i = 0; i < last.size(); ++i) {
    const QVariant& v = last[i].second;
    if (v.typeId() == QMetaType::Double)
      EXPECT_EQ(measured[i].toDouble(), v.toDouble()) << last[i].first.toStdString();
    else if (v.typeId() == QMetaType::QString)
      EXPECT_EQ(measured[i], '"' + v.toString() + '"');
    else
      EXPECT_EQ(measured[i].toULongLong(), v.toULongLong()) << last[i].first.toStdString();
  }

  // Nothing after the newest; beyond it, an error that names it.
  m.setArguments({QVariant::fromValue(qulonglong(300))});
  const QDBusMessage none = bus.Await(m);
  ASSERT_EQ(ErrorOf(none), "");
  EXPECT_EQ(none.arguments()[0].value<QDBusArgument>().currentType(), QDBusArgument::ArrayType);
  EXPECT_EQ(none.arguments()[1].toULongLong(), 0u);
  {
    QList<TWireRecord> empty;
    const QDBusArgument a = none.arguments()[0].value<QDBusArgument>();
    a.beginArray();
    while (!a.atEnd()) empty << ReadWireRecord(a);
    a.endArray();
    EXPECT_TRUE(empty.isEmpty());
  }
  m.setArguments({QVariant::fromValue(qulonglong(301))});
  EXPECT_EQ(ErrorOf(bus.Await(m)),
            "org.freedesktop.DBus.Error.InvalidArgs: There is no frame 301 yet: the newest "
            "accepted frame is 300.");

  // The next run is number 2 and begins with frame 301; its frame count is told at most every
  // 100 ms, and both properties once more before its end.
  log.events.clear();
  QElapsedTimer ran;
  ran.start();
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(1000));
  QThread::msleep(300);
  EXPECT_EQ(ErrorOf(bus.Call("Pause")), "");
  ASSERT_TRUE(WaitFor([&] { return log.events.contains("ended paused"); }));
  const qint64 ms = ran.elapsed();
  EXPECT_EQ(log.events.value(0), "Running=true") << log.events.join('|').toStdString();
  EXPECT_EQ(log.events.value(1), "started 2 301");
  const qulonglong frames = bus.Property("FramesAccepted").toULongLong();
  EXPECT_EQ(log.events.mid(log.events.size() - 2),
            (QStringList{QString("Running=false FramesAccepted=%1").arg(frames), "ended paused"}));
  const int counts = int(log.events.filter(QRegularExpression("^FramesAccepted=")).size());
  EXPECT_GE(counts, 1);
  EXPECT_LE(counts, int(ms / 100) + 1) << ms << " ms";
  const QDBusMessage next = bus.Call("GetResult");
  const TWireRecord after = ReadWireRecord(next.arguments().value(0).value<QDBusArgument>());
  EXPECT_EQ(Value(after, "run").toUInt(), 2u);
  EXPECT_EQ(Value(after, "frame").toULongLong(), 300u + frames);

  EXPECT_EQ(ErrorOf(bus.Call("Quit", {false})), "");
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
}

// The end of a program by a signal: it ended by that signal itself, after it had done what Exit
// does (stderr names the signal).
void ExpectEndedBy(TServedProgram& qz, int sig, const char* name) {
  EXPECT_EQ(qz.Finish(), -1);
  EXPECT_EQ(qz.p.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(qz.p.exitCode(), sig);
  const QString err = qz.ErrorOutput();
  EXPECT_TRUE(err.contains(QStringLiteral("QzSim: Ended by %1 after ").arg(name)))
      << err.toStdString();
}

TEST_F(ServeTest, ASignalEndsTheServedRunClosingAndThenTheProgram) {
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({"--serve"})) << qz.ErrorOutput().toStdString();
  EXPECT_EQ(ErrorOf(bus.Call("Run")), "");
  ASSERT_TRUE(WaitFrames(50));
  ASSERT_EQ(::kill(pid_t(qz.p.processId()), SIGTERM), 0);
  ASSERT_TRUE(WaitFor([&] { return !watch.reasons.isEmpty(); }));
  EXPECT_EQ(watch.reasons, QStringList{"closing"});
  ExpectEndedBy(qz, SIGTERM, "SIGTERM");
}

// SIGTERM to the window program is Exit answered Yes: the automatic setup holds what was set.
TEST_F(ServeTest, ASignalToTheWindowProgramSavesItsSetup) {
  TServedProgram qz(bus, Profile());
  ASSERT_TRUE(qz.Start({})) << qz.ErrorOutput().toStdString();
  EXPECT_EQ(ErrorOf(bus.Call("SetModelValue", {"Pinc", "3.21"})), "");
  ASSERT_EQ(::kill(pid_t(qz.p.processId()), SIGTERM), 0);
  ExpectEndedBy(qz, SIGTERM, "SIGTERM");
  EXPECT_TRUE(Bytes(AutoSetup()).contains("Pinc=3.21")) << Bytes(AutoSetup()).toStdString();
}

}  // namespace
}  // namespace qz

#include "serve_test.moc"
