#include "core/sparfile.h"

#include <array>

#include "core/texttokens.h"
#include "util/complex.h"
#include "util/inifile.h"
#include "util/unitconv.h"

namespace qz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kConsultHelp = QStringLiteral("Consult Help for correct file structure.");

enum TForm { fmNone = -1, fmRe, fmIm, fmMag, fmLog, fmSwr, fmDeg, fmRad };

TForm FormOf(const QString& s) {
  static const std::array<const char*, 7> kNames = {"RE", "IM", "MAG", "LOG", "SWR", "DEG", "RAD"};
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (s == QLatin1String(kNames[i])) return TForm(i);
  }
  return fmNone;
}

bool IsMagForm(TForm f) { return f == fmMag || f == fmLog || f == fmSwr; }
bool IsPhaseForm(TForm f) { return f == fmDeg || f == fmRad; }

// Parameter index 0..3 (S11, S12, S21, S22) from characters 2-3 of a header token, or -1.
int ParamOf(const QString& digits) {
  if (digits == QLatin1String("11")) return 0;
  if (digits == QLatin1String("12")) return 1;
  if (digits == QLatin1String("21")) return 2;
  if (digits == QLatin1String("22")) return 3;
  return -1;
}

// The columns a parameter takes: its first two, a later one replacing the second.
struct TParamCols {
  std::array<int, 2> col = {-1, -1};
  std::array<TForm, 2> form = {fmNone, fmNone};
  int n = 0;

  void Add(int c, TForm f) {
    const int slot = n < 2 ? n++ : 1;
    col[slot] = c;
    form[slot] = f;
  }
  // Index (0 or 1) of the real part or magnitude column when the pair is complete, else -1.
  int FirstOfPair() const {
    if (n < 2 || col[0] == col[1]) return -1;
    const TForm a = form[0];
    const TForm b = form[1];
    if (a == fmRe && b == fmIm) return 0;
    if (a == fmIm && b == fmRe) return 1;
    if (IsMagForm(a) && IsPhaseForm(b)) return 0;
    if (IsPhaseForm(a) && IsMagForm(b)) return 1;
    return -1;
  }
  bool Complete() const { return FirstOfPair() >= 0; }
};

struct THeader {
  double factor = 1.0;
  int columns = 0;
  std::array<TParamCols, 4> par;
};

// Reads the header line (after the "#"); false when it is not acceptable.
bool ParseHeader(const QString& rest, THeader* h) {
  const QStringList tokens = SplitTokens(TrimBlanks(rest.toUpper()));
  if (tokens.isEmpty()) return false;
  const QString& unit = tokens.front();
  if (unit == QLatin1String("HZ")) {
    h->factor = 1.0;
  } else if (unit == QLatin1String("KHZ")) {
    h->factor = 1e3;
  } else if (unit == QLatin1String("MHZ")) {
    h->factor = 1e6;
  } else if (unit == QLatin1String("GHZ")) {
    h->factor = 1e9;
  } else {
    return false;
  }
  bool lastRecognised = false;
  for (qsizetype i = 1; i < tokens.size(); ++i) {
    const QString& t = tokens.at(i);
    lastRecognised = false;
    if (t.size() < 5) continue;
    const int p = ParamOf(t.mid(1, 2));
    const TForm f = FormOf(t.mid(4));
    if (p < 0 || f == fmNone) continue;
    ++h->columns;
    h->par[p].Add(h->columns, f);
    lastRecognised = true;
  }
  const bool s12 = h->par[1].Complete();
  const bool s21 = h->par[2].Complete();
  return lastRecognised && h->par[0].Complete() && h->par[3].Complete() && (s12 || s21);
}

// Magnitude and phase in the column's phase form, phase taken in degrees.
complex PolarOf(double mag, double phase, TForm phaseForm) {
  const double deg = phaseForm == fmRad ? phase * 180.0 / kPi : phase;
  return CPolarDeg(mag, deg);
}

