#pragma once
// A signal that asks the program to end (SIGTERM from a service manager or kill, SIGINT from
// Ctrl+C, SIGHUP at log-out) ends it as Exit does instead of at once: the run ends after its
// pass, the results, the log's end record and the setup are written, and only then does the
// program end by the same signal (its default action), so a shell sees 143, 130 or 129 and a
// service manager a clean stop. A second signal before that ends the program at once.
//
// The handler only sets a flag and writes a byte to a pipe; the program sees the flag between
// two passes (TSignalExit::Requested) and its event loop sees the pipe (OnSignal).

#include <QString>
#include <cstdint>
#include <functional>

namespace qz {

class TSignalExit {
 public:
  // Catches SIGTERM, SIGINT and SIGHUP for the whole process; first thing in main. A signal
  // ignored when the program started (nohup) stays ignored. Calls after the first change
  // nothing. False when the handlers cannot be installed.
  static bool Install();
  // A signal has come (0 when none).
  static bool Requested();
  static int Signal();
  // "SIGTERM", "SIGINT", "SIGHUP".
  static QString SignalName(int sig);
  // Called from the event loop once a signal has come (at once when one came before). Needs
  // the application object; an empty function stops the calls.
  static void OnSignal(std::function<void()> f);
  // "Ended by SIGTERM after <N> frames."
  static QString EndedText(int sig, int64_t frames);
  // Ends the process by the signal that came, with its default action. Returns only when no
  // signal came or it could not be raised.
  static void RaiseAgain();
};

}  // namespace qz
