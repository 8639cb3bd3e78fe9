#include "charts/ui/labeledit.h"

#include <QKeyEvent>

namespace qz {

namespace {
bool Ends(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}
bool Kept(int key) { return key == Qt::Key_Space || Ends(key); }
}  // namespace

bool TLabelEdit::event(QEvent* e) {
  // A shortcut of the window (Space: run and pause) must not take the key from the box.
  if (e->type() == QEvent::ShortcutOverride && Kept(static_cast<QKeyEvent*>(e)->key())) {
    e->accept();
    return true;
  }
  return QLineEdit::event(e);
}

void TLabelEdit::keyPressEvent(QKeyEvent* e) {
  if (Ends(e->key())) {
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
  if (e->key() == Qt::Key_Space) e->accept();
}

void TLabelEdit::keyReleaseEvent(QKeyEvent* e) {
  if (Ends(e->key())) {
    e->accept();
    emit Finished();
    return;
  }
  QLineEdit::keyReleaseEvent(e);
}

}  // namespace qz
