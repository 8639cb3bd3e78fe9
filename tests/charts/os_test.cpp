#include <gtest/gtest.h>

#include <QMap>
#include <cmath>
#include <limits>
#include <vector>

#include "charts/limline.h"
#include "charts/os.h"
#include "charts/rangefinder.h"
#include "util/inifile.h"

namespace qz {
namespace {

// Text sizes without a font: every text is charWidth pixels per character and `height` high,
// unless a width is given for that text.
class FakeMetrics : public TTextMetrics {
 public:
  explicit FakeMetrics(int32_t charWidth = 6, int32_t height = 10)
      : charWidth_(charWidth), height_(height) {}
  int32_t TextWidth(const QString& text) const override {
    return widths_.contains(text) ? widths_[text] : charWidth_ * int32_t(text.size());
  }
  int32_t TextHeight(const QString& text) const override {
    return heights_.contains(text) ? heights_[text] : height_;
  }
  QMap<QString, int32_t> widths_;
  QMap<QString, int32_t> heights_;

 private:
  int32_t charWidth_;
  int32_t height_;
};

TOsData Range(double lo, double hi, bool lin = true, bool cele = true, bool fine = false) {
  TOsData d;
  d.MinAsk = lo;
  d.MaxAsk = hi;
  d.Blin = lin;
  d.Bcele = cele;
  d.Bfine = fine;
  return d;
}

// A horizontal axis laid over left..right.
TOsX XAxis(const TOsData& d, int32_t left, int32_t right, const TTextMetrics& m) {
  TOsX x(d);
  x.FindParams(TRectI{left, 20, right, 300}, m);
  return x;
}

std::vector<QString> ShownLabels(const TOs& a) {
  std::vector<QString> out;
  for (int i = 0; i < a.Nd; ++i)
    if (a.LblShow[size_t(i)]) out.push_back(a.LblTxt[size_t(i)]);
  return out;
}

std::vector<double> Values(const TOs& a) {
  return std::vector<double>(a.Dval.begin(), a.Dval.begin() + a.Nd);
}

TEST(AxisTest, CreateSetsItsDefaults) {
  TOsData d = Range(2, 7);
  TOsX x(d);
  EXPECT_EQ(x.NdivWanted, 10);
  EXPECT_EQ(x.Gstart, 100);
  EXPECT_EQ(x.Gstop, 200);
  EXPECT_EQ(x.Tick, 5);
  EXPECT_EQ(x.MinDiviPixels, 15);
  EXPECT_EQ(x.Stp.Data.LastMin, 2);
  EXPECT_EQ(x.Stp.Data.LastMax, 7);
}

struct LinCase {
  double lo, hi;
  int32_t pixels;
  double step, min, max;
  int32_t nd;
};

TEST(AxisTest, LinearRangesGetRoundEndsAndSteps) {
  const LinCase cases[] = {
      {0, 10, 300, 1, 0, 10, 11},  // the fine grid of 10 divisions fits
      {0, 10, 60, 5, 0, 10, 3},    // 4 divisions wanted
      {10, 0, 300, 1, 0, 10, 11},  // a reversed request is taken in order
      {5, 5, 300, 0.5, 2.5, 7.5, 11},
      {-4, -4, 300, 0.5, -6, -2, 9},
      {0, 0, 300, 0.2, -1, 1, 11},
      {0.3, 9.7, 300, 1, 0, 10, 11},
      {-0.995, 1003, 300, 200, 0, 1200, 7},  // lo within a thousandth of the span of 0
  };
  FakeMetrics m;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lo << ".." << c.hi << " over " << c.pixels);
    TOsX x = XAxis(Range(c.lo, c.hi), 100, 100 + c.pixels, m);
    EXPECT_DOUBLE_EQ(x.D, c.step);
    EXPECT_DOUBLE_EQ(x.Min, c.min);
    EXPECT_DOUBLE_EQ(x.Max, c.max);
    EXPECT_EQ(x.Nd, c.nd);
    EXPECT_EQ(x.Dpos[0], 100);
    EXPECT_EQ(x.Dpos[size_t(x.Nd - 1)], 100 + c.pixels);
  }
}

