// Value entry rules: suffixes, engineering texts, the entry loops (beep and ask again), the
// frequency entries, stored texts within limits and the layouts of the small windows.
#include "util/valueinput.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>
#include <vector>

#include "util/asker.h"

namespace qz {
namespace {

// A scripted asker that keeps quiet on the terminal.
struct Script : TScriptedAsker {
  Script() { quiet = true; }
  std::vector<TAskRecord> Inputs() const { return Records(TAskRecord::Input); }
};

TEST(SuffixFactor, LettersOfEitherCaseAndAnythingElse) {
  struct Case {
    char c;
    double factor;
  };
  const Case cases[] = {
      {'P', 1e-12}, {'p', 1e-12}, {'N', 1e-9}, {'n', 1e-9}, {'U', 1e-6}, {'u', 1e-6}, {'I', 1e-3},
      {'i', 1e-3},  {'K', 1e3},   {'k', 1e3},  {'M', 1e6},  {'m', 1e6},  {'G', 1e9},  {'g', 1e9},
      {'T', 1e12},  {'t', 1e12},  {'H', 1.0},  {'x', 1.0},  {'E', 1.0},  {' ', 1.0},  {'0', 1.0}};
  for (const Case& c : cases) {
    EXPECT_EQ(SuffixFactor(QChar(c.c)), c.factor) << c.c;
  }
}

TEST(ParseWithSuffix, DefaultMegaExamplesAndFailures) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const double fb = -7.0;
  const Case cases[] = {
      {"2.45", true, 2.45e6},
      {"2.45GHz", true, 2.45e9},
      {"100Hz", true, 100.0},
      {"5 k", true, 5000.0},
      {"5m", true, 5e6},
      {"1,5k", true, 1500.0},
      {"-5k", true, -5000.0},
      {"2.45 GHz", true, 2.45e9},
      {" 150 ", true, 150e6},
      {"1e3k", true, 1e6},
      {"3u", true, 3e-6},
      {"7i", true, 7e-3},
      {"", false, fb},
      {"   ", false, fb},
      {"abc", false, fb},
      {"nan", false, fb},
      {"inf", false, fb},
      {"1.2.3k", false, fb},
      {"e", false, fb},
      {"kHz", false, fb},
      // Scaled beyond the range of numbers: refused like "inf", never an infinite frequency.
      {"1e308", false, fb},
      {"1e308k", false, fb},
      {"-1e305 G", false, fb},
      {"1e302", true, 1e308},
  };
  for (const Case& c : cases) {
    const TParsedValue p = ParseWithSuffix(QString::fromUtf8(c.text), QChar('M'), fb);
    EXPECT_EQ(p.ok, c.ok) << c.text;
    EXPECT_DOUBLE_EQ(p.value, c.value) << c.text;
  }
}

TEST(ParseWithSuffix, HexIsNeverReadAsHex) {
  // "0x10" is the number 0 followed by a letter without factor, never sixteen.
  const TParsedValue p = ParseWithSuffix(QStringLiteral("0x10"), QChar('M'), 1.0);
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.value, 0.0);
}

TEST(EngScale, BoundariesOfEachSuffix) {
  struct Case {
    double x;
    double factor;
    char suffix;
  };
  const Case cases[] = {{0.0, 1.0, ' '},     {5e-13, 1.0, ' '},   {1e-12, 1e-12, 'p'},
                        {2e-10, 1e-12, 'p'}, {1e-9, 1e-9, 'n'},   {3.3e-6, 1e-6, 'u'},
                        {0.001, 1.0, ' '},   {999.99, 1.0, ' '},  {-0.5, 1.0, ' '},
                        {1000.0, 1e3, 'k'},  {-2.45e9, 1e9, 'G'}, {1e6, 1e6, 'M'},
                        {1e12, 1e12, 'T'},   {1e15, 1e12, 'T'},   {NAN, 1.0, ' '}};
  for (const Case& c : cases) {
    const TEngScale s = EngScale(c.x);
    EXPECT_EQ(s.factor, c.factor) << c.x;
    EXPECT_EQ(s.suffix, QChar(c.suffix)) << c.x;
  }
}

