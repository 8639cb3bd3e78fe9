#pragma once
// Data logging: the schedule and the file of a log, apart from its window.
//
// The operator prepares a file (status Ready); the measurement run starts the log (Logging...)
// and hands every result to ZapisData while a record is due: every result (continuous
// logging) or, after each tick of the repetition timer, a burst of LogSamples results that
// share one record number (timed logging). The log ends when a limit is reached (Completed),
// when the operator stops it (Aborted), or as Illegal end when the file cannot be written or the
// program closes while it is open.
//
// Every write is one whole text in one checked write: a failed write loses no line already in
// the file, is not counted, ends the log as Illegal end and queues one message for the
// operator, shown after the measurement pass (never inside it). Data records may be written on
// the sink's own thread: a failure found there is reported at the next record, tick, pause or
// end of the log, and the counts go back to the record that failed (nothing after it reached
// the file). Elapsed time comes from the monotonic clock; the Start/Stop line and the WinTime
// column use the wall clock.

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/onesweep.h"
#include "core/records.h"
#include "results/logio.h"
#include "results/logqueuedsink.h"
#include "results/logsettings.h"
#include "results/logtext.h"
#include "util/clock.h"
#include "util/datetext.h"

namespace qz {

class IniFile;

// "File "<path>" cannot be opened": the file chosen for a log cannot be created.
QString LogCannotOpenText(const QString& path);
// The message of a failed write or a failed append-open: the file and the system's reason.
QString LogWriteFailedText(const QString& path, const QString& reason);

class TLogEngine {
 public:
  TLogEngine(TLogSink& sink, TLogTimer& timer, Clock& clock);
  TLogEngine(const TLogEngine&) = delete;
  TLogEngine& operator=(const TLogEngine&) = delete;

  // The wall clock of the Start/Stop line and the WinTime column, and the date and time form of
  // the Start/Stop line.
  std::function<QDateTime()> wallClock = [clock = std::make_shared<LocalWallClock>()] {
    return clock->Now();
  };
  QLocale locale;
  // The run clock of a CSV log's times (UTC ms, util/clock.h).
  std::function<int64_t()> utcClock = [] { return RunUtcMs(); };
  // Called after every change of status, progress or file name.
  std::function<void()> OnChange;
  // Called when a message has been queued.
  std::function<void()> OnMessage;

  // The frame window's write procedure; nothing is written without one.
  void SetWriteProc(const TLogWriteProc* proc) { writeProc_ = proc; }

  // ---- entries ------------------------------------------------------------------------------
  const TLogEntries& Entries() const { return entries_; }
  // Takes every entry except the file name (which only preparing and reading a setup set).
  void SetEntries(const TLogEntries& e);
  // Section "LogForm". Reading while the log is Ready or Logging keeps its file name.
  void ReadStp(const IniFile& ini);
  void WriteStp(IniFile& ini) const;

  // ---- the measurement cycle's hooks --------------------------------------------------------
  // A log is prepared and waits for the run (status Ready).
  bool Armed() const { return status_ == lsReady; }
  // A run that cannot be logged (individual samples sent): the prepared log is cancelled.
  void Cancel();
  // A run starts (PoSpusteniMer): starts a prepared log; a paused log just continues.
  void PoSpusteniMer();
  // A record is due for the next result.
  bool LoggingOn() const { return status_ == lsLogging && (logEventOn_ || contSampling_); }
  // Writes the result when a record is due; stamp: its frame's number and receive time.
  void ZapisData(const THresults& res, const TSwpStamp& stamp = {});
  // The run has ended (paused): the current event stops taking results; the records handed
  // over are in the file when this returns.
  void EventLoggingOff();
  // Looks whether a record written on the sink's own thread has failed (a tick does this too).
  void CheckWrites();
  // The run now ending accepted `frames` frames: its frame rate is the rate of the forecast.
  void RunEnded(int64_t frames);

  // ---- operator and program -----------------------------------------------------------------
  // Tick of the repetition timer.
  void TimerTick();
  // "Stop": ends a running log as Aborted, with its end record.
  void Stop();
  // Before a new file is chosen: a running (paused) log is ended as "Stop" does.
  void EndForPrepare();
  // The chosen file is created empty (status Ready) or, when that fails, the message is
  // queued (for a folder, device or FIFO: it is not a regular file, and it stays as it is), the
  // status is Not ready and the previous file name stays. True on success.
  bool Prepare(const QString& path);
  // The file choice was cancelled: status Not ready.
  void PrepareCancelled();
  // The program closes (or a headless run ends): an open log gets its "(ended illegally)"
  // record, once.
  void ProgramExit();

