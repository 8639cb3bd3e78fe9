#include "app/ddebus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariantMap>

#include "app/ddeitem.h"

namespace qz {

TDdeBus::TDdeBus(QObject* parent) : QObject(parent) {}

TDdeBus::~TDdeBus() { Unregister(); }

void TDdeBus::Unregister() {
  if (!registered_) return;
  registered_ = false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterObject(QString::fromLatin1(kDdeBusPath));
  bus.unregisterService(QString::fromLatin1(kDdeBusService));
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
  if (!bus.registerService(QString::fromLatin1(kDdeBusService))) {
    bus.unregisterObject(QString::fromLatin1(kDdeBusPath));
    // The bus gives no error when the name merely belongs to another program.
    const QString why = bus.lastError().message();
    error_ = QStringLiteral("The name ") + QString::fromLatin1(kDdeBusService) +
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
  item_ = text;
  if (!registered_) return;
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
  if (item.compare(QString::fromLatin1(kDdeItemName), Qt::CaseInsensitive) == 0) return item_;
  if (calledFromDBus())
    sendErrorReply(QDBusError::InvalidArgs,
                   QStringLiteral("Unknown item \"") + item + QStringLiteral("\"; the topic ") +
                       QString::fromLatin1(kDdeTopic) + QStringLiteral(" has only ") +
                       QString::fromLatin1(kDdeItemName) + QStringLiteral("."));
  return QString();
}

}  // namespace qz