TEST(EngText, ValueWithItsSuffix) {
  struct Case {
    double x;
    const char* text;
  };
  const Case cases[] = {{1500.0, "1.5k"}, {2.45e9, "2.45G"},  {0.0, "0"},      {3.3e-6, "3.3u"},
                        {0.5, "0.5"},     {-1500.0, "-1.5k"}, {1e15, "1000T"}, {10.0, "10"}};
  for (const Case& c : cases) {
    EXPECT_EQ(EngText(c.x), QString::fromUtf8(c.text)) << c.x;
  }
}

TEST(ParseValueEntry, SuffixScanAndLastCharacterRule) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {{"1.5k", true, 1500.0},  {"12x", true, 12.0},    {"5k0", false, 0.0},
                        {"3.3u", true, 3.3e-6},  {"", false, 0.0},       {"1,5", true, 1.5},
                        {"2.5e3", true, 2500.0}, {"2M", true, 2e6},      {"2m", true, 2e6},
                        {"k", false, 0.0},       {"abc", false, 0.0},    {"nan", false, 0.0},
                        {"inf", false, 0.0},     {"0x1p3", false, 0.0},  {"-4n", true, -4e-9},
                        {"1e308k", false, 0.0},  {"-1e300T", false, 0.0}};
  for (const Case& c : cases) {
    const TParsedValue p = ParseValueEntry(QString::fromUtf8(c.text));
    EXPECT_EQ(p.ok, c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(p.value, c.value) << c.text;
    }
  }
}

TEST(AskValue, AnswersWithTheirScale) {
  struct Case {
    const char* answer;
    double value;
    double factor;
    char suffix;
  };
  const Case cases[] = {{"1.5k", 1500.0, 1e3, 'k'},
                        {"12x", 12.0, 1.0, ' '},
                        {"3.3u", 3.3e-6, 1e-6, 'u'},
                        {"2.45G", 2.45e9, 1e9, 'G'}};
  for (const Case& c : cases) {
    Script s;
    s.QueueText(QString::fromUtf8(c.answer));
    const TAskedValue v = AskValue(QStringLiteral("Gain"), 7.0, s);
    EXPECT_DOUBLE_EQ(v.value, c.value) << c.answer;
    EXPECT_EQ(v.factor, c.factor) << c.answer;
    EXPECT_EQ(v.suffix, QChar(c.suffix)) << c.answer;
    EXPECT_EQ(s.beeps, 0) << c.answer;
  }
}

TEST(AskValue, TitlePromptAndInitialEntry) {
  Script s;
  s.QueueCancel();
  const TAskedValue v = AskValue(QStringLiteral("Gain"), 1500.0, s);
  EXPECT_EQ(v.value, 1500.0);
  EXPECT_EQ(v.suffix, QChar('k'));
  ASSERT_EQ(s.Inputs().size(), 1u);
  const TAskRecord r = s.Inputs()[0];
  EXPECT_EQ(r.caption, QStringLiteral("Enter value  (+ optional suffix as multiplier)"));
  EXPECT_EQ(r.text, QStringLiteral("Possible suffices (no space, letter case irrelevant):\r\n"
                                   "   P=pico  N=nano  U=micro  I=milli\r\n"
                                   "   K=kilo   M=mega  G=giga   T=tera\r\n"
                                   "\r\n"
                                   "Gain :"));
  EXPECT_EQ(r.extra, QStringLiteral("1.5k"));
}

TEST(AskValue, WrongEntriesBeepAndAskAgainWithThePlainCurrentValue) {
  for (const char* wrong : {"5k0", "", "abc"}) {
    Script s;
    s.QueueText(QString::fromUtf8(wrong));
    s.QueueText(QStringLiteral("2k"));
    const TAskedValue v = AskValue(QStringLiteral("Gain"), 1500.0, s);
    EXPECT_EQ(v.value, 2000.0) << wrong;
    EXPECT_EQ(s.beeps, 1) << wrong;
    ASSERT_EQ(s.Inputs().size(), 2u) << wrong;
    // The second round shows the current value without suffix.
    EXPECT_EQ(s.Inputs()[1].extra, QStringLiteral("1500")) << wrong;
  }
}

TEST(AskValue, CancelAfterAWrongEntryKeepsCurrent) {
  Script s;
  s.QueueText(QStringLiteral("5k0"));  // then the queue is empty: Cancel
  const TAskedValue v = AskValue(QStringLiteral("Gain"), 0.25, s);
  EXPECT_EQ(v.value, 0.25);
  EXPECT_EQ(s.beeps, 1);
}