// The value of a complete parameter from the numbers of a record (index 0 the frequency).
complex ParamValue(const TParamCols& pc, const std::vector<double>& num) {
  const int first = pc.FirstOfPair();
  const int second = 1 - first;
  const double x = num[size_t(pc.col[first])];
  const double y = num[size_t(pc.col[second])];
  switch (pc.form[first]) {
    case fmRe:
      return complex(x, y);
    case fmLog:
      return PolarOf(Pow10(x / 20.0), y, pc.form[second]);
    case fmSwr:
      return PolarOf(SwrToRho(x), y, pc.form[second]);
    default:
      return PolarOf(x, y, pc.form[second]);
  }
}

// ---- Touchstone version 1 ----------------------------------------------------------------

const QString kAborted = QStringLiteral("\r\n\r\nProcedure aborted.");

struct TTouchOptions {
  double factor = 1e9;  // GHZ
  QChar param = QChar('S');
  QString format = QStringLiteral("MA");
  double refOhm = 50.0;
};

// Reads the option words; false when a token is none of them.
bool ReadTouchOptions(const QString& rest, TTouchOptions* o) {
  const QStringList t = SplitTokens(TrimBlanks(rest.toUpper()));
  for (qsizetype i = 0; i < t.size(); ++i) {
    const QString& w = t.at(i);
    if (w == QLatin1String("HZ")) {
      o->factor = 1.0;
    } else if (w == QLatin1String("KHZ")) {
      o->factor = 1e3;
    } else if (w == QLatin1String("MHZ")) {
      o->factor = 1e6;
    } else if (w == QLatin1String("GHZ")) {
      o->factor = 1e9;
    } else if (w.size() == 1 && QStringLiteral("SYZHG").contains(w)) {
      o->param = w.at(0);
    } else if (w == QLatin1String("DB") || w == QLatin1String("MA") || w == QLatin1String("RI")) {
      o->format = w;
    } else if (w == QLatin1String("R") && i + 1 < t.size()) {
      const std::vector<double> r = ScanNumbers(t.at(i + 1));
      if (r.size() != 1) return false;
      o->refOhm = r.front();
      ++i;
    } else {
      return false;
    }
  }
  return true;
}

// The text of a line before its "!" comment, trimmed.
QString WithoutComment(const QString& line) {
  const qsizetype bang = line.indexOf(QLatin1Char('!'));
  return TrimBlanks(bang < 0 ? line : line.left(bang));
}

// The port count an extension ".s<n>p" gives, or 0.
int PortsOfName(const QString& name) {
  const QString lower = name.toLower();
  const qsizetype dot = lower.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return 0;
  const QString ext = lower.mid(dot + 1);
  if (ext.size() < 3 || !ext.startsWith(QLatin1Char('s')) || !ext.endsWith(QLatin1Char('p')))
    return 0;
  bool ok = false;
  const int n = ext.mid(1, ext.size() - 2).toInt(&ok);
  return ok && n > 0 ? n : 0;
}

QString TouchName(const QString& name) {
  return name.isEmpty() ? QStringLiteral("Touchstone file")
                        : QStringLiteral("Touchstone file ") + name;
}

QString AtLine(int i, const QString& line) {
  return QStringLiteral(" in Line ") + QString::number(i) + QStringLiteral(":\r\n    ") +
         TabsToBlanks(line);
}

TSparFileResult Refused(const QString& text) {
  TSparFileResult r;
  r.message = text + kAborted;
  return r;
}

complex TouchValue(const QString& format, double x, double y) {
  if (format == QLatin1String("RI")) return complex(x, y);
  if (format == QLatin1String("DB")) return CPolarDeg(Pow10(x / 20.0), y);
  return CPolarDeg(x, y);
}

