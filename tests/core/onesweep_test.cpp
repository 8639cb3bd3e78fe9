// The sweep memory: ring behaviour, rotation of sample series, capacity changes and the stamp.
#include "core/onesweep.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>
#include <string>
#include <vector>

namespace qz {
namespace {

// Frame k carries k in byte 1 so slots can be identified.
TMerObjekt Numbered(int k) {
  TMerObjekt f{};
  f[0] = 0x04;
  f[1] = uint8_t(k);
  return f;
}

std::vector<int> Slots(const TOneSweep& s, int count) {
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(s.Frame(i)[1]);
  return out;
}

// Frame k is stamped as frame k, received at 1000 + k ms.
TOneSweep Filled(int capacity, int frames) {
  TOneSweep s;
  s.SetNwanted(capacity);
  for (int k = 1; k <= frames; ++k) s.Add(Numbered(k), TSwpStamp{k, 1000 + k});
  return s;
}

// Every filled slot's stamp names the frame in it.
void ExpectStampsBesideFrames(const TOneSweep& s) {
  ASSERT_EQ(s.Nwanted(), int(s.Frames().size()));
  for (int i = 0; i < s.Count(); ++i) {
    const int k = s.Frame(i)[1];
    EXPECT_EQ(s.Stamp(i), (TSwpStamp{k, 1000 + k})) << "slot " << i;
  }
}

// The frame numbers in time order.
std::vector<int> OldestFirst(const TOneSweep& s) {
  std::vector<int> out;
  for (int k = 0; k < s.Count(); ++k) out.push_back(s.Frame(s.OldestFirst(k))[1]);
  return out;
}

TEST(TOneSweep, RingOfCapacityThree) {
  TOneSweep s = Filled(3, 5);
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Last(), 1);
  EXPECT_EQ(Slots(s, 3), (std::vector<int>{4, 5, 3}));
}

TEST(TOneSweep, RingFillsBeforeWrapping) {
  TOneSweep s = Filled(4, 2);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.Last(), 1);
  EXPECT_EQ(Slots(s, 2), (std::vector<int>{1, 2}));
}

TEST(TOneSweep, RotationTable) {
  struct Case {
    std::string name;
    int capacity, frames, pre, preAfter;
    std::vector<int> order;
  } cases[] = {
      {"pre-trigger 2", 5, 5, 2, 2, {4, 5, 1, 2, 3}},
      {"pre-trigger 0 keeps the order", 5, 5, 0, 0, {1, 2, 3, 4, 5}},
      {"pre-trigger 20000 limited to 4", 5, 5, 20000, 4, {2, 3, 4, 5, 1}},
      {"negative pre-trigger limited to 0", 5, 5, -3, 0, {1, 2, 3, 4, 5}},
      {"partly filled series rotates its filled part", 6, 4, 1, 1, {4, 1, 2, 3}},
      {"single frame", 3, 1, 5, 0, {1}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    TOneSweep s = Filled(c.capacity, c.frames);
    int32_t pre = c.pre;
    s.Rotuj(pre);
    EXPECT_EQ(pre, c.preAfter);
    EXPECT_EQ(Slots(s, int(c.order.size())), c.order);
    EXPECT_EQ(s.Count(), c.frames);
  }
}

TEST(TOneSweep, RotatingAnEmptySweepLeavesEverythingAlone) {
  TOneSweep s = Filled(5, 5);
  s.Clear();
  int32_t pre = 7;
  s.Rotuj(pre);
  EXPECT_EQ(pre, 7);
  EXPECT_EQ(Slots(s, 5), (std::vector<int>{1, 2, 3, 4, 5}));

  TOneSweep none;
  pre = -4;
  none.Rotuj(pre);
  EXPECT_EQ(pre, -4);
}

TEST(TOneSweep, ShrinkingKeepsIndexesInsideTheSweep) {
  struct Case {
    std::string name;
    int capacity, frames, newCapacity, count, last;
  } cases[] = {
      {"shrink a full ring", 10, 10, 4, 4, 3},
      {"shrink a wrapped ring", 5, 7, 3, 3, 1},
      {"shrink below the filled part", 10, 6, 2, 2, 1},
      {"shrink above the filled part", 10, 3, 5, 3, 2},
      {"shrink to nothing", 10, 10, 0, 0, -1},
      {"negative counts as nothing", 4, 2, -5, 0, -1},
      {"grow keeps the state", 3, 2, 8, 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TOneSweep s = Filled(c.capacity, c.frames);
    s.SetNwanted(c.newCapacity);
    EXPECT_EQ(s.Nwanted(), std::max(c.newCapacity, 0));
    EXPECT_EQ(int(s.Frames().size()), s.Nwanted());
    EXPECT_EQ(s.Count(), c.count);
    EXPECT_EQ(s.Last(), c.last);
    // Adding after the change stays inside the array.
    for (int k = 0; k < 2 * s.Nwanted() + 1; ++k) s.Add(Numbered(100 + k));
    EXPECT_LE(s.Count(), s.Nwanted());
    EXPECT_LT(s.Last(), s.Nwanted());
  }
}

TEST(TOneSweep, GrowingKeepsStoredFrames) {
  TOneSweep s = Filled(3, 3);
  s.SetNwanted(5);
  EXPECT_EQ(Slots(s, 3), (std::vector<int>{1, 2, 3}));
  s.Add(Numbered(4));
  EXPECT_EQ(s.Last(), 3);
  EXPECT_EQ(s.Count(), 4);
}

TEST(TOneSweep, AddWithoutCapacityIsIgnored) {
  TOneSweep s;
  s.Add(Numbered(1));
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Last(), -1);
  EXPECT_TRUE(s.Frames().empty());
}

TEST(TOneSweep, InitAndClear) {
  TOneSweep s = Filled(4, 3);
  s.Info = "note";
  s.Kedy = 45000.5;
  s.Init(12.5);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Last(), -1);
  EXPECT_EQ(s.Kedy, 0.0);
  EXPECT_EQ(s.SystSet.PlaExt, 12.5);
  EXPECT_EQ(s.Nwanted(), 4);
  EXPECT_EQ(s.Info, "note");
  s.Add(Numbered(9));
  EXPECT_EQ(Slots(s, 3), (std::vector<int>{9, 2, 3}));

  // A blanked sweep stays blank: the next frame is its only point.
  TOneSweep c = Filled(4, 3);
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(c.Last(), -1);
  c.Add(Numbered(7));
  EXPECT_EQ(c.Count(), 1);
  EXPECT_EQ(c.Last(), 0);
  EXPECT_EQ(Slots(c, 1), (std::vector<int>{7}));
}

