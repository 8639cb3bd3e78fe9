#pragma once
// Results as CSV for other programs (spreadsheets, pandas, numpy): UTF-8, CR LF, comma-separated
// with a point as decimal separator whatever the program's separator, one row per result after
// a block of "# key: value" lines (one line each) that says where the values come from:
//
//   # program: QzmSoft Version 1.0.0 (QzSim, 123456 bytes, ...)
//   # unit: HW : QZTU 1.8/0, SW : V0 Simulated
//   # saved: 2026-12-09T21:00:00.123Z
//   ...
//   frame,time,f_MHz,mag_in,pha_in_deg,mag_load,pha_load_deg,pinc_kW,...
//   50,2026-12-09T20:59:58.101Z,2450.00000,0.500000,...
//
// pandas.read_csv(path, comment='#') reads such a file as it stands. Rows are built as bytes
// (util/formatbytes), so the data log can write one per result.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "core/onesweep.h"
#include "core/records.h"
#include "core/resultstext.h"
#include "core/saveresults.h"

namespace qz {

class TQvWin;

inline constexpr const char* kCsvTitle = "Export Results as CSV";
inline constexpr const char* kCsvFilter = "CSV file (*.csv)|*.csv|Any file (*.*)|*.*";
inline constexpr const char* kCsvExt = "csv";

// "frame,time,f_MHz,...,ms2" (no line end); with record: "record," in front (the data log).
QByteArray CsvColumnNames(bool record = false);

// ISO 8601 UTC with milliseconds, "yyyy-MM-ddTHH:mm:ss.zzzZ", of ms since 1970.
void AppendUtcTime(QByteArray& out, int64_t utcMs);
QString UtcTimeText(int64_t utcMs);

// One row and its CR LF: the frame's stamp (an unstamped frame, number 0, leaves frame and time
// empty), the measurement fields (empty without a measurement block) and the tuner fields of
// mot. With record >= 0 the record number comes first.
void AppendCsvRow(QByteArray& out, const TSwpStamp& stamp, const THresults& res,
                  const TMotState& mot, const TTunerDescr& tu, int64_t record = -1);

// What the rows are measured against, as the description lines say it.
QString CsvPlaneIn(const TQvWin& qv, const TTunerDescr& tu);
QString CsvPlaneLoad(const TQvWin& qv);
QString CsvTransform(const TQvWin& qv);

// The description lines from "program" to the "setup" lines, each "# key: value" + CR LF;
// timeKey is "saved" (a results file) or "log_started" (a log), at utcMs.
QString CsvDescription(const TQvWin& qv, const TTunerDescr& tu, const TProgramInfo& prog,
                       const char* timeKey, int64_t utcMs, const QString& comment);

struct TCsvJob {
  QString path;
  QString comment;
  int64_t savedUtcMs = 0;  // time of saving (run clock)
  TProgramInfo program;
};

// The whole file: description, "frames_measured" (the program-wide count) and "rows_kept", the
// column names and a row per stored frame, oldest first (a sample series as rotated). Decodes
// every stored frame into qv.Res, as the results text file does.
QByteArray ResultsCsvBytes(TQvWin& qv, const TTunerDescr& tu, const TCsvJob& job);

// Writes the file whole (an old file of the name stays untouched when that fails). lastPath
// becomes job.path, and is set back when the save fails. An empty sweep writes nothing.
TSaveTxtResult SaveResultsCsv(TQvWin& qv, const TTunerDescr& tu, const TCsvJob& job,
                              QString& lastPath);

// The CSV file name offered after a results file: its name with the extension ".csv".
QString CsvNameFor(const QString& resultsPath);

}  // namespace qz
