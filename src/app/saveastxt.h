#pragma once
// The Save Results command of the frame window: the operator's choices (file, comment) around
// the writing of the results text file.

#include <QChar>
#include <QString>

namespace qz {

class TQvWin;
class TAsker;
struct TTunerDescr;

inline constexpr const char* kSaveTxtTitle = "Save as TXT";
inline constexpr const char* kSaveTxtFilter = "Text file (*.txt)|*.txt|Any file (*.*)|*.*";

// What the command keeps between two saves.
struct TSaveAsTxtState {
  QString lastPath;             // the last results file
  QString TxtFilCmnt;           // the last comment
  QChar SeparForTxtSave = '.';  // File > Separator: point or comma
  bool showIndividualSamples = false;
  int32_t preTrig = 0;
};

// Export Results (CSV): the dialog starts at the last results file with ".csv".
inline constexpr const char* kExportCsvCaption = "Export Results (CSV)...";
inline constexpr const char* kExportCsvHint = "Export results as CSV for other programs";

// Runs the command; true when a file was written.
bool SaveAsTxt(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, TAsker& asker);

// The command once the file and the comment are chosen: the current sweep written to `path`;
// the comment is kept for the next save at once (as typed), the path on success. False with the
// message when there is nothing to save or the file cannot be written (an old file then stays
// whole).
bool SaveAsTxtTo(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, const QString& path,
                 const QString& comment, QString& error);

// Export Results (CSV) with its checks, file choice and comment; true when a file was written.
bool ExportResultsCsv(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, TAsker& asker);
// The same once the file and comment are chosen (the comment is kept as Save Results keeps it;
// the last results file stays). False with the message as SaveAsTxtTo.
bool SaveAsCsvTo(TQvWin& qv, const TTunerDescr& tu, TSaveAsTxtState& st, const QString& path,
                 const QString& comment, QString& error);

}  // namespace qz
