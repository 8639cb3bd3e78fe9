#include "results/logtext.h"

#include "core/qvwin.h"

namespace qz {

QString TQvLogText::Header() const { return LogHeader(true); }

QString TQvLogText::DataLine(const THresults& res, int32_t recordNumber, double seconds,
                             QChar decSep, const QDateTime& now) const {
  return GetLogString(res, recordNumber, seconds, qv_.Mot(), tu_, decSep, now);
}

QString TQvLogText::SaveTxtInfo() const { return GetSaveTxtInfo(qv_, program_); }

QString TQvLogText::Stamp() const { return WriteStamp(qv_, tu_); }

}  // namespace qz
