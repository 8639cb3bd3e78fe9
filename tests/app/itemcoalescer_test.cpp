// The live item's notifications: at most one per interval, the latest held one going when the
// interval has run out or the run ends; and the deferred calls of the remote control, which run
// from the event loop once the present event has been handled, in order.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QStringList>

#include "app/deferredcalls.h"
#include "app/itemcoalescer.h"
#include "util/clock.h"

namespace qz {
namespace {

TEST(ItemCoalescer, TheIntervalIsTheItemsWaitButNeverBelowTenMilliseconds) {
  const struct {
    int32_t wait;
    int64_t interval;
  } cases[] = {{0, 10}, {1, 10}, {10, 10}, {11, 11}, {250, 250}, {10000, 10000}, {-5, 10}};
  for (const auto& k : cases) EXPECT_EQ(TItemCoalescer::IntervalMs(k.wait), k.interval) << k.wait;
}

// A script of changes at given times: what is sent at once, when the interval runs out, and
// at the run's end. What goes is the item's text at that moment, the latest change.
TEST(ItemCoalescer, AChangeAfterAQuietIntervalGoesAtOnceLaterOnesAreHeldAndTheLatestGoes) {
  ManualClock clock;
  TItemCoalescer c(&clock);
  c.SetIntervalMs(10);
  QStringList sent;
  QString text;
  auto offer = [&](const char* t) {
    text = QString::fromLatin1(t);
    if (c.Offer()) sent << text;
  };
  auto due = [&] {
    if (c.TakeDue()) sent << text;
  };
  offer("a");  // the first goes at once
  clock.AdvanceMs(1);
  offer("b");
  clock.AdvanceMs(3);
  offer("c");  // held: b is replaced
  EXPECT_EQ(c.MsUntilDue(), 6);
  clock.AdvanceMs(5);
  due();  // not yet
  EXPECT_EQ(sent, QStringList{"a"});
  clock.AdvanceMs(1);
  due();  // 10 ms after "a": the latest held
  EXPECT_EQ(sent, (QStringList{"a", "c"}));
  EXPECT_FALSE(c.Holding());
  EXPECT_EQ(c.MsUntilDue(), -1);
  due();  // nothing held: nothing goes
  EXPECT_EQ(sent.size(), 2);
  clock.AdvanceMs(25);
  offer("d");  // after a quiet interval: at once
  clock.AdvanceMs(2);
  offer("e");
  ASSERT_TRUE(c.Holding());
  if (c.Flush()) sent << text;  // the run ends: at once, before the interval has run out
  EXPECT_EQ(sent, (QStringList{"a", "c", "d", "e"}));
  EXPECT_FALSE(c.Flush());
  // 10,000 changes a millisecond apart: one notification per 10 ms, the last one the last text.
  TItemCoalescer fast(&clock);
  int count = 0;
  QString last;
  for (int i = 0; i < 10000; ++i) {
    text = QString::number(i);
    if (fast.Offer()) {
      ++count;
      last = text;
    }
    clock.AdvanceMs(1);
  }
  if (fast.Flush()) {
    ++count;
    last = text;
  }
  EXPECT_EQ(count, 1001);
  EXPECT_EQ(last, "9999");
}

TEST(DeferredCalls, TasksRunInOrderAfterThePresentEventAndTheirOwnTasksToo) {
  TDeferredCalls calls;
  QStringList ran;
  bool inPosted = false;
  bool ranInsidePosted = false;
  // Deferred from inside a posted event's delivery, as a bus call's slot defers its run.
  QMetaObject::invokeMethod(
      &calls,
      [&] {
        inPosted = true;
        calls.Defer([&] {
          ranInsidePosted = ranInsidePosted || inPosted;
          ran << "run";
          calls.Defer([&] { ran << "queued by run"; });
        });
        calls.Defer([&] { ran << "second"; });
        ran << "answered";
        inPosted = false;
      },
      Qt::QueuedConnection);
  QDeadlineTimer t(5000);
  while (ran.size() < 4 && !t.hasExpired()) QCoreApplication::processEvents();
  EXPECT_EQ(ran, (QStringList{"answered", "run", "second", "queued by run"}));
  EXPECT_FALSE(ranInsidePosted);
  EXPECT_EQ(calls.Pending(), 0u);
  // A deferrer outliving its object drops the task.
  std::function<void(std::function<void()>)> d;
  {
    TDeferredCalls gone;
    d = gone.Deferrer();
  }
  d([&] { ran << "never"; });
  QCoreApplication::processEvents();
  EXPECT_EQ(ran.size(), 4);
}

}  // namespace
}  // namespace qz
