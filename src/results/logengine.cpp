#include "results/logengine.h"

#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>

#include "core/resultscsv.h"
#include "core/resultstext.h"
#include "util/format.h"
#include "util/inifile.h"

namespace qz {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// The program's own separator, which every text outside the log's data lines uses.
const QChar kProgramSep = QChar('.');
}  // namespace

QString LogCannotOpenText(const QString& path) {
  return QStringLiteral("File \"%1\" cannot be opened").arg(path);
}

QString LogWriteFailedText(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot write file \"%1\".\r\n%2\r\n\r\nData logging has been stopped.")
      .arg(path, reason);
}

TLogEngine::TLogEngine(TLogSink& sink, TLogTimer& timer, Clock& clock)
    : sink_(sink), timer_(timer), clock_(clock) {
  timer_.SetOnTick([this] { TimerTick(); });
}

void TLogEngine::SetEntries(const TLogEntries& e) {
  const QString name = entries_.fileName;
  entries_ = LimitLogEntries(e);
  entries_.fileName = name;
}

void TLogEngine::ReadStp(const IniFile& ini) {
  ReadLogStp(ini, entries_, status_ == lsReady || status_ == lsLogging);
  Changed();
}

void TLogEngine::WriteStp(IniFile& ini) const { WriteLogStp(ini, entries_); }

void TLogEngine::Cancel() {
  hadFailure_ = true;
  SetStatus(lsNotReady);
}

void TLogEngine::ApplySettings() {
  applied_ = ApplyLogSettings(entries_);
  contSampling_ = applied_.contSampling;
  logEventOn_ = true;
  recordNumber_ = 0;
  dataLines_ = 0;
  elapsedS_ = 0.0;
  decSep_ = applied_.decSep;
  headerWritten_ = false;
}

void TLogEngine::PoSpusteniMer() {
  runStartNs_ = clock_.Nanoseconds();
  if (status_ != lsReady) return;
  ApplySettings();
  status_ = lsLogging;
  logStart_ = wallClock();
  logStartUtcMs_ = utcClock();
  startNs_ = clock_.Nanoseconds();
  nrecorded_ = 0;
  if (!contSampling_) timer_.Start(applied_.samplIntervMs);
  Changed();
}

void TLogEngine::ZapisData(const THresults& res, const TSwpStamp& stamp) {
  stamp_ = stamp;
  if (!LoggingOn()) return;
  elapsedS_ = double(clock_.Nanoseconds() - startNs_) / 1e9;
  if (recordNumber_ == 0 && !headerWritten_) {
    headerWritten_ = true;
    if (!PisDoLogSuboru(rtStart)) return;
  }
  // A failed write ends the log at once: nothing more is counted or written.
  if (!PisDoLogSuboru(rtData, &res)) return;
  ++dataLines_;
  if (contSampling_) {
    ++recordNumber_;
  } else {
    ++nrecorded_;
    if (nrecorded_ >= applied_.logSamples) {
      logEventOn_ = false;
      ++recordNumber_;
    }
  }
  Changed();
  CheckLimits();
}

void TLogEngine::RunEnded(int64_t frames) {
  const double s = double(clock_.Nanoseconds() - runStartNs_) / 1e9;
  // A run too short to time says nothing of the rate.
  if (frames > 0 && s > 0.0) lastRunRate_ = double(frames) / s;
  Changed();
}

int64_t TLogEngine::WrittenBytes() const {
  if (entries_.fileName.isEmpty()) return 0;
  const QFileInfo fi(entries_.fileName);
  return fi.isFile() ? fi.size() : 0;
}

int64_t TLogEngine::DataRecordBytes(const THresults& res) const {
  if (!writeProc_) return 0;
  QByteArray line;
  const TLogApplied a = ApplyLogSettings(entries_);
  if (a.csv) {
    writeProc_->AppendCsvRow(line, res, std::max(recordNumber_, 0), stamp_);
  } else {
    writeProc_->AppendDataLine(line, res, std::max(recordNumber_, 0), elapsedS_,
                               TDecSepBytes(a.decSep), wallClock());
    line.append("\r\n", 2);
  }
  return line.size();
}

