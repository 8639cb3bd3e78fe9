#include "core/resultscsv.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>
#include <cstring>

#include "core/qvwin.h"
#include "util/formatbytes.h"

namespace qz {

namespace {

const TDecSepBytes kPoint{QChar('.')};

// A non-negative number with at least `width` digits (leading zeros).
char* PutDigits(char* p, int64_t v, int width) {
  char buf[24];
  int n = 0;
  do {
    buf[n++] = char('0' + v % 10);
    v /= 10;
  } while (v > 0);
  for (int i = n; i < width; ++i) *p++ = '0';
  while (n > 0) *p++ = buf[--n];
  return p;
}

// Two digits of 0 .. 99.
char* Put2(char* p, int64_t v) {
  p[0] = char('0' + v / 10);
  p[1] = char('0' + v % 10);
  return p + 2;
}

// The most bytes of a time: a sign, a year of 64-bit milliseconds and "-MM-DDTHH:MM:SS.zzzZ".
constexpr int kMaxTimeBytes = 48;

// "yyyy-MM-ddTHH:mm:ss.zzzZ" of ms since 1970 at p; returns the end.
char* PutUtcTime(char* p, int64_t utcMs) {
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
  if (y < 0) *p++ = '-';
  p = PutDigits(p, y < 0 ? -y : y, 4);
  *p++ = '-';
  p = Put2(p, m);
  *p++ = '-';
  p = Put2(p, d);
  *p++ = 'T';
  p = Put2(p, ms / 3600000);
  *p++ = ':';
  p = Put2(p, ms / 60000 % 60);
  *p++ = ':';
  p = Put2(p, ms / 1000 % 60);
  *p++ = '.';
  const int64_t milli = ms % 1000;
  *p++ = char('0' + milli / 100);
  p = Put2(p, milli % 100);
  *p++ = 'Z';
  return p;
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
  char buf[kMaxTimeBytes];
  out.append(buf, PutUtcTime(buf, utcMs) - buf);
}

QString UtcTimeText(int64_t utcMs) {
  QByteArray b;
  AppendUtcTime(b, utcMs);
  return QString::fromLatin1(b);
}

void AppendCsvRow(QByteArray& out, const TSwpStamp& stamp, const THresults& res,
                  const TMotState& mot, const TTunerDescr& tu, int64_t record) {
  // Built in one buffer and appended once: the data log writes a row per result. 18 fields at
  // most besides the time, each with its comma, and the line end.
  char buf[18 * (kMaxFieldBytes + 1) + kMaxTimeBytes + 2];
  char* p = buf;
  if (record >= 0) {
    p = PutInt(p, record);
    *p++ = ',';
  }
  if (stamp.frame > 0) {
    p = PutInt(p, stamp.frame);
    *p++ = ',';
    p = PutUtcTime(p, stamp.utcMs);
  } else {
    *p++ = ',';
  }
  if (res.je_qv) {
    auto fixed = [&p](double v, int decimals) {
      *p++ = ',';
      p = PutFixed(p, v, decimals, kPoint);
    };
    fixed(res.FreD / 1e6, 5);
    fixed(res.Mag_m, 6);
    fixed(res.Pha_m, 4);
    fixed(res.Mag_z, 6);
    fixed(res.Pha_z, 4);
    fixed(res.Pinc / 1000.0, 9);
    fixed(res.Prfl / 1000.0, 9);
    fixed(res.Pabs / 1000.0, 9);
    // A reflection of 1 or more (or an unreadable one) has no finite standing-wave ratio.
    const double g = res.Mag_m;
    if (g >= 1.0 || !std::isfinite(g)) {
      std::memcpy(p, ",inf", 4);
      p += 4;
    } else {
      fixed((1.0 + g) / (1.0 - g), 4);
    }
    fixed(res.Temp, 1);
    *p++ = ',';
    p = PutInt(p, res.ErrByte);
  } else {
    std::memcpy(p, ",,,,,,,,,,,", 11);
    p += 11;
  }
  const TMotPos& pos = mot.ActPos;
  for (int i = 1; i <= 3; ++i) {
    *p++ = ',';
    p = PutFixed(p, pos[i] * tu.MmPerStep, 3, kPoint);
  }
  *p++ = ',';
  p = PutInt(p, mot.MotStatus);
  *p++ = ',';
  p = PutInt(p, mot.MotError);
  *p++ = '\r';
  *p++ = '\n';
  out.append(buf, p - buf);
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
