// The typed record of an accepted frame: its keys and types in order, its values decoded again
// from the frame's bytes, and the rows a reader gets of the frames the sweep holds after a
// frame number (oldest first, at most 1,000 a reply, the frames lost counted).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "app/resultrecord.h"
#include "common/testframes.h"
#include "core/qvwin.h"

namespace qz {
namespace {

using testing::EncodedFrame;
using testing::MeasSpec;

constexpr double kMmPerStep = 0.01;
constexpr int64_t kUtc0 = 1796911407481;  // 2026-12-10T14:03:27.481Z

// An analyzer whose frames are accepted as the cycle accepts them: stamped, then stored.
struct TRig {
  TMotState mot;
  TQvWin qv{mot};

  explicit TRig(int32_t capacity) { qv.LastSwp.SetNwanted(capacity); }
  // Frame k (numbered as accepted) carries k in its power so that rows can be told apart.
  static TFrameSpec FrameOf(int64_t k) {
    TFrameSpec s = MeasSpec(double(k));
    s.Pos = MakeMotPos(100, 200, 300);
    return s;
  }
  void Accept(int64_t k, bool store = true) {
    qv.Mob = EncodedFrame(FrameOf(k));
    const TSwpStamp stamp = qv.StampAccepted(kUtc0 + k);
    if (store) qv.LastSwp.Add(qv.Mob, stamp);
  }
  std::vector<int64_t> Frames(const TResultRows& r) const {
    std::vector<int64_t> f;
    for (const TResultRecord& x : r.rows) f.push_back(x.frame);
    return f;
  }
};

std::vector<int64_t> Range(int64_t from, int64_t to) {
  std::vector<int64_t> v;
  for (int64_t k = from; k <= to; ++k) v.push_back(k);
  return v;
}

TEST(ResultRecord, KeysAndTypesAreTheNineteenInTheirOrder) {
  const char* const expected[][2] = {
      {"frame", "t"},    {"run", "u"},          {"time", "s"},        {"freq_Hz", "d"},
      {"mag_in", "d"},   {"pha_in_deg", "d"},   {"mag_load", "d"},    {"pha_load_deg", "d"},
      {"pinc_W", "d"},   {"prfl_W", "d"},       {"pabs_W", "d"},      {"temp_C", "d"},
      {"stub1_mm", "d"}, {"stub2_mm", "d"},     {"stub3_mm", "d"},    {"status", "y"},
      {"error", "y"},    {"motor_status", "y"}, {"motor_error", "y"},
  };
  const auto& keys = ResultRecordKeys();
  ASSERT_EQ(keys.size(), std::size(expected));
  const QList<QPair<QString, QVariant>> values = ResultRecordValues(TResultRecord{});
  ASSERT_EQ(values.size(), qsizetype(std::size(expected)));
  const auto typeOf = [](char code) {
    switch (code) {
      case 't':
        return QMetaType::ULongLong;
      case 'u':
        return QMetaType::UInt;
      case 's':
        return QMetaType::QString;
      case 'd':
        return QMetaType::Double;
      default:
        return QMetaType::UChar;
    }
  };
  for (size_t i = 0; i < keys.size(); ++i) {
    SCOPED_TRACE(expected[i][0]);
    EXPECT_STREQ(keys[i].name, expected[i][0]);
    EXPECT_EQ(keys[i].type, expected[i][1][0]);
    EXPECT_EQ(values[qsizetype(i)].first, expected[i][0]);
    EXPECT_EQ(values[qsizetype(i)].second.typeId(), int(typeOf(expected[i][1][0])));
  }
}

TEST(ResultRecord, ValuesComeFromTheFramesBytesAtFullPrecision) {
  TRig r(5);
  TFrameSpec s = MeasSpec(1000.0, complex(0.25, 0.0), complex(0.0, 0.5));
  s.Temp_C = 25.5;
  s.Pos = MakeMotPos(150, 225, 0);
  s.MotStatus = 119;
  s.MotError = 1;
  s.ErrByte = 0x02;
  r.qv.BeginRun();
  r.qv.Mob = EncodedFrame(s);
  r.qv.LastSwp.Add(r.qv.Mob, r.qv.StampAccepted(kUtc0));
  // The latest result may hold another frame meanwhile: the record reads the frame's bytes.
  r.qv.Res = THresults();
  const std::optional<TResultRecord> rec = LatestResultRecord(r.qv, kMmPerStep);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->frame, 1);
  EXPECT_EQ(rec->run, 1u);
  EXPECT_EQ(rec->time, "2026-12-10T14:03:27.481Z");
  EXPECT_DOUBLE_EQ(rec->freq_Hz, 2450e6);
  EXPECT_DOUBLE_EQ(rec->mag_in, 0.25);
  EXPECT_DOUBLE_EQ(rec->pha_in_deg, 0.0);
  EXPECT_DOUBLE_EQ(rec->mag_load, 0.5);
  EXPECT_DOUBLE_EQ(rec->pha_load_deg, 90.0);
  EXPECT_DOUBLE_EQ(rec->pinc_W, 1000.0);
  EXPECT_DOUBLE_EQ(rec->prfl_W, 62.5);  // |0.25|^2 x 1000 W
  EXPECT_DOUBLE_EQ(rec->pabs_W, 937.5);
  EXPECT_DOUBLE_EQ(rec->temp_C, 25.5);
  EXPECT_DOUBLE_EQ(rec->stub_mm[0], 1.5);
  EXPECT_DOUBLE_EQ(rec->stub_mm[1], 2.25);
  EXPECT_DOUBLE_EQ(rec->stub_mm[2], 0.0);
  EXPECT_EQ(rec->status & 0x54, 0x14);  // measurement and motor blocks, no reflected power
  EXPECT_EQ(rec->error, 0x02);
  EXPECT_EQ(rec->motor_status, 119);
  EXPECT_EQ(rec->motor_error, 1);
  // The shown stubs stay where they are: reading a record moves nothing.
  EXPECT_EQ(r.mot.ActPos[1], 0);
}

TEST(ResultRecord, AFrameWithoutAValidMeasurementClaimsNoValues) {
  TRig r(5);
  r.Accept(1);
  TFrameSpec invalid = TRig::FrameOf(2);
  invalid.ErrByte = 0x40;
  r.qv.Mob = EncodedFrame(invalid);
  r.qv.LastSwp.Add(r.qv.Mob, r.qv.StampAccepted(kUtc0 + 2));
  const std::optional<TResultRecord> rec = LatestResultRecord(r.qv, kMmPerStep);
  ASSERT_TRUE(rec);
  EXPECT_EQ(rec->frame, 2);
  EXPECT_EQ(rec->error, 0x40);
  for (double v : {rec->freq_Hz, rec->mag_in, rec->pha_in_deg, rec->mag_load, rec->pha_load_deg,
                   rec->pinc_W, rec->prfl_W, rec->pabs_W, rec->temp_C})
    EXPECT_TRUE(std::isnan(v)) << v;
  EXPECT_DOUBLE_EQ(rec->stub_mm[2], 3.0);
}

TEST(ResultRecord, NothingBeforeTheFirstFrameAndRunsAreNumberedFromOne) {
  TRig r(5);
  EXPECT_FALSE(LatestResultRecord(r.qv, kMmPerStep));
  r.Accept(1);  // outside a run (a scenario's)
  EXPECT_EQ(LatestResultRecord(r.qv, kMmPerStep)->run, 0u);
  EXPECT_EQ(r.qv.BeginRun(), 1u);
  r.Accept(2);
  r.qv.EndRun();
  EXPECT_EQ(r.qv.CurrentRun(), 0u);
  EXPECT_EQ(r.qv.BeginRun(), 2u);
  r.Accept(3);
  EXPECT_EQ(r.qv.RunsBegun(), 2u);
  const TResultRows rows = ResultRecordsSince(r.qv, kMmPerStep, 0);
  ASSERT_EQ(rows.rows.size(), 3u);
  EXPECT_EQ(rows.rows[0].run, 0u);
  EXPECT_EQ(rows.rows[1].run, 1u);
  EXPECT_EQ(rows.rows[2].run, 2u);
  EXPECT_EQ(rows.rows[2].time, "2026-12-10T14:03:27.484Z");
}

TEST(ResultRecord, RowsSinceAFrameAreTheHeldOnesOldestFirstWithTheLostCounted) {
  struct Case {
    const char* name;
    int32_t capacity;
    int64_t accepted;
    std::vector<int64_t> notStored;
    uint64_t since;
    std::vector<int64_t> rows;
    int64_t missed;
  };
  const std::vector<Case> cases = {
      {"ring of 5 after 8 frames, from the start", 5, 8, {}, 0, Range(4, 8), 3},
      {"from a frame still held", 5, 8, {}, 5, Range(6, 8), 0},
      {"from a frame no longer held", 5, 8, {}, 2, Range(4, 8), 1},
      {"from the newest", 5, 8, {}, 8, {}, 0},
      {"a frame accepted but not stored", 5, 8, {7}, 0, {3, 4, 5, 6, 8}, 3},
      {"nothing accepted, from the start", 5, 0, {}, 0, {}, 0},
      {"at most 1000: the rest in the next reply", 1500, 1200, {}, 0, Range(1, 1000), 0},
      {"the next reply", 1500, 1200, {}, 1000, Range(1001, 1200), 0},
      {"1000 of a wrapped ring", 1500, 2500, {}, 0, Range(1001, 2000), 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRig r(c.capacity);
    for (int64_t k = 1; k <= c.accepted; ++k)
      r.Accept(k, std::find(c.notStored.begin(), c.notStored.end(), k) == c.notStored.end());
    const TResultRows rows = ResultRecordsSince(r.qv, kMmPerStep, c.since);
    ASSERT_TRUE(rows.ok()) << rows.error.toStdString();
    EXPECT_EQ(r.Frames(rows), c.rows);
    EXPECT_EQ(rows.missed, c.missed);
    // Each row is its own frame's: the power it was sent with.
    for (const TResultRecord& x : rows.rows) EXPECT_DOUBLE_EQ(x.pinc_W, double(x.frame));
  }
}

TEST(ResultRecord, ARotatedSeriesGivesItsRowsByFrameNumber) {
  TRig r(5);
  for (int64_t k = 1; k <= 5; ++k) r.Accept(k);
  int32_t pre = 2;
  r.qv.LastSwp.Rotuj(pre);  // slots now hold 4, 5, 1, 2, 3
  EXPECT_EQ(r.Frames(ResultRecordsSince(r.qv, kMmPerStep, 1)), Range(2, 5));
}

TEST(ResultRecord, AFrameBeyondTheNewestIsAnErrorNamingTheNewest) {
  TRig r(5);
  for (int64_t k = 1; k <= 3; ++k) r.Accept(k);
  const TResultRows rows = ResultRecordsSince(r.qv, kMmPerStep, 4);
  EXPECT_FALSE(rows.ok());
  EXPECT_TRUE(rows.rows.empty());
  EXPECT_EQ(rows.error, "There is no frame 4 yet: the newest accepted frame is 3.");
  EXPECT_FALSE(ResultRecordsSince(r.qv, kMmPerStep, ~uint64_t(0)).ok());
}

}  // namespace
}  // namespace qz
