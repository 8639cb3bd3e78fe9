#include "app/ddebus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QTimerEvent>
#include <QVariantMap>

#include "app/ddeitem.h"

namespace qz {

namespace {
QString& ServiceName() {
  static QString name = QString::fromLatin1(kDdeBusService);
  return name;
}
bool IsNameChar(QChar c) {
  return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
         (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
         c == QLatin1Char('-');
}
}  // namespace

QString DdeBusService() { return ServiceName(); }

void SetDdeBusService(const QString& name) {
  ServiceName() = name.isEmpty() ? QString::fromLatin1(kDdeBusService) : name;
}

bool IsValidBusName(const QString& name) {
  if (name.isEmpty() || name.size() > 255) return false;
  const QStringList parts = name.split(QLatin1Char('.'));
  if (parts.size() < 2) return false;
  for (const QString& p : parts) {
    if (p.isEmpty() || p.front().isDigit()) return false;
    for (QChar c : p)
      if (!IsNameChar(c)) return false;
  }
  return true;
}

TDdeBus::TDdeBus(QObject* parent) : QObject(parent) {}

TDdeBus::~TDdeBus() { Unregister(); }

void TDdeBus::Unregister() {
  if (!registered_) return;
  registered_ = false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterObject(QString::fromLatin1(kDdeBusPath));
  bus.unregisterService(DdeBusService());
}

bool TDdeBus::Register() {
  if (registered_) return true;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    error_ = QStringLiteral("No D-Bus session bus: ") + bus.lastError().message();
    return false;
  }
  if (!bus.registerObject(QString::fromLatin1(kDdeBusPath), this,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                              QDBusConnection::ExportAllProperties)) {
    error_ = QStringLiteral("The object ") + QString::fromLatin1(kDdeBusPath) +
             QStringLiteral(" cannot be registered on the session bus.");
    return false;
  }
  if (!bus.registerService(DdeBusService())) {
    bus.unregisterObject(QString::fromLatin1(kDdeBusPath));
    // The bus gives no error when the name merely belongs to another program.
    const QString why = bus.lastError().message();
    error_ = QStringLiteral("The name ") + DdeBusService() +
             QStringLiteral(" is taken on the session bus") +
             (why.isEmpty() ? QStringLiteral(" (another program of this user holds it).")
                            : QStringLiteral(": ") + why);
    return false;
  }
  registered_ = true;
  error_.clear();
  return true;
}

void TDdeBus::Publish(const QString& text) {
  source_ = nullptr;
  item_ = text;
  Changed();
}

void TDdeBus::Changed() {
  if (!registered_) return;
  // A held change goes with the text of its moment when its timer runs out: a later change
  // needs nothing more.
  if (coalescer_.Holding() && notifyTimer_.isActive()) return;
  if (coalescer_.Offer()) {
    notifyTimer_.stop();
    Notify(QuzarDdeItem());
  } else if (!notifyTimer_.isActive()) {
    notifyTimer_.start(int(coalescer_.MsUntilDue()), Qt::PreciseTimer, this);
  }
}

void TDdeBus::Flush() {
  notifyTimer_.stop();
  if (coalescer_.Flush() && registered_) Notify(QuzarDdeItem());
}

void TDdeBus::EnableForRun(bool enabled) {
  if (enabled) Flush();
}

void TDdeBus::timerEvent(QTimerEvent* e) {
  if (e->timerId() != notifyTimer_.timerId()) {
    QObject::timerEvent(e);
    return;
  }
  notifyTimer_.stop();
  if (coalescer_.TakeDue()) {
    if (registered_) Notify(QuzarDdeItem());
  } else if (coalescer_.Holding()) {
    notifyTimer_.start(int(coalescer_.MsUntilDue()), Qt::PreciseTimer, this);
  }
}

void TDdeBus::Notify(const QString& text) {
  emit QuzarDdeItemChanged(text);
  // Followers that watch properties in the standard way learn of the change too.
  QDBusMessage changed = QDBusMessage::createSignal(
      QString::fromLatin1(kDdeBusPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("PropertiesChanged"));
  QVariantMap props;
  props.insert(QString::fromLatin1(kDdeItemName), text);
  changed << QString::fromLatin1(kDdeBusInterface) << props << QStringList();
  QDBusConnection::sessionBus().send(changed);
}

QString TDdeBus::Request(const QString& item) {
  if (item.compare(QString::fromLatin1(kDdeItemName), Qt::CaseInsensitive) == 0)
    return QuzarDdeItem();
  if (calledFromDBus())
    sendErrorReply(QDBusError::InvalidArgs,
                   QStringLiteral("Unknown item \"") + item + QStringLiteral("\"; the topic ") +
                       QString::fromLatin1(kDdeTopic) + QStringLiteral(" has only ") +
                       QString::fromLatin1(kDdeItemName) + QStringLiteral("."));
  return QString();
}

}  // namespace qz
