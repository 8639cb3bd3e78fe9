#include "tuner/rholist.h"

#include <cmath>

#include "core/texttokens.h"
#include "util/asker.h"
#include "util/complex.h"
#include "util/format.h"
#include "util/unitconv.h"

namespace qz {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kConsultHelp = QStringLiteral("Consult Help for correct file structure.");
const QString kSkipAll =
    QStringLiteral("Record analysis aborted: Press Abort to skip all records.");

QString Int(int64_t v) { return Format(QStringLiteral("%d"), {v}); }

enum TCol { cNone, cRe, cIm, cMag, cLog, cSwr, cDeg, cRad };

bool IsMagType(TCol c) { return c == cRe || c == cMag || c == cLog || c == cSwr; }

TCol ColumnOf(const QString& t) {
  static const struct {
    const char* name;
    TCol col;
  } kCols[] = {{"RFL_RE", cRe},   {"RFL_IM", cIm},   {"RFL_MAG", cMag}, {"RFL_LOG", cLog},
               {"RFL_SWR", cSwr}, {"RFL_DEG", cDeg}, {"RFL_RAD", cRad}};
  for (const auto& c : kCols)
    if (t == QLatin1String(c.name)) return c.col;
  return cNone;
}

struct THeader {
  double factor = 1e6;
  int columns = 1;  // with the frequency
  TCol mag = cNone, phase = cNone;
  int magAt = -1, phaseAt = -1;  // column numbers (frequency = 0)
  bool Usable() const {
    if (magAt < 0 || phaseAt != magAt + 1) return false;
    if (mag == cRe) return phase == cIm;
    return phase == cDeg || phase == cRad;
  }
};

THeader ParseHeader(const QString& afterHash) {
  THeader h;
  for (const QString& raw : SplitTokens(afterHash)) {
    const QString t = raw.toUpper();
    if (t == QLatin1String("HZ")) {
      h.factor = 1.0;
    } else if (t == QLatin1String("KHZ")) {
      h.factor = 1e3;
    } else if (t == QLatin1String("MHZ")) {
      h.factor = 1e6;
    } else if (t == QLatin1String("GHZ")) {
      h.factor = 1e9;
    } else if (const TCol c = ColumnOf(t); c != cNone) {
      // When several columns of a type appear, the last one counts.
      if (IsMagType(c)) {
        h.mag = c;
        h.magAt = h.columns;
      } else {
        h.phase = c;
        h.phaseAt = h.columns;
      }
      ++h.columns;
    }
  }
  return h;
}

complex RecordValue(const THeader& h, const std::vector<double>& num) {
  const double a = num[size_t(h.magAt)];
  const double b = num[size_t(h.phaseAt)];
  if (h.mag == cRe) return complex(a, b);
  double m = a;
  if (h.mag == cLog) m = std::pow(10.0, a / 20.0);
  if (h.mag == cSwr) m = SwrToRho(a);
  const double deg = h.phase == cRad ? b * 180.0 / kPi : b;
  return CPolarDeg(m, deg);
}

bool AskOkAbort(TAsker& asker, const QString& msg) {
  return asker.MessageBox(msg, TMsgType::Error, TMsgButtons(mbOK | mbAbort)) != mbAbort;
}

}  // namespace

QString RhoTooFewLinesMsg(int count) {
  return QStringLiteral("Less than 2 lines in source file: Nlines=") + Int(count) + kCrLf +
         kConsultHelp + kCrLf + kCrLf + QStringLiteral("Procedure aborted.");
}

QString RhoHeaderCountMsg(int lineIndex, const QString& line) {
  return QStringLiteral("Incorrect header column count in Line ") + Int(lineIndex) +
         QStringLiteral(":") + kCrLf + QStringLiteral("    ") + TabsToBlanks(line) + kCrLf + kCrLf +
         kConsultHelp + kCrLf + kCrLf + kSkipAll;
}

QString RhoHeaderNoPairMsg() {
  return QStringLiteral(
      "Incorrect header - indicates no valid data.\r\nConsult Help for correct file "
      "structure.\r\n\r\nData ignored: Press Abort to skip all records.");
}

QString RhoColumnCountMsg(int lineIndex, int headerCount, int dataCount, const QString& line) {
  return QStringLiteral(
             "Conflict between column count obtained from header and data count in Line ") +
         Int(lineIndex) + QStringLiteral(":") + kCrLf + QStringLiteral("   Header count = ") +
         Int(headerCount) + kCrLf + QStringLiteral("   Data count = ") + Int(dataCount) + kCrLf +
         QStringLiteral("   Line = ") + TabsToBlanks(line) + kCrLf +
         QStringLiteral("May be due to incorrect file structure or incorrect decimal separator.") +
         kCrLf +
         QStringLiteral("  - Decimal separator must be POINT not comma for file analysis.") +
         kCrLf + QStringLiteral("  - Consult Help for correct file structure.") + kCrLf + kCrLf +
         kSkipAll;
}

