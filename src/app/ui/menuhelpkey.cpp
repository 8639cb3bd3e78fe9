#include "app/ui/menuhelpkey.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QVariant>

namespace qz {

namespace {
constexpr const char* kHelpContextProperty = "qzHelpContext";
}  // namespace

void SetHelpContext(QAction* action, int topic) {
  if (action) action->setProperty(kHelpContextProperty, topic);
}

int HelpContext(const QAction* action) {
  return action ? action->property(kHelpContextProperty).toInt() : 0;
}

TMenuHelpKey::TMenuHelpKey(QMenu* menu, std::function<void(int)> showHelp)
    : QObject(menu), menu_(menu), showHelp_(std::move(showHelp)) {
  menu->installEventFilter(this);
}

bool TMenuHelpKey::eventFilter(QObject* o, QEvent* e) {
  if (o != menu_) return false;
  const bool override = e->type() == QEvent::ShortcutOverride;
  if (!override && e->type() != QEvent::KeyPress) return false;
  const auto* k = static_cast<QKeyEvent*>(e);
  if (k->key() != Qt::Key_F1 || k->modifiers() != Qt::NoModifier) return false;
  const int topic = HelpContext(menu_->activeAction());
  if (topic <= 0) return false;
  if (override) {
    // The key belongs to the menu, not to the window's own F1.
    e->accept();
    return true;
  }
  // The whole chain of open menus closes before the help page comes up.
  for (QWidget* w = menu_; auto* m = qobject_cast<QMenu*>(w); w = m->parentWidget()) m->hide();
  if (showHelp_) showHelp_(topic);
  return true;
}

}  // namespace qz
