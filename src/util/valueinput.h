#pragma once
// Operator entry of numbers, frequencies, texts and yes/no answers; reading stored texts as
// numbers within limits; transient notices, waiting and busy windows.
//
// Every operation that asks the operator goes through a TAsker (the installed one by default),
// so the same loops run behind the real dialogs, in tests and in headless runs: a wrong entry
// beeps and asks again, Cancel keeps the present value.

#include <QChar>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

#include "util/asker.h"

namespace qz {

// ---- suffixes and engineering texts -------------------------------------------------------

// Multiplier of a suffix letter (either case): P 1e-12, N 1e-9, U 1e-6, I 1e-3 (milli),
// K 1e3, M 1e6 (always mega, also "m"), G 1e9, T 1e12; any other character 1.
double SuffixFactor(QChar c);

struct TParsedValue {
  bool ok = false;
  double value = 0.0;  // the fallback when !ok
};

// Reads a number with an optional suffix ("2.45GHz", "5 k", "1,5k"). A bare number is scaled by
// the default suffix; otherwise the leading number characters (signs, points, digits, E) are the
// number and the first character of the trimmed rest chooses the factor.
TParsedValue ParseWithSuffix(const QString& text, QChar defaultSuffix, double fallback);

// Engineering scale of a value: factor and suffix letter, ' ' when there is none.
struct TEngScale {
  double factor = 1.0;
  QChar suffix = QChar(' ');
};
TEngScale EngScale(double x);
// The value divided by its scale (6 digits) followed by its suffix letter ("1.5k", "3.3u").
QString EngText(double x);

// Reads the entry of AskValue: a bare number, or a number whose last character is removed and
// whose first suffix letter chooses the factor ("1.5k" 1500, "12x" 12; "5k0" and "" fail).
TParsedValue ParseValueEntry(const QString& entry);

// ---- stored texts within limits -----------------------------------------------------------

// The trimmed text as a decimal integer; unreadable text gives current limited to lo..hi; a
// number below lo or above hi gives the bound when clamp is set, else that limited current.
int32_t TextToIntInRange(const QString& text, int32_t current, int32_t lo, int32_t hi, bool clamp);

struct TFloatInRange {
  double value = 0.0;
  // 0 read and within lo..hi; 1 unreadable; 2 below lo; 3 above hi.
  int status = 0;
};
// The trimmed text as a floating-point number, a comma counting as the point. Stored texts are
// always written with a point, so the reading never depends on the operator's locale.
TFloatInRange TextToFloatInRange(const QString& text, double current, double lo, double hi,
                                 bool clamp);

// ---- entries of the setup dialogs ----------------------------------------------------------

// The line an entry adds to a dialog's list of corrected inputs: " - " + label + " (" + text as
// typed + ")".
QString EntryErrorLine(const QString& label, const QString& typed);

// An integer entry of a setup dialog: the text is read as a number (a comma counts as the
// point); a text that is not a number gives def, a number outside lo..hi is clamped; the result
// is rounded half to even. Only those two cases append their line to `errors` (AppendLine).
// The caller writes the returned value back into the entry.
int32_t ValidateIntEdit(const QString& text, const QString& label, int32_t lo, int32_t hi,
                        int32_t def, QString& errors);

struct TValidatedTime {
  int32_t us = 0;     // the value in microseconds
  QString text;       // the value as it is written back (7 significant digits)
  int unitIndex = 0;  // the unit selector's new unit: 0 "us", 1 "ms", 2 "s"
};
// A time entry with a unit selector (unitIndex 0 "us", 1 "ms", 2 "s"): the number times 1, 1000
// or 1000000 is read and corrected as by ValidateIntEdit (limits and default in microseconds),
// then given back as the text and unit MicrosToText chooses.
TValidatedTime ValidateTimeEdit(const QString& text, int unitIndex, const QString& label,
                                int32_t loUs, int32_t hiUs, int32_t defUs, QString& errors);

// ---- prompts, titles and texts of the questions -------------------------------------------

extern const char* const kIntegerTitle;   // "Enter integer value"
extern const char* const kValueTitle;     // "Enter value  (+ optional suffix as multiplier)"
extern const char* const kValueHelp;      // the suffix table shown above the value prompt
extern const char* const kFreqTitle;      // "Enter Freq (+ suffix h=Hz k M G T; none=MHz)"
extern const char* const kNoticeCaption;  // "Wait..."
extern const char* const kWaitCaption;    // "Wait please..."
extern const char* const kBusyCaption;    // "System Busy"

QString IntegerPrompt(const QString& prompt);  // prompt + " :"
QString IntegerRangePrompt(const QString& prompt, int32_t lo, int32_t hi);
QString ValuePrompt(const QString& prompt);  // suffix table + prompt + " :"
QString ValueRangePrompt(const QString& prompt, double lo, double hi);
QString FreqCountPrompt(const QString& prompt, int32_t lo, int32_t hi);
QString FreqHzPrompt(const QString& prompt, int32_t lo, int32_t hi);
// The question with a question mark, unless it ends in a control character; "" gives "?".
QString YesNoText(const QString& question);

// ---- the questions ------------------------------------------------------------------------

// The text entry dialog; on Cancel the initial text comes back with ok false.
TInputResult InputText(const QString& title, const QString& prompt, const QString& initial,
                       TAsker& asker = Asker());
bool AskYesNo(const QString& question, TAsker& asker = Asker());

// An integer read as a floating-point number, limited to +-2147483647 and rounded half to even.
int32_t AskInteger(const QString& prompt, int32_t current, TAsker& asker = Asker());
// The same, limited to lo..hi without a message.
int32_t AskIntegerInRange(const QString& prompt, int32_t current, int32_t lo, int32_t hi,
                          TAsker& asker = Asker());

struct TAskedValue {
  double value = 0.0;
  double factor = 1.0;        // EngScale of the value
  QChar suffix = QChar(' ');  // ' ' when none
};
TAskedValue AskValue(const QString& prompt, double current, TAsker& asker = Asker());
TAskedValue AskValueInRange(const QString& prompt, double lo, double hi, double current,
                            TAsker& asker = Asker());

struct TCheckedValue {
  double value = 0.0;
  bool outOfRange = false;
  // The operator cancelled the entry: current came back, whether or not it lies within lo..hi,
  // so a caller that asks again until the answer fits can stop asking.
  bool cancelled = false;
};
// A value outside lo..hi is refused: current comes back with the flag set.
TCheckedValue AskValueInRangeChecked(const QString& prompt, double lo, double hi, double current,
                                     TAsker& asker = Asker());

struct TFreqAnswer {
  int32_t value = 0;
  bool error = false;
  // The operator cancelled: value is current and error is clear, so a caller that asks again
  // until the answer fits can stop asking.
  bool cancelled = false;
};
// A frequency count (10 Hz steps); a bare number means MHz. Unreadable or outside lo..hi sets
// the error flag; outside gives the limited count when clamp is set, else current.
TFreqAnswer AskFreqCount(const QString& prompt, int32_t current, int32_t lo, int32_t hi, bool clamp,
                         TAsker& asker = Asker());
// The same in whole Hz; the sign of the entry is dropped.
TFreqAnswer AskFreqHz(const QString& prompt, int32_t current, int32_t lo, int32_t hi, bool clamp,
                      TAsker& asker = Asker());

// ---- notices, waiting and busy windows ----------------------------------------------------

// The longest a transient notice stays up.
inline constexpr int kMaxNoticeMs = 10000;
// Display time of a transient notice: ms limited to 0..10000.
int NoticeLifeTime(int ms);

// Placement of the transient notice's label and the size of its client area.
struct TNoticeLayout {
  QRect label;
  QSize client;
};
TNoticeLayout NoticeLayout(QSize labelSize);

// Placement of the waiting window's message label and animation for a client height.
struct TWaitLayout {
  QRect label;
  QRect animation;
  QSize client;
};
TWaitLayout WaitLayout(QSize labelSize, QSize animationSize);

// Placement of the text entry dialog's controls.
struct TInputLayout {
  QRect prompt;
  QRect edit;
  QRect ok;
  QRect cancel;
  QSize client;
};
// promptSize: the prompt's text size; editSize: the entry's designed size; buttonSize: the size
// of each button.
TInputLayout InputLayout(QSize promptSize, QSize editSize, QSize buttonSize);

// Shows message in the notice window, blocks for its display time and hides it again.
void ShowTransient(const QString& message, int ms, TAsker& asker = Asker());
// The waiting window; an empty caption gives "Wait please...". lastFrame 0 plays to the end.
void ShowWait(const QString& caption, const QString& message, int animation, int lastFrame,
              TAsker& asker = Asker());
void HideWait(TAsker& asker = Asker());
// The busy window; its information line starts empty.
void ShowBusy(const QString& caption, int animation, int lastFrame, TAsker& asker = Asker());
void SetBusyInfo(const QString& text, TAsker& asker = Asker());
void HideBusy(TAsker& asker = Asker());

}  // namespace qz
