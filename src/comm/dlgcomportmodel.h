#pragma once
// The COM port dialog without its window: the operator chooses the serial port and the baud
// rate of the line to the unit, tests the connection ("&Connect"), lets the program search for
// the baud rate ("&AutoFind") and leaves with "C&ontinue", "Cancel" or "&Exit". The caller reads
// only the modal result: OK means a working connection.
//
// The port object's settings are shown but not changed here, because opening the port stores
// nothing; only "&Defaults" changes the stored baud index. Without a unit every test of the
// line succeeds, and the search succeeds when it reaches 9600 baud. The baud-rate box shows each
// rate the search tries and then the one it found (or the stored one again when it found none).
//
// The window keeps a plain copy of its controls in TComPortForm, calls one event per operator
// action and mirrors the returned state. The search waits between its attempts through an
// injected wait that also handles the operator's input, so that "&Stop" (and closing the
// dialog) can act while it runs.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

#include "util/colors.h"

namespace qz {

class T232;
struct PortLists;

inline constexpr const char* kComPortCaption = "COM Port Setting (8 data bits, 1 stop bit)";
inline constexpr const char* kComPortHelpKeyword = "Establishing Communication";

// Messages of the dialog.
inline constexpr const char* kComMsgConnected = "CONNECTION ESTABLISHED";
inline constexpr const char* kComMsgFail = "COMMUNICATION FAIL:";
inline constexpr const char* kComMsgEstablishing = "Establishing Communication...";
inline constexpr const char* kComMsgSearching = "Searching for Communication...";

// Hints of the controls.
inline constexpr const char* kComHintBaud =
    "Data transmission speed: must be equal to that of meas system";
inline constexpr const char* kComHintDefaults =
    "Set COM port defaults (COM1, 115200 Baud, no parity)";
inline constexpr const char* kComHintConnect = "Try current COM settings";
inline constexpr const char* kComHintAutoFind = "Try to find Baudrate automatically";
inline constexpr const char* kComHintStop = "Stop AutoFind";
inline constexpr const char* kComHintContinue = "Continue program using current COM settings";
inline constexpr const char* kComHintCancel = "Return to original COM settings";
inline constexpr const char* kComHintExit = "Terminate program execution";

// The Communication menu's items for the dialog. Opening the menu shows the port in use:
// ComPortMenuCaption(2) is "&COM Port...  (COM 3)", and the bus item becomes "&CAN Bus".
inline constexpr const char* kComPortMenuCaption = "&COM Port...";
inline constexpr const char* kComPortMenuHint = "RS232 settings";
inline constexpr const char* kCanBusMenuCaption = "C&AN Bus (250 kBd)...";
inline constexpr const char* kCanBusMenuOpenCaption = "&CAN Bus";
// Opened from the menu the dialog returns to the program instead of continuing its start.
inline constexpr const char* kComPortReturnCaption = "&Return";
inline constexpr const char* kComTestFailed = "Communication test failed or skipped.";
QString ComPortMenuCaption(uint8_t portIndex);

// The parity choice's entries (index = parity code) and the time-out box's drop-down.
extern const char* const kComParityItems[5];
extern const char* const kComTimeoutItems[6];

// How long each attempt of the search waits for the unit.
inline constexpr int kAutoFindWaitMs = 500;
// The baud indexes the search tries, fastest first, and the one at which it succeeds here.
inline constexpr int kAutoFindFirstIndex = 9;
inline constexpr int kAutoFindLastIndex = 5;
inline constexpr int kAutoFindSuccessIndex = 5;
// Limits of the test time-out, in seconds.
inline constexpr int kTestTimeoutMin = 1;
inline constexpr int kTestTimeoutMax = 60;

// How the dialog ends. None: it stays open (or, for a closing by other means, it closes without
// a result, which the caller counts as "not OK").
enum class TComModal { None = 0, Ok = 1, Cancel = 2, Abort = 3 };

// The controls' contents and states, as the window shows them.
struct TComPortForm {
  // " &Port " list: the port descriptions and the selected row (-1: none).
  QStringList rows;
  int row = -1;
  // "Baud Rate:" box: its drop-down and its text.
  QStringList baudItems;
  QString baudText;
  // "Timeout" box's text, in seconds.
  QString timeoutText;
  // "P&arity" choice (read-only).
  int parity = 0;
  // "Message" label: text and colour (black with no text: cleared).
  QString msg;
  TColor msgColor = clBlack;
  // Buttons and the search animation.
  bool stopEnabled = false;
  bool exitEnabled = true;
  bool animating = false;
  // While the search runs every other control that would start a test, change the settings or
  // re-enter the search is disabled; "&Stop", the leaving buttons and "&Help" stay usable.
  bool searching = false;

