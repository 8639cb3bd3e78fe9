#pragma once
// The measurement setup window without its window: the working copies of the measurement
// timing, the CW acquisition settings and the motor data period, the radio items of the ADC
// ranges the channel allows, the sampling labels, the Defaults and the Apply through the command
// layer.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "comm/daqdescr.h"
#include "core/records.h"

namespace qz {

class TQvWin;
class TQzCmd;

// The lowest and highest range index a range group can hold ("Auto" is -1).
inline constexpr int kRngMin = -1;
inline constexpr int kRngMax = 7;
inline constexpr int kRngItemsMax = 9;  // "Auto" and eight ranges

// Limits of the window's CW entries.
inline constexpr int32_t kMstpCountTimeMinUs = 16;
inline constexpr int32_t kMstpCountTimeMaxUs = 1000000;
inline constexpr int32_t kMstpFsamplMin = 10;

// "Error" when the rate is 0.
struct TSamplingLabels {
  QString time;
  QString step;
  bool operator==(const TSamplingLabels&) const = default;
};
// The sampling step (1 / rate) and time ((count - 1) steps), as exact digits with their unit.
TSamplingLabels SamplingLabels(int32_t vrpt, int32_t fsamplHz);
// The prompts that replace the labels once "Nsampl:" or "Fsampl:" has changed.
inline constexpr const char* kClickHere = "Click here...";
inline constexpr const char* kToRefresh = "...to refresh";

// The names of the signal and offset handling methods ("Off", "On", "On-Off").
QString AkoMethodName(TAkoMer m);

struct TMstpView {
  QString onPeriod, ofsPeriod, fPeriod, tPeriod, txPeriod, motPeriod;
  int onItem = 0, ofsItem = 0;  // selected radio items (-1: none)
  bool ofsEqual = false;
  bool resultsReady = false, resultTime = false, motorsTime = false, spare = false;
  QString vrpt, trpt, tcount, fsampl;
  bool counterOn = false;
  bool operator==(const TMstpView&) const = default;
};

class TMstpEdit {
 public:
  TMeaStp Mstp;
  int32_t MotPer = 0;
  TVarPar VPar;
  int32_t FmaxSmpl = 200000;

  // The range maps: item -> range, range (-1..7, at index range + 1) -> item.
  std::array<int32_t, kRngItemsMax> IndexToRng{};
  std::array<int32_t, kRngItemsMax> RngToIndex{};
  int32_t MaxItIndex = 0;
  bool RngCreated = false;
  // The item texts of both range groups, "Auto" first.
  QStringList RangeItems;

  // Builds the range items once: "Auto", then each range from the channel's lowest to its
  // highest allowed index with the card's name for it.
  void BuildRanges(const TChanSetup& chan, const TDaqDescr& daq);
  // Asks the command layer for the card and channel description when nobody has yet, then
  // builds the range items (first showing).
  void EnsureRanges(TQzCmd& cmd);
  // The item of a range; a range outside -1..7 or not offered gives item 0 ("Auto").
  int ItemOfRange(int range) const;
  // The range of an item; no item (or one outside the list) reads as "Auto" (-1).
  TRangeE RangeOfItem(int item) const;

  void PrevezmiNapln(const TQvWin& qv);
  TMstpView View() const;
  // Recommended settings; MotPer and AkoOnOff keep their values.
  void Defaults();
  // The offset period entry read and limited (0..3600); the text to write back into it.
  QString CheckOfsPeriod(const QString& text);
  // The sampling label click: count and rate read and limited; their texts go back into the
  // entries and the labels are computed again.
  struct TSamplingRefresh {
    QString vrpt, fsampl;
    TSamplingLabels labels;
  };
  TSamplingRefresh RefreshSampling(const QString& vrpt, const QString& fsampl);
  void ReadEntries(const TMstpView& v);
  // Gives, in this order, the measurement setup, its read-back, the averaging, the CW sampling
  // rate, the counter and the motor data period; then takes the copies again.
  void Apply(TQzCmd& cmd, const TMstpView& v);
};

}  // namespace qz
