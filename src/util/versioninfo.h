#pragma once
// The program's version information: an information line about the program file and the
// version data compiled into the program (file description, file version, legal notice).

#include <QString>

namespace qz {

struct VersionInfoRec {
  QString infoLine;         // "QzSim,  1234567  " + the file's date text
  QString fileDescription;  // empty when missing
  QString fileVersion;
  QString legalNotice;
};

// For the running program.
VersionInfoRec VersionInfo();
// For a given program file (the compiled-in values are the same).
VersionInfoRec VersionInfoOf(const QString& programPath);

}  // namespace qz
