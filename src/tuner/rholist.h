#pragma once
// The reader of reflection-coefficient lists (the scenario generator's input memo and list
// files): "#" headers with a frequency unit and column names, "*KEY = value" keyword lines,
// "END" lines closing a data set, records of numbers with a point. Questions about damaged
// lines (OK reads on, Abort stops at once) and the errors go through the asker.

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

#include "tuner/scegen.h"

namespace qz {

class TAsker;

// One closed data set.
struct TRhoSet {
  std::vector<TSceRecord> recs;
  QString info;  // from "*INFO"
};

struct TRhoListRead {
  std::vector<TRhoSet> sets;
  bool aborted = false;   // the operator pressed Abort
  bool tooShort = false;  // fewer than 2 lines: nothing was read
};

// The messages of the reader (line indexes from 0, tabs shown as blanks).
QString RhoTooFewLinesMsg(int count);
QString RhoHeaderCountMsg(int lineIndex, const QString& line);
QString RhoHeaderNoPairMsg();
QString RhoColumnCountMsg(int lineIndex, int headerCount, int dataCount, const QString& line);
QString RhoNoValidDataMsg();

// Reads the lines. Shows "Less than 2 lines ..." for a too short list and asks the OK/Abort
// questions; "No valid data found." is shown when no set closed (also after Abort).
TRhoListRead ReadRhoList(const QStringList& lines, TAsker& asker);

// How the sets of a list become the output memo.
struct TSceSetJob {
  TSceModelCopy copy;   // the tuner and the transform the rows are computed for
  bool append = false;  // "Add Sce": rows continue the output memo
  bool skipMatches = true;
  int32_t dwellMs = 500;
  QString generated;  // the description of a list made here ("" for a loaded list)
  int workers = 1;
};

// The output memo after every set was turned into rows in turn (set k as "[Page<k>]"; with
// Make each set replaces the output, so the last one remains). progress(done, total) counts
// rows over all sets. After a cancel the output is given back unchanged.
QStringList SceOutputOfSets(const QStringList& output, const std::vector<TRhoSet>& sets,
                            const TSceSetJob& job, const std::atomic<bool>* cancel = nullptr,
                            const std::function<void(int, int)>& progress = {});

}  // namespace qz