TEST(AxisTest, ZeroToTenOver300PixelsHasAWholeNumberGrid) {
  FakeMetrics m;
  TOsX x = XAxis(Range(0, 10), 100, 400, m);
  ASSERT_EQ(x.Nd, 11);
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(x.Dval[size_t(i)], i);
    EXPECT_EQ(x.Dpos[size_t(i)], 100 + 30 * i);
    EXPECT_EQ(x.LblTxt[size_t(i)], QString::fromStdString(std::to_string(i)));
  }
}

TEST(AxisTest, WithoutRoundEndsTheRequestIsTheFirstAndLastDivision) {
  FakeMetrics m;
  TOsX x = XAxis(Range(0.3, 9.7, true, false), 100, 400, m);
  EXPECT_EQ(x.Min, 0);
  EXPECT_EQ(x.Max, 10);
  EXPECT_EQ(x.D, 1);
  EXPECT_EQ(x.MinLin, 0.3);
  EXPECT_EQ(x.MaxLin, 9.7);
  const std::vector<double> expected = {0.3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9.7};
  EXPECT_EQ(Values(x), expected);
  EXPECT_EQ(x.LblTxt[0], "0.3");
  EXPECT_EQ(x.LblTxt[10], "9.7");
  // 300 pixels for 9.4: value 1 is 0.7 * 300 / 9.4 = 22.34 pixels right of the start.
  EXPECT_EQ(x.Dpos[1], 122);
  EXPECT_EQ(x.Dpos[5], 250);  // 4.7 * 300 / 9.4 = 150
  EXPECT_EQ(x.Dpos[0], 100);
  EXPECT_EQ(x.Dpos[10], 400);
}

TEST(AxisTest, EqualEndsWithoutRoundingMapOntoTheWidenedRange) {
  FakeMetrics m;
  TOsX x = XAxis(Range(5, 5, true, false), 100, 400, m);
  EXPECT_EQ(x.MinLin, 2.5);
  EXPECT_EQ(x.MaxLin, 7.5);
  EXPECT_EQ(x.Gtr(5), 250);
  TOsX z = XAxis(Range(0, 0, true, false), 100, 400, m);
  EXPECT_EQ(z.MinLin, -1);
  EXPECT_EQ(z.MaxLin, 1);
  // A logarithmic axis has no widening: its rounded ends 2 .. 3 give the span.
  TOsX l = XAxis(Range(2.2, 2.2, false, false, true), 100, 400, m);
  EXPECT_DOUBLE_EQ(l.MinLin, std::log10(2.0));
  EXPECT_DOUBLE_EQ(l.MaxLin, std::log10(3.0));
  EXPECT_EQ(l.Gtr(std::log10(2.2)), 100 + 71);  // 300 * log10(1.1) / log10(1.5) = 70.52
}