TEST(AskValueInRange, PromptAndLimit) {
  Script s;
  s.QueueText(QStringLiteral("5k"));
  const TAskedValue v = AskValueInRange(QStringLiteral("Load"), 10.0, 1000.0, 50.0, s);
  EXPECT_EQ(v.value, 1000.0);
  EXPECT_EQ(v.suffix, QChar('k'));
  ASSERT_EQ(s.Inputs().size(), 1u);
  EXPECT_TRUE(s.Inputs()[0].text.endsWith(QStringLiteral("Load  (10 to 1k) :")))
      << s.Inputs()[0].text.toStdString();
}

TEST(AskValueInRangeChecked, OutsideGivesCurrentAndTheFlag) {
  struct Case {
    const char* answer;
    double value;
    bool out;
  };
  const Case cases[] = {
      {"500", 500.0, false}, {"5k", 50.0, true}, {"1", 50.0, true}, {"10", 10.0, false}};
  for (const Case& c : cases) {
    Script s;
    s.QueueText(QString::fromUtf8(c.answer));
    const TCheckedValue v = AskValueInRangeChecked(QStringLiteral("Load"), 10.0, 1000.0, 50.0, s);
    EXPECT_EQ(v.value, c.value) << c.answer;
    EXPECT_EQ(v.outOfRange, c.out) << c.answer;
  }
}

TEST(AskValueInRangeChecked, CancelIsToldApartFromARefusal) {
  struct Case {
    bool cancel;
    double current;
    double value;
    bool out;
  };
  // A current value outside the range (the caller's start value) comes back on Cancel with both
  // flags, so a caller asking until the answer fits can stop.
  const Case cases[] = {{true, 50.0, 50.0, false}, {true, 1.0, 1.0, true}, {false, 1.0, 1.0, true}};
  for (const Case& c : cases) {
    Script s;
    if (c.cancel) {
      s.QueueCancel();
    } else {
      s.QueueText(QStringLiteral("2k"));
    }
    const TCheckedValue v =
        AskValueInRangeChecked(QStringLiteral("Load"), 10.0, 1000.0, c.current, s);
    EXPECT_EQ(v.value, c.value) << c.cancel << " " << c.current;
    EXPECT_EQ(v.outOfRange, c.out) << c.cancel << " " << c.current;
    EXPECT_EQ(v.cancelled, c.cancel) << c.cancel << " " << c.current;
  }
}

TEST(AskInteger, AnswersReadAsFloatingPointRoundedHalfToEven) {
  struct Case {
    const char* answer;
    int32_t value;
    int beeps;
  };
  const Case cases[] = {{"1e3", 1000, 0},
                        {"3000000000", 2147483647, 0},
                        {"-3000000000", -2147483647, 0},
                        {"12.7", 13, 0},
                        {"2.5", 2, 0},
                        {"3.5", 4, 0},
                        {"-2.5", -2, 0},
                        {" 17 ", 17, 0},
                        {"abc", 42, 1},
                        {"", 42, 1},
                        {"nan", 42, 1},
                        {"inf", 42, 1},
                        {"0x10", 42, 1},
                        {"12abc", 42, 1}};
  for (const Case& c : cases) {
    Script s;
    s.QueueText(QString::fromUtf8(c.answer));
    EXPECT_EQ(AskInteger(QStringLiteral("Count"), 42, s), c.value) << c.answer;
    EXPECT_EQ(s.beeps, c.beeps) << c.answer;
  }
}

TEST(AskInteger, WrongAnswerShowsTheCurrentValueAgain) {
  Script s;
  s.QueueText(QStringLiteral("abc"));
  s.QueueText(QStringLiteral("7"));
  EXPECT_EQ(AskInteger(QStringLiteral("Count"), -12, s), 7);
  ASSERT_EQ(s.Inputs().size(), 2u);
  for (const TAskRecord& r : s.Inputs()) {
    EXPECT_EQ(r.caption, QStringLiteral("Enter integer value"));
    EXPECT_EQ(r.text, QStringLiteral("Count :"));
    EXPECT_EQ(r.extra, QStringLiteral("-12"));
  }
  EXPECT_EQ(s.beeps, 1);
}

