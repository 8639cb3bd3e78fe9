#pragma once
// Menu letters shared by several items. Qt moves between the items of a letter whenever more
// than one carries it, disabled ones included, so a letter shared with a disabled item would
// choose nothing. Here a letter whose items are all disabled but one triggers that one; where
// more are enabled, the letter moves between them as before.

#include <QChar>

class QAction;
class QMenu;

namespace qz {

// Applies the rule to `menu` (its items as they are at each key press).
void TriggerSoleEnabledLetter(QMenu* menu);
// The item of `menu` a letter key triggers at once (the one enabled item with that letter);
// nullptr when the letter moves between items or belongs to none.
QAction* SoleEnabledItemOfLetter(const QMenu* menu, QChar letter);

}  // namespace qz
