#pragma once
// The one way a long task of the program's thread (a measurement run, a scenario play) lets the
// other events in: the pending events of the window system, the timers and the sockets, then
// every posted event. Posted events are delivered directly, not only when the event loop has
// been woken for them: a call that another thread hands over (the session bus's) is delivered at
// the next pump even when its wake-up was taken by the event the task runs in.

namespace qz {

void PumpEvents();

}  // namespace qz
