#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>

#include "common/sampleresult.h"
#include "display/disptypes.h"

namespace qz {
namespace {

// The factor of a named unit of a type.
double Factor(int32_t t, const QString& name) {
  const TUnits& u = DispUnits(t);
  for (int32_t i = 0; i < u.Pocet; ++i)
    if (u.Nazov[size_t(i)] == name) return u.Prevod[size_t(i)];
  ADD_FAILURE() << "no unit " << name.toStdString();
  return 1.0;
}

TOsData AxisIn(int32_t t, const QString& unit) {
  TOsData y = DefaultOsY(t);
  y.Nasob = Factor(t, unit);
  ModifDefaultY(t, y);
  return y;
}

TEST(DispTypesTest, ElevenTypesOfferedOthersReadAsMag) {
  EXPECT_EQ(OfferedTypes().size(), 11u);
  for (int32_t t : {8, 9, 12, 13, 14, 16, 17, 18, 19, -1, 20}) {
    EXPECT_FALSE(IsOfferedType(t)) << t;
    EXPECT_EQ(OfferedTypeOrFirst(t), diMag) << t;
  }
  EXPECT_EQ(OfferedTypeOrFirst(diFreq), diFreq);
  EXPECT_EQ(DispTypeInfo(diPower).traceCount, 3);
  EXPECT_EQ(DispTypeInfo(diLogPower).titles[1], "Prefl");
  EXPECT_EQ(DispTypeInfo(diZSmith).defZoom, 3);
  EXPECT_EQ(DispTypeInfo(diOven).menu, "&Oven");
}

TEST(DispTypesTest, HorizontalTypeFollowsTheDisplayType) {
  EXPECT_EQ(XTypeFor(diMag, kXReS11), kXPoints);
  EXPECT_EQ(XTypeFor(diZSmith, kXPoints), kXReS11);
  EXPECT_EQ(XTypeFor(diOven, 7), kXReS11);
  EXPECT_EQ(XTypeFor(diFreq, 0), kXPoints);
  const TOsData x = DefaultOsX(kXPoints);
  EXPECT_EQ(x.Meno, "Points");
  EXPECT_EQ(x.MaxDflt, 100.0);
  EXPECT_EQ(x.MaxAsk, 10.0);
}

TEST(DispTypesTest, DefaultRangeFollowsTheUnit) {
  struct Case {
    int32_t t;
    const char* unit;
    double lo, hi;
  } cases[] = {
      {diPower, "kW", 0, 10},        {diPower, "W", 0, 10000},    {diPower, "mW", 0, 1e7},
      {diLogPower, "dBkW", -30, 10}, {diLogPower, "dBm", 30, 70}, {diLogPower, "dBW", 0, 40},
      {diMag, "%", 0, 100},          {diFreq, "MHz", 500, 2500},  {diLogMag, "dB", -80, 0},
  };
  for (const auto& c : cases) {
    const TOsData y = AxisIn(c.t, c.unit);
    EXPECT_NEAR(y.MinDflt, c.lo, 1e-9) << c.t << " " << c.unit;
    EXPECT_NEAR(y.MaxDflt, c.hi, 1e-6) << c.t << " " << c.unit;
  }
  // Repeated unit changes start from the table each time.
  TOsData y = AxisIn(diLogPower, "dBkW");
  y.Nasob = 1.0;
  ModifDefaultY(diLogPower, y);
  EXPECT_NEAR(y.MinDflt, 30, 1e-9);
  EXPECT_NEAR(y.MaxDflt, 70, 1e-9);
}

TEST(DispTypesTest, DefaultUnitsAndMenuTexts) {
  EXPECT_EQ(DefaultOsY(diPower).Jedn, "W");
  EXPECT_EQ(DefaultOsY(diLogPower).Jedn, "dBkW");
  EXPECT_EQ(DefaultOsY(diMag).Jedn, "");
  EXPECT_EQ(DispUnits(diVSWR).Pocet, 1);
  EXPECT_EQ(UnitEntryText(""), "None");
  EXPECT_EQ(UnitEntryText("kW"), "kW");
  EXPECT_EQ(UnitsMenuText("mU"), "&Units");
  EXPECT_EQ(UnitsMenuText("(ref)"), "&Units  (ref)");
}

TEST(DispTypesTest, ConvertGivesEachTypesValues) {
  const THresults r = testing::SampleResult();
  struct Case {
    int32_t t;
    bool load;
    double k;
    std::array<double, 3> want;
    int32_t n;
  } cases[] = {
      {diMag, false, 1, {0.25}, 1},
      {diMag, true, 100, {75}, 1},
      {diLogMag, false, 1, {20 * std::log10(0.25)}, 1},
      {diVSWR, false, 1, {1.25 / 0.75}, 1},
      {diPhase, true, 1, {-60}, 1},
      {diPower, false, 0.001, {1, 0.0625, 0.9375}, 3},
      // 1000 W is 60 dBm, 30 dBW, 0 dBkW.
      {diLogPower, false, 1, {60, 10 * std::log10(62500), 10 * std::log10(937500)}, 3},
      {diLogPower, false, 0.001, {30, 0, 0}, 1},
      {diLogPower, false, 1e-6, {0, 0, 0}, 1},
      {diFreq, false, 1e-6, {2450}, 1},
  };
  for (const auto& c : cases) {
    std::array<double, 3> v{};
    const int32_t n = Convert(c.t, r, v, c.load, c.k);
    EXPECT_EQ(n, c.t == diPower || c.t == diLogPower ? 3 : 1) << c.t;
    for (int32_t j = 0; j < c.n; ++j) EXPECT_NEAR(v[size_t(j)], c.want[size_t(j)], 1e-9) << c.t;
  }
  // Power in kW shows 6000 W as 6.
  THresults p = r;
  p.Pinc = 6000;
  std::array<double, 3> v{};
  Convert(diPower, p, v, false, Factor(diPower, "kW"));
  EXPECT_NEAR(v[0], 6.0, 1e-12);
}

TEST(DispTypesTest, VswrChartPointIsTurnedByMinus90Degrees) {
  struct Case {
    complex rho;
    double x, y;
  } cases[] = {{complex(-1, 0), 0, 1}, {complex(0, 1), 1, 0}, {complex(1, 0), 0, -1}};
  for (const auto& c : cases) {
    THresults r;
    r.Rho_m = c.rho;
    TTraces traces;
    traces.Pridaj("Rho", nullptr, kDisplayTraces);
    std::array<double, 3> v{};
    const int32_t n = Convert(diOven, r, v, false, 1.0);
    AddConverted(traces, diOven, 7, v, n);
    ASSERT_EQ(traces.Trace(0)->GetCount(), 1);
    EXPECT_DOUBLE_EQ(*traces.Trace(0)->GetX(0) + 0.0, c.x);
    EXPECT_DOUBLE_EQ(*traces.Trace(0)->GetY(0) + 0.0, c.y);
  }
  // Polar keeps the plane as it is; the scalar types use the point number.
  THresults r;
  r.Rho_m = complex(0.3, -0.4);
  TTraces traces;
  traces.Pridaj("Rho", nullptr, kDisplayTraces);
  std::array<double, 3> v{};
  AddConverted(traces, diPolar, 7, v, Convert(diPolar, r, v, false, 1.0));
  EXPECT_DOUBLE_EQ(*traces.Trace(0)->GetX(0), 0.3);
  EXPECT_DOUBLE_EQ(*traces.Trace(0)->GetY(0), -0.4);
}

TEST(DispTypesTest, SharedLimitOfVswr2OnEveryReflectionType) {
  const double m = MagFromLimit(diVSWR, 2.0, 1.0);
  EXPECT_NEAR(m, 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(LimitFromMag(diMag, m, 1.0), 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(LimitFromMag(diLogMag, m, 1.0), -9.54, 0.005);
  EXPECT_NEAR(LimitFromMag(diPolar, m, 1.0), 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(LimitFromMag(diZSmith, m, 1.0), 1.0 / 3.0, 1e-12);
  EXPECT_NEAR(LimitFromMag(diOven, m, 1.0), 2.0, 1e-12);
  EXPECT_NEAR(LimitFromMag(diMag, m, 100.0), 100.0 / 3.0, 1e-10);
}

TEST(DispTypesTest, SharedLimitConversionsStayFiniteAtTheEdges) {
  // A VSWR limit of 1 is no reflection: -160 dB, not log10 of 0.
  EXPECT_EQ(MagFromLimit(diVSWR, 1.0, 1.0), 0.0);
  EXPECT_EQ(LimitFromMag(diLogMag, 0.0, 1.0), -160.0);
  // An entered VSWR below 1 counts as 1.
  EXPECT_EQ(MagFromLimit(diOven, 0.5, 1.0), 0.0);
  // A magnitude of 1 gives the VSWR of total reflection instead of a division by zero.
  EXPECT_EQ(LimitFromMag(diVSWR, 1.0, 1.0), 9999.999);
  EXPECT_TRUE(std::isfinite(LimitFromMag(diOven, 1.0, 1.0)));
  // Negative values never reach the other types.
  EXPECT_EQ(MagFromLimit(diMag, -0.2, 1.0), 0.0);
  EXPECT_EQ(MagFromLimit(diPolar, -1.0, 1.0), 0.0);
  EXPECT_EQ(LimitFromMag(diPolar, -0.5, 1.0), 0.0);
  EXPECT_NEAR(MagFromLimit(diLogMag, -20.0, 1.0), 0.1, 1e-12);
  EXPECT_NEAR(MagFromLimit(diMag, 50.0, 100.0), 0.5, 1e-12);
}

TEST(DispTypesTest, Captions) {
  struct Case {
    int32_t t;
    bool load, query, active;
    const char* want;
  } cases[] = {
      {diMag, false, true, false, "Mag - Input"},
      {diMag, true, true, true, "Mag - Load"},
      {diMag, false, false, false, "Mag - Input (Bi not assigned)"},
      {diMag, false, true, true, "Mag - Input (Transformed)"},
      {diZSmith, false, true, false, "Z-Smith - Input"},
      {diPower, true, false, true, "Power"},
      {diFreq, false, true, false, "Freq"},
  };
  for (const auto& c : cases) EXPECT_EQ(DisplayCaption(c.t, c.load, c.query, c.active), c.want);
  EXPECT_EQ(LimitValueTitle(diOven, ""), "Limit value - VSWR");
  EXPECT_EQ(LimitValueTitle(diPower, "(x)"), "Limit value - Power (x)");
  EXPECT_EQ(LimitValueTitle(diPower, "kW"), "Limit value - Power");
}

TEST(DispTypesTest, ClockTextAndLegendGeometry) {
  EXPECT_EQ(ClockText(QDateTime(QDate(2025, 12, 9), QTime(5, 6, 59))), "09-Dec-2025 05:06");
  const TLegendGeometry g = LegendGeometry(3);
  EXPECT_EQ(g.rows, 3);
  EXPECT_EQ(g.rowY[0], 12);
  EXPECT_EQ(g.rowY[1], 27);
  EXPECT_EQ(g.rowY[2], 42);
  EXPECT_EQ(g.height, 54);
  EXPECT_EQ(LegendGeometry(1).height, 24);
}

}  // namespace
}  // namespace qz
