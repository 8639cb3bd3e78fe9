#pragma once
// The typed records of the remote control on the bus: one record is a{sv} with its keys in the
// record's own order (frame, run, time, ...; app/resultrecord.h), which a QVariantMap would sort,
// so it is marshalled here entry by entry. A list of records is aa{sv}.

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QVariant>

#include "app/resultrecord.h"

namespace qz {

struct TBusRecord {
  QList<QPair<QString, QVariant>> values;  // in the record's order
};

TBusRecord ToBusRecord(const TResultRecord& r);

QDBusArgument& operator<<(QDBusArgument& a, const TBusRecord& r);
const QDBusArgument& operator>>(const QDBusArgument& a, TBusRecord& r);

// Makes the record and lists of records known to the bus (once; before an object that answers
// them is registered).
void RegisterBusRecordTypes();

}  // namespace qz

Q_DECLARE_METATYPE(qz::TBusRecord)
