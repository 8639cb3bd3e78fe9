// The numeric results texts: power rows in each unit, reflection formats, the small texts,
// lamps, captions, the power menu, and the view of a whole refresh.

#include <gtest/gtest.h>

#include <cmath>

#include "common/sampleresult.h"
#include "results/restexts.h"
#include "results/resview.h"

namespace qz {
namespace {

struct PowerCase {
  TPunit unit;
  double watts;
  double pinc;
  const char* value;
  const char* unitText;
};

TEST(PowerToLabels, EveryUnitAndRange) {
  const PowerCase cases[] = {
      // Watts, autoranged to four significant digits.
      {puWatts, 1000.0, 1000.0, "1", "kW"},
      {puWatts, 999.96, 1000.0, "1000", "W"},
      {puWatts, 2e9, 2e9, "oo", "  "},
      {puWatts, 1e9, 1e9, "oo", "  "},
      {puWatts, 5e-10, 1.0, "0", "nW"},
      {puWatts, 0.0, 0.0, "0", "nW"},
      {puWatts, 1234.6, 1.0, "1.235", "kW"},
      // An exact tie is rounded to the even digit.
      {puWatts, 1234.5, 1.0, "1.234", "kW"},
      {puWatts, 0.5, 1.0, "500", "mW"},
      {puWatts, -0.5, 1.0, "-500", "mW"},
      {puWatts, 2.5e-5, 1.0, "25", "uW"},
      {puWatts, 3.3e-8, 1.0, "33", "nW"},
      {puWatts, 12.345678, 1.0, "12.35", "W"},
      {puWatts, 999999999.0, 1.0, "1000000", "kW"},
      // Decibels of milliwatts and of watts.
      {puDbm, 1.0, 1.0, "  30.00", "dBm"},
      {puDbm, 0.0, 1.0, "-oo", "dBm"},
      {puDbw, 1.0, 1.0, "   0.00", "dBW"},
      {puDbw, 2e16, 1.0, "+oo", "dBW"},
      // Relative to the incident power.
      {puDbRel, 0.1, 1.0, " -10.00", "dB"},
      {puDbRel, 0.0, 1.0, "-oo", "dB"},
      {puDbRel, 0.1, 0.0, "Error", "dB"},
      {puDbRel, 0.1, NAN, "Error", "dB"},
      {puPercent, 0.25, 1.0, "   25.0", "%"},
      {puPercent, 0.25, 0.0, "Error", "%"},
      {puPercent, 1.0, 1e-320, "Error", "%"},
      // 100 * P / Pinc in that order: 5.5 / 10 is 0.55 (just above the tie), while
      // 100 * (0.055 / 10) falls just below it.
      {puPercent, 0.055, 10.0, "    0.6", "%"},
      {puPercent, 0.175, 10.0, "    1.8", "%"},
  };
  for (const PowerCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "unit " << c.unit << " P " << c.watts);
    const TValueUnit t = PowerToLabels(c.unit, c.watts, c.pinc);
    EXPECT_EQ(t.value, QString::fromLatin1(c.value));
    EXPECT_EQ(t.unit, QString::fromLatin1(c.unitText));
  }
}

TEST(PowerToLabels, ClearedRowsKeepTheirUnitText) {
  const char* units[] = {"W", "dBm", "dBW", "dB", "%"};
  for (int u = 0; u < kPunitCount; ++u) {
    EXPECT_EQ(ClearPowerLabels(u),
              (TValueUnit{QStringLiteral("  "), QString::fromLatin1(units[u])}));
  }
}

TEST(ConvertToStr, EveryFormat) {
  struct Case {
    TRunit f;
    double m;
    const char* text;
  } cases[] = {
      {ruMag, 0.5, "  0.500"},     {ruMag, 0.0, "  0.000"},   {ruDb, 0.0, "-oo"},
      {ruDb, 0.1, " -20.00"},      {ruDb, 1e-8, "-oo"},       {ruSwr, 1.00005, "+oo"},
      {ruSwr, 0.5, "   3.00"},     {ruSwr, 0.99989, "+oo"},   {ruSwr, 0.0, "   1.00"},
      {ruPercent, 0.5, "  50.00"}, {ruMilli, 0.5, "  500.0"}, {ruMilli, 0.0123, "   12.3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "format " << c.f << " m " << c.m);
    EXPECT_EQ(ConvertToStr(c.f, c.m), QString::fromLatin1(c.text));
  }
}

TEST(ResultTexts, PhaseFrequencyTemperatureErrorByte) {
  EXPECT_EQ(PhaseText(-12.34), QStringLiteral(" -12.3"));
  EXPECT_EQ(PhaseText(179.96), QStringLiteral(" 180.0"));
  EXPECT_EQ(FreqText(2.45e9), QStringLiteral("2450.00"));
  // 915.125 is an exact tie in binary: it goes to the even digit.
  EXPECT_EQ(FreqText(915.125e6), QStringLiteral(" 915.12"));
  EXPECT_EQ(FreqText(915.126e6), QStringLiteral(" 915.13"));
  EXPECT_EQ(TempText(0, 25.0), QStringLiteral("25.0"));
  EXPECT_EQ(TempText(1, 25.0), QStringLiteral("77.0"));
  EXPECT_EQ(TempText(1, -40.0), QStringLiteral("-40.0"));
  EXPECT_EQ(ErrByteText(5), QStringLiteral("005=00000101"));
  EXPECT_EQ(ErrByteText(0), QStringLiteral("000=00000000"));
  EXPECT_EQ(ErrByteText(255), QStringLiteral("255=11111111"));
}

TEST(ResultLamps, StatesInOrderOfPrecedence) {
  THresults r;
  EXPECT_EQ(FreqLamp(nullptr, true), (TLamp{clBtnFace, "No data"}));
  EXPECT_EQ(FreqLamp(&r, true), (TLamp{clLime, "Valid"}));
  r.FreSubst = true;
  EXPECT_EQ(FreqLamp(&r, true), (TLamp{clRed, "Substit"}));
  EXPECT_EQ(FreqLamp(&r, false), (TLamp{clBlue, "Cnt OFF"}));
  EXPECT_EQ(SmallFreqColor(r, true), clRed);
  EXPECT_EQ(SmallFreqColor(r, false), clBlue);
  r.FreSubst = false;
  EXPECT_EQ(SmallFreqColor(r, true), clBlack);

  EXPECT_EQ(PowerLamp(nullptr), (TLamp{clBtnFace, "No data"}));
  EXPECT_EQ(SmallPowerColor(nullptr), clBlack);
  EXPECT_EQ(PowerLamp(&r), (TLamp{clLime, "Normal"}));
  r.Oflow = true;
  EXPECT_EQ(PowerLamp(&r), (TLamp{clRed, "OverRng"}));
  EXPECT_EQ(SmallPowerColor(&r), clRed);
  r.LowSignal = true;  // low signal wins over overrange
  EXPECT_EQ(PowerLamp(&r), (TLamp{clBlue, "Low"}));
  EXPECT_EQ(SmallPowerColor(&r), clBlue);

  EXPECT_EQ(TempLamp(nullptr), (TLamp{clBtnFace, "No data"}));
  EXPECT_EQ(TempLamp(&r), (TLamp{clLime, "Normal"}));
  r.TooHot = true;
  EXPECT_EQ(TempLamp(&r), (TLamp{clRed, "Too hot"}));
  r.TooCold = true;
  EXPECT_EQ(TempLamp(&r), (TLamp{clBlue, "Too cold"}));

  EXPECT_EQ(CounterLamp(true), (TLamp{clBtnFace, "Cnt ON"}));
  EXPECT_EQ(CounterLamp(false), (TLamp{clBlue, "Cnt OFF"}));
}

TEST(RflCaptionText, InputLoadAndTransform) {
  EXPECT_EQ(RflCaptionText(false, false, true), QStringLiteral("Reflection Coefficient: Input"));
  EXPECT_EQ(RflCaptionText(false, true, true),
            QStringLiteral("Reflection Coefficient: Input (Transformed)"));
  EXPECT_EQ(RflCaptionText(true, true, true), QStringLiteral("Reflection Coefficient: Load"));
  EXPECT_EQ(RflCaptionText(false, false, false), QStringLiteral("Input"));
  EXPECT_EQ(RflCaptionText(false, true, false), QStringLiteral("Input (Transformed)"));
  EXPECT_EQ(RflCaptionText(true, false, false), QStringLiteral("Load"));
}

TEST(PowMenuState, RelativeUnitsOnlyForReflectedAndAbsorbed) {
  const TPowMenuState inc = PowMenuState(Postup, puDbm);
  EXPECT_EQ(inc.enabled, (std::array<bool, kPunitCount>{true, true, true, false, false}));
  EXPECT_EQ(inc.checked, puDbm);
  for (TKtoryVykon row : {Odraz, Absorb}) {
    const TPowMenuState st = PowMenuState(row, puPercent);
    EXPECT_EQ(st.enabled, (std::array<bool, kPunitCount>{true, true, true, true, true}));
    EXPECT_EQ(st.checked, puPercent);
  }
  // The table of captions, exactly as the menu shows them.
  EXPECT_STREQ(kPowUnitCaptions[4], "%  of &Pinc");
  EXPECT_STREQ(kRflFormatNames[ruSwr], "SWR");
}

THresults SampleResult() { return testing::SampleResult(); }

TEST(TResView, NoResultShowsNoDataAndClearedRows) {
  TResView v;
  v.PowUnits = {puWatts, puDbRel, puDbm};
  v.Napln(nullptr);
  EXPECT_TRUE(v.Reflection().mag.isEmpty());
  EXPECT_TRUE(v.Reflection().phase.isEmpty());
  const TPowerView p = v.Power();
  EXPECT_EQ(p.lamp.text, QStringLiteral("No data"));
  EXPECT_EQ(p.rows[0], (TValueUnit{"  ", "W"}));
  EXPECT_EQ(p.rows[1], (TValueUnit{"  ", "dB"}));
  EXPECT_EQ(p.rows[2], (TValueUnit{"  ", "dBm"}));
  const TFreqView f = v.Frequency(true);
  EXPECT_FALSE(f.value.has_value());  // the number shown stays
  EXPECT_FALSE(f.color.has_value());
  EXPECT_EQ(f.lamp.text, QStringLiteral("No data"));
  const TTempView t = v.Temperature();
  EXPECT_FALSE(t.value.has_value());
  EXPECT_EQ(t.lamp.text, QStringLiteral("No data"));
  EXPECT_EQ(v.ErrorByte(), QStringLiteral("No data"));
}

TEST(TResView, ShowsInputOrLoadAndEveryRow) {
  TResView v;
  const THresults r = SampleResult();
  v.Napln(&r);
  EXPECT_EQ(v.Reflection().mag, QStringLiteral("  0.250"));
  EXPECT_EQ(v.Reflection().phase, QStringLiteral("  30.0"));
  v.ShowLoad = true;
  EXPECT_EQ(v.Reflection().mag, QStringLiteral("  0.750"));
  EXPECT_EQ(v.Reflection().phase, QStringLiteral(" -60.0"));
  EXPECT_EQ(*v.Frequency(true).value, QStringLiteral("2450.00"));
  EXPECT_EQ(*v.Temperature().value, QStringLiteral("30.0"));
  v.ToggleTunit();
  EXPECT_EQ(*v.Temperature().value, QStringLiteral("86.0"));
  EXPECT_EQ(v.Temperature().unit, QStringLiteral("F"));
  EXPECT_EQ(v.ErrorByte(), QStringLiteral("005=00000101"));
  const TPowerView p = v.Power();
  EXPECT_EQ(p.rows[0], (TValueUnit{"1", "kW"}));
  EXPECT_EQ(p.rows[1], (TValueUnit{"62.5", "W"}));
  EXPECT_EQ(p.rows[2], (TValueUnit{"937.5", "W"}));
}

TEST(TResView, UnitSwitchUsesTheCopyOfTheResultShown) {
  TResView v;
  THresults r = SampleResult();
  v.Napln(&r);
  // Another frame is decoded into the same record after the window was filled.
  r.Prfl = 500.0;
  r.Pinc = 0.0;
  v.SetRow(Odraz);
  v.SetRowUnit(puPercent);
  EXPECT_EQ(v.Power().rows[1], (TValueUnit{"    6.2", "%"}));  // 6.25 rounds to even
  v.SetRowUnit(puDbRel);
  EXPECT_EQ(v.Power().rows[1], (TValueUnit{" -12.04", "dB"}));
  // The incident row never takes a relative unit; unknown tags are ignored.
  v.SetRow(Postup);
  v.SetRowUnit(puPercent);
  v.SetRowUnit(7);
  EXPECT_EQ(v.PowUnits[Postup], puWatts);
  v.SetRowUnit(puDbw);
  EXPECT_EQ(v.Power().rows[0], (TValueUnit{"  30.00", "dBW"}));
  v.SetRunit(ruMilli);
  EXPECT_EQ(v.Reflection().mag, QStringLiteral("  250.0"));
  v.SetRunit(-1);
  EXPECT_EQ(v.Runit, ruMilli);
  EXPECT_EQ(v.FormatName(), QStringLiteral("mU"));
}

TEST(TResView, RelativeRowWithZeroIncidentReadsError) {
  TResView v;
  THresults r = SampleResult();
  r.Pinc = 0.0;
  v.Napln(&r);
  v.SetRow(Odraz);
  v.SetRowUnit(puDbRel);
  EXPECT_EQ(v.Power().rows[1], (TValueUnit{"Error", "dB"}));
}

}  // namespace
}  // namespace qz
