#pragma once
// The live data item on the session bus: service "local.QzSim", object "/QuzarDdeTopic",
// interface "local.QzSim.QuzarDdeTopic" with the read-only property "QuzarDdeItem", the signal
// "QuzarDdeItemChanged(s)" sent with every new text (and the standard PropertiesChanged), and
// the method "Request(s) -> s" that answers the text of the named item. Other programs read and
// follow the item with any D-Bus library or with gdbus and busctl.
//
// The object is registered at start-up whether or not the item is switched on; without a
// session bus (or with the name taken) the program runs on and only the bus is missing.

#include <QDBusContext>
#include <QObject>
#include <QString>

namespace qz {

inline constexpr const char* kDdeBusService = "local.QzSim";
inline constexpr const char* kDdeBusPath = "/QuzarDdeTopic";
inline constexpr const char* kDdeBusInterface = "local.QzSim.QuzarDdeTopic";

class TDdeBus : public QObject, protected QDBusContext {
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

  QString QuzarDdeItem() const { return item_; }
  // A new text of the item: kept and sent to the followers.
  void Publish(const QString& text);

 public slots:
  // The text of the item named `item` (the name compared ignoring case); another name is an
  // invalid-argument error.
  QString Request(const QString& item);

 signals:
  void QuzarDdeItemChanged(const QString& text);

 private:
  QString item_;
  QString error_;
  bool registered_ = false;
};

}  // namespace qz
