#include "util/valueinput.h"

#include <algorithm>
#include <cmath>

#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/parse.h"
#include "util/strtools.h"
#include "util/timetext.h"
#include "util/unitconv.h"

namespace qz {

const char* const kIntegerTitle = "Enter integer value";
const char* const kValueTitle = "Enter value  (+ optional suffix as multiplier)";
const char* const kValueHelp =
    "Possible suffices (no space, letter case irrelevant):\r\n"
    "   P=pico  N=nano  U=micro  I=milli\r\n"
    "   K=kilo   M=mega  G=giga   T=tera\r\n"
    "\r\n";
const char* const kFreqTitle = "Enter Freq (+ suffix h=Hz k M G T; none=MHz)";
const char* const kNoticeCaption = "Wait...";
const char* const kWaitCaption = "Wait please...";
const char* const kBusyCaption = "System Busy";

namespace {

constexpr double kIntLimit = 2147483647.0;

QString CommasToPoints(QString s) {
  s.replace(QChar(','), QChar('.'));
  return s;
}

bool IsNumberChar(QChar c) {
  return c.isDigit() || c == QChar('+') || c == QChar('-') || c == QChar('.') || c == QChar('e') ||
         c == QChar('E');
}

bool IsSuffixLetter(QChar c) {
  switch (c.toUpper().unicode()) {
    case 'P':
    case 'N':
    case 'U':
    case 'I':
    case 'K':
    case 'M':
    case 'G':
    case 'T':
      return true;
    default:
      return false;
  }
}

QString IntText(int32_t v) { return Format("%d", {v}); }

// The system beep of a refused entry.
void EntryBeep(TAsker& asker) { asker.Beep(0, 0); }

}  // namespace

double SuffixFactor(QChar c) {
  switch (c.toUpper().unicode()) {
    case 'P':
      return 1e-12;
    case 'N':
      return 1e-9;
    case 'U':
      return 1e-6;
    case 'I':
      return 1e-3;
    case 'K':
      return 1e3;
    case 'M':
      return 1e6;
    case 'G':
      return 1e9;
    case 'T':
      return 1e12;
    default:
      return 1.0;
  }
}

namespace {

// A number scaled by its suffix; a product beyond the range of numbers (1e308 with "k") is no
// number either and is refused like "inf".
TParsedValue Scaled(double v, double factor, double fallback) {
  const double x = v * factor;
  if (!std::isfinite(x)) return {false, fallback};
  return {true, x};
}

}  // namespace

TParsedValue ParseWithSuffix(const QString& text, QChar defaultSuffix, double fallback) {
  const QString t = CommasToPoints(text).trimmed();
  if (const auto v = ParseDouble(t)) return Scaled(*v, SuffixFactor(defaultSuffix), fallback);
  if (t.isEmpty()) return {false, fallback};
  qsizetype n = 0;
  while (n < t.size() && IsNumberChar(t[n])) ++n;
  const QString rest = t.mid(n).trimmed();
  const double factor = rest.isEmpty() ? 1.0 : SuffixFactor(rest[0]);
  if (const auto v = ParseDouble(t.left(n))) return Scaled(*v, factor, fallback);
  return {false, fallback};
}

TEngScale EngScale(double x) {
  const double a = std::fabs(x);
  if (!(a >= 1e-12)) return {1.0, QChar(' ')};  // also NaN: no scale
  if (a < 1e-9) return {1e-12, QChar('p')};
  if (a < 1e-6) return {1e-9, QChar('n')};
  if (a < 1e-3) return {1e-6, QChar('u')};
  if (a < 1e3) return {1.0, QChar(' ')};
  if (a < 1e6) return {1e3, QChar('k')};
  if (a < 1e9) return {1e6, QChar('M')};
  if (a < 1e12) return {1e9, QChar('G')};
  return {1e12, QChar('T')};
}

QString EngText(double x) {
  const TEngScale s = EngScale(x);
  QString t = NumberText(6, x / s.factor);
  if (s.suffix != QChar(' ')) t += s.suffix;
  return t;
}

TParsedValue ParseValueEntry(const QString& entry) {
  const QString t = CommasToPoints(entry);
  if (const auto v = ParseDouble(t)) return {true, *v};
  if (t.isEmpty()) return {false, 0.0};
  qsizetype i = 0;
  while (i < t.size() - 1 && !IsSuffixLetter(t[i])) ++i;
  const double factor = SuffixFactor(t[i]);
  if (const auto v = ParseDouble(t.left(t.size() - 1))) return Scaled(*v, factor, 0.0);
  return {false, 0.0};
}

int32_t TextToIntInRange(const QString& text, int32_t current, int32_t lo, int32_t hi, bool clamp) {
  const int32_t v = ClampLowWins(current, lo, hi);
  const auto n = ParseInt32(text.trimmed());
  if (!n) return v;
  if (*n < lo) return clamp ? lo : v;
  if (*n > hi) return clamp ? hi : v;
  return *n;
}

TFloatInRange TextToFloatInRange(const QString& text, double current, double lo, double hi,
                                 bool clamp) {
  const auto n = ParseDouble(CommasToPoints(text.trimmed()));
  if (!n) return {current, 1};
  if (!(*n >= lo)) return {clamp ? lo : current, 2};
  if (*n > hi) return {clamp ? hi : current, 3};
  return {*n, 0};
}

QString EntryErrorLine(const QString& label, const QString& typed) {
  return QStringLiteral(" - ") + label + QStringLiteral(" (") + typed + QStringLiteral(")");
}

namespace {

// The number of an entry scaled by factor, corrected to lo..hi (def when unreadable); false
// when it had to be corrected.
bool ReadEntryNumber(const QString& text, double factor, int32_t lo, int32_t hi, int32_t def,
                     int32_t& value) {
  const auto n = ParseDouble(text, true);
  if (!n) {
    value = def;
    return false;
  }
  const double x = *n * factor;
  if (x < double(lo) || x > double(hi)) {
    value = x < double(lo) ? lo : ClampLowWins(hi, lo, hi);
    return false;
  }
  value = ClampLowWins(RoundToInt32(x), lo, hi);
  return true;
}

}  // namespace

int32_t ValidateIntEdit(const QString& text, const QString& label, int32_t lo, int32_t hi,
                        int32_t def, QString& errors) {
  int32_t v = 0;
  if (!ReadEntryNumber(text, 1.0, lo, hi, def, v)) AppendLine(errors, EntryErrorLine(label, text));
  return v;
}

TValidatedTime ValidateTimeEdit(const QString& text, int unitIndex, const QString& label,
                                int32_t loUs, int32_t hiUs, int32_t defUs, QString& errors) {
  static constexpr double kFactor[3] = {1.0, 1e3, 1e6};
  const double factor = kFactor[ClampLowWins(int32_t(unitIndex), 0, 2)];
  TValidatedTime r;
  if (!ReadEntryNumber(text, factor, loUs, hiUs, defUs, r.us))
    AppendLine(errors, EntryErrorLine(label, text));
  const TMicrosText t = MicrosToText(r.us, 7);
  r.text = t.value;
  r.unitIndex = t.unitIndex;
  return r;
}

QString IntegerPrompt(const QString& prompt) { return prompt + QStringLiteral(" :"); }

QString IntegerRangePrompt(const QString& prompt, int32_t lo, int32_t hi) {
  return prompt + QStringLiteral(" (") + IntText(lo) + QStringLiteral(" to ") + IntText(hi) +
         QStringLiteral(")");
}

QString ValuePrompt(const QString& prompt) {
  return QString::fromLatin1(kValueHelp) + prompt + QStringLiteral(" :");
}

QString ValueRangePrompt(const QString& prompt, double lo, double hi) {
  return prompt + QStringLiteral("  (") + EngText(lo) + QStringLiteral(" to ") + EngText(hi) +
         QStringLiteral(")");
}

QString FreqCountPrompt(const QString& prompt, int32_t lo, int32_t hi) {
  return prompt + QStringLiteral("   (") + FreqCountToText(lo, true) + QStringLiteral(" to ") +
         FreqCountToText(hi, true) + QStringLiteral(")");
}

QString FreqHzPrompt(const QString& prompt, int32_t lo, int32_t hi) {
  return prompt + QStringLiteral("   (") + HzToText(lo, true) + QStringLiteral(" to ") +
         HzToText(hi, true) + QStringLiteral(")");
}

QString YesNoText(const QString& question) {
  if (!question.isEmpty() && question.back().unicode() < 32) return question;
  return question + QChar('?');
}

TInputResult InputText(const QString& title, const QString& prompt, const QString& initial,
                       TAsker& asker) {
  return asker.InputText(title, prompt, initial);
}

bool AskYesNo(const QString& question, TAsker& asker) {
  return asker.MessageBox(YesNoText(question), TMsgType::Confirmation, mbYes | mbNo) == mbYes;
}

int32_t AskInteger(const QString& prompt, int32_t current, TAsker& asker) {
  const QString title = QString::fromLatin1(kIntegerTitle);
  const QString shown = IntegerPrompt(prompt);
  const QString entry = IntText(current);
  for (;;) {
    // Cancel gives the entry text back, which reads as current.
    const TInputResult r = asker.InputText(title, shown, entry);
    if (const auto v = ParseDouble(r.text)) {
      return RoundToInt32(ClampLowWins(*v, -kIntLimit, kIntLimit));
    }
    EntryBeep(asker);
  }
}

int32_t AskIntegerInRange(const QString& prompt, int32_t current, int32_t lo, int32_t hi,
                          TAsker& asker) {
  return ClampLowWins(AskInteger(IntegerRangePrompt(prompt, lo, hi), current, asker), lo, hi);
}

namespace {

struct TValueEntry {
  double value = 0.0;
  bool cancelled = false;
};

// The entry loop of AskValue: a wrong entry beeps and asks again, Cancel gives current.
TValueEntry AskValueEntry(const QString& prompt, double current, TAsker& asker) {
  const QString title = QString::fromLatin1(kValueTitle);
  const QString shown = ValuePrompt(prompt);
  QString entry = EngText(current);
  for (;;) {
    const TInputResult r = asker.InputText(title, shown, entry);
    if (!r.ok) return {current, true};
    const TParsedValue p = ParseValueEntry(r.text);
    if (p.ok) return {p.value, false};
    EntryBeep(asker);
    entry = NumberText(6, current);
  }
}

}  // namespace

TAskedValue AskValue(const QString& prompt, double current, TAsker& asker) {
  const double value = AskValueEntry(prompt, current, asker).value;
  const TEngScale s = EngScale(value);
  return {value, s.factor, s.suffix};
}

TAskedValue AskValueInRange(const QString& prompt, double lo, double hi, double current,
                            TAsker& asker) {
  const TAskedValue a = AskValue(ValueRangePrompt(prompt, lo, hi), current, asker);
  const double v = ClampLowWins(a.value, lo, hi);
  const TEngScale s = EngScale(v);
  return {v, s.factor, s.suffix};
}

TCheckedValue AskValueInRangeChecked(const QString& prompt, double lo, double hi, double current,
                                     TAsker& asker) {
  const TValueEntry a = AskValueEntry(ValueRangePrompt(prompt, lo, hi), current, asker);
  if (!(a.value >= lo && a.value <= hi)) return {current, true, a.cancelled};
  return {a.value, false, a.cancelled};
}

namespace {

TFreqAnswer CheckFreq(int32_t v, int32_t current, int32_t lo, int32_t hi, bool clamp) {
  if (v >= lo && v <= hi) return {v, false};
  return {clamp ? ClampLowWins(v, lo, hi) : current, true};
}

}  // namespace

TFreqAnswer AskFreqCount(const QString& prompt, int32_t current, int32_t lo, int32_t hi, bool clamp,
                         TAsker& asker) {
  // Cancel gives back the initial text, which reads back as current.
  const TInputResult r =
      asker.InputText(QString::fromLatin1(kFreqTitle), FreqCountPrompt(prompt, lo, hi),
                      FreqCountToText(current, false));
  if (!r.ok) return {current, false, true};
  const TParsedValue p = ParseWithSuffix(r.text, QChar('M'), FreqCountToHz(current));
  if (!p.ok) return {current, true};
  return CheckFreq(HzToFreqCount(p.value), current, lo, hi, clamp);
}

TFreqAnswer AskFreqHz(const QString& prompt, int32_t current, int32_t lo, int32_t hi, bool clamp,
                      TAsker& asker) {
  const TInputResult r = asker.InputText(QString::fromLatin1(kFreqTitle),
                                         FreqHzPrompt(prompt, lo, hi), HzToText(current, false));
  if (!r.ok) return {current, false, true};
  const TParsedValue p = ParseWithSuffix(r.text, QChar('M'), double(current));
  if (!p.ok) return {current, true};
  const int32_t hz = RoundToInt32(ClampLowWins(std::fabs(p.value), -kIntLimit, kIntLimit));
  return CheckFreq(hz, current, lo, hi, clamp);
}

int NoticeLifeTime(int ms) { return ClampLowWins(int32_t(ms), 0, kMaxNoticeMs); }

TNoticeLayout NoticeLayout(QSize labelSize) {
  constexpr int kMargin = 12;
  const int w = labelSize.width() <= 80 ? 105 : labelSize.width() + 2 * kMargin;
  const int h = kMargin + labelSize.height() + kMargin;
  TNoticeLayout l;
  l.client = QSize(w, h);
  l.label = QRect(QPoint((w - labelSize.width()) / 2, kMargin), labelSize);
  return l;
}

TWaitLayout WaitLayout(QSize labelSize, QSize animationSize) {
  constexpr int kGap = 8;
  // The window is as wide as its message; it never cuts the animation.
  const int w = std::max(labelSize.width() + kGap, animationSize.width() + 2 * kGap);
  TWaitLayout l;
  l.label = QRect(0, kGap, w, labelSize.height());
  l.animation =
      QRect(QPoint((w - animationSize.width()) / 2, l.label.bottom() + 1 + kGap), animationSize);
  l.client = QSize(w, l.animation.bottom() + 1 + kGap);
  return l;
}

TInputLayout InputLayout(QSize promptSize, QSize editSize, QSize buttonSize) {
  constexpr int kTop = 8;
  constexpr int kLeft = 12;
  constexpr int kGap = 8;
  constexpr int kHalfGap = 4;
  TInputLayout l;
  l.prompt = QRect(QPoint(kLeft, kTop), promptSize);
  const int editW = std::max(editSize.width(), promptSize.width());
  l.edit = QRect(QPoint(kLeft, l.prompt.bottom() + 1 + kGap), QSize(editW, editSize.height()));
  const int clientW = l.edit.right() + 1 + kLeft;
  const int mid = clientW / 2;
  const int buttonsTop = l.edit.bottom() + 1 + kGap;
  l.ok = QRect(QPoint(mid - kHalfGap - buttonSize.width(), buttonsTop), buttonSize);
  l.cancel = QRect(QPoint(mid + kHalfGap, buttonsTop), buttonSize);
  l.client = QSize(clientW, buttonsTop + buttonSize.height() + kGap);
  return l;
}

void ShowTransient(const QString& message, int ms, TAsker& asker) {
  const int life = NoticeLifeTime(ms);
  asker.ShowNotice(QString::fromLatin1(kNoticeCaption), message, life);
  asker.Sleep(life);
  asker.HideNotice();
}

void ShowWait(const QString& caption, const QString& message, int animation, int lastFrame,
              TAsker& asker) {
  asker.ShowWait(caption.isEmpty() ? QString::fromLatin1(kWaitCaption) : caption, message,
                 animation, lastFrame);
}

void HideWait(TAsker& asker) { asker.HideWait(); }

void ShowBusy(const QString& caption, int animation, int lastFrame, TAsker& asker) {
  asker.ShowBusy(caption.isEmpty() ? QString::fromLatin1(kBusyCaption) : caption, animation,
                 lastFrame);
}

void SetBusyInfo(const QString& text, TAsker& asker) { asker.SetBusyInfo(text); }

void HideBusy(TAsker& asker) { asker.HideBusy(); }

}  // namespace qz
