#include "app/saveastxt.h"

#include <QDateTime>

#include "core/qvwin.h"
#include "core/resultscsv.h"
#include "core/saveresults.h"
#include "util/asker.h"
#include "util/clock.h"
#include "util/folders.h"

namespace qz {

bool SaveAsTxt(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, TAsker& asker) {
  if (qv.LastSwp.Count() <= 0) {
    asker.ShowError(kNoMeasuredData);
    return false;
  }
  const QString initial = st.lastPath.isEmpty()
                              ? UserFolder()
                              : InFolder(st.lastPath, FolderOrDefault(st.lastPath, UserFolder()));
  const QString path =
      asker.SaveFileName(QString::fromLatin1(kSaveTxtTitle), initial,
                         QString::fromLatin1(kSaveTxtFilter), QStringLiteral("txt"), true);
  if (path.isEmpty()) return false;
  const TInputResult c =
      asker.InputText(QStringLiteral("Enter Comment"), QStringLiteral("Comment :"), st.TxtFilCmnt);
  QString error;
  if (!SaveAsTxtTo(qv, tu, st, path, c.ok ? c.text : st.TxtFilCmnt, error)) {
    asker.ShowError(error);
    return false;
  }
  return true;
}

bool SaveAsTxtTo(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, const QString& path,
                 const QString& comment, QString& error) {
  if (qv.LastSwp.Count() <= 0) {
    error = kNoMeasuredData;
    return false;
  }
  st.TxtFilCmnt = comment;
  TSaveTxtJob job;
  job.path = path;
  job.comment = st.TxtFilCmnt;
  job.decSep = st.SeparForTxtSave;
  job.now = QDateTime::currentDateTime();
  job.program = CurrentProgramInfo();
  job.showIndividualSamples = st.showIndividualSamples;
  job.preTrig = st.preTrig;
  const TSaveTxtResult r = SaveResultsTxt(qv, tu, job, st.lastPath);
  if (!r.ok) error = r.message;
  return r.ok;
}

bool ExportResultsCsv(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, TAsker& asker) {
  if (qv.LastSwp.Count() <= 0) {
    asker.ShowError(kNoMeasuredData);
    return false;
  }
  const QString last = st.lastPath.isEmpty() ? UserFolder() + QStringLiteral("1.txt") : st.lastPath;
  const QString initial = CsvNameFor(InFolder(last, FolderOrDefault(last, UserFolder())));
  const QString path =
      asker.SaveFileName(QString::fromLatin1(kCsvTitle), initial, QString::fromLatin1(kCsvFilter),
                         QString::fromLatin1(kCsvExt), true);
  if (path.isEmpty()) return false;
  const TInputResult c =
      asker.InputText(QStringLiteral("Enter Comment"), QStringLiteral("Comment :"), st.TxtFilCmnt);
  QString error;
  if (!SaveAsCsvTo(qv, tu, st, path, c.ok ? c.text : st.TxtFilCmnt, error)) {
    asker.ShowError(error);
    return false;
  }
  return true;
}

bool SaveAsCsvTo(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, const QString& path,
                 const QString& comment, QString& error) {
  if (qv.LastSwp.Count() <= 0) {
    error = kNoMeasuredData;
    return false;
  }
  st.TxtFilCmnt = comment;
  TCsvJob job;
  job.path = path;
  job.comment = comment;
  job.savedUtcMs = RunUtcMs();
  job.program = CurrentProgramInfo();
  QString lastCsv;
  const TSaveTxtResult r = SaveResultsCsv(qv, tu, job, lastCsv);
  if (!r.ok) error = r.message;
  return r.ok;
}

}  // namespace qz
