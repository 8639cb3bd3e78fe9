#pragma once
// Placement of the program's small dialogs.

class QWidget;

namespace qz {

// Moves a top-level window to the middle of the screen it is on (the primary screen when it has
// none yet), kept inside the screen's available area.
void CentreOnScreen(QWidget* w);

}  // namespace qz
