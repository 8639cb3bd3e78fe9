#include "app/recordbus.h"

#include <QDBusMetaType>
#include <QDBusVariant>

namespace qz {

TBusRecord ToBusRecord(const TResultRecord& r) { return TBusRecord{ResultRecordValues(r)}; }

QDBusArgument& operator<<(QDBusArgument& a, const TBusRecord& r) {
  a.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QDBusVariant>());
  for (const auto& [key, value] : r.values) {
    a.beginMapEntry();
    a << key << QDBusVariant(value);
    a.endMapEntry();
  }
  a.endMap();
  return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, TBusRecord& r) {
  r.values.clear();
  a.beginMap();
  while (!a.atEnd()) {
    QString key;
    QDBusVariant value;
    a.beginMapEntry();
    a >> key >> value;
    a.endMapEntry();
    r.values << qMakePair(key, value.variant());
  }
  a.endMap();
  return a;
}

void RegisterBusRecordTypes() {
  static const bool once = [] {
    qDBusRegisterMetaType<TBusRecord>();
    qDBusRegisterMetaType<QList<TBusRecord>>();
    return true;
  }();
  (void)once;
}

}  // namespace qz
