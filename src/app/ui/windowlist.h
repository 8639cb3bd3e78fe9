#pragma once
// The Window menu's list of display windows: after a separator one item per window of the
// display area in creation order, "&1 " + caption ... "&9 " + caption, then "10 " + caption and
// on without a letter; the active window is checked. Choosing an item restores a minimised
// window and activates it. The items stay usable during a run.

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMdiArea;
class QMenu;

namespace qz {

// The item text of the window numbered `number` (from 1).
QString WindowListText(int number, const QString& caption);

class TWindowList : public QObject {
  Q_OBJECT
 public:
  // Fills the list at the end of `menu` each time the menu opens.
  TWindowList(QMenu* menu, QMdiArea* area);

  // The list made anew from the windows open now.
  void Refresh();
  // The list's items as they stand (separator not included).
  QList<QAction*> Items() const { return items_; }

 private:
  QMenu* menu_;
  QMdiArea* area_;
  QAction* sep_ = nullptr;
  QList<QAction*> items_;
};

}  // namespace qz
