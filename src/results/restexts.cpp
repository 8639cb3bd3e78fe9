#include "results/restexts.h"

#include <cmath>

#include "util/format.h"
#include "util/numtext.h"
#include "util/unitconv.h"

namespace qz {

const std::array<const char*, kPunitCount> kPowUnitCaptions = {"&Watts", "&dBm", "d&BW",
                                                               "dB &rel Pinc", "%  of &Pinc"};
const std::array<const char*, kRunitCount> kRflFormatCaptions = {"&Mag", "&dB", "&VSWR", "%",
                                                                 "m&U"};
const std::array<const char*, kRunitCount> kRflFormatNames = {"Mag", "dB", "SWR", "%", "mU"};
const std::array<const char*, kTunitCount> kTempUnitNames = {"C", "F"};

namespace {

const std::array<const char*, kPunitCount> kClearedUnits = {"W", "dBm", "dBW", "dB", "%"};

QString Str(const char* s) { return QString::fromLatin1(s); }

// Watts autoranged: the value scaled to its prefix and cut to four significant digits.
TValueUnit WattsText(double p) {
  const double a = std::fabs(p);
  if (std::isnan(p)) return {FloatToText(p), QStringLiteral("W")};
  if (a >= 1e9) return {QStringLiteral("oo"), QStringLiteral("  ")};
  if (a < 1e-9) return {QStringLiteral("0"), QStringLiteral("nW")};
  double scaled = p;
  QString unit;
  if (a >= 1000.0) {
    scaled = p / 1000.0;
    unit = QStringLiteral("kW");
  } else if (a >= 1.0) {
    unit = QStringLiteral("W");
  } else if (a >= 0.001) {
    scaled = p * 1000.0;
    unit = QStringLiteral("mW");
  } else if (a >= 1e-6) {
    scaled = p * 1e6;
    unit = QStringLiteral("uW");
  } else {
    scaled = p * 1e9;
    unit = QStringLiteral("nW");
  }
  return {FloatToText(RoundSignificant(4, 0.0, scaled)), unit};
}

}  // namespace

TValueUnit PowerToLabels(TPunit unit, double watts, double pinc) {
  switch (unit) {
    case puDbm:
      return {PowerRatioToDbText(watts * 1000.0), Str(kClearedUnits[puDbm])};
    case puDbw:
      return {PowerRatioToDbText(watts), Str(kClearedUnits[puDbw])};
    case puDbRel:
    case puPercent: {
      // A ratio to no incident power (or to a damaged one) cannot be shown as a number.
      const double ratio = pinc != 0.0 ? watts / pinc : NAN;
      const QString u = Str(kClearedUnits[unit]);
      if (!std::isfinite(ratio)) return {QStringLiteral("Error"), u};
      if (unit == puDbRel) return {PowerRatioToDbText(ratio), u};
      // 100 * P first, then the division: the percentage rounds exactly as the unit computes it
      // (100 * (P / Pinc) can land on the other side of a tie).
      const double percent = 100.0 * watts / pinc;
      if (!std::isfinite(percent)) return {QStringLiteral("Error"), u};
      return {Format(QStringLiteral("%7.1f"), {percent}), u};
    }
    default:
      return WattsText(watts);
  }
}

TValueUnit ClearPowerLabels(TPunit unit) {
  const int u = unit >= 0 && unit < kPunitCount ? unit : puWatts;
  return {QStringLiteral("  "), Str(kClearedUnits[u])};
}

QString ConvertToStr(TRunit format, double mag) {
  switch (format) {
    case ruDb:
      return DbToText(AmplToDb(mag));
    case ruSwr:
      return SwrToText(RhoToSwr(mag));
    case ruPercent:
      return Format(QStringLiteral("%7.2f"), {100.0 * mag});
    case ruMilli:
      return Format(QStringLiteral("%7.1f"), {1000.0 * mag});
    default:
      return Format(QStringLiteral("%7.3f"), {mag});
  }
}

QString PhaseText(double deg) { return Format(QStringLiteral("%6.1f"), {deg}); }

QString FreqText(double hz) { return Format(QStringLiteral("%7.2f"), {hz / 1e6}); }

QString TempText(TTunit unit, double celsius) {
  const double v = unit == 1 ? CelsiusToFahrenheit(celsius) : celsius;
  return Format(QStringLiteral("%3.1f"), {v});
}

QString ErrByteText(uint8_t errByte) {
  return Format(QStringLiteral("%3.3d=%s"), {int(errByte), WordToBinText(errByte)});
}

TLamp FreqLamp(const THresults* res, bool counterOn) {
  if (!res) return {clBtnFace, Str(kNoData)};
  if (!counterOn) return {clBlue, QStringLiteral("Cnt OFF")};
  if (res->FreSubst) return {clRed, QStringLiteral("Substit")};
  return {clLime, QStringLiteral("Valid")};
}

TLamp PowerLamp(const THresults* res) {
  if (!res) return {clBtnFace, Str(kNoData)};
  if (res->LowSignal) return {clBlue, QStringLiteral("Low")};
  if (res->Oflow) return {clRed, QStringLiteral("OverRng")};
  return {clLime, QStringLiteral("Normal")};
}

TLamp TempLamp(const THresults* res) {
  if (!res) return {clBtnFace, Str(kNoData)};
  if (res->TooCold) return {clBlue, QStringLiteral("Too cold")};
  if (res->TooHot) return {clRed, QStringLiteral("Too hot")};
  return {clLime, QStringLiteral("Normal")};
}

TLamp CounterLamp(bool on) {
  if (on) return {clBtnFace, QStringLiteral("Cnt ON")};
  return {clBlue, QStringLiteral("Cnt OFF")};
}

TColor SmallFreqColor(const THresults& res, bool counterOn) {
  if (!counterOn) return clBlue;
  if (res.FreSubst) return clRed;
  return clBlack;
}

TColor SmallPowerColor(const THresults* res) {
  if (!res) return clBlack;
  if (res->LowSignal) return clBlue;
  if (res->Oflow) return clRed;
  return clBlack;
}

QString RflCaptionText(bool showLoad, bool transformed, bool fullSize) {
  QString s = fullSize ? QStringLiteral("Reflection Coefficient: ") : QString();
  if (showLoad) return s + QStringLiteral("Load");
  s += QStringLiteral("Input");
  if (transformed) s += QStringLiteral(" (Transformed)");
  return s;
}

TPowMenuState PowMenuState(TKtoryVykon row, TPunit current) {
  TPowMenuState st;
  st.enabled = {true, true, true, row != Postup, row != Postup};
  st.checked = current;
  return st;
}

}  // namespace qz