TEST(AxisTest, LinearLabelsDropRoundingNoise) {
  FakeMetrics m;
  TOsX x = XAxis(Range(0, 0), 100, 400, m);  // -1 .. 1 in steps of 0.2
  ASSERT_EQ(x.Nd, 11);
  const char* expected[] = {"-1",  "-0.8", "-0.6", "-0.4", "-0.2", "0",
                            "0.2", "0.4",  "0.6",  "0.8",  "1"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(x.LblTxt[size_t(i)], expected[i]) << i;
}

TEST(AxisTest, LogFineRangeWithRoundEnds) {
  TOsX x(Range(1.5, 850, false, true, true));
  x.SetGlimits(100, 900);
  x.FindRange();
  x.MakeLogDivisions();
  EXPECT_DOUBLE_EQ(x.Min, 1);
  EXPECT_DOUBLE_EQ(x.Max, 900);
  EXPECT_EQ(x.Nd, 27);
  const std::vector<QString> expected = {"1",  "2",  "3",   "4",   "6",   "10",  "20",  "30",
                                         "40", "60", "100", "200", "300", "400", "600", "900"};
  EXPECT_EQ(ShownLabels(x), expected);
  // The same after placing labels with texts small enough to fit everywhere.
  FakeMetrics tiny(1, 1);
  TOsX placed = XAxis(Range(1.5, 850, false, true, true), 100, 900, tiny);
  EXPECT_EQ(ShownLabels(placed), expected);
  EXPECT_EQ(placed.Dpos[0], 100);
  EXPECT_EQ(placed.Dpos[26], 900);
}

struct LogEndCase {
  double lo, hi;
  bool fine;
  double min, max;
};

TEST(AxisTest, LogRangeEnds) {
  const LogEndCase cases[] = {
      {1.5, 850, true, 1, 900},
      {1.5, 800, true, 1, 800},  // 800 lies on a division within the tolerance
      {0.03, 0.7, false, 0.01, 1},
      {1, 1000, false, 1, 1000},
      {0.01, 5, true, 0.01, 5},  // an exact negative power of ten starts on itself
      {2.2, 2.2, true, 2, 3},    // equal ends still get a span
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lo << ".." << c.hi << " fine " << c.fine);
    TOsX x(Range(c.lo, c.hi, false, true, c.fine));
    x.FindRange();
    EXPECT_FALSE(x.Stp.Data.Blin);
    EXPECT_NEAR(x.Min, c.min, 1e-12 * c.min);
    EXPECT_NEAR(x.Max, c.max, 1e-12 * c.max);
  }
}

TEST(AxisTest, LogDecadesHaveDivisionsOnDecadesOnly) {
  FakeMetrics m;
  TOsX x = XAxis(Range(0.03, 0.7, false, true, false), 100, 400, m);
  ASSERT_EQ(x.Nd, 3);
  EXPECT_EQ(x.Dpos[0], 100);
  EXPECT_EQ(x.Dpos[1], 250);
  EXPECT_EQ(x.Dpos[2], 400);
  EXPECT_EQ(x.LblTxt[1], "0.1");
  EXPECT_EQ(x.LblTxt[2], "1");
}

TEST(AxisTest, LogRangeWithTooManyCandidatesStopsAtOneHundredDivisions) {
  FakeMetrics m(1, 1);
  TOsX x = XAxis(Range(1e-10, 1e10, false, true, true), 0, 2000, m);
  EXPECT_DOUBLE_EQ(x.MinLin, -10);
  EXPECT_DOUBLE_EQ(x.MaxLin, 10);
  ASSERT_EQ(x.Nd, 100);
  // 99 candidates from 2e-10 on: eleven decades of nine, ending at 10; no end division added.
  EXPECT_EQ(x.LblTxt[99], "10");
  EXPECT_DOUBLE_EQ(x.Dval[99], 10);
  EXPECT_TRUE(x.LblShow[99]);
  EXPECT_EQ(x.Dval[1], 2);  // inner divisions carry their multiplier
}

TEST(AxisTest, LogRequestWithNonPositiveEndTurnsLinearForGood) {
  FakeMetrics m;
  TOsX x(Range(-1, 10, false));
  x.FindParams(TRectI{100, 20, 400, 300}, m);
  EXPECT_TRUE(x.Stp.Data.Blin);
  EXPECT_EQ(x.D, 2);
  TOsData d = x.Stp.Data;
  d.MinAsk = 1;
  x.Stp.Data.MinAsk = 1;
  x.FindParams(TRectI{100, 20, 400, 300}, m);
  EXPECT_TRUE(x.Stp.Data.Blin);
  // A reversed request reaching zero or below (10 .. -5) is ordered and also turns linear.
  TOsX r(Range(10, -5, false));
  r.FindParams(TRectI{100, 20, 400, 300}, m);
  EXPECT_TRUE(r.Stp.Data.Blin);
  EXPECT_EQ(r.Min, -6);
  EXPECT_EQ(r.Max, 10);
  // A reversed positive request stays logarithmic.
  TOsX p(Range(100, 1, false));
  p.FindParams(TRectI{100, 20, 400, 300}, m);
  EXPECT_FALSE(p.Stp.Data.Blin);
  EXPECT_DOUBLE_EQ(p.Min, 1);
  EXPECT_DOUBLE_EQ(p.Max, 100);
}