QString RhoNoValidDataMsg() {
  return QStringLiteral("No valid data found.\r\nConsult Help for correct file structure.");
}

TRhoListRead ReadRhoList(const QStringList& lines, TAsker& asker) {
  TRhoListRead r;
  if (lines.size() < 2) {
    r.tooShort = true;
    asker.MessageBox(RhoTooFewLinesMsg(int(lines.size())), TMsgType::Error, mbOK);
    return r;
  }
  THeader head;
  bool haveHeader = false;
  bool ignoring = false;    // a refused header: its records are skipped until the next header
  bool countError = false;  // the present set had a record of the wrong length
  TRhoSet set;
  auto close = [&] {
    if (!set.recs.empty() && !countError) r.sets.push_back(set);
    set = TRhoSet{};
    countError = false;
  };
  TBlockComment comment;
  for (qsizetype i = 0; i < lines.size() && !r.aborted; ++i) {
    const QString s = TrimBlanks(lines.at(i));
    if (comment.Skip(s) || IsIgnoredLine(s)) {
      if (i == lines.size() - 1) close();
      continue;
    }
    // The last line closes the set and is never read as data.
    if (i == lines.size() - 1) {
      close();
      break;
    }
    if (s.startsWith(QLatin1Char('#'))) {
      const THeader h = ParseHeader(s.mid(1));
      set.recs.clear();
      countError = false;
      haveHeader = false;
      ignoring = true;
      if (h.columns < 2 || h.columns > 5) {
        if (!AskOkAbort(asker, RhoHeaderCountMsg(int(i), s))) r.aborted = true;
        continue;
      }
      if (!h.Usable()) {
        if (!AskOkAbort(asker, RhoHeaderNoPairMsg())) r.aborted = true;
        continue;
      }
      head = h;
      haveHeader = true;
      ignoring = false;
      continue;
    }
    if (s.startsWith(QLatin1Char('*'))) {
      const TKeywordLine k = SplitKeywordLine(s);
      if (k.key == QLatin1String("INFO")) set.info = k.value;
      continue;
    }
    if (s.toUpper().startsWith(QLatin1String("END"))) {
      close();
      continue;
    }
    if (ignoring) continue;
    const std::vector<double> num = ScanNumbers(s);
    const int expected = haveHeader ? head.columns : 0;
    if (!haveHeader || int(num.size()) != expected) {
      countError = true;
      if (!AskOkAbort(asker, RhoColumnCountMsg(int(i), expected, int(num.size()), s)))
        r.aborted = true;
      continue;
    }
    set.recs.push_back({num[0] * head.factor, RecordValue(head, num)});
  }
  if (r.sets.empty()) asker.MessageBox(RhoNoValidDataMsg(), TMsgType::Error, mbOK);
  return r;
}

QStringList SceOutputOfSets(const QStringList& output, const std::vector<TRhoSet>& sets,
                            const TSceSetJob& job, const std::atomic<bool>* cancel,
                            const std::function<void(int, int)>& progress) {
  QStringList out = output;
  // With Make each set replaces the output, so only the last one is computed.
  const size_t first = job.append || sets.empty() ? 0 : sets.size() - 1;
  int total = 0;
  for (size_t k = first; k < sets.size(); ++k)
    total += int(RowRecords(sets[k].recs, job.skipMatches).size());
  int before = 0;
  for (size_t k = first; k < sets.size(); ++k) {
    const TRhoSet& s = sets[k];
    const int page = int(k) + 1;
    QString info = s.info.trimmed();
    if (!job.generated.isEmpty()) {
      if (!info.isEmpty()) info += QStringLiteral(". ");
      info += job.generated;
    }
    const QString sceInfo =
        SceInfoLine(job.copy.descr, job.copy.transf.GetActive(), job.copy.transf.Path, info);
    const TSceOutputPlan plan = PlanSceOutput(out, job.append, sceInfo, info, page);
    const std::vector<TSceRecord> recs = RowRecords(s.recs, job.skipMatches);
    const QStringList rows = MakeScenarioRows(job.copy, recs, plan.firstRowNo, job.dwellMs,
                                              job.workers, cancel, [&](int done) {
                                                if (progress) progress(before + done, total);
                                              });
    if (cancel && cancel->load()) return output;
    before += int(recs.size());
    out = plan.head + rows;
  }
  return out;
}

}  // namespace qz