TEST(AskIntegerInRange, PromptAndLimitWithoutMessage) {
  struct Case {
    const char* answer;  // nullptr: Cancel
    int32_t value;
  };
  const Case cases[] = {{"20000", 10000}, {"-5", 0}, {"250", 250}, {nullptr, 100}};
  for (const Case& c : cases) {
    Script s;
    if (c.answer) s.QueueText(QString::fromUtf8(c.answer));
    EXPECT_EQ(AskIntegerInRange(QStringLiteral("Dwell time"), 100, 0, 10000, s), c.value);
    ASSERT_EQ(s.Inputs().size(), 1u);
    EXPECT_EQ(s.Inputs()[0].text, QStringLiteral("Dwell time (0 to 10000) :"));
    EXPECT_TRUE(s.Records(TAskRecord::Message).empty());
  }
}

TEST(AskFreqCount, AnswersErrorsAndLimits) {
  // Limits 100 MHz .. 3 GHz in 10 Hz steps, current 2.45 GHz.
  const int32_t lo = 10000000, hi = 300000000, cur = 245000000;
  struct Case {
    const char* answer;  // nullptr: Cancel
    bool clamp;
    int32_t value;
    bool error;
  };
  const Case cases[] = {
      {"2.45G", false, 245000000, false},
      {"150", false, 15000000, false},
      {"915MHz", false, 91500000, false},
      {"1,5G", false, 150000000, false},
      {"", false, cur, true},
      {"abc", false, cur, true},
      {"5G", false, cur, true},
      {"5G", true, hi, true},
      {"50", true, lo, true},
      {"-150", false, cur, true},
      {"-150", true, lo, true},
      {nullptr, false, cur, false},
  };
  for (const Case& c : cases) {
    Script s;
    if (c.answer) s.QueueText(QString::fromUtf8(c.answer));
    const TFreqAnswer a = AskFreqCount(QStringLiteral("Frequency"), cur, lo, hi, c.clamp, s);
    EXPECT_EQ(a.value, c.value) << (c.answer ? c.answer : "cancel") << " " << c.clamp;
    EXPECT_EQ(a.error, c.error) << (c.answer ? c.answer : "cancel") << " " << c.clamp;
    EXPECT_EQ(s.beeps, 0);
  }
}

TEST(AskFreqCount, TitlePromptAndInitialText) {
  Script s;
  AskFreqCount(QStringLiteral("Frequency"), 245000000, 240000000, 250000000, false, s);
  ASSERT_EQ(s.Inputs().size(), 1u);
  const TAskRecord r = s.Inputs()[0];
  EXPECT_EQ(r.caption, QStringLiteral("Enter Freq (+ suffix h=Hz k M G T; none=MHz)"));
  EXPECT_EQ(r.text, QStringLiteral("Frequency   (2.4 GHz to 2.5 GHz)"));
  EXPECT_EQ(r.extra, QStringLiteral("2.45GHz"));
}

TEST(AskFreqCount, CancelReadsBackEveryCurrentCount) {
  // The initial text of each unit range must read back as the same count.
  for (int32_t cur : {0, 99, 1234, 91500000, 245000000, 1234567}) {
    Script s;
    const TFreqAnswer a = AskFreqCount(QStringLiteral("F"), cur, 0, 300000000, false, s);
    EXPECT_EQ(a.value, cur);
    EXPECT_FALSE(a.error) << cur;
  }
}

TEST(AskFreqCount, CancelIsReportedApartFromErrors) {
  // A current count outside the limits comes back on Cancel without the error flag, so a
  // caller that asks again until the answer fits can stop.
  for (const char* answer : {static_cast<const char*>(nullptr), "5G", "2.45G"}) {
    Script s;
    if (answer) s.QueueText(QString::fromLatin1(answer));
    const TFreqAnswer a =
        AskFreqCount(QStringLiteral("F"), 300000000, 10000000, 250000000, false, s);
    const TFreqAnswer h = AskFreqHz(QStringLiteral("F"), 7, 10, 1000, false, s);
    EXPECT_EQ(a.cancelled, answer == nullptr) << (answer ? answer : "cancel");
    EXPECT_EQ(a.error, answer != nullptr && answer[0] == '5') << (answer ? answer : "cancel");
    EXPECT_TRUE(h.cancelled);  // the second question is never answered
    EXPECT_FALSE(h.error);
    EXPECT_EQ(h.value, 7);
  }
}

