#pragma once
// F1 on a highlighted menu item opens the help page of that item's command. An item carries
// its page as a help context number; a menu that holds such items gets the key rule, which
// closes the menu and calls the help with the number. Items without a context leave F1 alone.

#include <QObject>
#include <functional>

class QAction;
class QMenu;

namespace qz {

void SetHelpContext(QAction* action, int topic);
// 0 when the item has none.
int HelpContext(const QAction* action);

class TMenuHelpKey : public QObject {
 public:
  // Watches `menu` (and is owned by it); showHelp receives the highlighted item's number.
  TMenuHelpKey(QMenu* menu, std::function<void(int)> showHelp);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QMenu* menu_;
  std::function<void(int)> showHelp_;
};

}  // namespace qz
