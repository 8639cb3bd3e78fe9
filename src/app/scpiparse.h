#pragma once
// The instrument socket's language, without any socket: lines cut from a byte stream, a line
// cut into program message units at ";" (outside quotes), a unit into its header and
// parameters, headers matched against the command tree's patterns ("MEASure:GAMMa[:INPut]":
// capitals the short form, brackets an optional node), and the texts of the answers.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <vector>

namespace qz {

// The error numbers of the socket and their texts.
inline constexpr int kScpiNoError = 0;
inline constexpr int kScpiCommandError = -100;
inline constexpr int kScpiSyntaxError = -102;
inline constexpr int kScpiDataTypeError = -104;
inline constexpr int kScpiParamNotAllowed = -108;
inline constexpr int kScpiMissingParam = -109;
inline constexpr int kScpiUndefinedHeader = -113;
inline constexpr int kScpiExecutionError = -200;
inline constexpr int kScpiInitIgnored = -213;
inline constexpr int kScpiSettingsConflict = -221;
inline constexpr int kScpiOutOfRange = -222;
inline constexpr int kScpiFileNameError = -257;
inline constexpr int kScpiQueueOverflow = -350;
inline constexpr int kScpiInputOverrun = -363;
// "No error", "Command error", ... ("" for a number of no error of the socket).
QString ScpiErrorText(int code);

// The longest line taken (without its line end).
inline constexpr int kScpiMaxLine = 8192;

// Cuts a byte stream into lines ending in LF (a CR before it is dropped). A line longer than
// kScpiMaxLine is dropped as it comes, to its line end, and given as an overrun line; memory
// stays bounded whatever arrives.
class TScpiLineSplitter {
 public:
  struct TLine {
    QByteArray text;
    bool overrun = false;
  };
  void Feed(const char* data, qsizetype size);
  void Feed(const QByteArray& bytes) { Feed(bytes.constData(), bytes.size()); }
  bool HasLine() const { return !lines_.empty(); }
  TLine TakeLine();
  // Bytes held in complete lines not yet taken.
  qsizetype QueuedBytes() const { return queued_; }

 private:
  std::deque<TLine> lines_;
  QByteArray partial_;
  bool dropping_ = false;
  qsizetype queued_ = 0;
};

// A parameter of a unit: how it was written and its text (a string without its quotes, the
// doubled quotes made single).
struct TScpiParam {
  enum Kind { Number, String, Chars };
  Kind kind = Chars;
  QString text;
  double number = 0.0;  // for Number
};

// One program message unit as read.
struct TScpiUnit {
  bool common = false;  // "*IDN?"
  bool rooted = false;  // begins with ":"
  bool query = false;   // ends in "?"
  QStringList path;     // the header's keywords ("*IDN" for a common one)
  std::vector<TScpiParam> params;
  int error = kScpiNoError;  // a unit that cannot be read: its error (the rest is empty)
};

// The units of a line, cut at ";" outside quotes; empty units are left out. A quote left open
// ends the line as one unit with a syntax error.
std::vector<QByteArray> SplitScpiUnits(const QByteArray& line);
TScpiUnit ParseScpiUnit(const QByteArray& unit);

// A pattern of the tree: "MEASure:GAMMa[:INPut]".
class TScpiPattern {
 public:
  explicit TScpiPattern(const char* pattern);
  // The keywords match the pattern (short or long form, any letter case, optional nodes with
  // or without).
  bool Matches(const QStringList& path) const;
  const QString& Text() const { return text_; }

 private:
  struct TNode {
    QString shortForm, longForm;
    bool optional = false;
  };
  bool MatchFrom(const QStringList& path, int i, size_t j) const;
  std::vector<TNode> nodes_;
  QString text_;
};

// Answers: a number in its shortest form that reads back as the same double ("0.5", "2.45e+09";
// a value that is not finite as 9.9e37, the instrument's "not a number"), a string in double
// quotes with its quotes doubled.
QString ScpiNumber(double v);
QString ScpiString(const QString& s);

inline constexpr const char* kScpiDefaultAddress = "127.0.0.1";

// "--scpi [ADDRESS:]PORT": an IP literal ("[::1]:5025" for IPv6) and a port 0..65535 (0 picks
// a free one). False with the reason.
bool ParseScpiAddress(const QString& text, QString& address, int& port, QString& error);

}  // namespace qz
