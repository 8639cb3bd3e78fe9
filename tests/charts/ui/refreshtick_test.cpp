#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "charts/ui/rasterpanel.h"
#include "charts/ui/refreshtick.h"
#include "common/chartrig.h"

namespace qz {
namespace {

struct MockClient : TRefreshClient {
  MOCK_METHOD(void, RefreshTick, (), (override));
};

// Waits for the tick in progress (at most a second).
bool TickDone(TRefreshTick& tick) {
  return QTest::qWaitFor([&] { return !tick.Active(); }, 1000);
}

// Whoever asked between two ticks is told once at the next tick, however often it asked; a
// client that went meanwhile is not told; one that asks while being told waits for the tick
// after; one that goes while another is told is not told either.
TEST(RefreshTickTest, EachWaitingClientIsToldOncePerTick) {
  using ::testing::InSequence;
  TRefreshTick tick;
  MockClient a, b, c;
  int told = 0;
  {
    InSequence order;
    EXPECT_CALL(a, RefreshTick()).WillOnce([&] {
      ++told;
      tick.Request(&a);  // drawn again while being told: the next tick
      tick.Cancel(&c);   // goes before its turn
    });
    EXPECT_CALL(b, RefreshTick()).WillOnce([&] { ++told; });
    EXPECT_CALL(a, RefreshTick()).WillOnce([&] { ++told; });
  }
  EXPECT_CALL(c, RefreshTick()).Times(0);
  for (int i = 0; i < 5; ++i) {
    tick.Request(&a);
    tick.Request(&b);
  }
  tick.Request(&c);
  EXPECT_TRUE(tick.Waiting(&a));
  EXPECT_TRUE(tick.Active());
  ASSERT_TRUE(QTest::qWaitFor([&] { return told >= 2; }, 1000));
  EXPECT_EQ(told, 2);
  EXPECT_TRUE(tick.Waiting(&a));
  EXPECT_FALSE(tick.Waiting(&b));
  EXPECT_TRUE(tick.Active());
  ASSERT_TRUE(TickDone(tick));
  EXPECT_EQ(told, 3);
  EXPECT_FALSE(tick.Waiting(&a));

  // A client cancelled before the tick leaves nothing to wait for.
  MockClient d;
  EXPECT_CALL(d, RefreshTick()).Times(0);
  tick.Request(&d);
  tick.Cancel(&d);
  EXPECT_FALSE(tick.Active());
  QTest::qWait(3 * TRefreshTick::kIntervalMs);
}

// Panels share the program's tick: live drawing in two panels reaches both screens at the same
// tick, and a panel closed with an update waiting is simply left out.
TEST(RefreshTickTest, PanelsUpdateTogetherAtTheSharedTick) {
  QWidget owner;
  owner.resize(330, 440);
  TOsData r = testing::AxisRange(-1, 1);
  TTraces list;
  testing::FillTraces(list, {{}});
  auto* top = new TRasterPanel(std::make_unique<TRaster>(TRozne{}, r, r));
  auto* bottom = new TRasterPanel(std::make_unique<TRaster>(TRozne{}, r, r));
  auto* closing = new TRasterPanel(std::make_unique<TRaster>(TRozne{}, r, r));
  for (TRasterPanel* p : {top, bottom, closing}) {
    p->setParent(&owner);
    p->resize(330, 220);
    p->Raster().AssignTraces(&list);
    p->RenderNow();
  }
  owner.show();
  for (int32_t i = 0; i < 10; ++i) {
    list.Trace(0)->AddXY(-0.9 + 0.18 * i, 0.5 * std::sin(i));
    for (TRasterPanel* p : {top, bottom, closing}) p->LiveSection(list, i);
  }
  for (TRasterPanel* p : {top, bottom, closing}) {
    EXPECT_TRUE(p->UpdateWaiting());
    EXPECT_GT(p->LiveCanvas().Held(), 0);
  }
  delete closing;
  TRefreshTick& tick = TRefreshTick::Shared();
  EXPECT_TRUE(tick.Active());
  ASSERT_TRUE(TickDone(tick));
  for (TRasterPanel* p : {top, bottom}) {
    EXPECT_FALSE(p->UpdateWaiting());
    EXPECT_EQ(p->LiveCanvas().Held(), 0);
  }
  // An update made at once leaves nothing for the tick.
  list.Trace(0)->AddXY(0.95, 0.0);
  top->LiveSection(list, 10);
  top->UpdateNow();
  EXPECT_FALSE(top->UpdateWaiting());
  EXPECT_FALSE(tick.Active());
}

}  // namespace
}  // namespace qz
