#include "util/ui/menuletters.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>

namespace qz {

namespace {

// Triggers the one enabled item of a pressed letter.
class TLetterRule : public QObject {
 public:
  explicit TLetterRule(QMenu* menu) : QObject(menu), menu_(menu) { menu->installEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o != menu_ || e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->text().size() != 1 ||
        (k->modifiers() & ~(Qt::AltModifier | Qt::ShiftModifier | Qt::KeypadModifier)) != 0)
      return false;
    QAction* a = SoleEnabledItemOfLetter(menu_, k->text().at(0));
    if (!a || a->menu()) return false;  // Qt opens a submenu and moves between items itself
    // Only when disabled items share the letter does Qt hold back; otherwise it triggers itself.
    int sharing = 0;
    for (QAction* b : menu_->actions())
      if (b->isVisible() && !b->isSeparator() &&
          QKeySequence::mnemonic(b->text()) == QKeySequence::mnemonic(a->text()))
        ++sharing;
    if (sharing < 2) return false;
    menu_->setActiveAction(a);
    // The menu (and the menus it opened from) closes as for any chosen item, then the item's
    // command runs.
    for (QMenu* m = menu_; m; m = qobject_cast<QMenu*>(m->parentWidget())) m->hide();
    a->trigger();
    return true;
  }

 private:
  QMenu* menu_;
};

}  // namespace

QAction* SoleEnabledItemOfLetter(const QMenu* menu, QChar letter) {
  const QKeySequence key = QKeySequence::mnemonic(QStringLiteral("&") + letter);
  QAction* found = nullptr;
  for (QAction* a : menu->actions()) {
    if (!a->isVisible() || a->isSeparator() || !a->isEnabled()) continue;
    if (QKeySequence::mnemonic(a->text()) != key) continue;
    if (found) return nullptr;
    found = a;
  }
  return found;
}

void TriggerSoleEnabledLetter(QMenu* menu) {
  if (menu) new TLetterRule(menu);
}

}  // namespace qz
