#pragma once
// The window program's answer to a terminating signal: Exit answered Yes. Every open dialog and
// message box (the exit question too) is closed as with Escape, and once the outer event loop
// runs again the frame window closes with the setup saved; a run or a scenario play ends after
// its pass first. From the signal on, the program asks nothing: messages go to stderr and a
// question takes the answer that lets the program end.

namespace qz {

class TForm1;

// Arms the signal's answer for the started frame window (the signal handlers are installed by
// main first).
void CloseOnSignal(TForm1& form);
// Called right before the program's event loop starts: the window is closed only from that
// loop, never from inside a dialog's or from start-up code that runs before it.
void OuterLoopStarts();

}  // namespace qz
