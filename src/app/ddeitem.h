#pragma once
// The live data item other programs follow: service "QzSim", topic "QuzarDdeTopic", item
// "QuzarDdeItem". After each accepted frame the measurement cycle offers the result; when the
// item is switched on and its interval has run out, the item takes the result, the frame's
// status byte and the tuner's stub positions, and tells whoever serves it to other programs.
// The text is built from those values only when it is read (at most once per publication), so
// publishing after every frame costs no more than keeping a few numbers. The "Co&mmun" menu's
// captions, check marks and entries live here too, so the frame window only shows them.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "app/cycleports.h"
#include "comm/hirestimer.h"
#include "core/records.h"

namespace qz {

class IniFile;
class TAsker;

inline constexpr const char* kDdeService = "QzSim";
inline constexpr const char* kDdeTopic = "QuzarDdeTopic";
inline constexpr const char* kDdeItemName = "QuzarDdeItem";

// Delimiters between the values of the item.
using TDdeDelim = int;
inline constexpr int kDdeDelimCount = 4;
inline constexpr TDdeDelim ddCrLf = 0;
inline constexpr TDdeDelim ddTab = 1;
inline constexpr TDdeDelim ddSpace = 2;
inline constexpr TDdeDelim ddSemicolon = 3;

struct TDdeDelimInfo {
  const char* menuCaption;  // item of the "Delimiter" submenu
  const char* hint;
  const char* chars;  // what goes between the values
  const char* name;   // shown in the "Delimiter" caption
};
extern const std::array<TDdeDelimInfo, kDdeDelimCount> kDdeDelims;

// Limits and default of the minimum interval between two updates (ms).
inline constexpr int32_t kDdeWaitMin = 0;
inline constexpr int32_t kDdeWaitMax = 10000;
inline constexpr int32_t kDdeWaitDefault = 10000;

inline constexpr const char* kDdeWaitPrompt = "DDE messaging period (ms)";
inline constexpr const char* kDdeDelimHint = "Separator of individual results in DDE string";
inline constexpr const char* kDdeWaitHint = "Min. interval between two consecutive DDE messages";

// The 15 values of the item as they were at a publication. statByte is the frame's first byte;
// the stub positions are in mm (the motor steps times mmPerStep of the tuner description).
struct TDdeValues {
  uint8_t statByte = 0;
  uint8_t errByte = 0;
  double freD = 0.0;  // Hz
  double magM = 0.0, phaM = 0.0;
  double magZ = 0.0, phaZ = 0.0;
  double pinc = 0.0, prfl = 0.0;  // W
  double temp = 0.0;
  std::array<double, 3> stubMm{};
  uint8_t motStatus = 0;
  uint8_t motError = 0;
};
TDdeValues DdeValuesOf(uint8_t statByte, const THresults& res, const TMotState& mot,
                       double mmPerStep);
// The item's text: the 15 values, each followed by the delimiter (one outside the table is
// CR LF). Numbers always use a point.
QString DdeText(const TDdeValues& v, TDdeDelim delim);
QString BuildDdeString(uint8_t statByte, const THresults& res, const TMotState& mot,
                       double mmPerStep, TDdeDelim delim);

// The item's settings kept in the frame window's section: keys "miDdeOn", "DdeDelim" and
// "DdeWait_ms". Reading limits the values to their ranges; a missing or unreadable key keeps
// the present value, except the interval, which then takes its default.
struct TDdeStp {
  bool On = false;  // the menu item "DDE Server" is checked
  TDdeDelim DdeDelim = ddCrLf;
  int32_t DdeWait_ms = kDdeWaitDefault;

  friend bool operator==(const TDdeStp&, const TDdeStp&) = default;
  void WriteStp(IniFile& ini, const QString& section) const;
  void ReadStp(const IniFile& ini, const QString& section);
};

class TDdeItem : public TCyclePublisher, public TDdeStp {
 public:
  // mob is the analyzer state's frame buffer (its first byte is the frame's status byte), mot
  // the tuner motor state and descr the tuner description; all are read at each publication.
  // The interval timer reads `clock` (the program's clock when none is given).
  TDdeItem(const TMerObjekt& mob, const TMotState& mot, const TTunerDescr& descr,
           Clock* clock = nullptr);

  // The text last published (empty before the first publication), built when first read after
  // the publication, in the delimiter that was set at the publication.
  const QString& DdeStr() const;
  THiResTimer& DdeTimer() { return timer_; }

  // Called at each publication (the service that notifies the followers); the new text is
  // DdeStr() from then on.
  std::function<void()> OnPublish;

  // The cycle's step after an accepted frame: publishes when switched on and the interval has
  // run out, then starts the interval anew. With DDE Wait 0 every frame is published and the
  // stopwatch stays stopped.
  void PublishIfDue(const THresults& res) override;

  // The "Co&mmun" menu.
  QString ServerCaption() const;  // "DDE Server  (ON)"
  QString DelimCaption() const;   // "Delimiter  (Tab)"
  QString WaitCaption() const;    // "DDE Wait  (10000 ms)"
  // "Delimiter" and "DDE Wait" are offered only while the item is switched on.
  bool SubItemsEnabled() const { return On; }
  void ToggleServer() { On = !On; }
  // A value outside the table is ignored.
  void SetDelim(TDdeDelim d);
  // Asks the operator for the interval; a cancelled entry keeps the present one.
  void AskWait(TAsker& asker);

 private:
  const TMerObjekt& mob_;
  const TMotState& mot_;
  const TTunerDescr& descr_;
  THiResTimer timer_;
  // The values of the last publication and their delimiter; the text is built from them once
  // it is read.
  TDdeValues values_;
  TDdeDelim valuesDelim_ = ddCrLf;
  mutable bool textStale_ = false;
  mutable QString ddeStr_;
};

}  // namespace qz
