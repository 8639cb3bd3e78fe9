#include "core/resultscsv.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>

#include "core/qvwin.h"
#include "util/formatbytes.h"

namespace qz {

namespace {

const TDecSepBytes kPoint{QChar('.')};

// Two digits, or the given width, of a non-negative number.
void AppendDigits(QByteArray& out, int64_t v, int width) {
  char buf[24];
  int n = 0;
  do {
    buf[n++] = char('0' + v % 10);
    v /= 10;
  } while (v > 0);
  for (int i = n; i < width; ++i) out += '0';
  while (n > 0) out += buf[--n];
}

// A description value on one line: line breaks become blanks.
QString OneLine(QString s) {
  s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  s.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
  return s;
}

void Describe(QString& out, const char* key, const QString& value) {
  out += QStringLiteral("# ") + QLatin1String(key) + QStringLiteral(": ") + OneLine(value) +
         QStringLiteral("\r\n");
}

QString Fixed(double v, int decimals) {
  QByteArray b;
  AppendFixed(b, v, decimals, kPoint);
  return QString::fromLatin1(b);
}

QString DirectionName(TBilinDir d) {
  return d == TBilinDir::Remove ? QStringLiteral("Remove fixture")
                                : QStringLiteral("Apply two-port");
}

}  // namespace

QByteArray CsvColumnNames(bool record) {
  QByteArray s = record ? QByteArray("record,") : QByteArray();
  s += "frame,time,f_MHz,mag_in,pha_in_deg,mag_load,pha_load_deg,pinc_kW,prfl_kW,pabs_kW,"
       "vswr_in,temp_C,err,st1_mm,st2_mm,st3_mm,ms1,ms2";
  return s;
}

void AppendUtcTime(QByteArray& out, int64_t utcMs) {
  // Days and milliseconds of the day (floor division, so times before 1970 work too).
  int64_t days = utcMs / 86400000;
  int64_t ms = utcMs % 86400000;
  if (ms < 0) {
    ms += 86400000;
    --days;
  }
  // The civil date of a day count (proleptic Gregorian calendar, days since 1970-01-01).
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  if (y < 0) out += '-';
  AppendDigits(out, y < 0 ? -y : y, 4);
  out += '-';
  AppendDigits(out, m, 2);
  out += '-';
  AppendDigits(out, d, 2);
  out += 'T';
  AppendDigits(out, ms / 3600000, 2);
  out += ':';
  AppendDigits(out, ms / 60000 % 60, 2);
  out += ':';
  AppendDigits(out, ms / 1000 % 60, 2);
  out += '.';
  AppendDigits(out, ms % 1000, 3);
  out += 'Z';
}

QString UtcTimeText(int64_t utcMs) {
  QByteArray b;
  AppendUtcTime(b, utcMs);
  return QString::fromLatin1(b);
}

void AppendCsvRow(QByteArray& out, const TSwpStamp& stamp, const THresults& res,
                  const TMotState& mot, const TTunerDescr& tu, int64_t record) {
  if (record >= 0) {
    AppendInt(out, record);
    out += ',';
  }
  if (stamp.frame > 0) {
    AppendInt(out, stamp.frame);
    out += ',';
    AppendUtcTime(out, stamp.utcMs);
  } else {
    out += ',';
  }
  if (res.je_qv) {
    out += ',';
    AppendFixed(out, res.FreD / 1e6, 5, kPoint);
    out += ',';
    AppendFixed(out, res.Mag_m, 6, kPoint);
    out += ',';
    AppendFixed(out, res.Pha_m, 4, kPoint);
    out += ',';
    AppendFixed(out, res.Mag_z, 6, kPoint);
    out += ',';
    AppendFixed(out, res.Pha_z, 4, kPoint);
    out += ',';
    AppendFixed(out, res.Pinc / 1000.0, 9, kPoint);
    out += ',';
    AppendFixed(out, res.Prfl / 1000.0, 9, kPoint);
    out += ',';
    AppendFixed(out, res.Pabs / 1000.0, 9, kPoint);
    out += ',';
    // A reflection of 1 or more (or an unreadable one) has no finite standing-wave ratio.
    const double g = res.Mag_m;
    if (g >= 1.0 || !std::isfinite(g))
      out += "inf";
    else
      AppendFixed(out, (1.0 + g) / (1.0 - g), 4, kPoint);
    out += ',';
    AppendFixed(out, res.Temp, 1, kPoint);
    out += ',';
    AppendInt(out, res.ErrByte);
  } else {
    out += ",,,,,,,,,,,";
  }
  const TMotPos& p = mot.ActPos;
  for (int i = 1; i <= 3; ++i) {
    out += ',';
    AppendFixed(out, p[i] * tu.MmPerStep, 3, kPoint);
  }
  out += ',';
  AppendInt(out, mot.MotStatus);
  out += ',';
  AppendInt(out, mot.MotError);
  out += "\r\n";
}

QString CsvPlaneIn(const TQvWin& qv, const TTunerDescr& tu) {
  if (qv.BiTr.GetActive()) {
    const QString file = QFileInfo(qv.BiTr.Path).fileName();
    return qv.BiTr.Direction == TBilinDir::Remove
               ? QStringLiteral("port 2 of ") + file + QStringLiteral(" (Remove fixture)")
               : QStringLiteral("port 1 of ") + file + QStringLiteral(" (Apply two-port)");
  }
  return QStringLiteral("tuner input at stub 1, ") + Fixed(tu.StubDist[1] / 1000.0, 3) +
         QStringLiteral(" mm from the input flange");
}

QString CsvPlaneLoad(const TQvWin& qv) {
  if (!qv.PlaneExt.Bexten) return QStringLiteral("output flange");
  return QStringLiteral("moved ") + Fixed(qv.PlaneExt.Extension, 3) +
         QStringLiteral(" mm along the waveguide towards the load");
}

QString CsvTransform(const TQvWin& qv) {
  if (!qv.BiTr.GetActive()) return QStringLiteral("off");
  return qv.BiTr.Path + QStringLiteral(", ") + DirectionName(qv.BiTr.Direction);
}

QString CsvDescription(const TQvWin& qv, const TTunerDescr& tu, const TProgramInfo& prog,
                       const char* timeKey, int64_t utcMs, const QString& comment) {
  const TAboutStrings a = GetAboutStrings(qv, prog);
  QString s;
  Describe(s, "program", a.program + QStringLiteral(" (") + a.programFile + QStringLiteral(")"));
  QString unit = a.unit;
  unit.replace(QStringLiteral("\r\n"), QStringLiteral(", "));
  Describe(s, "unit", unit);
  Describe(s, timeKey, UtcTimeText(utcMs));
  Describe(s, "comment", comment);
  Describe(s, "plane_extension_mm", Fixed(qv.PlaneExt.Extension, 3));
  Describe(s, "plane_in", CsvPlaneIn(qv, tu));
  Describe(s, "plane_load", CsvPlaneLoad(qv));
  Describe(s, "transform", CsvTransform(qv));
  for (const QString& line : WriteStamp(qv, tu).split(QStringLiteral("\r\n"))) {
    if (!line.isEmpty()) Describe(s, "setup", line);
  }
  return s;
}

QByteArray ResultsCsvBytes(TQvWin& qv, const TTunerDescr& tu, const TCsvJob& job) {
  const TOneSweep& swp = qv.LastSwp;
  const int32_t count = swp.Count();
  QByteArray rows;
  int64_t kept = 0;
  for (int32_t k = 0; k < count; ++k) {
    const int32_t i = swp.OldestFirst(k);
    // A copy: decoding must not read from a slot that a caller could change meanwhile.
    const TMerObjekt frame = swp.Frame(i);
    const TSwpStamp stamp = swp.Stamp(i);
    // An undecodable frame gives no row (as it gives an empty line in the results text).
    if (!qv.DekodMerData(frame, qv.Res)) continue;
    AppendCsvRow(rows, stamp, qv.Res, qv.Mot(), tu);
    ++kept;
  }
  QByteArray out =
      CsvDescription(qv, tu, job.program, "saved", job.savedUtcMs, job.comment).toUtf8();
  out += "# frames_measured: ";
  AppendInt(out, qv.FramesAccepted());
  out += "\r\n# rows_kept: ";
  AppendInt(out, kept);
  out += "\r\n";
  out += CsvColumnNames();
  out += "\r\n";
  out += rows;
  return out;
}

TSaveTxtResult SaveResultsCsv(TQvWin& qv, const TTunerDescr& tu, const TCsvJob& job,
                              QString& lastPath) {
  if (qv.LastSwp.Count() <= 0) return TSaveTxtResult{false, kNoMeasuredData};
  const QString previousPath = lastPath;
  lastPath = job.path;
  const TSaveTxtResult r = WriteResultsFile(job.path, ResultsCsvBytes(qv, tu, job));
  if (!r.ok) lastPath = previousPath;
  return r;
}

QString CsvNameFor(const QString& resultsPath) {
  if (resultsPath.isEmpty()) return QString();
  const QFileInfo fi(resultsPath);
  const QString base = fi.completeBaseName().isEmpty() ? fi.fileName() : fi.completeBaseName();
  const QString folder = fi.path();
  const QString name = base + QStringLiteral(".csv");
  return folder == QStringLiteral(".") && !resultsPath.startsWith(QStringLiteral("./"))
             ? name
             : folder + QChar('/') + name;
}

}  // namespace qz
