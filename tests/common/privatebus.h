#pragma once
// A session bus of the test's own (a dbus-daemon started for it and ended with it) and the
// program started on it, so that tests of the remote control never touch the desktop's bus.
//
//   TPrivateBus bus;
//   if (!bus.Start()) GTEST_SKIP() << bus.why;
//   TServedProgram qz(bus, profileDir);
//   ASSERT_TRUE(qz.Start({"--serve"}));
//   QDBusMessage r = bus.Call("Run");

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <functional>

namespace qz::testing {

// Generous: the machine may be loaded; a condition met earlier ends the wait at once.
inline constexpr int kBusWaitMs = 60000;

// Waits until `done` holds (events handled meanwhile); false at the time-out.
inline bool WaitFor(const std::function<bool()>& done, int ms = kBusWaitMs) {
  QDeadlineTimer t(ms);
  while (!done()) {
    if (t.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

class TPrivateBus {
 public:
  ~TPrivateBus() {
    if (connected_) QDBusConnection::disconnectFromBus(name_);
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }

  // Starts the daemon and connects to it; false with the reason in `why`.
  bool Start() {
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (exe.isEmpty()) {
      why = QStringLiteral("dbus-daemon is not installed (package dbus-daemon)");
      return false;
    }
    daemon_.start(exe, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
    if (!WaitFor([&] { return daemon_.canReadLine(); }, 20000)) {
      daemon_.waitForReadyRead(100);
      if (!daemon_.canReadLine()) {
        why = QStringLiteral("dbus-daemon gave no address: ") +
              QString::fromLocal8Bit(daemon_.readAllStandardError());
        return false;
      }
    }
    address = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
    name_ = QStringLiteral("qz-test-bus-") + QString::number(QCoreApplication::applicationPid());
    QDBusConnection c = QDBusConnection::connectToBus(address, name_);
    connected_ = true;
    if (!c.isConnected()) {
      why = QStringLiteral("cannot connect to the private bus at ") + address;
      return false;
    }
    return true;
  }

  QDBusConnection Connection() const { return QDBusConnection(name_); }

  // A call of the control interface; the reply (or error) after at most the wait time.
  QDBusMessage Call(const QString& method, const QVariantList& args = {}) const {
    QDBusMessage m =
        QDBusMessage::createMethodCall(QStringLiteral("local.QzSim"), QStringLiteral("/Control"),
                                       QStringLiteral("local.QzSim.Control"), method);
    m.setArguments(args);
    return Await(m);
  }
  // Sends a call and waits for its answer while the test's events are handled.
  QDBusMessage Await(const QDBusMessage& m) const {
    QDBusPendingCall pending = Connection().asyncCall(m, kBusWaitMs);
    WaitFor([&] { return pending.isFinished(); }, kBusWaitMs + 5000);
    return pending.isFinished() ? pending.reply()
                                : QDBusMessage::createError(QStringLiteral("test.NoAnswer"),
                                                            QStringLiteral("no answer"));
  }
  // A property of the control interface (invalid when it cannot be read).
  QVariant Property(const QString& name) const {
    QDBusMessage m = QDBusMessage::createMethodCall(
        QStringLiteral("local.QzSim"), QStringLiteral("/Control"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    m.setArguments({QStringLiteral("local.QzSim.Control"), name});
    const QDBusMessage r = Await(m);
    if (r.type() != QDBusMessage::ReplyMessage || r.arguments().isEmpty()) return {};
    return r.arguments().first().value<QDBusVariant>().variant();
  }

  QString address;
  QString why;

 private:
  QProcess daemon_;
  QString name_;
  bool connected_ = false;
};

// The program started on a private bus with a profile folder of its own.
class TServedProgram {
 public:
  TServedProgram(const TPrivateBus& bus, const QString& profile) : bus_(bus) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address);
    env.insert(QStringLiteral("QZSIM_PROFILE"), profile);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
  }
  ~TServedProgram() {
    if (p.state() != QProcess::NotRunning) {
      p.kill();
      p.waitForFinished(5000);
    }
  }

  static QString Exe() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/QzSim");
  }

  // Starts the program; with waitReady, true once its control answers.
  bool Start(const QStringList& args, bool waitReady = true) {
    p.start(Exe(), args);
    if (!p.waitForStarted(20000)) return false;
    if (!waitReady) return true;
    return WaitFor([&] {
             return bus_.Property(QStringLiteral("Running")).isValid() ||
                    p.state() == QProcess::NotRunning;
           }) &&
           p.state() != QProcess::NotRunning;
  }
  // Waits for the end; the exit code, or -1 when it did not end in time or crashed.
  int Finish() {
    if (!WaitFor([&] { return p.state() == QProcess::NotRunning; })) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }
  QString ErrorOutput() { return QString::fromLocal8Bit(p.readAllStandardError()); }

  QProcess p;

 private:
  const TPrivateBus& bus_;
};

}  // namespace qz::testing