TEST(TOneSweep, StampIsADayNumber) {
  TOneSweep s;
  s.DajCas(QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
  EXPECT_NEAR(s.Kedy, 2.0, 1e-9);
  s.DajCas(QDateTime(QDate(2000, 1, 1), QTime(18, 0)));
  EXPECT_NEAR(s.Kedy, 36526.75, 1e-9);
  s.DajCas();
  EXPECT_GE(s.Kedy, 45000.0);  // after 2023
}

// The stamps travel with their frames through the ring, rotation and capacity changes, and the
// time order is the ring's order once it has wrapped, a rotated series' order after Rotuj.
TEST(TOneSweep, StampsStayBesideTheirFrames) {
  struct Case {
    std::string name;
    int capacity, frames;
    int pre;          // < 0: no rotation
    int newCapacity;  // 0: unchanged
    std::vector<int> oldestFirst;
  } cases[] = {
      {"filling ring", 4, 2, -1, 0, {1, 2}},
      {"full ring, not wrapped", 3, 3, -1, 0, {1, 2, 3}},
      {"wrapped ring", 3, 5, -1, 0, {3, 4, 5}},
      {"wrapped twice", 3, 7, -1, 0, {5, 6, 7}},
      {"last slot written last", 3, 6, -1, 0, {4, 5, 6}},
      {"rotated series", 5, 5, 2, 0, {4, 5, 1, 2, 3}},
      {"rotated partly filled series", 6, 4, 1, 0, {4, 1, 2, 3}},
      {"wrapped ring grown", 3, 5, -1, 5, {3, 4, 5}},
      {"wrapped ring shrunk", 5, 7, -1, 3, {3, 6, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TOneSweep s = Filled(c.capacity, c.frames);
    if (c.pre >= 0) {
      int32_t pre = c.pre;
      s.Rotuj(pre);
    }
    if (c.newCapacity > 0) s.SetNwanted(c.newCapacity);
    EXPECT_EQ(int(s.Frames().size()), s.Nwanted());
    ExpectStampsBesideFrames(s);
    EXPECT_EQ(OldestFirst(s), c.oldestFirst);
  }
  // A frame added after a rotation makes the sweep a ring again; Clear and Init keep the stamps'
  // array at the capacity and the next Add stamps slot 0.
  TOneSweep s = Filled(3, 3);
  int32_t pre = 1;
  s.Rotuj(pre);
  EXPECT_EQ(OldestFirst(s), (std::vector<int>{3, 1, 2}));
  s.Add(Numbered(4), TSwpStamp{4, 1004});
  ExpectStampsBesideFrames(s);
  EXPECT_EQ(OldestFirst(s), (std::vector<int>{1, 2, 4}));
  s.Clear();
  s.Add(Numbered(9), TSwpStamp{9, 1009});
  EXPECT_EQ(s.Stamp(0), (TSwpStamp{9, 1009}));
  // A frame stored without a stamp holds the empty one.
  s.Add(Numbered(10));
  EXPECT_EQ(s.Stamp(1), TSwpStamp{});
}

TEST(SweepCapacity, IndividualSamplesDecide) {
  TRectif r;
  r.Nvzoriek = 301;
  TPulsed p;
  p.Nvzoriek = 401;
  struct Case {
    int waveform;
    bool rectSamples, pulsSamples;
    int expected;
  } cases[] = {
      {wfCW, true, true, 101},         {wfRectified, false, true, 101},
      {wfRectified, true, false, 301}, {wfPulsed, true, false, 101},
      {wfPulsed, false, true, 401},
  };
  for (const auto& c : cases) {
    r.Bsamples = c.rectSamples;
    p.Bsamples = c.pulsSamples;
    EXPECT_EQ(SweepCapacity(101, c.waveform, r, p), c.expected) << c.waveform;
    EXPECT_EQ(BlockSamplingOn(c.waveform, r, p), c.expected != 101) << c.waveform;
  }
}

}  // namespace
}  // namespace qz
