#pragma once
// The live data item on the session bus: service "local.QzSim" (or the name --bus-name gives),
// object "/QuzarDdeTopic", interface "local.QzSim.QuzarDdeTopic" with the read-only property
// "QuzarDdeItem", the signal "QuzarDdeItemChanged(s)" and the standard PropertiesChanged, both
// sent together, and the method "Request(s) -> s" that answers the text of the named item. The
// property and Request always hold the latest text; the notifications are rate-limited
// (app/itemcoalescer.h), and the last of a run is sent before the run's end is told. The text
// is read from its source only when it is sent or asked for, so a change costs next to nothing
// while notifications are held. Other programs read and follow the item with any D-Bus library
// or with gdbus and busctl.
//
// The object is registered at start-up whether or not the item is switched on; without a
// session bus (or with the name taken) the program runs on and only the bus is missing.

#include <QBasicTimer>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <functional>

#include "app/cycleports.h"
#include "app/itemcoalescer.h"

namespace qz {

inline constexpr const char* kDdeBusService = "local.QzSim";
// The program's name on the bus: kDdeBusService unless the command line gave another; both
// objects (the item and the control) are reached under it.
QString DdeBusService();
void SetDdeBusService(const QString& name);
// Whether `name` can be a well-known name on the bus (elements of letters, digits, "_" and "-"
// separated by points, at least two, none empty or beginning with a digit, at most 255 bytes).
bool IsValidBusName(const QString& name);
inline constexpr const char* kDdeBusPath = "/QuzarDdeTopic";
inline constexpr const char* kDdeBusInterface = "local.QzSim.QuzarDdeTopic";

class TDdeBus : public QObject, public TRunEnable, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "local.QzSim.QuzarDdeTopic")
  Q_PROPERTY(QString QuzarDdeItem READ QuzarDdeItem)

 public:
  explicit TDdeBus(QObject* parent = nullptr);
  ~TDdeBus() override;

  // Registers the object and takes the service name on the session bus. False (with the reason
  // in ErrorText) when there is no bus or the name is taken; the object then only keeps the
  // text.
  bool Register();
  bool Registered() const { return registered_; }
  // Gives the name and the object back (the program ends); the text is kept.
  void Unregister();
  const QString& ErrorText() const { return error_; }

  // The item's present text: the source's, else the text last published.
  QString QuzarDdeItem() const { return source_ ? source_() : item_; }
  // Where the present text is read (the live item); it is read each time the property or
  // Request is asked and when a notification goes.
  void SetTextSource(std::function<QString()> source) { source_ = std::move(source); }
  // The source has a new text: the followers are told as the rate allows.
  void Changed();
  // A new text of the item without a source (a source set before is dropped): kept at once and
  // sent to the followers as the rate allows.
  void Publish(const QString& text);
  // The least interval between two notifications (TItemCoalescer::IntervalMs of DdeWait_ms).
  void SetNotifyIntervalMs(int64_t ms) { coalescer_.SetIntervalMs(ms); }
  // A held text goes now (the run has ended).
  void Flush();
  // TRunEnable: at the end of a run the held text goes.
  void EnableForRun(bool enabled) override;

 public slots:
  // The text of the item named `item` (the name compared ignoring case); another name is an
  // invalid-argument error.
  QString Request(const QString& item);

 signals:
  void QuzarDdeItemChanged(const QString& text);

 private:
  void timerEvent(QTimerEvent* e) override;
  // Both signals of a new text.
  void Notify(const QString& text);

  std::function<QString()> source_;
  QString item_;
  QString error_;
  bool registered_ = false;
  TItemCoalescer coalescer_;
  QBasicTimer notifyTimer_;
};

}  // namespace qz
