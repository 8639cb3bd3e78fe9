#pragma once
// The F1 key of the whole program, one rule for every window: from the widget the key was
// pressed in it walks up the parents, across windows, to the first widget marked with a help
// row (app/ui/helprequests.h) and does what the row says: open its page, or minimise the
// frame window. Modal dialogs, value entries and message boxes take their parent's row. A
// highlighted menu item with a page of its own keeps its own rule (app/ui/menuhelpkey.h).
//
// Installed once on the application, owned by the frame window.

#include <QObject>
#include <functional>

class QWidget;

namespace qz {

struct THelpRequest;

class THelpKey : public QObject {
 public:
  // open gets the row, the anchor to show (the display type of a display window, else the
  // row's own) and the widget that asked.
  using TOpen = std::function<void(const THelpRequest& row, const QString& anchor, QWidget* from)>;
  THelpKey(QWidget* frame, TOpen open);

  // The marked widget the key in `w` belongs to (nullptr: none), and the anchor it asks for.
  static QWidget* MarkedOf(QWidget* w);
  static QString AnchorOf(const THelpRequest& row, const QWidget* marked);
  // What the key does in `w`; false when no row takes it.
  bool Press(QWidget* w);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QWidget* frame_;
  TOpen open_;
};

}  // namespace qz