TEST(AskFreqHz, AnswersSignDroppedAndLimits) {
  struct Case {
    const char* answer;
    bool clamp;
    int32_t value;
    bool error;
  };
  const Case cases[] = {
      {"-5k", false, 5000, false}, {"5k", false, 5000, false},   {"0.001", false, 1000, false},
      {"12.5h", false, 12, false}, {"13.5Hz", false, 14, false}, {"", false, 2000, true},
      {"1G", false, 2000, true},   {"1G", true, 1000000, true},  {"10", true, 1000000, true},
      {"5T", true, 1000000, true}, {"0", true, 10, true},
  };
  for (const Case& c : cases) {
    Script s;
    s.QueueText(QString::fromUtf8(c.answer));
    const TFreqAnswer a = AskFreqHz(QStringLiteral("Clock"), 2000, 10, 1000000, c.clamp, s);
    EXPECT_EQ(a.value, c.value) << c.answer << " " << c.clamp;
    EXPECT_EQ(a.error, c.error) << c.answer << " " << c.clamp;
  }
}

TEST(AskFreqHz, PromptAndInitialText) {
  Script s;
  const TFreqAnswer a = AskFreqHz(QStringLiteral("Clock"), 12345, 999, 1000000, false, s);
  EXPECT_EQ(a.value, 12345);
  EXPECT_FALSE(a.error);
  ASSERT_EQ(s.Inputs().size(), 1u);
  EXPECT_EQ(s.Inputs()[0].text, QStringLiteral("Clock   (999 Hz to 1 MHz)"));
  EXPECT_EQ(s.Inputs()[0].extra, QStringLiteral("12.345kHz"));
}

TEST(TextToIntInRange, ReadClampOrKeep) {
  struct Case {
    const char* text;
    int32_t current, lo, hi;
    bool clamp;
    int32_t value;
  };
  const Case cases[] = {
      {" 42 ", 5, 0, 100, false, 42},      {"abc", 500, 0, 100, false, 100},
      {"abc", 5, 0, 100, true, 5},         {"150", 5, 0, 100, true, 100},
      {"150", 5, 0, 100, false, 5},        {"-1", 5, 0, 100, true, 0},
      {"-1", 500, 0, 100, false, 100},     {"1.5", 5, 0, 100, true, 5},
      {"0x10", 5, 0, 100, true, 5},        {"", 5, 0, 100, true, 5},
      {"99999999999", 5, 0, 100, true, 5}, {"+7", 5, 0, 100, true, 7},
      {"7", 5, 10, 0, false, 10},  // crossed bounds: the lower one wins
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToIntInRange(QString::fromUtf8(c.text), c.current, c.lo, c.hi, c.clamp), c.value)
        << c.text;
  }
}

TEST(TextToFloatInRange, StatusAndResult) {
  struct Case {
    const char* text;
    bool clamp;
    double value;
    int status;
  };
  const double cur = 0.5;
  const Case cases[] = {
      {"2e40", true, 1e38, 3},  {"2e40", false, cur, 3}, {"1.5", true, 1.5, 0},
      {"1,5", true, 1.5, 0},    {" 2.5 ", true, 2.5, 0}, {"-2e40", true, -1e38, 2},
      {"-2e40", false, cur, 2}, {"nan", true, cur, 1},   {"inf", true, cur, 1},
      {"-inf", true, cur, 1},   {"0x1p3", true, cur, 1}, {"1.5abc", true, cur, 1},
      {"", true, cur, 1},       {"1e400", true, cur, 1}, {"1,000.5", true, cur, 1},
  };
  for (const Case& c : cases) {
    const TFloatInRange r =
        TextToFloatInRange(QString::fromUtf8(c.text), cur, -1e38, 1e38, c.clamp);
    EXPECT_EQ(r.value, c.value) << c.text;
    EXPECT_EQ(r.status, c.status) << c.text;
  }
}

