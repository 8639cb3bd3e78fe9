#pragma once
// The power calibration factor dialog without its window. The unit multiplies every incident
// power reading by the analyzer's calibration factor; the dialog changes it by a multiplier
// given linearly or in dB, writes the product to the unit, or restores the factor to 1. The
// product always stays within 0.1 .. 10 (-10 .. +10 dB).

#include <QString>

namespace qz {

class TAsker;
class TQzCmd;

inline constexpr const char* kPowCalName = "PowCal";
inline constexpr const char* kPowCalCaption = "Power Measurement Calibration Factor";
inline constexpr int kPowCalHelpTopic = 180;

// Texts of the dialog.
extern const char* const kPowCalPrompt;         // "Calibration Factor Multiplier"
extern const char* const kPowCalBadInput;       // "Error: Bad input or out of bounds.\r\n..."
extern const char* const kPowCalWritten;        // "CAL factor written successfully"
extern const char* const kPowCalWriteFailed;    // "ERROR while writing CAL factor"
extern const char* const kPowCalRestoreAsk;     // "Confirm: Restore CAL factor to unity"
extern const char* const kPowCalRestored;       // "CAL factor restored successfully"
extern const char* const kPowCalRestoreFailed;  // "ERROR while restoring CAL factor"

// The value question of "&Modify": the prompt and the bounds the answer must lie within.
struct TPowCalAsk {
  QString prompt;
  double lo = 0.0;
  double hi = 0.0;
  double start = 0.0;
};

class TPowCalModel {
 public:
  explicit TPowCalModel(TQzCmd& cmd);

  // The state of the dialog (the factor as it was when the dialog opened, its allowed
  // multipliers and the one chosen).
  double OriPowCorr = 1.0;
  double LinCalFact = 1.0;
  double LogCalFact = 0.0;
  double LinMultMin = 0.1;
  double LinMultMax = 10.0;
  double LogMultMin = -10.0;
  double LogMultMax = 10.0;
  double LinMult = 1.0;
  double LogMult = 0.0;
  // "Lin" checked (else "dB"); checked when the dialog is made.
  bool Lin = true;

  // Once per showing, before the dialog appears: the present factor and its bounds, the
  // multiplier back to 1.
  void Activate();
  // The question "&Modify" asks: the bounds narrowed a little inside the allowed range, so the
  // rounding of the answer cannot carry the product outside 0.1 .. 10.
  TPowCalAsk ModifyAsk() const;
  // Asks the multiplier until it lies within the bounds; Cancel ends it unchanged.
  void Modify(TAsker& asker);
  // "&Write": asks for confirmation, then stores and writes the product. True when the dialog
  // is to close (the operator said yes).
  bool Write(TAsker& asker);
  // "Restore": the factor back to 1 after confirmation. True when the dialog is to close.
  bool Restore(TAsker& asker);
  // "Cancel": the factor the dialog opened with.
  void Cancel();

  // The question of "&Write" (without its question mark).
  QString WriteQuestion() const;
  // The texts shown: the multiplier (linear or dB, as the radio buttons say), "Current:" and
  // "New:".
  QString MultText() const;
  QString CurrentText() const;
  QString NewText() const;

 private:
  TQzCmd& cmd_;
};

}  // namespace qz
