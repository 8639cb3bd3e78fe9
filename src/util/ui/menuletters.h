#pragma once
// Menu letters shared by several items. Qt moves between the items of a letter whenever more
// than one carries it, disabled ones included, so a letter shared with a disabled item would
// choose nothing. Here a letter whose items are all disabled but one triggers that one; where
// more are enabled, the letter moves between them as before.
//
// Tool windows' own letters: while a tool window that belongs to another window is active, Qt
// keeps the letters of that window's menu bar working too, so a button's letter the menu bar
// also carries ("Load &Mem" beside "Co&mmun") only moves between the two. In the active tool
// window its own letter presses its one enabled button of that letter; a letter the window's
// buttons do not carry (or carry more than once) stays with Qt.

#include <QChar>

class QAbstractButton;
class QAction;
class QKeySequence;
class QMenu;
class QObject;
class QWidget;

namespace qz {

// Applies the rule to `menu` (its items as they are at each key press).
void TriggerSoleEnabledLetter(QMenu* menu);
// The item of `menu` a letter key triggers at once (the one enabled item with that letter);
// nullptr when the letter moves between items or belongs to none.
QAction* SoleEnabledItemOfLetter(const QMenu* menu, QChar letter);

// Applies the tool windows' rule to every window of the program, as long as `owner` lives.
void ToolWindowLettersFirst(QObject* owner);
// The one shown, enabled button of `window` (not of windows it owns) whose letter is `key`
// (Alt + the letter); nullptr when none or more carry it.
QAbstractButton* SoleEnabledButtonOfLetter(const QWidget* window, const QKeySequence& key);

}  // namespace qz
