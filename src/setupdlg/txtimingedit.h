#pragma once
// The TX timing dialog without its window: the working copies of the measurement timing and the
// motor data period, the reading of its entries, its Defaults and its Apply through the command
// layer. Also the send-event mask captions of both timing windows.

#include <QString>
#include <cstdint>

#include "core/records.h"

namespace qz {

class TQvWin;
class TQzCmd;

// The send-event mask bits the windows edit.
inline constexpr uint8_t kTxMaskShown = 0x07;
inline constexpr uint8_t kTxMaskSpare = 0x08;
// Limits of the periods.
inline constexpr int32_t kPeriodMsMax = 65535;
inline constexpr int32_t kPeriodSMax = 3600;

// "SEND EVENT MASK: %2d = %s": bits 0..2 of the mask, its eight binary digits in groups of four.
QString TxMaskCaption(uint8_t mask);
// "SEND EVENT MASK: %d=%s": bits 0..2 of the mask and its eight binary digits.
QString MstpMaskCaption(uint8_t mask);
// The mask of the three event boxes (bits 0..2).
uint8_t MaskOfBoxes(bool resultsReady, bool resultsRefresh, bool motorsRefresh);

// The question of both Defaults buttons (without its question mark).
inline constexpr const char* kMeaStpDefaultsQuestion = "Set all to recommended defaults";

// A number entry of the timing windows: a decimal integer, an unreadable text keeps the present
// value, the result is limited to lo..hi.
int32_t TimingEntry(const QString& text, int32_t current, int32_t lo, int32_t hi);
// A period as the entries show it.
QString PeriodText(int32_t v);

// The texts and boxes of the TX timing dialog.
struct TTxTimingView {
  QString onPeriod, txPeriod, motPeriod;
  bool resultsReady = false, resultsRefresh = false, motorsRefresh = false;
  bool operator==(const TTxTimingView&) const = default;
};

class TTxTimingEdit {
 public:
  TMeaStp Mstp;
  int32_t MotPer = 0;
  TVarPar VPar;

  // The copies from the analyzer state.
  void PrevezmiNapln(const TQvWin& qv);
  TTxTimingView View() const;
  // Recommended: measurement 0 ms, results 0 ms, all three events, motor data every 1000 ms.
  void Defaults();
  // Reads the entries into the copies; the mask keeps only the three boxes.
  void ReadEntries(const TTxTimingView& v);
  // Gives the measurement setup, reads it back and gives the motor data period; then takes the
  // copies again from the analyzer state. The outcome of the commands is not shown.
  void Apply(TQzCmd& cmd, const TTxTimingView& v);
};

}  // namespace qz
