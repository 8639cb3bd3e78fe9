#pragma once
// The S-parameter text file that describes the two-port of the bilinear transform.
//
// One record per line, each line trimmed first:
//   empty or "!..."        ignored
//   "{" ... "}"            block comment, closed by the first later line containing "}"
//   "# <unit> <columns>"   header: unit HZ, KHZ, MHZ or GHZ, then one token per data column;
//                          characters 2-3 of a token name the parameter (11, 12, 21, 22),
//                          character 4 is free, characters 5.. the form (RE, IM, MAG, LOG, SWR,
//                          DEG, RAD), e.g. "S21_LOG"
//   "*KEY = value ; ..."   keyword line; INFO gives the file's information text
//   "END..."               ends the data; the file is valid when records were read before it
//   anything else          a data record: frequency, then one number per data column
// S11 and S22 must be complete, and S12 or S21; a missing one of these two is taken from the
// other (a reciprocal two-port).
//
// A file whose "#" line holds option words only (frequency unit HZ KHZ MHZ GHZ, parameter
// S Y Z H G, format DB MA RI, "R" and the reference impedance; any order and case; defaults
// GHZ S MA R 50) is a Touchstone file of version 1 instead: "!" starts a comment anywhere in a
// line, option lines after the first are ignored, each two-port record is one line of the
// frequency and S11, S21, S12, S22 as RI (real, imaginary), MA (magnitude, degrees) or DB
// (20 log10 magnitude, degrees), frequencies rise, and the 5-number noise records that may
// follow the data are skipped; there is no END. Only S-parameters of a two-port are read.

#include <QString>
#include <QStringList>
#include <vector>

#include "util/arrays.h"
#include "util/smatrix.h"

namespace qz {

struct TSparFileResult {
  TArrD freqs;                     // Hz, in file order
  std::vector<TSmatrix> matrices;  // one per frequency
  QString info;                    // the INFO keyword's value
  bool valid = false;              // the file loaded: records read and closed by END
  // The text to show: on success "Loaded File:\n\r" + info (an information box), otherwise
  // the error box text.
  QString message;
  bool isError = true;
};

// Examines the lines of a file (line ends removed); name is the file's name (a Touchstone
// file's extension ".s<n>p" tells its port count).
TSparFileResult ParseSparLines(const QStringList& lines, const QString& name = QString());

// A "#" line (after the "#") that holds Touchstone option words only.
bool IsTouchstoneOptionLine(const QString& rest);

// The messages of the reader. Line numbers count from 0; the line is shown with tabs as blanks.
QString SparTooFewLinesMsg(int count);
QString SparHeaderMsg(int lineIndex, const QString& line);
QString SparColumnCountMsg(int lineIndex, int headerCount, int dataCount, const QString& line);
QString SparNoValidDataMsg();
QString SparLoadedMsg(const QString& info);
// "Touchstone <name>, <n> frequencies, <f1> to <f2> MHz" (+ the reference impedance note).
QString TouchstoneLoadedInfo(const QString& name, int count, double f1Hz, double f2Hz,
                             double refOhm);

}  // namespace qz