TEST(TextToFloatInRange, ReadsAPointWhateverTheLocale) {
  // A stored text is written with a point; the reading must not depend on the C locale.
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be missing: then "C" stays
  const TFloatInRange r = TextToFloatInRange(QStringLiteral("12.25"), 0.0, 0.0, 100.0, true);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(r.value, 12.25);
  EXPECT_EQ(r.status, 0);
}

TEST(YesNoText, QuestionMarkRule) {
  struct Case {
    const char* q;
    const char* shown;
  };
  const Case cases[] = {
      {"Save setup", "Save setup?"}, {"Line\r\n", "Line\r\n"}, {"Tab\t", "Tab\t"}, {"", "?"},
      {"Really?", "Really??"},       {"Blank ", "Blank ?"}};
  for (const Case& c : cases) {
    EXPECT_EQ(YesNoText(QString::fromUtf8(c.q)), QString::fromUtf8(c.shown)) << c.q;
  }
}

TEST(AskYesNo, YesGivesTrueAndTheBoxIsAYesNoConfirmation) {
  struct Case {
    TMsgButton queued;  // mbNone: nothing queued (the operator presses Escape)
    bool result;
  };
  const Case cases[] = {{mbYes, true}, {mbNo, false}, {mbNone, false}};
  for (const Case& c : cases) {
    Script s;
    if (c.queued != mbNone) s.QueueButton(c.queued);
    EXPECT_EQ(AskYesNo(QStringLiteral("Overwrite"), s), c.result);
    const auto boxes = s.Records(TAskRecord::Message);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Overwrite?"));
    EXPECT_EQ(boxes[0].type, TMsgType::Confirmation);
    EXPECT_EQ(boxes[0].buttons, TMsgButtons(mbYes | mbNo));
  }
}

TEST(ShowTransient, DisplayTimeIsLimitedToTenSeconds) {
  struct Case {
    int ms;
    int slept;
  };
  const Case cases[] = {{20000, 10000}, {10000, 10000}, {500, 500}, {0, 0}, {-5, 0}};
  for (const Case& c : cases) {
    Script s;
    ShowTransient(QStringLiteral("Quzar Stop OK"), c.ms, s);
    EXPECT_EQ(s.sleptMs, c.slept) << c.ms;
    EXPECT_FALSE(s.noticeVisible) << c.ms;
    const auto notices = s.Records(TAskRecord::Notice);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, QStringLiteral("Wait..."));
    EXPECT_EQ(notices[0].text, QStringLiteral("Quzar Stop OK"));
    EXPECT_EQ(notices[0].number, c.slept);
  }
}

TEST(NoticeLayout, NarrowLabelsGetTheMinimumWidth) {
  struct Case {
    int w, h;
    int clientW, clientH, labelLeft;
  };
  const Case cases[] = {{60, 15, 105, 39, 22},
                        {80, 15, 105, 39, 12},
                        {81, 15, 105, 39, 12},
                        {200, 30, 224, 54, 12},
                        {0, 0, 105, 24, 52}};
  for (const Case& c : cases) {
    const TNoticeLayout l = NoticeLayout(QSize(c.w, c.h));
    EXPECT_EQ(l.client, QSize(c.clientW, c.clientH)) << c.w;
    EXPECT_EQ(l.label, QRect(c.labelLeft, 12, c.w, c.h)) << c.w;
  }
}

TEST(InputLayout, PromptEntryAndButtonsAroundTheMiddle) {
  // A prompt wider than the entry widens the entry.
  TInputLayout l = InputLayout(QSize(300, 40), QSize(220, 21), QSize(75, 25));
  EXPECT_EQ(l.prompt, QRect(12, 8, 300, 40));
  EXPECT_EQ(l.edit, QRect(12, 56, 300, 21));
  EXPECT_EQ(l.client, QSize(324, 118));
  EXPECT_EQ(l.ok, QRect(83, 85, 75, 25));  // ends 4 pixels left of the middle (162)
  EXPECT_EQ(l.cancel, QRect(166, 85, 75, 25));
  // A narrow prompt keeps the entry's own width.
  l = InputLayout(QSize(100, 15), QSize(220, 21), QSize(75, 25));
  EXPECT_EQ(l.edit, QRect(12, 31, 220, 21));
  EXPECT_EQ(l.client, QSize(244, 93));
  EXPECT_EQ(l.ok.right() + 1, 122 - 4);
  EXPECT_EQ(l.cancel.left(), 122 + 4);
}

