// The control's run signals and property changes as a bus client sees them, in the order they
// came: "started RUN FIRSTFRAME", "ended REASON", "Running=… FramesAccepted=…".
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace qz::testing {

class TRunLog : public QObject {
  Q_OBJECT
 public:
  QStringList events;
 public slots:
  void Started(uint run, qulonglong firstFrame) {
    events << QStringLiteral("started %1 %2").arg(run).arg(firstFrame);
  }
  void Ended(const QString& reason) { events << QStringLiteral("ended ") + reason; }
  void Properties(const QString&, const QVariantMap& props, const QStringList&) {
    QStringList parts;
    if (props.contains(QStringLiteral("Running")))
      parts << QStringLiteral("Running=") + props[QStringLiteral("Running")].toString();
    if (props.contains(QStringLiteral("FramesAccepted")))
      parts << QStringLiteral("FramesAccepted=") +
                   props[QStringLiteral("FramesAccepted")].toString();
    events << parts.join(QLatin1Char(' '));
  }
};

}  // namespace qz::testing
