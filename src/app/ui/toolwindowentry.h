#pragma once
// A tool-window record filled for a window that is a widget: showing, hiding, enabling and
// destroying it go through a guarded pointer, so a record stays safe after its window is gone.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/toolwindows.h"

namespace qz {

// The guarded pointer of a window, shared by the functions of its record.
template <class W>
using TWindowHold = std::shared_ptr<QPointer<W>>;

template <class W>
TWindowHold<W> NewHold() {
  return std::make_shared<QPointer<W>>();
}

namespace detail {

// `keep` keeps the pointer alive as long as the record's functions.
template <class W>
TToolWindowEntry WidgetEntryOver(const QString& section, QPointer<W>* w,
                                 std::shared_ptr<void> keep) {
  TToolWindowEntry e;
  e.section = section;
  e.shown = [w, keep] { return !w->isNull() && (*w)->isVisible(); };
  e.show = [w, keep](bool on) {
    if (w->isNull()) return;
    (*w)->setVisible(on);
    if (on) (*w)->raise();
  };
  e.enable = [w, keep](bool on) {
    if (!w->isNull()) (*w)->setEnabled(on);
  };
  // Deleting runs no close handling: the operator's close actions stay out of the exit.
  e.destroy = [w, keep] { delete w->data(); };
  e.object = [w, keep]() -> QObject* { return w->data(); };
  return e;
}

}  // namespace detail

// Over a pointer that lives as long as the registry (a member of a longer-living object).
template <class W>
TToolWindowEntry WidgetEntry(const QString& section, QPointer<W>& window) {
  return detail::WidgetEntryOver(section, &window, nullptr);
}

// Over a pointer of the registration's own.
template <class W>
TToolWindowEntry WidgetEntry(const QString& section, const TWindowHold<W>& hold) {
  return detail::WidgetEntryOver(section, hold.get(), hold);
}

// The window keeps its own section: written and read by the window while it exists.
template <class W>
void KeepsSetup(TToolWindowEntry& e, const TWindowHold<W>& w) {
  e.writeStp = [w](IniFile& ini) {
    if (*w) (*w)->WriteStp(ini);
  };
  e.readStp = [w](const IniFile& ini) {
    if (*w) (*w)->ReadStp(ini);
  };
}

}  // namespace qz
