#pragma once
// The DDE items of the "Co&mmun" menu: "DDE Server" (a check mark), the "Delimiter" submenu and
// "DDE Wait". Their captions are set each time the menu opens; the state lives in TDdeItem.

#include <QObject>

#include "app/ddeitem.h"

class QAction;
class QMenu;

namespace qz {

class TAsker;

class TDdeMenu : public QObject {
  Q_OBJECT
 public:
  // Adds the three items to `menu` (the "Co&mmun" menu); asker asks for the interval.
  TDdeMenu(QMenu* menu, TDdeItem& item, TAsker& asker);

  // What opening the menu does: captions, check marks and enabled items.
  void MenuOpening();
  // What opening the "Delimiter" submenu does.
  void DelimOpening();

  QAction* ServerAction() const { return aServer_; }
  QAction* DelimAction() const { return aDelim_; }
  QAction* WaitAction() const { return aWait_; }
  QMenu* DelimMenu() const { return mDelim_; }

 private:
  TDdeItem& item_;
  TAsker& asker_;
  QAction* aServer_;
  QAction* aDelim_;
  QAction* aWait_;
  QMenu* mDelim_;
};

}  // namespace qz