TEST(AxisTest, GtrRoundsHalfToEvenAndKeepsBadValuesOutside) {
  TOsX x(Range(0, 10));
  x.SetGlimits(0, 10);
  x.MinLin = 0;
  x.MaxLin = 10;
  x.FindGtr();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double v;
    int32_t px;
  } cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-1.5, -2},
      {1e300, 2147483647},
      {-1e300, -2147483647},
      {std::nan(""), -2147483647},
      {-inf, -2147483647},
      {inf, 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(x.Gtr(c.v), c.px) << c.v;
}

TEST(AxisTest, ASpanOfNoPixelsMapsEveryValueToItsStart) {
  FakeMetrics m;
  TOsX x = XAxis(Range(0, 10), 150, 150, m);
  for (double v : {-5.0, 0.0, 3.0, 10.0, 1e20}) EXPECT_EQ(x.Gtr(v), 150) << v;
  EXPECT_EQ(x.Gtr(std::nan("")), -2147483647);
}

// Horizontal axis 0..10 over 100..400: divisions every 30 pixels.
std::vector<int> ShownIndexes(const TOs& a) {
  std::vector<int> out;
  for (int i = 0; i < a.Nd; ++i)
    if (a.LblShow[size_t(i)]) out.push_back(i);
  return out;
}

