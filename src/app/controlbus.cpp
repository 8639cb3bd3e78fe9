#include "app/controlbus.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QTimerEvent>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace qz {

namespace {
// How long the end of the program waits for the bus to take its last messages.
constexpr int kFlushWaitMs = 2000;
}  // namespace

TControlBus::TControlBus(TControl& control, QObject* parent) : QObject(parent), control_(control) {
  RegisterBusRecordTypes();
  control_.OnRunEnded = [this](const QString& reason) { Ended(reason); };
  control_.OnRunStarted = [this](uint32_t run, uint64_t firstFrame) { Started(run, firstFrame); };
}

TControlBus::~TControlBus() {
  Unregister();
  control_.OnRunEnded = nullptr;
  control_.OnRunStarted = nullptr;
}

void TControlBus::SendProperties(std::optional<bool> running, bool frames) {
  if (!registered_) return;
  QVariantMap props;
  if (running) {
    toldRunning_ = *running;
    props.insert(QStringLiteral("Running"), toldRunning_);
  }
  if (frames) {
    toldFrames_ = FramesAccepted();
    props.insert(QStringLiteral("FramesAccepted"), toldFrames_);
    sinceFramesTold_.start();
  }
  QDBusMessage changed = QDBusMessage::createSignal(
      QString::fromLatin1(kControlPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  changed << QString::fromLatin1(kControlInterface) << props << QStringList();
  QDBusConnection::sessionBus().send(changed);
}

void TControlBus::TellRunning() {
  if (const bool now = control_.Running(); now != toldRunning_) SendProperties(now, false);
}

void TControlBus::Started(uint32_t run, uint64_t firstFrame) {
  if (!registered_) return;
  // The run is told from its start (the cycle counts it as running from its first pass); a
  // run the control asked for was told at the call.
  if (!toldRunning_) SendProperties(true, false);
  emit RunStarted(uint(run), qulonglong(firstFrame));
  toldFrames_ = 0;
  sinceFramesTold_.start();
  framesTimer_.start(kFramesNotifyMs, Qt::PreciseTimer, this);
}

void TControlBus::Ended(const QString& reason) {
  framesTimer_.stop();
  if (!registered_) return;
  SendProperties(control_.Running(), true);
  emit RunEnded(reason);
}

void TControlBus::timerEvent(QTimerEvent* e) {
  if (e->timerId() != framesTimer_.timerId()) {
    QObject::timerEvent(e);
    return;
  }
  // A timer may come a little early: the interval holds all the same.
  if (sinceFramesTold_.isValid() && sinceFramesTold_.elapsed() < kFramesNotifyMs) return;
  if (FramesAccepted() != toldFrames_) SendProperties(std::nullopt, true);
}

bool TControlBus::Register() {
  if (registered_) return true;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    error_ = QStringLiteral("No D-Bus session bus: ") + bus.lastError().message();
    return false;
  }
  if (!bus.registerObject(QString::fromLatin1(kControlPath), this,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                              QDBusConnection::ExportAllProperties)) {
    error_ = QStringLiteral("The object ") + QString::fromLatin1(kControlPath) +
             QStringLiteral(" cannot be registered on the session bus.");
    return false;
  }
  registered_ = true;
  error_.clear();
  return true;
}

void TControlBus::Unregister() {
  if (!registered_) return;
  registered_ = false;
  // The last answers and signals (a Quit's answer, RunEnded "closing") are on their way before
  // the program goes: the bus handles one connection's messages in order, so once it has
  // answered a ping of its own, they have reached it.
  QDBusMessage ping = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
  QDBusConnection::sessionBus().call(ping, QDBus::Block, kFlushWaitMs);
  QDBusConnection::sessionBus().unregisterObject(QString::fromLatin1(kControlPath));
}

void TControlBus::Answer(const TControlResult& r) {
  TellRunning();
  if (r.ok() || !calledFromDBus()) return;
  QString name;
  switch (r.status) {
    case TControlStatus::Busy:
      name = QString::fromLatin1(kControlErrorBusy);
      break;
    case TControlStatus::WrongState:
      name = QString::fromLatin1(kControlErrorState);
      break;
    case TControlStatus::InvalidValue:
    case TControlStatus::NotWritable:
      name = QDBusError::errorString(QDBusError::InvalidArgs);
      break;
    default:
      name = QDBusError::errorString(QDBusError::Failed);
      break;
  }
  sendErrorReply(name, r.error);
}

void TControlBus::Run() { Answer(control_.Run()); }
void TControlBus::Pause() { Answer(control_.Pause()); }
void TControlBus::Stop() { Answer(control_.Stop()); }
void TControlBus::Finish(bool on) { Answer(control_.Finish(on)); }
void TControlBus::LoadSetup(const QString& path) { Answer(control_.LoadSetup(path)); }
void TControlBus::SaveSetup(const QString& path, const QString& comment) {
  Answer(control_.SaveSetup(path, comment));
}
void TControlBus::SaveResults(const QString& path, const QString& comment) {
  Answer(control_.SaveResults(path, comment));
}
void TControlBus::SaveResultsCsv(const QString& path, const QString& comment) {
  Answer(control_.SaveResultsCsv(path, comment));
}
void TControlBus::SaveChart(const QString& type, const QString& path, uint width, uint height) {
  Answer(control_.SaveChart(type, path, width, height));
}
void TControlBus::SetModelLoad(double magnitude, double phaseDeg) {
  Answer(control_.SetModelLoad(magnitude, phaseDeg));
}
void TControlBus::SetModelValue(const QString& key, const QString& value) {
  Answer(control_.SetModelValue(key, value));
}

void TControlBus::AutoTune(int& code, QString& text) {
  const TControlCmdAnswer a = control_.AutoTune();
  Answer(a.result);
  code = a.code;
  text = a.text;
}

void TControlBus::MoveStubs(double mm1, double mm2, double mm3, int& code, QString& text) {
  const TControlCmdAnswer a = control_.MoveStubs(mm1, mm2, mm3);
  Answer(a.result);
  code = a.code;
  text = a.text;
}

void TControlBus::Quit(bool saveSetup) { Answer(control_.Quit(saveSetup)); }

TBusRecord TControlBus::GetResult() {
  TResultRecord r;
  const TControlResult res = control_.GetResult(r);
  Answer(res);
  return res.ok() ? ToBusRecord(r) : TBusRecord{};
}

QList<TBusRecord> TControlBus::GetResults(qulonglong sinceFrame, qulonglong& missed) {
  std::vector<TResultRecord> rows;
  uint64_t lost = 0;
  const TControlResult res = control_.GetResults(sinceFrame, rows, lost);
  Answer(res);
  missed = lost;
  QList<TBusRecord> out;
  out.reserve(qsizetype(rows.size()));
  for (const TResultRecord& r : rows) out << ToBusRecord(r);
  return out;
}

}  // namespace qz