TEST(WaitLayout, WidthFollowsTheMessage) {
  TWaitLayout l = WaitLayout(QSize(200, 15), QSize(96, 56));
  EXPECT_EQ(l.client, QSize(208, 95));
  EXPECT_EQ(l.label, QRect(0, 8, 208, 15));
  EXPECT_EQ(l.animation, QRect(56, 31, 96, 56));
  // A short message never cuts the animation.
  l = WaitLayout(QSize(20, 15), QSize(96, 56));
  EXPECT_EQ(l.client.width(), 112);
  EXPECT_EQ(l.animation.left(), 8);
}

TEST(WaitAndBusy, CaptionsDefaultAndWindowsComeAndGo) {
  Script s;
  ShowWait(QString(), QStringLiteral("Reading memory"), 3, 0, s);
  EXPECT_TRUE(s.waitVisible);
  ShowBusy(QString(), 4, 0, s);
  SetBusyInfo(QStringLiteral("File 1 of 3"), s);
  EXPECT_EQ(s.busyInfo, QStringLiteral("File 1 of 3"));
  HideWait(s);
  HideBusy(s);
  EXPECT_FALSE(s.waitVisible);
  EXPECT_FALSE(s.busyVisible);
  EXPECT_EQ(s.Records(TAskRecord::Wait)[0].caption, QStringLiteral("Wait please..."));
  EXPECT_EQ(s.Records(TAskRecord::Busy)[0].caption, QStringLiteral("System Busy"));
  ShowBusy(QStringLiteral("Copying"), 5, 0, s);
  EXPECT_EQ(s.Records(TAskRecord::Busy)[1].caption, QStringLiteral("Copying"));
  EXPECT_TRUE(s.busyInfo.isEmpty());
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST(ValidateEdits, IntegerEntriesOfSetupDialogs) {
  struct Case {
    const char* text;
    int32_t expect;
    const char* errors;
  } cases[] = {
      {"201", 201, ""},
      {" 300 ", 300, ""},
      {"100,5", 100, ""},
      {"101.5", 102, ""},  // halves to even
      {"abc", 201, " - Sample Count (abc)"},
      {"", 201, " - Sample Count ()"},
      {"5000", 4095, " - Sample Count (5000)"},
      {"4095.4", 4095, " - Sample Count (4095.4)"},
      {"-3", 21, " - Sample Count (-3)"},
      {"nan", 201, " - Sample Count (nan)"},
  };
  for (const Case& c : cases) {
    QString errors;
    EXPECT_EQ(ValidateIntEdit(c.text, "Sample Count", 21, 4095, 201, errors), c.expect) << c.text;
    EXPECT_EQ(errors, c.errors) << c.text;
  }
  QString two;
  ValidateIntEdit("abc", "Sample Count", 21, 4095, 201, two);
  ValidateIntEdit("150", "Accept Level", 0, 100, 25, two);
  EXPECT_EQ(two, " - Sample Count (abc)\n\r - Accept Level (150)");
}

TEST(ValidateEdits, TimeEntriesWithUnits) {
  struct Case {
    const char* text;
    int unit;
    int32_t us;
    const char* shown;
    int shownUnit;
    const char* errors;
  } cases[] = {
      {"1000", 0, 1000, "1", 1, ""},
      {"2,5", 1, 2500, "2.5", 1, ""},
      {"10", 2, 10000000, "10", 2, ""},
      {"11", 2, 10000000, "10", 2, " - Sampling Time (11)"},
      {"5", 0, 10, "10", 0, " - Sampling Time (5)"},
      {"x", 1, 1000, "1", 1, " - Sampling Time (x)"},
      {"0.0004", 1, 10, "10", 0, " - Sampling Time (0.0004)"},
  };
  for (const Case& c : cases) {
    QString errors;
    const TValidatedTime t =
        ValidateTimeEdit(c.text, c.unit, "Sampling Time", 10, 10000000, 1000, errors);
    EXPECT_EQ(t.us, c.us) << c.text;
    EXPECT_EQ(t.text, c.shown) << c.text;
    EXPECT_EQ(t.unitIndex, c.shownUnit) << c.text;
    EXPECT_EQ(errors, c.errors) << c.text;
  }
}

}  // namespace
}  // namespace qz