TEST(AxisTest, HorizontalLabelsKeepFivePixelsApart) {
  struct Case {
    const char* name;
    QMap<QString, int32_t> widths;
    std::vector<int> shown;
  };
  const Case cases[] = {
      // Width 24: a label ends at x + 29, one pixel short of the next at x + 30.
      {"fit",
       {{"0", 24},
        {"1", 24},
        {"2", 24},
        {"3", 24},
        {"4", 24},
        {"5", 24},
        {"6", 24},
        {"7", 24},
        {"8", 24},
        {"9", 24},
        {"10", 24}},
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      // Width 25: every second label; 9 is too close to the last one.
      {"every second",
       {{"0", 25},
        {"1", 25},
        {"2", 25},
        {"3", 25},
        {"4", 25},
        {"5", 25},
        {"6", 25},
        {"7", 25},
        {"8", 25},
        {"9", 25},
        {"10", 25}},
       {0, 2, 4, 6, 8, 10}},
      // A wide first label hides label 1; label 2 is compared with the hidden label 1 only,
      // although it starts where the first label's gap ends.
      {"previous only",
       {{"0", 70}, {"1", 20}, {"2", 20}, {"3", 20}},
       {0, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMetrics m(2, 10);
    m.widths_ = c.widths;
    TOsX x = XAxis(Range(0, 10), 100, 400, m);
    EXPECT_EQ(ShownIndexes(x), c.shown);
    EXPECT_EQ(x.LblPos[1].y, 300 + 5);  // top half a text height under the chart bottom
  }
}

TEST(AxisTest, HorizontalLabelsAreCentredOnTheirDivision) {
  FakeMetrics m(6, 10);
  TOsX x = XAxis(Range(0, 10), 100, 400, m);
  EXPECT_EQ(x.LblPos[0], (TPt{100 - 3, 305}));
  EXPECT_EQ(x.LblPos[10], (TPt{400 - 6, 305}));
}

TEST(AxisTest, VerticalLabelsKeepApartFromPreviousAndLast) {
  struct Case {
    int32_t height;
    std::vector<int> shown;
  };
  const Case cases[] = {
      {29, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {30, {0, 2, 4, 6, 8, 10}},
      {8, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    FakeMetrics m(6, c.height);
    TOsY y(Range(0, 10));
    y.FindParams(TRectI{50, 100, 400, 400}, m);
    ASSERT_EQ(y.Nd, 11);
    EXPECT_EQ(y.Dpos[3], 400 - 90);
    EXPECT_EQ(ShownIndexes(y), c.shown);
    EXPECT_EQ(y.LblPos[3].y, 310 - c.height / 2);
  }
}

TEST(AxisTest, VerticalLabelsAreRightAlignedLeftOfTheChart) {
  FakeMetrics m(6, 10);
  m.widths_["10"] = 60;
  TOsY y(Range(0, 10));
  y.FindParams(TRectI{50, 100, 400, 400}, m);
  EXPECT_EQ(y.LblPos[1].x, 50 - 5 - 6);
  EXPECT_EQ(y.LblPos[10].x, 0);  // never left of pixel 0
}

TEST(AxisTest, LogLabelPlacementOnlyHidesChosenLabels) {
  // Wide labels: every chosen label is hidden by its neighbours' spacing, and the hidden
  // multipliers 5, 7, 8, 9 never come back even when their neighbours are hidden.
  FakeMetrics m(40, 10);
  TOsX x = XAxis(Range(1.5, 850, false, true, true), 100, 900, m);
  for (int i = 0; i < x.Nd; ++i) {
    if (x.LblShow[size_t(i)]) {
      EXPECT_TRUE(x.LblChosen[size_t(i)]) << i;
    }
  }
  EXPECT_TRUE(x.LblShow[0]);
  EXPECT_TRUE(x.LblShow[26]);
}

TEST(AxisTest, TicksAndGridLines) {
  FakeMetrics m;
  TOsData d = Range(0, 10);
  TOsX x = XAxis(d, 100, 400, m);  // chart top 20, bottom 300
  std::vector<TSegment> t = x.Ticks();
  ASSERT_EQ(t.size(), 11u);
  EXPECT_EQ(t[1], (TSegment{130, 300, 130, 19}));
  d.Bshort = true;
  TOsX xs = XAxis(d, 100, 400, m);
  t = xs.Ticks();
  ASSERT_EQ(t.size(), 22u);
  EXPECT_EQ(t[2], (TSegment{130, 300, 130, 294}));
  EXPECT_EQ(t[3], (TSegment{130, 20, 130, 26}));
  EXPECT_TRUE(xs.TicksInFrameColor());

  TOsY y(Range(0, 10));
  y.FindParams(TRectI{50, 100, 400, 400}, m);
  t = y.Ticks();
  EXPECT_EQ(t[1], (TSegment{50, 370, 400, 370}));
  TOsData ds = Range(0, 10);
  ds.Bshort = true;
  TOsY ys(ds);
  ys.FindParams(TRectI{50, 100, 400, 400}, m);
  t = ys.Ticks();
  EXPECT_EQ(t[2], (TSegment{50, 370, 55, 370}));
  EXPECT_EQ(t[3], (TSegment{400, 370, 395, 370}));
}

TEST(AxisTest, TitlesFromTheSettingsAndTheirPositions) {
  struct Case {
    const char* yMeno;
    const char* yJedn;
    const char* xMeno;
    const char* xJedn;
    const char* xTitle;
    const char* yTitle;
  };
  const Case cases[] = {
      {"Pinc", "W", "Time", "s", "Pinc vs Time (s)", "W"},
      {"Rloss", "", "Sample", "", "Rloss vs Sample", "Rloss"},
  };
  for (const auto& c : cases) {
    TOsData dx = Range(0, 10);
    dx.Meno = c.xMeno;
    dx.Jedn = c.xJedn;
    TOsData dy = Range(0, 10);
    dy.Meno = c.yMeno;
    dy.Jedn = c.yJedn;
    TOsX x(dx);
    TOsY y(dy);
    MakeRectAxisTitles(x, y);
    EXPECT_EQ(x.Title, c.xTitle);
    EXPECT_EQ(y.Title, c.yTitle);
  }
  FakeMetrics m(6, 10);
  TOsData dx = Range(0, 10);
  TOsX x(dx);
  TOsY y(dx);
  x.Title = "abcd";        // 24 wide
  y.Title = "abcdefghij";  // 60 wide
  x.FindParams(TRectI{50, 100, 400, 300}, m);
  y.FindParams(TRectI{50, 100, 400, 300}, m);
  x.PlaceTitle(m);
  y.PlaceTitle(m);
  EXPECT_EQ(x.NamePos, (TPt{225 - 12, 300 + 5 + 10 + 2}));
  EXPECT_EQ(y.NamePos, (TPt{1, 100 - 15 - 2}));
  const std::vector<TPlacedText> labels = x.Labels();
  EXPECT_EQ(labels.back(), (TPlacedText{"abcd", x.NamePos}));
}

TEST(AxisTest, UnitsAndBoundsText) {
  TOsData d = Range(2.5, 1234.5);
  TOsX x(d);
  EXPECT_EQ(x.GetBoundsStr(), "2.5E+0 to 1.2345E+3");
  TUnits u;
  u.Pocet = 2;
  u.Nazov = {"W", "mW", "", ""};
  u.Prevod = {1, 1000, 1, 1};
  x.TreatUnit(1, u);
  EXPECT_EQ(x.Stp.Data.Nunit, 1);
  EXPECT_EQ(x.Stp.Data.Nasob, 1000);
  EXPECT_EQ(x.Stp.Data.Jedn, "mW");
  x.TreatUnit(3, u);  // beyond the table: its last unit
  EXPECT_EQ(x.Stp.Data.Jedn, "mW");
}

TEST(AxisTest, PixelBuffers) {
  TOsX x(Range(0, 1));
  x.g[0] = {1, 2, 3};
  x.FillGrBuf();
  EXPECT_EQ(x.g0[0], (std::vector<int32_t>{1, 2, 3}));
  x.ClrGrBuf();
  EXPECT_TRUE(x.g0[0].empty());
  EXPECT_EQ(x.g[0].size(), 3u);
}

TEST(AxisSetupTest, KeysRoundTripAndReadRules) {
  TOsSetup s;
  s.Data = Range(-2.5, 1234.5, false, false, true);
  s.Data.MinDflt = 1e-3;
  s.Data.MaxDflt = 7;
  s.Data.Meno = "Pinc";
  s.Data.Jedn = "dBm";
  s.Data.Nunit = 2;
  s.Data.UseDflt = true;
  s.Data.Bshort = true;
  IniFile ini;
  s.WriteStp(ini, "Disp DepotY_1");
  EXPECT_EQ(ini.ReadString("Disp DepotY_1", "MaxAsk", ""), "1.2345E+3");
  TOsSetup r;
  r.ReadStp(ini, "Disp DepotY_1");
  TOsData expected = s.Data;
  expected.LastMin = -2.5;
  expected.LastMax = 1234.5;
  EXPECT_EQ(r.Data, expected);

  IniFile bad;
  bad.SetText("[A]\r\nMinAsk=2e40\r\nMaxAsk=abc\r\nMinDflt=-1E+39\r\nNunit=7\r\n");
  TOsSetup b;
  b.Data.MaxAsk = 42;
  b.ReadStp(bad, "A");
  EXPECT_EQ(b.Data.MinAsk, 1e38);
  EXPECT_EQ(b.Data.MaxAsk, 42);
  EXPECT_EQ(b.Data.MinDflt, -1e38);
  EXPECT_EQ(b.Data.Nunit, 3);
  EXPECT_EQ(b.Data.LastMin, 1e38);
  EXPECT_EQ(b.Data.LastMax, 42);
}

TEST(LimLineTest, SettingsAndLine) {
  TLimLine l;
  EXPECT_EQ(l.Pen, (TPen{0xFF00FF, psDot, 1, pmCopy}));
  EXPECT_EQ(l.Value, 0.15);
  const struct {
    int32_t st;
    int32_t expected;
  } styles[] = {{7, psSolid}, {0, psSolid}, {3, psDashDot}, {5, psClear}, {-2, psSolid}};
  for (const auto& c : styles) {
    l.Nastav(TLimData{0.5, c.st, 2, 0x00FF00});
    EXPECT_EQ(l.Pen.Style, c.expected) << c.st;
  }
  FakeMetrics m;
  TOsY y(Range(0, 10));
  y.FindParams(TRectI{50, 100, 400, 400}, m);
  l.Nastav(TLimData{2.5, psDash, 1, 0});
  EXPECT_EQ(l.Segment(y, 50, 400), (TSegment{50, 325, 401, 325}));
  l.Nastav(TLimData{2.5, psClear, 1, 0});
  EXPECT_FALSE(l.Segment(y, 50, 400).has_value());

  TOsY ly(Range(1, 100, false));
  ly.FindParams(TRectI{50, 100, 400, 300}, m);
  l.Nastav(TLimData{10, psSolid, 1, 0});
  EXPECT_EQ(l.Segment(ly, 50, 400)->y1, 200);
  l.Nastav(TLimData{0, psSolid, 1, 0});
  EXPECT_EQ(l.Segment(ly, 50, 400)->y1, -2147483647);
}

TEST(RangeFinderTest, StepCandidates) {
  const struct {
    double lo, hi;
    int n;
    double coarse, fine;
  } cases[] = {
      {0, 10, 10, 2, 1},     // s = 1.05
      {0, 10, 4, 5, 2},      // s = 2.625
      {0, 9.4, 10, 1, 0.5},  // s = 0.987: leading digit 9 of 0.1
      {0, 1000, 2, 1000, 500},
  };
  for (const auto& c : cases) {
    const TLinSteps s = FindLinSteps(c.lo, c.hi, c.n);
    EXPECT_DOUBLE_EQ(s.coarse, c.coarse) << c.lo << ".." << c.hi;
    EXPECT_DOUBLE_EQ(s.fine, c.fine) << c.lo << ".." << c.hi;
  }
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// A rounded start that is itself a division (0.5, 600) gets exactly one division there, even
// where the division's value k + log10(m) lies one bit above the start's logarithm.
TEST(AxisTest, LogStartOnADivisionIsNotDoubled) {
  struct Case {
    double lo, hi;
    int32_t pixels;
    std::vector<QString> labels;  // the texts of every division, in order
  };
  const Case cases[] = {
      {0.5, 3, 300, {"0.5", "0.6", "0.7", "0.8", "0.9", "1", "2", "3"}},
      {600, 900, 300, {"600", "700", "800", "900"}},
      {2, 5, 300, {"2", "3", "4", "5"}},
  };
  FakeMetrics tiny(1, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lo << ".." << c.hi);
    TOsX x = XAxis(Range(c.lo, c.hi, false, true, true), 100, 100 + c.pixels, tiny);
    ASSERT_EQ(x.Nd, int32_t(c.labels.size()));
    for (int32_t i = 0; i < x.Nd; ++i) {
      EXPECT_EQ(x.LblTxt[size_t(i)], c.labels[size_t(i)]) << i;
      if (i > 0) {
        EXPECT_GT(x.Dpos[size_t(i)], x.Dpos[size_t(i - 1)]) << i;
      }
    }
    EXPECT_EQ(x.Dpos[0], 100);
    EXPECT_EQ(x.Dpos[size_t(x.Nd - 1)], 100 + c.pixels);
  }
}

}  // namespace
}  // namespace qz
