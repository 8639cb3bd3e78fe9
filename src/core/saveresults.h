#pragma once
// Save Results: the current sweep written as a results text file. The file holds the comment,
// the column header, one line per stored point in storage order, the time of saving, the
// description of the program and the unit, the pre-trigger count when individual samples are
// shown, and the setup stamp. The file is written whole or not at all: an old file of the same
// name stays untouched when the save fails.
//
// The dialogs around it (file choice, comment question, error boxes) belong to the frame
// window; this part takes their answers and returns the message to show.

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>

#include "core/records.h"
#include "core/resultstext.h"

namespace qz {

class TQvWin;

struct TSaveTxtJob {
  QString path;                // the file chosen by the operator
  QString comment;             // written as the first line
  QChar decSep = QChar('.');   // decimal separator of the numbers
  QDateTime now;               // time of saving (WinTime column and "Saved:" line)
  QLocale locale = QLocale();  // date and time form of the "Saved:" line
  TProgramInfo program;
  bool showIndividualSamples = false;  // the "Show individual samples" button is down
  int32_t preTrig = 0;                 // pre-trigger points shown before the trigger
};

struct TSaveTxtResult {
  bool ok = false;
  QString message;  // what to show the operator when not ok
};

inline const QString kNoMeasuredData = QStringLiteral("No measured data available");

// The whole results file text, CR LF line ends. Decodes every stored frame into qv.Res.
QString ResultsFileText(TQvWin& qv, const TTunerDescr& tu, const TSaveTxtJob& job);

// Writes a results file's bytes whole under path (through util/atomicfile): the message of a
// failure names the file as Save Results reports it.
TSaveTxtResult WriteResultsFile(const QString& path, const QByteArray& bytes);

// Writes the results file. lastPath (the last results file) becomes job.path; it is set back
// to its previous value when the save fails. An empty sweep writes nothing.
TSaveTxtResult SaveResultsTxt(TQvWin& qv, const TTunerDescr& tu, const TSaveTxtJob& job,
                              QString& lastPath);

}  // namespace qz
