// Calls that follow Run at once, on a loaded machine: every call is answered within a second,
// whether the client waited for Run's answer or not, in the served program and in the window
// program. A call left waiting for the next message that happens to wake the program is lost to
// a client that sends nothing more.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "common/privatebus.h"

namespace qz {
namespace {

using testing::TPrivateBus;
using testing::TServedProgram;
using testing::WaitFor;

constexpr int kRounds = 1000;
constexpr qint64 kAnswerWithinMs = 1000;

// Counts the RunEnded signals of the control.
class TEndCount : public QObject {
  Q_OBJECT
 public:
  int ended = 0;
 public slots:
  void Ended(const QString&) { ++ended; }
};

// A process that keeps one processor busy while it lives.
class TBusyProcess {
 public:
  TBusyProcess() { p_.start(QStringLiteral("/bin/sh"), {"-c", "while :; do :; done"}); }
  ~TBusyProcess() {
    p_.kill();
    p_.waitForFinished(5000);
  }
  bool Started() { return p_.waitForStarted(10000); }

 private:
  QProcess p_;
};

// One call in flight and when its answer came.
struct TSentCall {
  QString what;
  QElapsedTimer sent;
  qint64 answeredMs = -1;
  std::unique_ptr<QDBusPendingCallWatcher> watcher;
};

class CallRace : public ::testing::TestWithParam<bool> {
 protected:
  QDBusMessage Method(const QString& name, const QVariantList& args = {}) {
    QDBusMessage m =
        QDBusMessage::createMethodCall("local.QzSim", "/Control", "local.QzSim.Control", name);
    m.setArguments(args);
    return m;
  }
  TSentCall* Send(std::vector<std::unique_ptr<TSentCall>>& calls, const QString& what,
                  const QDBusMessage& m) {
    auto c = std::make_unique<TSentCall>();
    c->what = what;
    c->sent.start();
    c->watcher = std::make_unique<QDBusPendingCallWatcher>(
        bus.Connection().asyncCall(m, testing::kBusWaitMs));
    TSentCall* raw = c.get();
    QObject::connect(raw->watcher.get(), &QDBusPendingCallWatcher::finished,
                     [raw] { raw->answeredMs = raw->sent.elapsed(); });
    calls.push_back(std::move(c));
    return raw;
  }

  TPrivateBus bus;
  QTemporaryDir dir;
  TEndCount ends;
};

TEST_P(CallRace, EveryCallRightAfterRunIsAnsweredWithinASecond) {
  const bool window = GetParam();
  if (!bus.Start()) GTEST_SKIP() << bus.why.toStdString();
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(bus.Connection().connect(QString(), "/Control", "local.QzSim.Control", "RunEnded",
                                       &ends, SLOT(Ended(QString))));
  TBusyProcess busy1, busy2;
  ASSERT_TRUE(busy1.Started() && busy2.Started());
  TServedProgram qz(bus, dir.filePath("profile"));
  ASSERT_TRUE(qz.Start(window ? QStringList{} : QStringList{"--serve"}))
      << qz.ErrorOutput().toStdString();

  int late = 0, unanswered = 0;
  QStringList firstLate;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<std::unique_ptr<TSentCall>> calls;
    if (round % 2 == 0) {
      // Half the clients wait for Run's answer and send the next call the moment it comes.
      QElapsedTimer t;
      t.start();
      const QDBusMessage r =
          bus.Connection().call(Method("Run"), QDBus::Block, int(3 * kAnswerWithinMs));
      if (r.type() != QDBusMessage::ReplyMessage || t.elapsed() > kAnswerWithinMs) {
        ++late;
        if (firstLate.size() < 5)
          firstLate << QStringLiteral("round %1: Run after %2 ms").arg(round).arg(t.elapsed());
      }
    } else {
      // The other half do not wait: the next call follows a little later, from at once to a
      // third of a millisecond, so that it meets the program anywhere in its answer to Run.
      Send(calls, "Run", Method("Run"));
      QElapsedTimer spin;
      spin.start();
      const qint64 gapNs = (round * 7919) % 333333;
      while (spin.nsecsElapsed() < gapNs) {
      }
    }
    Send(calls, "Finish", Method("Finish", {false}));
    Send(calls, "Pause", Method("Pause"));
    // Each call has its second; one that has none by then is counted and waited for longer, so
    // that the next round starts from a program at rest.
    WaitFor(
        [&] {
          for (const auto& c : calls)
            if (c->answeredMs < 0 && c->sent.elapsed() < kAnswerWithinMs) return false;
          return true;
        },
        3 * kAnswerWithinMs);
    bool lost = false;
    for (const auto& c : calls) {
      if (c->answeredMs >= 0 && c->answeredMs <= kAnswerWithinMs) continue;
      ++late;
      lost = lost || c->answeredMs < 0;
      if (firstLate.size() < 5)
        firstLate << QStringLiteral("round %1: %2 after %3 ms")
                         .arg(round)
                         .arg(c->what)
                         .arg(c->answeredMs);
    }
    // A call still waiting is counted; the client's next message wakes the program, which then
    // answers it late, and the count goes on over every round.
    if (lost) {
      ++unanswered;
      Send(calls, "Pause", Method("Pause"));
    }
    WaitFor([&] {
      for (const auto& c : calls)
        if (c->answeredMs < 0) return false;
      return true;
    });
    // A run asked for ends with Pause (begun or not): one RunEnded each round.
    if (!WaitFor([&] { return ends.ended >= round + 1; }, 10 * kAnswerWithinMs)) break;
  }
  EXPECT_EQ(late, 0) << late << " calls answered late or not at all; the first: "
                     << firstLate.join("; ").toStdString();
  EXPECT_EQ(unanswered, 0) << "rounds with a call left waiting for the next message";
  EXPECT_EQ(ends.ended, kRounds);

  QDBusMessage quit = Method("Quit", {false});
  bus.Await(quit);
  EXPECT_EQ(qz.Finish(), 0) << qz.ErrorOutput().toStdString();
}

INSTANTIATE_TEST_SUITE_P(ServedAndWindow, CallRace, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) {
                           return i.param ? std::string("Window") : std::string("Served");
                         });

}  // namespace
}  // namespace qz

#include "callrace_test.moc"
