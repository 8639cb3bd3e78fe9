#include "util/versioninfo.h"

#include "util/datetext.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "version.h"

namespace qz {

VersionInfoRec VersionInfoOf(const QString& programPath) {
  VersionInfoRec r;
  const FileNameParts parts = SplitFileName(programPath);
  // File name with extension, comma and two blanks, size, two blanks, date text.
  r.infoLine = parts.name + parts.ext + QStringLiteral(",  ") +
               QString::number(FileSizeOf(programPath)) + QStringLiteral("  ") +
               FileDateText(programPath);
  r.fileDescription = QStringLiteral(QZ_FILE_DESCRIPTION);
  r.fileVersion = QStringLiteral(QZ_VERSION);
  r.legalNotice = QStringLiteral(QZ_LEGAL_NOTICE);
  return r;
}

VersionInfoRec VersionInfo() { return VersionInfoOf(ProgramParts().fullPath); }

}  // namespace qz
