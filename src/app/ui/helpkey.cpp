#include "app/ui/helpkey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include "app/ui/helprequests.h"
#include "app/ui/menuhelpkey.h"
#include "display/disptypes.h"
#include "display/ui/gdisplform.h"

namespace qz {

THelpKey::THelpKey(QWidget* frame, TOpen open)
    : QObject(frame), frame_(frame), open_(std::move(open)) {
  qApp->installEventFilter(this);
}

QWidget* THelpKey::MarkedOf(QWidget* w) {
  // parentWidget() crosses from a window to the window it belongs to.
  for (; w; w = w->parentWidget())
    if (!HelpRowMark(w).isEmpty()) return w;
  return nullptr;
}

QString THelpKey::AnchorOf(const THelpRequest& row, const QWidget* marked) {
  if (row.anchor != QStringLiteral("*")) return row.anchor;
  // A display window asks for the part of its present type, named as --chart names it.
  if (const auto* d = dynamic_cast<const TGDisplForm*>(marked))
    return DispTypeInfo(const_cast<TGDisplForm*>(d)->Displ().GetTypY()).caption.toLower();
  return QString();
}

bool THelpKey::Press(QWidget* w) {
  QWidget* marked = MarkedOf(w);
  if (!marked) return false;
  const THelpRequest* row = HelpRequestOf(HelpRowMark(marked));
  if (!row) return false;
  switch (row->action) {
    case THelpAction::Minimise:
      if (frame_) frame_->showMinimized();
      break;
    case THelpAction::Open:
    case THelpAction::Message:
      if (open_) open_(*row, AnchorOf(*row, marked), w);
      break;
  }
  return true;
}

bool THelpKey::eventFilter(QObject* o, QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  const auto* k = static_cast<QKeyEvent*>(e);
  if (k->key() != Qt::Key_F1 || k->modifiers() != Qt::NoModifier) return false;
  // Key events reach the window system's window first, then the widget: only widgets ask.
  auto* w = qobject_cast<QWidget*>(o);
  if (!w) return false;
  // A highlighted menu item with a page of its own answers itself; other menus leave F1 alone.
  if (qobject_cast<QMenu*>(w)) return false;
  if (k->isAutoRepeat()) return true;
  return Press(w);
}

}  // namespace qz
