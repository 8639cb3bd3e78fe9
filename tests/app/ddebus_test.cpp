// The live data item on the session bus, read back with the standard gdbus tool, and the run
// state the control tells there. The test starts a private session bus of its own with
// dbus-run-session and runs its bus part inside it, so it never touches the desktop's bus.

#include <gtest/gtest.h>

#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QVariantMap>
#include <functional>
#include <vector>

#include "app/control.h"
#include "app/controlbus.h"
#include "app/ddebus.h"
#include "app/ddeitem.h"
#include "app/runlog.h"
#include "common/fakecontrolport.h"

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
  EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 3 tests"))) << out.toStdString();
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

// A Run asked for over the bus, whatever becomes of it: every change of Running goes as
// PropertiesChanged, a run that never began sends no RunStarted, and every Run is followed by
// exactly one RunEnded, so that a client waiting for it is never left waiting.
TEST(DdeBusSession, EveryRunAskedForIsToldEndedAndRunningFollowsIt) {
  if (!qEnvironmentVariableIsSet(kInsideVar)) GTEST_SKIP() << "runs only inside a private bus";
  using Port = ::testing::NiceMock<testing::TFakeControlPort>;
  struct Case {
    const char* name;
    // Between the answer and the start; in the run (the port's Run/Pause); after the start.
    std::function<void(Port&, TControl&)> beforeStart, inRun, afterStart;
    QStringList events;
  };
  const auto nothing = [](Port&, TControl&) {};
  const QStringList notStarted{"Running=true", "Running=false FramesAccepted=0",
                               "ended not started"};
  const std::vector<Case> cases = {
      {"a dialog opened first", [](Port& p, TControl&) { p.dialog = true; }, nothing,
       [](Port& p, TControl&) { p.dialog = false; }, notStarted},
      {"the unit did not start it", nothing, nothing, nothing, notStarted},
      {"it ran and was paused",
       nothing,
       [](Port& p, TControl& c) {
         p.running = true;
         c.RunStarted(4, 101);
         p.running = false;
         c.RunEnded(QString::fromLatin1(kEndPaused));
       },
       nothing,
       {"Running=true", "started 4 101", "Running=false FramesAccepted=0", "ended paused"}},
      {"the operator's run came first and is paused later",
       [](Port& p, TControl&) { p.running = true; },
       nothing,
       [](Port& p, TControl& c) {
         p.running = false;
         c.RunEnded(QString::fromLatin1(kEndPaused));
       },
       {"Running=true", "Running=false FramesAccepted=0", "ended paused"}},
  };
  // The client's own connection, as another program has it.
  QDBusConnection client =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("qz-client"));
  ASSERT_TRUE(client.isConnected());
  const QString server = QDBusConnection::sessionBus().baseService();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Port port;
    TControl control(port);
    std::vector<std::function<void()>> deferred;
    control.Defer = [&](std::function<void()> t) { deferred.push_back(std::move(t)); };
    TControlBus bus(control);
    ASSERT_TRUE(bus.Register()) << bus.ErrorText().toStdString();
    testing::TRunLog watch;
    ASSERT_TRUE(client.connect(server, kControlPath, kControlInterface, "RunStarted", &watch,
                               SLOT(Started(uint, qulonglong))));
    ASSERT_TRUE(client.connect(server, kControlPath, kControlInterface, "RunEnded", &watch,
                               SLOT(Ended(QString))));
    ASSERT_TRUE(client.connect(server, kControlPath, "org.freedesktop.DBus.Properties",
                               "PropertiesChanged", &watch,
                               SLOT(Properties(QString, QVariantMap, QStringList))));
    ON_CALL(port, RunPause()).WillByDefault([&] { k.inRun(port, control); });
    const QDBusPendingCall run = client.asyncCall(
        QDBusMessage::createMethodCall(server, kControlPath, kControlInterface, "Run"));
    QElapsedTimer t;
    t.start();
    while (!run.isFinished() && t.elapsed() < 10000) QCoreApplication::processEvents();
    ASSERT_TRUE(run.isFinished());
    ASSERT_NE(run.reply().type(), QDBusMessage::ErrorMessage)
        << run.reply().errorMessage().toStdString();
    ASSERT_EQ(deferred.size(), 1u);
    k.beforeStart(port, control);
    deferred[0]();
    k.afterStart(port, control);
    EXPECT_FALSE(control.Running());
    // The signals cross the bus: wait for the end, then a little for anything after it.
    t.restart();
    while (t.elapsed() < 10000 && !watch.events.join('|').contains(QStringLiteral("ended")))
      QCoreApplication::processEvents();
    t.restart();
    while (t.elapsed() < 200) QCoreApplication::processEvents();
    EXPECT_EQ(watch.events, k.events) << watch.events.join('|').toStdString();
    client.disconnect(server, kControlPath, kControlInterface, "RunStarted", &watch,
                      SLOT(Started(uint, qulonglong)));
    client.disconnect(server, kControlPath, kControlInterface, "RunEnded", &watch,
                      SLOT(Ended(QString)));
    client.disconnect(server, kControlPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                      &watch, SLOT(Properties(QString, QVariantMap, QStringList)));
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("qz-client"));
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
