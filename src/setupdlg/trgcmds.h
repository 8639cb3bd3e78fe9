#pragma once
// The single-shot commands window without its window: every button as one operation that gives
// the unit (or the model and the decoding) one command, counts it, tells its outcome in the
// status line and, on success, refreshes the numeric results, the tuner picture and the
// window's own position texts.
//
// The commands go to the command layer; the measure buttons take their frame through its
// measurement, as the measurement cycle does, so their outcome is the decoding's (and without a
// frame source a measure button fails). The windows
// the refresh reaches are callbacks the frame window sets; any of them may be unset, and an
// error raised inside one is ignored, since a refresh must never cost the command its outcome.

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "core/records.h"
#include "tuner/posindic.h"

namespace qz {

class IniFile;
class TQzCmd;
class TTunerModel;

inline constexpr const char* kTrgSection = "TrgForm";
inline constexpr const char* kTrgCaption = "Single-Shots Commands";
inline constexpr const char* kTrgHelpKeyword = "single-shot commands window";

// Command codes and wait kinds of the unit's one-shot commands.
inline constexpr uint8_t kTrgCodeMeasure = 85;
inline constexpr uint8_t kTrgCodeFetch = 39;
inline constexpr uint8_t kTrgCodeClrFifo = 84;
inline constexpr uint8_t kTrgCodeCompute = 86;
inline constexpr uint8_t kTrgCodeMeaComp = 87;
inline constexpr uint8_t kTrgCodeMeaTun = 88;
inline constexpr uint8_t kTrgCodeMeaTunMea = 89;

// The time-outs the unit reports (ms).
inline constexpr int32_t kTrgQuzarToutMs = 237;
inline constexpr int32_t kTrgMotorsToutMs = 628;

// What the refresh reaches outside the window.
struct TTrgDisplays {
  // The visible numeric results windows show the result.
  std::function<void(const THresults&)> Napln;
  // The tuner picture reads and shows the stub positions; false when the reading failed.
  std::function<bool()> ReadShow;
  // The tuner picture redraws every stub position.
  std::function<void()> ShowMotPositAll;
  // The tuner picture's autotune button follows the flag.
  std::function<void(bool on)> SetAtButton;
};

// The window's position texts: "Actual:" and "Tune:" per stub, "Stat 1:" and "Stat 2:".
struct TTrgPositions {
  std::array<QString, 3> act;
  std::array<QString, 3> tune;
  QString stat1;
  QString stat2;
  bool operator==(const TTrgPositions&) const = default;
};

class TTrgCmds {
 public:
  // tuner gives the working step length (the tuner picture's, so both windows show the same
  // texts).
  TTrgCmds(TQzCmd& cmd, const TTunerModel& tuner);

  TTrgDisplays Displays;

  // ---- the window's fields ----
  TIndic Indic = kIndicSteps;  // 2 at creation
  uint8_t CmdCount = 0;        // wraps from 255 to 0
  int32_t AlCnt = 0;           // kept at 0

  // ---- group QUZAR ----
  bool Measure();
  bool Fetch();
  bool ClrFifo();
  // The run/send query: only its status line.
  bool QueryRunSend();

  // ---- group TUNER ----
  // Autotune on or off as the box says; the box and the tuner picture's button then show the
  // flag (AtOn()).
  bool AutotuneSet(bool on);
  // Asks the state only: the flag is left alone.
  bool AutotuneQuery();
  bool Compute();
  bool MeaComp();
  // Measure and tune: on success the tune positions become the actual positions.
  bool MeaTun();
  bool MeaTunMea();
  bool ReadStubs();
  // Moves the stubs to the tune positions.
  bool MoveStubs();
  // The send-tune-positions flag as the box says.
  bool SendTunePositions(bool on);
  // Refreshes the displays; no command, no status line.
  void Refresh();
  // The unit label was clicked: the next unit, the tuner picture and the texts follow.
  void IndicClick();

  // ---- group TIMEOUTS (ms) ----
  bool QueryTimeouts();

  // The window is being shown: the run/send and time-out queries run as if pressed.
  void Showing();

  // ---- what the window shows ----
  QString CountText() const { return count_; }
  QString StatusText() const { return status_; }
  QString QuzarTout() const { return quzarTout_; }
  QString MotorsTout() const { return motorsTout_; }
  QString IndicText() const { return IndicName(Indic); }
  TTrgPositions Positions() const;
  bool AtOn() const;
  bool SendTunePosFlag() const;
  // Errors raised by the display callbacks and ignored.
  int IgnoredErrors() const { return ignoredErrors_; }

  // ---- setup: "Visible", "Top" and "Left" are the window's; "Indic" is kept here ----
  void WriteIndic(IniFile& ini) const;
  void ReadIndic(const IniFile& ini);

 private:
  // Counts the command and writes the status line; returns ok.
  bool Done(const QString& name, bool ok);
  // The frame time-out of the one-shot commands (the measurement cycle's).
  int32_t Tout() const;
  // A frame measured through the command layer into the latest result; true when one arrived
  // and the decoding accepted it.
  bool FrameAndDecode();
  // A measure button: the command, then a frame and its decoding (the outcome), then the
  // refresh; tune requests the single tune and takes the tune positions from the result.
  bool MeasureCmd(uint8_t code, int waitKind, const QString& name, bool tune);
  // Runs a display callback; an error inside it is counted and ignored.
  template <typename F>
  void Guarded(F&& f);

  TQzCmd& cmd_;
  const TTunerModel& tuner_;
  QString count_;
  QString status_;
  QString quzarTout_;
  QString motorsTout_;
  int ignoredErrors_ = 0;
};

}  // namespace qz