bool TLogEngine::CheckLimits() {
  const bool recordsDone =
      applied_.maxRecordNumber > 0 && recordNumber_ >= applied_.maxRecordNumber;
  const bool timeDone = applied_.durationDays > 0 && elapsedS_ > applied_.durationDays * 86400.0;
  if (!recordsDone && !timeDone) return false;
  ZastavUkonciLog(lsCompleted);
  return true;
}

void TLogEngine::EventLoggingOff() {
  logEventOn_ = false;
  if (status_ != lsLogging) return;
  const TLogIoResult r = sink_.Drain();
  if (!r.ok) WriteFailed(r);
}

void TLogEngine::CheckWrites() {
  if (status_ != lsLogging) return;
  const TLogIoResult r = sink_.Poll();
  if (!r.ok) WriteFailed(r);
}

void TLogEngine::TimerTick() {
  CheckWrites();
  if (status_ != lsLogging || !writeProc_) return;
  // An event cut short (the run paused inside a burst) is closed before the next one starts,
  // so one record number never holds more than LogSamples lines and the record limit is met.
  if (nrecorded_ > 0 && nrecorded_ < applied_.logSamples) {
    ++recordNumber_;
    Changed();
    if (CheckLimits()) return;
  }
  nrecorded_ = 0;
  logEventOn_ = true;
}

void TLogEngine::Stop() {
  if (status_ == lsLogging) ZastavUkonciLog(lsAborted);
}

void TLogEngine::EndForPrepare() { Stop(); }

bool TLogEngine::Prepare(const QString& path) {
  EndForPrepare();
  nrecorded_ = 0;
  const TLogIoResult r = sink_.Create(path);
  if (!r.ok) {
    hadFailure_ = true;
    SetStatus(lsNotReady);
    Queue(r.notRegular ? r.reason : LogCannotOpenText(path));
    Changed();
    return false;
  }
  entries_.fileName = path;
  failureReported_ = false;
  illegalEndTried_ = false;
  SetStatus(lsReady);
  ApplySettings();
  Changed();
  return true;
}

void TLogEngine::PrepareCancelled() {
  nrecorded_ = 0;
  SetStatus(lsNotReady);
}

void TLogEngine::ProgramExit() {
  if (status_ == lsLogging || (status_ == lsIllegalEnd && !illegalEndTried_))
    ZastavUkonciLog(lsIllegalEnd);
}

void TLogEngine::SetStatus(TLogStatus s) {
  if ((status_ == lsReady || status_ == lsLogging) && s != lsLogging) ZastavLog();
  status_ = s;
  Changed();
}

void TLogEngine::ZastavLog() {
  decSep_ = kProgramSep;
  timer_.Stop();
  contSampling_ = false;
  logEventOn_ = false;
}

void TLogEngine::PrerusLog() {
  SetStatus(lsIllegalEnd);
  sink_.Close();
}

void TLogEngine::ZastavUkonciLog(TLogStatus s) {
  // The records still on their way come first: a failure among them ends the log as a failed
  // write does, without an end record (only the program's exit still writes one).
  const TLogIoResult pending = sink_.Drain();
  if (!pending.ok) {
    WriteFailed(pending);
    if (s != lsIllegalEnd) return;
  }
  ZastavLog();
  SetStatus(s);
  if (s == lsIllegalEnd) {
    illegalEndTried_ = true;
    PisDoLogSuboru(rtIllegalEnd);
  } else {
    PisDoLogSuboru(rtEnd);
  }
  // The log is over: its file is not held open any longer.
  sink_.Close();
  // The file's size now holds the end record.
  Changed();
}

