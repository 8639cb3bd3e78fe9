#pragma once
// A tool-window record filled for a window that is a widget: showing, hiding, enabling and
// destroying it go through a guarded pointer, so a record stays safe after its window is gone.

#include <QPointer>
#include <QWidget>

#include "app/toolwindows.h"

namespace qz {

template <class W>
TToolWindowEntry WidgetEntry(const QString& section, QPointer<W>& window) {
  TToolWindowEntry e;
  e.section = section;
  QPointer<W>* w = &window;
  e.window = [w]() -> QObject* { return w->data(); };
  e.shown = [w] { return !w->isNull() && (*w)->isVisible(); };
  e.show = [w](bool on) {
    if (w->isNull()) return;
    (*w)->setVisible(on);
    if (on) (*w)->raise();
  };
  e.enable = [w](bool on) {
    if (!w->isNull()) (*w)->setEnabled(on);
  };
  // Deleting runs no close handling: the operator's close actions stay out of the exit.
  e.destroy = [w] { delete w->data(); };
  return e;
}

}  // namespace qz
