#pragma once
// The settings of data logging: what the operator enters in the logging window, how it is
// turned into the schedule (duration, repetition time, record limit, results per event), the
// texts of the progress and status, the closing settings block of a log and the window's setup
// section "LogForm".

#include <QChar>
#include <QString>
#include <cstdint>

#include "util/colors.h"

namespace qz {

class IniFile;

// State of the log.
enum TLogStatus : int {
  lsNotReady = 0,
  lsReady = 1,
  lsLogging = 2,
  lsAborted = 3,
  lsCompleted = 4,
  lsIllegalEnd = 5,
};

// What one call of the write procedure writes.
enum TRecordType : int {
  rtStart = 0,       // comment and header
  rtData = 1,        // one result
  rtEnd = 2,         // normal end record
  rtIllegalEnd = 3,  // end record after a failure or at program exit
};

// "Not ready", "Ready", "Logging...", "Aborted", "Completed", "Illegal end".
QString LogStatusText(TLogStatus s);
// The LED colour of a status.
TColor LogStatusLedColor(TLogStatus s);
// The suffix of the "Log File" group caption (" - not prepared", " - prepared", " - open",
// " - closed").
QString LogStatusCaptionSuffix(TLogStatus s);

// Ranges of the up/down entries.
inline constexpr int kLogMaxDays = 99;
inline constexpr int kLogMaxHours = 23;
inline constexpr int kLogMaxMinSec = 59;
// Limits of the record count and of the results per event.
inline constexpr int32_t kLogMaxRecords = 10000000;
inline constexpr int32_t kLogMaxRecordsUnreadable = 100;
inline constexpr int32_t kLogMaxSamplesPerEvent = 10000;

// The window's entries as the operator left them.
struct TLogEntries {
  int durD = 0, durH = 0, durM = 0, durS = 0;  // "Logging Duration"
  int intH = 0, intM = 0, intS = 0;            // "Sampling Repetition Time"
  QString records = QStringLiteral("0");       // "Records"
  QString samples = QStringLiteral("1");       // "Smpl/Event:"
  bool comma = false;                          // "Separator": "Comma" (else "Point")
  QString info;                                // "Info", the comment line of the log
  QString fileName;                            // full path of the log file
  bool csv = false;                            // "Format": "CSV" (else "Text")

  bool operator==(const TLogEntries&) const = default;

  // The keys of section "LogForm" (see ReadLogStp): every key read with the present value as
  // its default, the up/down values limited to their ranges.
  void WriteStp(IniFile& ini, const QString& section) const;
  void ReadStp(const IniFile& ini, const QString& section);
};

// Every up/down entry limited to its range.
TLogEntries LimitLogEntries(const TLogEntries& e);

// "Records": not an integer gives 100, below 0 gives 0, above 10 000 000 gives 10 000 000.
int32_t ParseMaxRecords(const QString& text);
// "Smpl/Event:": not an integer, or outside 1 .. 10 000, gives 1.
int32_t ParseLogSamples(const QString& text);

// The schedule made from the entries.
struct TLogApplied {
  TLogEntries entries;          // as they were applied (limited)
  double durationDays = 0.0;    // 0: unlimited
  int32_t samplIntervMs = 0;    // repetition time
  bool contSampling = true;     // repetition time 0: every result is logged
  int32_t maxRecordNumber = 0;  // 0: unlimited
  int32_t logSamples = 1;       // results per event (timed logging)
  QChar decSep = QChar('.');    // separator of the numbers of the data lines
  bool csv = false;             // the log is written as CSV (core/resultscsv.h)
};

TLogApplied ApplyLogSettings(const TLogEntries& e);

// Elapsed time: "hh:mm:ss" + separator + hundredths, with "<days>d+" in front from one day on
// (90061.5 s gives "1d+01:01:01.50"). Negative and non-finite spans count as 0.
QString DurationStr(double seconds, QChar decSep = QChar('.'));

// The settings block that closes a log, every line ended by CR LF (the last one is
// "End of logging.\r\n" followed by CR LF).
QString WriteLogSettings(const TLogApplied& a);

// Section "LogForm": every key is read with the present value as its default; the up/down
// values are limited to their ranges. Window keys ("Visible", "Top", "Left") belong to the
// window. keepFileName: the log file name is not read (a live log keeps its file).
inline constexpr const char* kLogSection = "LogForm";
void ReadLogStp(const IniFile& ini, TLogEntries& e, bool keepFileName);
void WriteLogStp(IniFile& ini, const TLogEntries& e);

}  // namespace qz