QString TLogEngine::CsvStartText() const {
  QString s = writeProc_->CsvDescription(logStartUtcMs_, entries_.info);
  for (const QString& line : WriteLogSettings(applied_).split(kCrLf)) {
    if (line.isEmpty() || line.startsWith(QLatin1Char('[')) ||
        line == QLatin1String("End of logging."))
      continue;
    s += QStringLiteral("# logging: ") + line + kCrLf;
  }
  return s + QString::fromLatin1(CsvColumnNames(true)) + kCrLf;
}

QString TLogEngine::EndRecordText(TRecordType rt) const {
  if (applied_.csv) {
    return QStringLiteral("# stopped: ") + UtcTimeText(utcClock()) +
           (rt == rtIllegalEnd ? QStringLiteral(" (ended illegally)") : QString()) + kCrLf +
           Format(QStringLiteral("# records: %d"), {recordNumber_}) + kCrLf;
  }
  QString s = Format(QStringLiteral("\r\nStart: %s  Stop: %s %s"),
                     {SavedDateTimeText(logStart_, locale), SavedDateTimeText(wallClock(), locale),
                      rt == rtIllegalEnd ? QStringLiteral("(ended illegally)") : QString()});
  s += kCrLf;
  if (writeProc_) {
    s += writeProc_->SaveTxtInfo() + kCrLf + kCrLf;
    s += writeProc_->Stamp();
  }
  s += WriteLogSettings(applied_);
  return s;
}

bool TLogEngine::PisDoLogSuboru(TRecordType rt, const THresults* res) {
  if (!writeProc_) return false;
  TLogIoResult r;
  switch (rt) {
    case rtStart:
      r = sink_.Queue(
          entries_.fileName,
          (applied_.csv ? CsvStartText() : entries_.info + kCrLf + writeProc_->Header() + kCrLf)
              .toUtf8(),
          Tag());
      break;
    case rtData:
      if (!res) return false;
      // Built straight into bytes in a buffer kept from record to record: the log writes one
      // such record per result.
      if (sepBytes_.sep() != decSep_) sepBytes_ = TDecSepBytes(decSep_);
      line_.resize(0);
      if (applied_.csv) {
        writeProc_->AppendCsvRow(line_, *res, recordNumber_, stamp_);
      } else {
        writeProc_->AppendDataLine(line_, *res, recordNumber_, elapsedS_, sepBytes_, wallClock());
        line_.append("\r\n", 2);
      }
      r = sink_.Queue(entries_.fileName, line_, Tag());
      break;
    case rtEnd:
    case rtIllegalEnd:
      r = sink_.Append(entries_.fileName, EndRecordText(rt).toUtf8());
      break;
  }
  if (r.ok) return true;
  WriteFailed(r);
  return false;
}

void TLogEngine::WriteFailed(const TLogIoResult& r) {
  hadFailure_ = true;
  if (r.failedTag >= 0) {
    // An earlier record failed on the sink's thread: it and every record after it are not in
    // the file, so they are not counted.
    recordNumber_ = int32_t(r.failedTag >> 32);
    nrecorded_ = int32_t(uint32_t(r.failedTag & 0xFFFFFFFF));
    Changed();
  }
  if (!failureReported_) {
    failureReported_ = true;
    Queue(LogWriteFailedText(entries_.fileName, r.reason));
  }
  if (status_ != lsIllegalEnd) PrerusLog();
}

QStringList TLogEngine::TakeMessages() {
  QStringList m;
  m.swap(messages_);
  return m;
}

void TLogEngine::Queue(const QString& message) {
  messages_ << message;
  if (OnMessage) OnMessage();
}

void TLogEngine::Changed() {
  if (OnChange) OnChange();
}

TLogSystem::TLogSystem() {
  sink.SetOnFailure([this] {
    QMetaObject::invokeMethod(
        &notifier, [this] { engine.CheckWrites(); }, Qt::QueuedConnection);
  });
}

TLogSystem::~TLogSystem() {
  // No news for the notifier, which goes before the writer.
  sink.SetOnFailure(nullptr);
}

}  // namespace qz
