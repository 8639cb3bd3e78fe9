#include "core/saveresults.h"

#include "core/qvwin.h"
#include "util/atomicfile.h"
#include "util/format.h"

namespace qz {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}  // namespace

QString ResultsFileText(TQvWin& qv, const TTunerDescr& tu, const TSaveTxtJob& job) {
  QString s;
  s += job.comment + kCrLf;
  s += SaveTxtHeader(true) + kCrLf;
  const int32_t count = qv.LastSwp.Count();
  for (int32_t i = 0; i < count; ++i) s += ResultsLine(qv, i, tu, job.decSep, job.now) + kCrLf;
  s += QStringLiteral("\r\nSaved: ") + SavedDateTimeText(job.now, job.locale) + kCrLf;
  s += GetSaveTxtInfo(qv, job.program) + kCrLf;
  if (qv.VarPar.Waveform != wfCW && job.showIndividualSamples)
    s += Format(QStringLiteral("PreTrig = %d"), {job.preTrig}) + kCrLf;
  s += kCrLf;
  s += WriteStamp(qv, tu);
  return s;
}

TSaveTxtResult SaveResultsTxt(TQvWin& qv, const TTunerDescr& tu, const TSaveTxtJob& job,
                              QString& lastPath) {
  TSaveTxtResult r;
  if (qv.LastSwp.Count() <= 0) {
    r.message = kNoMeasuredData;
    return r;
  }
  const QString previousPath = lastPath;
  lastPath = job.path;
  // The text is built whole before the file is touched, so a failure cannot leave part of it
  // under the chosen name.
  r = WriteResultsFile(job.path, ResultsFileText(qv, tu, job).toUtf8());
  if (!r.ok) lastPath = previousPath;
  return r;
}

TSaveTxtResult WriteResultsFile(const QString& path, const QByteArray& bytes) {
  TSaveTxtResult r;
  const AtomicWriteResult w = WriteFileAtomic(path, bytes);
  if (w.status == AtomicWriteStatus::NotRegularFile) {
    r.message = w.reason;
  } else if (w.status == AtomicWriteStatus::OpenFailed) {
    r.message = QStringLiteral("File \"%1\" cannot be opened").arg(path);
  } else if (!w.ok()) {
    r.message = QStringLiteral("Cannot write file \"%1\".\r\n%2").arg(path, w.reason);
  } else {
    r.ok = true;
  }
  return r;
}

}  // namespace qz
