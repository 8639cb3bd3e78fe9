#include "util/ui/menuletters.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

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

// Gives the active tool window's button letters to its buttons.
class TToolLetters : public QObject {
 public:
  explicit TToolLetters(QObject* owner) : QObject(owner) { qApp->installEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    const QEvent::Type type = e->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    // Key events reach the window system's window first, then the widget: widgets only.
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if ((k->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
    const int key = k->key();
    if (!((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)))
      return false;
    QWidget* window = w->window();
    // Only a tool window that belongs to another shares its letters with that one's.
    if (window->windowType() != Qt::Tool || !window->parentWidget() || !window->isActiveWindow())
      return false;
    QAbstractButton* b = SoleEnabledButtonOfLetter(window, QKeySequence(Qt::ALT | Qt::Key(key)));
    if (!b) return false;
    if (type == QEvent::ShortcutOverride) {
      // The key then comes as a key press instead of a shortcut.
      e->accept();
      return true;
    }
    if (!k->isAutoRepeat()) b->animateClick();
    return true;
  }
};

}  // namespace

QAbstractButton* SoleEnabledButtonOfLetter(const QWidget* window, const QKeySequence& key) {
  if (!window || key.isEmpty()) return nullptr;
  QAbstractButton* found = nullptr;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
    if (b->window() != window || !b->isVisible() || !b->isEnabled()) continue;
    if (QKeySequence::mnemonic(b->text()) != key) continue;
    if (found) return nullptr;
    found = b;
  }
  return found;
}

void ToolWindowLettersFirst(QObject* owner) { new TToolLetters(owner); }

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
