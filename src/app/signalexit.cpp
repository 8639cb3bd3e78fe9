#include "app/signalexit.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <memory>

namespace qz {

namespace {

std::atomic<int> g_signal{0};
int g_pipe[2] = {-1, -1};
bool g_installed = false;
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

struct TNotice {
  std::unique_ptr<QSocketNotifier> notifier;
  std::function<void()> call;
  bool told = false;
};
TNotice& Notice() {
  static TNotice n;
  return n;
}

// Only async-signal-safe calls: the first signal is noted and told through the pipe; a second
// one ends the program at once by its default action.
extern "C" void OnTerminatingSignal(int sig) {
  const int saved = errno;
  int none = 0;
  if (!g_signal.compare_exchange_strong(none, sig)) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    ::sigaction(sig, &dfl, nullptr);
    ::raise(sig);
    return;
  }
  if (g_pipe[1] >= 0) {
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &b, 1);
  }
  errno = saved;
}

void Tell() {
  TNotice& n = Notice();
  if (n.told || !n.call || g_signal.load() == 0) return;
  n.told = true;
  const std::function<void()> call = n.call;
  call();
}

}  // namespace

bool TSignalExit::Install() {
  if (g_installed) return true;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction sa {};
  sa.sa_handler = OnTerminatingSignal;
  sigemptyset(&sa.sa_mask);
  for (int s : kSignals) sigaddset(&sa.sa_mask, s);
  sa.sa_flags = SA_RESTART;
  for (int s : kSignals) {
    // A signal the program was started with ignored (nohup, a background job of a script)
    // stays ignored: whoever started it asked for that.
    struct sigaction old {};
    if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    if (::sigaction(s, &sa, nullptr) != 0) return false;
  }
  g_installed = true;
  return true;
}

bool TSignalExit::Requested() { return g_signal.load() != 0; }

int TSignalExit::Signal() { return g_signal.load(); }

QString TSignalExit::SignalName(int sig) {
  switch (sig) {
    case SIGTERM:
      return QStringLiteral("SIGTERM");
    case SIGINT:
      return QStringLiteral("SIGINT");
    case SIGHUP:
      return QStringLiteral("SIGHUP");
    default:
      return QStringLiteral("signal %1").arg(sig);
  }
}

void TSignalExit::OnSignal(std::function<void()> f) {
  TNotice& n = Notice();
  n.call = std::move(f);
  if (!n.call) {
    n.notifier.reset();
    return;
  }
  if (!n.notifier && g_pipe[0] >= 0) {
    n.notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    QObject::connect(n.notifier.get(), &QSocketNotifier::activated, [] {
      char buf[16];
      while (::read(g_pipe[0], buf, sizeof buf) > 0) {
      }
      Tell();
    });
  }
  // A signal that came before the loop ran is told as soon as it runs.
  if (g_signal.load() != 0 && n.notifier) {
    const char b = 1;
    [[maybe_unused]] const ssize_t w = ::write(g_pipe[1], &b, 1);
  }
}

QString TSignalExit::EndedText(int sig, int64_t frames) {
  return QStringLiteral("Ended by %1 after %2 frames.").arg(SignalName(sig)).arg(frames);
}

void TSignalExit::RaiseAgain() {
  const int sig = g_signal.load();
  if (sig == 0) return;
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  sigemptyset(&dfl.sa_mask);
  ::sigaction(sig, &dfl, nullptr);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(sig);
}

}  // namespace qz