  // The selected row's text (empty when no row is selected).
  QString RowText() const { return row >= 0 && row < rows.size() ? rows.at(row) : QString(); }
  bool operator==(const TComPortForm&) const = default;
};

// What an event leaves: the new state of the controls, whether the dialog closes and with
// which result.
struct TComPortStep {
  TComPortForm form;
  bool closes = false;
  TComModal modal = TComModal::None;
};

class TDlgComPortModel {
 public:
  // wait(ms): handles pending operator input and returns after about ms milliseconds (0: only
  // the pending input). The window passes a wait that runs its event loop; tests pass one that
  // returns at once or acts like the operator.
  using WaitFn = std::function<void(int ms)>;

  // Creation: the list gets the port descriptions, Connected := false, the baud-rate drop-down
  // gets the ten rates, NaplnForm, the message cleared, the time-out box shows the stored read
  // total constant in whole seconds.
  TDlgComPortModel(T232& port, const PortLists& lists, WaitFn wait = {});

  // ---- fields of the dialog ----
  uint8_t Cport = 0;     // port index read from the form
  uint8_t SpdIndex = 9;  // baud index read from the form or tried by the search
  uint8_t Par = 0;       // parity code read from the form
  bool Connected = false;
  bool DoStop = false;
  uint8_t OldPort = 0;
  uint8_t OldSpeedIndex = 9;
  uint8_t OldParity = 0;
  QString OldRateTxt;

  const TComPortForm& Form() const { return form_; }
  // Called whenever the form changes during the search (the window repaints).
  std::function<void()> OnChange;

  // The caller's choices before showing: "&Exit" unusable (it then stays disabled whatever the
  // tests give).
  void DisableExit();
  bool ExitAllowed() const { return exitAllowed_; }

  void SetCommunResult(bool connected) { Connected = connected; }
  bool GetCommunResult() const { return Connected; }
  // The message in a colour; an empty text in black clears it.
  void WriteMessage(const QString& text, TColor color);
  // 0: "CONNECTION ESTABLISHED" in green; any other code: "COMMUNICATION FAIL:", CR LF and the
  // code's text in red.
  void CommunAttemptMsg(int32_t code);
  // The form from the port object: the row of the stored port ("COM" + (index mod 128) + 1;
  // the first row when no port has that name), the stored rate and parity.
  void NaplnForm();
  // The form into Cport, SpdIndex and Par. No row selected gives port 0; a baud text that is
  // not a whole number from 300 to 115200 counts as 115200.
  void CitajForm();
  // The test time-out in seconds from the time-out box's text (a whole number from 1 to 60; any
  // other text gives the stored read total constant limited to 1 .. 60); the box is rewritten
  // with the seconds used.
  int TestTimeout();

  // ---- events ----
  TComPortStep Show();
  TComPortStep PortClicked(int row);
  // An operator's edit of the baud-rate text (filling the box from code is none).
  TComPortStep BaudTextChanged(const QString& text);
  TComPortStep TimeoutTextChanged(const QString& text);
  TComPortStep Connect();
  // Runs the whole search; returns when it has ended. When the operator chose to leave during
  // the search, the leaving is carried out at its end and its result is returned here.
  TComPortStep AutoFind();
  TComPortStep Stop();
  TComPortStep Defaults();
  TComPortStep Continue();
  TComPortStep Cancel();
  TComPortStep Exit();
  // The close box, Escape and any other closing that is no button: OK when connected, else no
  // result.
  TComPortStep Close();

  bool Searching() const { return searching_; }
  // The baud indexes the last search tried, in order (for the window's tests and the caller).
  const std::vector<uint8_t>& Attempts() const { return attempts_; }

 private:
  enum class Leave { None, Continue, Cancel, Exit, Close };
  TComPortStep Stay() const { return {form_, false, TComModal::None}; }
  TComPortStep Leaving(TComModal modal) const { return {form_, true, modal}; }
  // A leaving asked for during the search stops it and waits for its end.
  bool DeferDuringSearch(Leave how);
  TComPortStep Carry(Leave how);
  TComPortStep ExitNow();
  void Changed();
  void Wait(int ms);

  T232& port_;
  const PortLists& lists_;
  WaitFn wait_;
  TComPortForm form_;
  bool exitAllowed_ = true;
  bool searching_ = false;
  Leave pending_ = Leave::None;
  std::vector<uint8_t> attempts_;
};

}  // namespace qz