TSparFileResult ParseTouchstone(const QStringList& lines, const QString& name) {
  const QString who = TouchName(name);
  const QString twoPort = QStringLiteral(": the transform needs a two-port file (.s2p)");
  const int ports = PortsOfName(name);
  if (ports != 0 && ports != 2)
    return Refused(who + QStringLiteral(" is a file of ") + QString::number(ports) +
                   (ports == 1 ? QStringLiteral(" port") : QStringLiteral(" ports")) + twoPort +
                   QStringLiteral("."));
  TTouchOptions opt;
  bool haveOptions = false;
  bool noise = false;
  TSparFileResult r;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString s = WithoutComment(lines.at(i));
    if (s.isEmpty()) continue;
    if (s.startsWith(QLatin1Char('['))) {
      return Refused(who +
                     QStringLiteral(" is of Touchstone version 2 (\"[Version]\"): only "
                                    "version 1 files are read") +
                     AtLine(int(i), s));
    }
    if (s.startsWith(QLatin1Char('#'))) {
      // Only the first option line counts.
      if (haveOptions) continue;
      haveOptions = true;
      ReadTouchOptions(s.mid(1), &opt);
      if (opt.param != QChar('S')) {
        return Refused(who + QStringLiteral(" holds ") + QString(opt.param) +
                       QStringLiteral("-parameters: the transform needs S-parameters") +
                       AtLine(int(i), s));
      }
      continue;
    }
    if (noise) continue;
    const std::vector<double> num = ScanNumbers(s);
    const bool allNumbers = int(SplitTokens(s).size()) == int(num.size());
    if (allNumbers && num.size() == 5 && !r.freqs.empty()) {
      // The noise parameters of a two-port follow its data: nothing after them is read.
      noise = true;
      continue;
    }
    if (allNumbers && num.size() == 3)
      return Refused(who + QStringLiteral(" holds one-port records") + twoPort + AtLine(int(i), s));
    if (!allNumbers || num.size() != 9) {
      return Refused(who + QStringLiteral(": a two-port record holds 9 numbers, not ") +
                     QString::number(num.size()) + AtLine(int(i), s));
    }
    const double f = num[0] * opt.factor;
    if (!r.freqs.empty() && !(f > r.freqs.back())) {
      return Refused(who + QStringLiteral(": the frequencies must rise") + AtLine(int(i), s));
    }
    TSmatrix m;
    m.s11 = TouchValue(opt.format, num[1], num[2]);
    m.s21 = TouchValue(opt.format, num[3], num[4]);
    m.s12 = TouchValue(opt.format, num[5], num[6]);
    m.s22 = TouchValue(opt.format, num[7], num[8]);
    r.freqs.push_back(f);
    r.matrices.push_back(m);
  }
  if (r.freqs.empty()) return Refused(who + QStringLiteral(" holds no data"));
  r.info =
      TouchstoneLoadedInfo(name, int(r.freqs.size()), r.freqs.front(), r.freqs.back(), opt.refOhm);
  r.valid = true;
  r.isError = false;
  r.message = SparLoadedMsg(r.info);
  return r;
}

// The file is a Touchstone file: its first "#" line holds option words only, or it starts with
// a version 2 keyword.
bool IsTouchstone(const QStringList& lines) {
  for (const QString& line : lines) {
    const QString s = WithoutComment(line);
    if (s.isEmpty()) continue;
    if (s.toUpper().startsWith(QLatin1String("[VERSION]"))) return true;
    if (s.startsWith(QLatin1Char('#'))) return IsTouchstoneOptionLine(s.mid(1));
  }
  return false;
}

}  // namespace

bool IsTouchstoneOptionLine(const QString& rest) {
  // A bare "#" stays the program's own (unit-less, refused) header.
  if (SplitTokens(TrimBlanks(rest)).isEmpty()) return false;
  TTouchOptions o;
  return ReadTouchOptions(rest, &o);
}

QString TouchstoneLoadedInfo(const QString& name, int count, double f1Hz, double f2Hz,
                             double refOhm) {
  QString s = QStringLiteral("Touchstone ") + name + QStringLiteral(", ") + QString::number(count) +
              QStringLiteral(" frequencies, ") + IniFile::FloatText(f1Hz / 1e6) +
              QStringLiteral(" to ") + IniFile::FloatText(f2Hz / 1e6) + QStringLiteral(" MHz");
  if (refOhm != 50.0) {
    s += QStringLiteral("\r\nReference impedance ") + IniFile::FloatText(refOhm) +
         QStringLiteral(" ohm, not 50: the data are used as they stand.");
  }
  return s;
}

QString SparTooFewLinesMsg(int count) {
  return QStringLiteral("Less than 2 lines in source file: Nlines=") + QString::number(count) +
         kCrLf + kConsultHelp + kCrLf + kCrLf + QStringLiteral("Input file analysis aborted.");
}

