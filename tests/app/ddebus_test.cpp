// The live data item on the session bus, read back with the standard gdbus tool. The test starts
// a private session bus of its own with dbus-run-session and runs its bus part inside it, so it
// never touches the desktop's bus.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include "app/ddebus.h"
#include "app/ddeitem.h"

namespace qz {
namespace {

const char* const kInsideVar = "QZ_DDEBUS_INSIDE_SESSION";

// Runs a program while the event loop keeps serving the bus object; returns its standard
// output, or "<failed: ...>" with its error output.
QString RunServing(const QString& program, const QStringList& args, bool* ok = nullptr) {
  QProcess p;
  p.start(program, args);
  QElapsedTimer t;
  t.start();
  while (!p.waitForFinished(10) && t.elapsed() < 20000) QCoreApplication::processEvents();
  const bool good = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (ok) *ok = good;
  if (!good)
    return QStringLiteral("<failed: ") + QString::fromLocal8Bit(p.readAllStandardError()) +
           QStringLiteral(">");
  return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// The string of a gdbus reply "(<'text'>,)" or "('text',)", escapes undone.
QString GVariantString(const QString& reply) {
  const qsizetype a = reply.indexOf(QLatin1Char('\''));
  const qsizetype b = reply.lastIndexOf(QLatin1Char('\''));
  if (a < 0 || b <= a) return QStringLiteral("<no string in ") + reply + QStringLiteral(">");
  const QString body = reply.mid(a + 1, b - a - 1);
  QString out;
  for (qsizetype i = 0; i < body.size(); ++i) {
    QChar c = body[i];
    if (c == QLatin1Char('\\') && i + 1 < body.size()) {
      const QChar n = body[++i];
      c = n == QLatin1Char('t')   ? QChar('\t')
          : n == QLatin1Char('n') ? QChar('\n')
          : n == QLatin1Char('r') ? QChar('\r')
                                  : n;
    }
    out += c;
  }
  return out;
}

// Starts this test program again inside a private session bus, running only the bus part.
TEST(DdeBus, ItemReadBackWithGdbusOnAPrivateBus) {
  if (qEnvironmentVariableIsSet(kInsideVar)) GTEST_SKIP() << "already inside the private bus";
  const QString runner = QStandardPaths::findExecutable(QStringLiteral("dbus-run-session"));
  if (runner.isEmpty())
    GTEST_SKIP() << "dbus-run-session is not installed (package dbus-daemon): the D-Bus "
                    "service is not tested";
  if (QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty())
    GTEST_SKIP() << "gdbus is not installed (package libglib2.0-bin): the D-Bus service is not "
                    "tested";
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(kInsideVar), QStringLiteral("1"));
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(runner, {QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                   QStringLiteral("--gtest_filter=DdeBusSession.*")});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString out = QString::fromLocal8Bit(p.readAll());
  EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 2 tests"))) << out.toStdString();
}

TEST(DdeBusSession, PublishedTextIsThePropertyAndTheRequestAnswer) {
  if (!qEnvironmentVariableIsSet(kInsideVar)) GTEST_SKIP() << "runs only inside a private bus";
  TMerObjekt mob{};
  mob[0] = 0x10;
  TMotState mot;
  mot.ActPos = MakeMotPos(100, 200, 300);
  TTunerDescr descr;
  TDdeItem item(mob, mot, descr);
  TDdeBus bus;
  ASSERT_TRUE(bus.Register()) << bus.ErrorText().toStdString();
  QStringList seen;
  QObject::connect(&bus, &TDdeBus::QuzarDdeItemChanged, [&](const QString& s) { seen << s; });
  bus.SetTextSource([&] { return item.DdeStr(); });
  item.OnPublish = [&] { bus.Changed(); };
  item.On = true;
  item.DdeDelim = ddTab;
  THresults r;
  r.je_qv = true;
  r.FreD = 2.45e9;
  r.Mag_m = 0.2;
  r.Pinc = 100.0;
  r.Prfl = 4.0;
  r.Temp = 22.5;
  item.PublishIfDue(r);
  ASSERT_FALSE(item.DdeStr().isEmpty());
  EXPECT_EQ(seen, QStringList{item.DdeStr()});

  const QString gdbus = QStandardPaths::findExecutable(QStringLiteral("gdbus"));
  const QStringList base{QStringLiteral("call"),          QStringLiteral("--session"),
                         QStringLiteral("--dest"),        QStringLiteral("local.QzSim"),
                         QStringLiteral("--object-path"), QStringLiteral("/QuzarDdeTopic"),
                         QStringLiteral("--method")};
  bool ok = false;
  const QString prop =
      RunServing(gdbus,
                 base + QStringList{QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                                    QStringLiteral("local.QzSim.QuzarDdeTopic"),
                                    QStringLiteral("QuzarDdeItem")},
                 &ok);
  ASSERT_TRUE(ok) << prop.toStdString();
  EXPECT_EQ(GVariantString(prop), item.DdeStr()) << prop.toStdString();

  const QString req =
      RunServing(gdbus,
                 base + QStringList{QStringLiteral("local.QzSim.QuzarDdeTopic.Request"),
                                    QStringLiteral("QuzarDdeItem")},
                 &ok);
  ASSERT_TRUE(ok) << req.toStdString();
  EXPECT_EQ(GVariantString(req), item.DdeStr());

  const QString bad =
      RunServing(gdbus,
                 base + QStringList{QStringLiteral("local.QzSim.QuzarDdeTopic.Request"),
                                    QStringLiteral("OtherItem")},
                 &ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(bad.contains(QStringLiteral("InvalidArgs"))) << bad.toStdString();
}

// Changes faster than the notifications: the text is read when one goes and when it is asked,
// never for a held change, and what goes is always the latest text.
TEST(DdeBusSession, HeldChangesAreNotReadAndTheLatestTextGoes) {
  if (!qEnvironmentVariableIsSet(kInsideVar)) GTEST_SKIP() << "runs only inside a private bus";
  TDdeBus bus;
  ASSERT_TRUE(bus.Register()) << bus.ErrorText().toStdString();
  QStringList seen;
  QObject::connect(&bus, &TDdeBus::QuzarDdeItemChanged, [&](const QString& s) { seen << s; });
  int change = 0;
  int reads = 0;
  bus.SetTextSource([&] {
    ++reads;
    return QString::number(change);
  });
  bus.SetNotifyIntervalMs(200);
  QElapsedTimer t;
  t.start();
  for (change = 1; change <= 10000; ++change) bus.Changed();
  --change;
  // Unless the machine stalled for the whole interval, only the first change was read.
  if (t.elapsed() < 150) {
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(seen, QStringList{"1"});
  }
  EXPECT_EQ(bus.QuzarDdeItem(), "10000");
  EXPECT_EQ(bus.Request("QuzarDdeItem"), "10000");
  const int readsBefore = reads;
  QElapsedTimer wait;
  wait.start();
  while (seen.size() < 2 && wait.elapsed() < 5000) QCoreApplication::processEvents();
  ASSERT_GE(seen.size(), 2);
  EXPECT_EQ(seen.back(), "10000");
  EXPECT_EQ(reads, readsBefore + 1);
  // Held at the run's end: the latest goes at once.
  change = 10001;
  bus.Changed();
  change = 10002;
  bus.Changed();
  bus.EnableForRun(true);
  EXPECT_EQ(seen.back(), "10002");
  bus.EnableForRun(true);  // nothing held: nothing more
  EXPECT_EQ(seen.back(), "10002");
  const qsizetype count = seen.size();
  QElapsedTimer quiet;
  quiet.start();
  while (quiet.elapsed() < 300) QCoreApplication::processEvents();
  EXPECT_EQ(seen.size(), count);
}

TEST(DdeBus, WithoutABusTheObjectKeepsTheText) {
  if (qEnvironmentVariableIsSet(kInsideVar)) GTEST_SKIP() << "needs to run without a bus";
  const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/qzsim-no-bus");
  TDdeBus bus;
  // Whatever the outcome, the program runs on and the text is kept.
  if (!bus.Register()) {
    EXPECT_FALSE(bus.ErrorText().isEmpty());
  }
  if (saved.isEmpty())
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  else
    qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
  bus.Publish(QStringLiteral("1;2;"));
  EXPECT_EQ(bus.QuzarDdeItem(), QStringLiteral("1;2;"));
  EXPECT_EQ(bus.Request(QStringLiteral("quzarddeitem")), QStringLiteral("1;2;"));
}

}  // namespace
}  // namespace qz
