#pragma once
// Questions, notices and file dialogs belong to the window the operator works in: they are
// parented to the active top-level window, and they stay on top when that window does, or when
// any stay-on-top window of the program is showing, so that no dialog the program waits for can
// open hidden under a tool window.

class QWidget;

namespace qz {

// The active top-level window; else the active modal window; else the frame window (the first
// visible top-level window that is not a tool window); nullptr when no window is showing.
QWidget* DialogParent();
// The dialog must stay on top: its parent's window does, or a visible top-level window of the
// program (other than the dialog) does.
bool NeedsStayOnTop(const QWidget* dialog, const QWidget* parent);
// Gives a dialog that is not shown yet the stay-on-top flag when it needs it.
void KeepAboveTools(QWidget* dialog);

// Shows a window that the program then blocks behind (a notice, the waiting and busy windows):
// centred, raised, and painted on the screen before the call returns. Waits at most `maxWaitMs`
// for the window system to map it.
void ShowAndPaintNow(QWidget* w, int maxWaitMs = 500);

}  // namespace qz
