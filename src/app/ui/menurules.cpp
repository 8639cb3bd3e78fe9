#include "app/ui/menurules.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QToolBar>
#include <QVariant>

namespace qz {

namespace {

constexpr const char* kStaysProperty = "qzStaysEnabledInRun";

// Watches a menu's items and keeps its menu-bar entry visible only while it has any.
class TEmptyMenuRule : public QObject {
 public:
  explicit TEmptyMenuRule(QMenu* menu) : QObject(menu), menu_(menu) {
    menu->installEventFilter(this);
    Apply();
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == menu_ && (e->type() == QEvent::ActionAdded || e->type() == QEvent::ActionRemoved ||
                       e->type() == QEvent::ActionChanged))
      Apply();
    return false;
  }

 private:
  void Apply() { menu_->menuAction()->setVisible(HoldsItems(menu_)); }
  QMenu* menu_;
};

class TLeaveRule : public QObject {
 public:
  TLeaveRule(QWidget* w, std::function<void()> left) : QObject(w), left_(std::move(left)) {
    w->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Leave && left_) left_();
    return false;
  }

 private:
  std::function<void()> left_;
};

}  // namespace

void ShowCheckMarks(const QList<QMenu*>& menus) {
  for (QMenu* m : menus)
    for (QAction* a : m->actions())
      if (a->isCheckable() && !a->icon().isNull()) a->setIconVisibleInMenu(false);
}

void OnPointerLeave(QWidget* widget, std::function<void()> left) {
  if (widget) new TLeaveRule(widget, std::move(left));
}

void SetStaysEnabledInRun(QObject* control, bool stays) {
  if (control) control->setProperty(kStaysProperty, stays);
}

bool StaysEnabledInRun(const QObject* control) {
  return control && control->property(kStaysProperty).toBool();
}

void EnableForRun(const QList<QAction*>& actions, bool enabled) {
  for (QAction* a : actions) {
    if (a->isSeparator()) continue;
    if (!StaysEnabledInRun(a)) {
      a->setEnabled(enabled);
      continue;
    }
    if (QMenu* m = a->menu()) EnableForRun(m->actions(), enabled);
  }
}

void EnableForRun(QToolBar* bar, bool enabled) {
  if (!bar) return;
  if (StaysEnabledInRun(bar))
    EnableForRun(bar->actions(), enabled);
  else
    bar->setEnabled(enabled);
}

bool HoldsItems(const QMenu* menu) {
  for (const QAction* a : menu->actions())
    if (!a->isSeparator() && a->isVisible()) return true;
  return false;
}

void HideWhileEmpty(QMenu* menu) {
  if (menu) new TEmptyMenuRule(menu);
}

}  // namespace qz
