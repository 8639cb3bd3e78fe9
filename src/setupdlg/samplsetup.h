#pragma once
// The sampling setup without its window: working copies of the unit's sampling records, the
// texts of the three waveform pages and the common strip as the window shows them, the reading
// of the entries (every entry is corrected, never refused), the page defaults and the write-back
// on Apply. Nothing reaches the analyzer's records before WriteBack.

#include <QString>
#include <cstdint>

#include "core/records.h"

namespace qz {

// A time shown with its unit: the value text and the unit (0 "us", 1 "ms", 2 "s").
struct TTimeText {
  QString value;
  int unit = 0;
  bool operator==(const TTimeText&) const = default;
};

// The unit names of the time texts and selectors.
QString TimeUnitName(int unit);

// Everything the sampling window shows or lets the operator type, page by page.
struct TSamplView {
  // CW
  TTimeText cwTime;
  QString cwCount, cwRate;
  TTimeText cwStep;
  QString cwCountTime;
  bool cwTooLong = false;  // "Sampling Time is very long!"
  // Rectified
  QString rcRippleFreq, rcPeriods, rcCount;
  TTimeText rcTime;
  QString rcRate;
  TTimeText rcStep;
  QString rcAccLvl, rcCountTime;
  bool rcSamples = false;
  // Pulsed
  TTimeText puTime;  // entry with a unit selector
  QString puCount;
  TTimeText puMaxPeriod;  // entry with a unit selector
  QString puRate;
  TTimeText puStep;
  QString puAccLvl, puCountTime;
  bool puSamples = false;
  // The common strip.
  bool freeRun = true;
  QString trgLevel, preTrig;
  bool counterOn = true;
  bool singleShot = false;
  bool operator==(const TSamplView&) const = default;
};

// The captions of the entries, as they appear in the list of corrected inputs.
inline constexpr const char* kLblSamplingTime = "Sampling Time";
inline constexpr const char* kLblSampleCount = "Sample Count";
inline constexpr const char* kLblSamplingRate = "Sampling Rate";
inline constexpr const char* kLblCountTime = "Count Time";
inline constexpr const char* kLblRippleFreq = "Ripple Freq";
inline constexpr const char* kLblRipplePeriods = "Ripple Periods";
inline constexpr const char* kLblAcceptLevel = "Accept Level";
inline constexpr const char* kLblMaxPeriod = "Max Period";
inline constexpr const char* kLblTrigLevel = "Trig Level";
inline constexpr const char* kLblPreTrig = "Pre-Trig";

// A CW sampling time above this (µs) is shown with the warning.
inline constexpr int32_t kLongSamplingUs = 10000000;
// The pre-trigger count the dialog offers.
inline constexpr int32_t kPreTrgMax = 4095;

// "Some inputs were incorrect or out of bounds:\r\n%s\r\nSet to defaults or trimmed."
QString SamplErrorText(const QString& lines);
// The questions of the three page Defaults (without their question mark).
QString SamplDefaultsQuestion(int page);

class TSamplSetup {
 public:
  TFixPar MyFix;
  TVarPar MyVar;
  TRectif MyRect;
  TPulsed MyPuls;
  int32_t MyPreTrg = 0;
  bool MyOneShot = false;
  TTrgMethod MyTrgMethod = 0;
  // The input error lines of one reading.
  QString error_str;
  // What the window shows.
  TSamplView View;

  // The working copies from the analyzer's records (every showing of the dialog); the
  // pre-trigger count is limited to what the dialog offers. error_str starts empty. All three
  // pages are shown (their planners run on the copies).
  void Take(const TFixPar& fix, const TVarPar& var, const TRectif& rect, const TPulsed& puls,
            int32_t preTrg, bool oneShot, TTrgMethod trgMethod);

  // Shows one page (0 CW, 1 rectified, 2 pulsed) and the common strip from the working copies.
  void ShowPage(int page);
  void ShowAll();

  // Reads the entries of the active page and the common strip (Refresh and Apply): error_str is
  // cleared, the waveform becomes the page, the fields are read in their order, then the page is
  // shown again. Returns error_str (empty when every entry was fine).
  const QString& Read(int page, const TSamplView& entries);

  // The page's Defaults (after the operator agreed); the page is shown again.
  void Defaults(int page);

  // The working copies into the analyzer's records (Apply).
  void WriteBack(TFixPar& fix, TVarPar& var, TRectif& rect, TPulsed& puls, int32_t& preTrg,
                 bool& oneShot, TTrgMethod& trgMethod) const;

 private:
  void ShowCommon();
  void ReadCw(const TSamplView& e);
  void ReadRect(const TSamplView& e);
  void ReadPuls(const TSamplView& e);
  void ReadCommon(const TSamplView& e);
  void CommonDefaults();
};

}  // namespace qz
