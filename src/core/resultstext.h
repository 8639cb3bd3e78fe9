#pragma once
// The text forms of results: the tab-separated columns and headers shared by the results file,
// the data log, scenario records and chart exports; the description of the program and the unit
// that closes a results file or a log; and the stamp of the analyzer and tuner setup.
//
// Every number is written with the decimal separator the caller passes; the time is passed in
// too, so that the same inputs always give the same text.

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

#include "core/records.h"
#include "util/formatbytes.h"

namespace qz {

class TQvWin;
struct VersionInfoRec;

// ---- columns of one result ------------------------------------------------------------------

// Measurement columns "f_MHz .. PhaL_dg"; "" when the result carries no measurement block.
QString MeasToString(const THresults& res, QChar decSep);
// Record number, then the measurement columns; "" without a measurement block.
QString MeasToString(int32_t index, const THresults& res, QChar decSep);
// Record number, elapsed time in seconds, then the measurement columns; "" without a
// measurement block.
QString MeasToString(int32_t index, const THresults& res, double seconds, QChar decSep);

// Tuner columns, each starting with a tab: the actual stub positions in millimetres (or in
// motor steps), then the motor status and motor error bytes.
QString TunToString(bool millimetres, const TMotState& mot, const TTunerDescr& tu, QChar decSep);

// The WinTime column: a tab and "now" as a day number with five decimals.
QString WinTime(const QDateTime& now, QChar decSep);

// ---- headers --------------------------------------------------------------------------------

QString MeasHeader();
QString TunHeader(bool millimetres);
// "No", measurement, tuner and "WinTime" names.
QString SaveTxtHeader(bool millimetres);
// "No", "Time_s", measurement, tuner and "WinTime" names.
QString LogHeader(bool millimetres);

// ---- whole lines ----------------------------------------------------------------------------

// The results-file line of stored point i of the current sweep: the stored frame is decoded
// into qv.Res (which also updates the tuner motor state); an undecodable frame gives "".
QString ResultsLine(TQvWin& qv, int32_t i, const TTunerDescr& tu, QChar decSep,
                    const QDateTime& now);

// A data-log line: the result with the logger's record number + 1 and its elapsed seconds,
// the tuner columns in millimetres, blanks around them removed, then the WinTime column.
QString GetLogString(const THresults& res, int32_t recordNumber, double seconds,
                     const TMotState& mot, const TTunerDescr& tu, QChar decSep,
                     const QDateTime& now);
// The same line as UTF-8 bytes appended to out, built without a QString (the log writes one
// per result); days is the WinTime value, DateTimeToDays of the time of the record.
void AppendLogString(QByteArray& out, const THresults& res, int32_t recordNumber, double seconds,
                     const TMotState& mot, const TTunerDescr& tu, const TDecSepBytes& sep,
                     double days);

// ---- program and unit description -----------------------------------------------------------

// What the program knows about itself.
struct TProgramInfo {
  QString version;      // program version
  QString fileInfo;     // the program file's name, size and date
  QString description;  // file description
  QString legalNotice;
};
TProgramInfo ProgramInfoOf(const VersionInfoRec& v);
// For the running program.
TProgramInfo CurrentProgramInfo();

// The newest server version of the unit this program knows.
inline constexpr int kBestKnownSrvVer = 59;

struct TAboutStrings {
  QString title;        // "About QzmSoft"
  QString program;      // "QzmSoft Version " + version
  QString programFile;  // the program file's name, size and date
  QString unit;         // "HW : ..." CR LF "SW : V..."
  QString description;
  QString legalNotice;
  int bestSrvVer = kBestKnownSrvVer;
};
TAboutStrings GetAboutStrings(const TQvWin& qv, const TProgramInfo& prog);

// Program, program file and unit description and the plane extension, starting with CR LF and
// with CR LF between its lines (none at the end).
QString GetSaveTxtInfo(const TQvWin& qv, const TProgramInfo& prog);

// ---- setup stamp ----------------------------------------------------------------------------

// The setup stamp: "[Analyzer setup]" and "[Tuner setup]" with their key=value lines, every
// line ended by CR LF. The autotune settings come from the analyzer's tuner motor state.
QString WriteStamp(const TQvWin& qv, const TTunerDescr& tu);

// ---- date and time of saving ----------------------------------------------------------------

// The locale's short date, a blank and the time with seconds (the locale's long time form
// without a time-zone name).
QString SavedDateTimeText(const QDateTime& t, const QLocale& locale);

}  // namespace qz
