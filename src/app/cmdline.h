#pragma once
// The program's command line, parsed without any window so that tests and headless runs share
// one reading of it.

#include <QString>
#include <QStringList>

#include "app/chartrequest.h"

namespace qz {

struct CommandLine {
  bool help = false;
  bool version = false;
  bool headless = false;
  bool serve = false;          // --serve: stay up without a window, answering the remote control
  int passes = 0;              // --passes N: accepted frames of a headless measurement run
  QString setupFile;           // --setup FILE
  QString saveResultsFile;     // --save-results FILE
  QString saveCsvFile;         // --save-csv FILE: the current sweep as CSV
  QString logFile;             // --log FILE: prepare FILE as the logging window's Prepare does
  QString logFormat;           // --log-format text|csv (empty: as the setup says)
  bool chart = false;          // --chart TYPE[:WIDTHxHEIGHT] given
  TChartRequest chartRequest;  // its type and size
  QString saveChartFile;       // --save-chart FILE: the chart's picture, by the file's extension
  QString scpiAddress;         // --scpi [ADDRESS:]PORT: the instrument socket's address
  int scpiPort = -1;           // and port (0 picks one; -1 without the socket)
  QString busName;             // --bus-name NAME: the name on the session bus (empty: the default)
  QString error;               // non-empty when the line cannot be used
  QString helpText;            // the usage text
};

// args[0] is the program name.
CommandLine ParseCommandLine(const QStringList& args);

// The file a path names, links resolved (also for a file that does not exist yet).
QString ResolvedPath(const QString& path);
// Two names of one file: the same path once resolved, or the same device and inode (a hard
// link, a bind mount).
bool SameFile(const QString& a, const QString& b);

// "QzSim 1.0.0" and the legal notice, printed by --version.
QString VersionText();

}  // namespace qz
