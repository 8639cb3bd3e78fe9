#pragma once
// Rules the frame window's menus and tool bars follow.
//
// Run enabling: a control says itself whether it stays usable while a run is in progress (a
// property on the action, the menu's action or the tool bar); everything else is disabled at
// the start of a run and enabled again at its end. A menu that stays enabled is gone through
// item by item; one that does not is disabled as a whole.
//
// Empty menus: a top-level menu without any item is hidden, and appears with its first item.

#include <QList>
#include <QObject>
#include <functional>

#include "util/ui/menuletters.h"

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace qz {

void SetStaysEnabledInRun(QObject* control, bool stays = true);
bool StaysEnabledInRun(const QObject* control);

// Disables (enabled false) or re-enables what does not stay enabled among `actions`.
void EnableForRun(const QList<QAction*>& actions, bool enabled);
// A tool bar that stays enabled is gone through button by button; one that does not is
// disabled as a whole.
void EnableForRun(QToolBar* bar, bool enabled);

// Hides `menu`'s entry on the menu bar while the menu holds no item, checked whenever an item
// is added or removed.
void HideWhileEmpty(QMenu* menu);
// The menu holds at least one item (separators do not count).
bool HoldsItems(const QMenu* menu);

// Check marks: a checkable item that has a picture (the one of its tool button) shows its check
// mark in the menu instead of the picture, for every such item of `menus` now.
void ShowCheckMarks(const QList<QMenu*>& menus);

// `left` is called each time the pointer leaves `widget`.
void OnPointerLeave(QWidget* widget, std::function<void()> left);

}  // namespace qz
