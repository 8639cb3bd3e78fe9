#pragma once
// Questions, notices and file dialogs belong to the window the operator works in: they are
// parented to the active top-level window, and they stay on top when that window does, or when
// any stay-on-top window of the program is showing, so that no dialog the program waits for can
// open hidden under a tool window.

class QDialog;
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

// The one rule for dialogs the operator works in: for the time it runs, the dialog belongs to
// `DialogParent()` (its own parent returns afterwards), stays above the stay-on-top tool
// windows when any is showing, is at least its title's width + 120 pixels wide, has a close
// button only, and opens raised and active. Returns what exec() returns.
int ExecAbove(QDialog& dlg);
// The same for a window the operator opens that the program does not wait for (the help
// viewer, the scenario generator): it stays on top from then on, opens raised and active, and a
// window without a stored place opens beside the asking window (`asking`, else the active
// one), inside the screen. A window shown before keeps its place.
void ShowAbove(QWidget& w, const QWidget* asking = nullptr);

// A dialog at least as wide as its title + 120 pixels (message boxes size themselves, so they
// get a spacer of that width).
void FitTitleWidth(QWidget& dlg);
// A dialog's title bar shows its close button only (no help, minimise or maximise button).
void CloseButtonOnly(QWidget& dlg);
// Marks a window whose place was given (read from the setup, or chosen once by `ShowAbove`):
// `ShowAbove` then keeps it where it is.
void MarkPlaceKept(QWidget& w);

}  // namespace qz
