#pragma once
// Export of the tuner's area borders shown on the reflection-coefficient chart: the text of the
// file, the choice of a free file name "Area_000.txt" ... "Area_099.txt" in a folder, and the
// write with its message to the operator.

#include <QString>

#include "sim/rhoarea.h"

namespace qz {

struct TTunerDescr;

// Motor steps per division of a stub's travel, and the same in millimetres.
struct TStubInfo {
  int32_t steps = 0;
  double mm = 0.0;
  bool operator==(const TStubInfo&) const = default;
};
// round(max steps / (divisions - 1)) limited to 0 .. max steps, from the tuner description.
TStubInfo GetStubInfo(const TTunerDescr& d, int32_t divisions);

// Divisions of the stubs' travel written with an export.
inline constexpr int32_t kAreaNquant = 25;
// Names of the export files kept apart in one folder.
inline constexpr int kAreaFileCount = 100;

// The confirmation before an export.
inline const QString kAreaExportAsk = QStringLiteral("Export Area to Area_nnn.txt in User Folder");

// The whole file: a heading with the area, the plane, the frequency text and the program's
// save-text information (which begins with its own line break), the stub information, the
// column heading and the 100 points of both borders. Every line ends with CR LF.
QString AreaExportText(const TRhoArea& area, int kind, int plane, const QString& freqText,
                       const QString& saveTxtInfo, const TTunerDescr& d);

// "Area_" + three digits + ".txt".
QString AreaFileName(int index);

struct TAreaTarget {
  QString path;       // the first free name, or the last name when none is free
  bool free = false;  // false: all names exist
};
TAreaTarget NextAreaFile(const QString& folder);

// The result of an export: the message for the operator ("Saved to" or "File write error",
// a line break and the path) and whether it is an error.
struct TAreaExportResult {
  bool ok = false;
  QString message;
  QString path;
};
// Writes the text to the first free name in the folder; a failed write leaves no file behind.
TAreaExportResult ExportAreaText(const QString& folder, const QString& text);

}  // namespace qz