  // ---- the Part's own operations ------------------------------------------------------------
  TLogStatus GetStatus() const { return status_; }
  // Every change out of Ready or Logging first stops the schedule (ZastavLog).
  void SetStatus(TLogStatus s);
  // Stops the schedule: timer off, no record due, the separator back to the point.
  void ZastavLog();
  // Stops with Illegal end; nothing is written.
  void PrerusLog();
  // Stops, sets the status and writes the end record ("(ended illegally)" for Illegal end).
  void ZastavUkonciLog(TLogStatus s);

  // ---- what the window shows ----------------------------------------------------------------
  int32_t RecordNumber() const { return recordNumber_; }
  int32_t Nrecorded() const { return nrecorded_; }
  double ElapsedSeconds() const { return elapsedS_; }
  // "Elapsed" of the progress group.
  QString ElapsedText() const { return DurationStr(elapsedS_, decSep_); }
  // The separator of the numbers written now (the chosen one while a log is Ready or Logging).
  QChar DecimalSepar() const { return decSep_; }
  bool HeaderWritten() const { return headerWritten_; }
  bool ContSampling() const { return contSampling_; }
  bool LogEventOn() const { return logEventOn_; }
  const TLogApplied& Applied() const { return applied_; }
  const QString& LogFileName() const { return entries_.fileName; }
  // Frames per second of the last run since start-up; nothing before the first one.
  std::optional<double> LastRunRate() const { return lastRunRate_; }
  // Data lines written by this log since it started, and per second of its elapsed time.
  int64_t DataLines() const { return dataLines_; }
  double LineRate() const { return elapsedS_ > 0.0 ? double(dataLines_) / elapsedS_ : 0.0; }
  // The size of the log file as it is now (0 when there is none).
  int64_t WrittenBytes() const;
  // The bytes one data record of a result takes in this log's form (text or CSV, line end
  // included); 0 without a write procedure.
  int64_t DataRecordBytes(const THresults& res) const;

  // Messages waiting to be shown, oldest first; taking them empties the queue.
  QStringList TakeMessages();
  bool HasMessages() const { return !messages_.isEmpty(); }
  // Something went wrong since start-up: a failed prepare, write or append-open, or a cancelled
  // log (the exit code of a headless run).
  bool HadFailure() const { return hadFailure_; }

  // The write procedure (PisDoLogSuboru): builds the text of one record type and appends it to
  // the log file. res is used by rtData only. False when nothing could be written.
  bool PisDoLogSuboru(TRecordType rt, const THresults* res = nullptr);
  // The end record's text.
  QString EndRecordText(TRecordType rt) const;
  // A CSV log's start: the description lines, the settings as "# logging:" lines, the columns.
  QString CsvStartText() const;

 private:
  void ApplySettings();
  // Ends the log as Completed when a limit has been reached; true when it did.
  bool CheckLimits();
  void Queue(const QString& message);
  void Changed();
  // The counts before the record now written, as the sink's tag of that record.
  int64_t Tag() const { return (int64_t(recordNumber_) << 32) | int64_t(uint32_t(nrecorded_)); }
  // A record could not be written: the counts go back to that record, the failure is told once
  // and the log ends as Illegal end.
  void WriteFailed(const TLogIoResult& r);

  TLogSink& sink_;
  TLogTimer& timer_;
  Clock& clock_;
  const TLogWriteProc* writeProc_ = nullptr;

  TLogEntries entries_;
  TLogApplied applied_;
  TLogStatus status_ = lsNotReady;
  bool contSampling_ = false;
  bool logEventOn_ = false;
  bool headerWritten_ = false;
  int32_t nrecorded_ = 0;
  int32_t recordNumber_ = 0;
  int64_t dataLines_ = 0;
  double elapsedS_ = 0.0;
  int64_t startNs_ = 0;
  int64_t runStartNs_ = 0;
  std::optional<double> lastRunRate_;
  QDateTime logStart_;
  int64_t logStartUtcMs_ = 0;
  TSwpStamp stamp_;  // of the result being written
  QChar decSep_ = QChar('.');

  bool failureReported_ = false;  // this log's failure message has been queued
  bool illegalEndTried_ = false;  // this log's illegal-end record has been attempted
  bool hadFailure_ = false;
  QStringList messages_;
  TDecSepBytes sepBytes_;
  QByteArray line_;  // the data record being built, kept for its capacity
};

}  // namespace qz

namespace qz {

// A log over the real files, written on the writer's own thread, the precise window timer and
// the program's clock, as the program uses it. A failed write on the writer's thread is taken
// up on this thread as soon as its event loop runs.
struct TLogSystem {
  TLogSystem();
  ~TLogSystem();
  TLogSystem(const TLogSystem&) = delete;
  TLogSystem& operator=(const TLogSystem&) = delete;
  TLogFileSink file;
  TLogQueuedSink sink{file};
  TQtLogTimer timer;
  TLogEngine engine{sink, timer, ProgramClock()};
  QObject notifier;  // receives the writer's failure news on this thread
};

}  // namespace qz
