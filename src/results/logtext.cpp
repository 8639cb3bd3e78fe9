#include "results/logtext.h"

#include "core/qvwin.h"
#include "core/resultscsv.h"
#include "util/datetext.h"

namespace qz {

QString TQvLogText::Header() const { return LogHeader(true); }

QString TQvLogText::DataLine(const THresults& res, int32_t recordNumber, double seconds,
                             QChar decSep, const QDateTime& now) const {
  return GetLogString(res, recordNumber, seconds, qv_.Mot(), tu_, decSep, now);
}

void TQvLogText::AppendDataLine(QByteArray& out, const THresults& res, int32_t recordNumber,
                                double seconds, const TDecSepBytes& sep,
                                const QDateTime& now) const {
  AppendLogString(out, res, recordNumber, seconds, qv_.Mot(), tu_, sep, DateTimeToDays(now));
}

QString TQvLogText::SaveTxtInfo() const { return GetSaveTxtInfo(qv_, program_); }

QString TQvLogText::Stamp() const { return WriteStamp(qv_, tu_); }

QString TQvLogText::CsvDescription(int64_t startUtcMs, const QString& comment) const {
  return qz::CsvDescription(qv_, tu_, program_, "log_started", startUtcMs, comment);
}

void TQvLogText::AppendCsvRow(QByteArray& out, const THresults& res, int32_t recordNumber,
                              const TSwpStamp& stamp) const {
  qz::AppendCsvRow(out, stamp, res, qv_.Mot(), tu_, int64_t(recordNumber) + 1);
}

}  // namespace qz