QString SparHeaderMsg(int lineIndex, const QString& line) {
  return QStringLiteral("Incorrect or insufficient header in Line ") + QString::number(lineIndex) +
         QStringLiteral(":") + kCrLf + QStringLiteral("    ") + TabsToBlanks(line) + kCrLf + kCrLf +
         kConsultHelp + kCrLf + kCrLf + QStringLiteral("Procedure aborted.");
}

QString SparColumnCountMsg(int lineIndex, int headerCount, int dataCount, const QString& line) {
  return QStringLiteral(
             "Conflict between column count obtained from header and data count in Line ") +
         QString::number(lineIndex) + QStringLiteral(":") + kCrLf +
         QStringLiteral("   Header count = ") + QString::number(headerCount) + kCrLf +
         QStringLiteral("   Data count = ") + QString::number(dataCount) + kCrLf +
         QStringLiteral("   Line = ") + TabsToBlanks(line) + kCrLf +
         QStringLiteral("May be due to incorrect file structure or incorrect decimal separator.") +
         kCrLf +
         QStringLiteral("  - Decimal separator must be POINT not comma for file analysis.") +
         kCrLf + QStringLiteral("  - Consult Help for correct file structure.") + kCrLf + kCrLf +
         QStringLiteral("Record analysis aborted.");
}

QString SparNoValidDataMsg() {
  return QStringLiteral("No valid data found or END statement missing.") + kCrLf + kConsultHelp;
}

// The odd "\n\r" is the message's own and is kept as it is.
QString SparLoadedMsg(const QString& info) { return QStringLiteral("Loaded File:\n\r") + info; }

TSparFileResult ParseSparLines(const QStringList& lines, const QString& name) {
  if (IsTouchstone(lines)) return ParseTouchstone(lines, name);
  TSparFileResult r;
  if (lines.size() < 2) {
    r.message = SparTooFewLinesMsg(int(lines.size()));
    return r;
  }
  THeader head;
  bool haveHeader = false;
  int records = 0;
  bool valid = false;
  TBlockComment comment;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString s = TrimBlanks(lines.at(i));
    if (comment.Skip(s) || IsIgnoredLine(s)) continue;
    if (s.startsWith(QLatin1Char('#'))) {
      THeader h;
      if (!ParseHeader(s.mid(1), &h)) {
        r.message = SparHeaderMsg(int(i), s);
        r.freqs.clear();
        r.matrices.clear();
        return r;
      }
      head = h;
      haveHeader = true;
      // Records of two layouts never mix: a new header starts the table again.
      records = 0;
      valid = false;
      r.freqs.clear();
      r.matrices.clear();
      continue;
    }
    if (s.startsWith(QLatin1Char('*'))) {
      const TKeywordLine k = SplitKeywordLine(s);
      if (k.key == QLatin1String("INFO")) r.info = k.value;
      continue;
    }
    if (s.toUpper().startsWith(QLatin1String("END"))) {
      valid = records > 0;
      continue;
    }
    const std::vector<double> num = ScanNumbers(s);
    // Without an accepted header no record can be read: its columns are unknown.
    const int expected = haveHeader ? head.columns + 1 : 0;
    if (!haveHeader || int(num.size()) != expected) {
      r.message = SparColumnCountMsg(int(i), expected, int(num.size()), s);
      r.freqs.clear();
      r.matrices.clear();
      return r;
    }
    TSmatrix m;
    const bool c12 = head.par[1].Complete();
    const bool c21 = head.par[2].Complete();
    m.s11 = ParamValue(head.par[0], num);
    m.s22 = ParamValue(head.par[3], num);
    if (c12) m.s12 = ParamValue(head.par[1], num);
    if (c21) m.s21 = ParamValue(head.par[2], num);
    if (!c12) m.s12 = m.s21;
    if (!c21) m.s21 = m.s12;
    r.freqs.push_back(num[0] * head.factor);
    r.matrices.push_back(m);
    ++records;
  }
  r.valid = valid;
  if (valid) {
    r.message = SparLoadedMsg(r.info);
    r.isError = false;
  } else {
    r.freqs.clear();
    r.matrices.clear();
    r.message = SparNoValidDataMsg();
  }
  return r;
}

}  // namespace qz
