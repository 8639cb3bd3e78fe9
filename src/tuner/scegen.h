#pragma once
// The scenario generator without its window: the list of wanted reflection coefficients on a
// grid or on rings ("Create List"), the texts that describe a generated set, and the scenario
// rows the tuner model computes for a list of records ("Make Sce" / "Add Sce").
//
// The rows are computed on private copies of the tuner's records: the live description, motor
// and simulation state are never touched, so a running measurement keeps its autotune
// parameters whatever happens to the generation (finished, aborted or cancelled).

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/bilintransf.h"
#include "core/records.h"
#include "util/complex.h"

namespace qz {

// The seven entries as the operator typed them (initial texts).
struct TSceGenEntries {
  QString Rstart = QStringLiteral("0");
  QString Rstop = QStringLiteral("700");
  QString Rstep = QStringLiteral("50");
  QString StartAngle = QStringLiteral("0");
  QString StopAngle = QStringLiteral("360");
  QString Rot = QStringLiteral("0");
  QString Dwell = QStringLiteral("500");
};

inline constexpr int kTrajRect = 0;
inline constexpr int kTrajCirc = 1;

struct TSceGenOptions {
  int Trajectory = kTrajRect;
  bool Segment = false;
  bool Clockwise = false;
  bool Shuttle = false;
  bool AddMatch = true;
  bool SkipMatches = true;
};

// The entries as numbers (magnitudes in milli-units, angles in degrees, dwell in ms).
struct TSceGenValues {
  int32_t Rstart = 0, Rstop = 700, Rstep = 50;
  int32_t StartAngle = 0, StopAngle = 360, Rot = 0, Dwell = 500;
};

// The dwell time the rows get at Make Sce and Add Sce: the "Dwell" entry, 500 when it is not an
// integer; a negative entry counts as 0 (a row never asks for a negative wait).
int32_t SceMakeDwellMs(const QString& entry);

// What reading the entries gave: the values, the texts to write back into the entries, and
// the lines of the wrong ones (empty when all were right).
struct TSceGenRead {
  TSceGenValues v;
  TSceGenEntries texts;
  QString errors;
  // "Incorrect inputs: ...\r\nChanged to defaults." (empty when nothing was wrong).
  QString ErrorBoxText() const;
};
TSceGenRead ReadSceGenEntries(const TSceGenEntries& e);

// Rect's segment test: the phase (degrees) lies on the arc the rings walk from startDeg to
// stopDeg (counter-clockwise, or clockwise with `clockwise`), both ends included.
bool SegmentArcTest(double phaseDeg, double startDeg, double stopDeg, bool clockwise);

// The points of "Create List" (the match at the end with AddMatch).
std::vector<complex> CreateListPoints(const TSceGenValues& v, const TSceGenOptions& o);
// The list text: header, one line per point at the frequency fHz, "End".
QStringList CreateListLines(const std::vector<complex>& pts, double fHz);

// The description of a generated set: "0 to 700 step 50 mU. Rot=0 dg." and the segment part.
QString GeneratedSetInfo(const TSceGenEntries& e, const TSceGenOptions& o);
// The SceInfo line: "SceInfo = QZTU V1.0/0. Transf=NO. " + info (trimmed). sparPath is used
// only when the transform is active.
QString SceInfoLine(const TTunerDescr& d, bool transfActive, const QString& sparPath,
                    const QString& info);

// One wanted reflection coefficient at its frequency.
struct TSceRecord {
  double fHz = 0.0;
  complex rho;
};

// What the rows are computed from: copies of the tuner's records and of the transform.
struct TSceModelCopy {
  TTunerDescr descr;
  TMotState mot;
  TSimState sim;
  TBilinTransf transf;
};

// The records a set turns into rows: with skipMatches, records below 0.001 in magnitude are
// left out unless last.
std::vector<TSceRecord> RowRecords(const std::vector<TSceRecord>& recs, bool skipMatches);

// Computes one row text per record (numbered from firstRowNo), split over `workers` threads
// (each with its own model over its own copy of the records); the text does not depend on the
// number of workers. progress(done) is called from the calling thread; cancel (may be null)
// stops the work, and then the result is empty.
QStringList MakeScenarioRows(const TSceModelCopy& copy, const std::vector<TSceRecord>& recs,
                             int firstRowNo, int32_t dwellMs, int workers,
                             const std::atomic<bool>* cancel = nullptr,
                             const std::function<void(int)>& progress = {});

// The output memo after a set: a fresh scenario ("[Scenario Info]", SceInfo, "[PageN]", rows),
// or with append (and an output of at least 3 lines) the old one with its SceInfo line extended
// by " Add " + info, a trailing all-zero row removed and the rows added to the last page.
// The first row number of the new rows is returned through firstRowNo before the rows are made.
struct TSceOutputPlan {
  QStringList head;  // the lines before the new rows
  int firstRowNo = 1;
};
TSceOutputPlan PlanSceOutput(const QStringList& output, bool append, const QString& sceInfo,
                             const QString& info, int page);

// The generator's Save List and Save Sce: the memo's lines, each ended by CR LF, written in one
// piece (the old file stays whole whatever stops the save); a text its own reader would refuse
// as too large (a list file, list true, or a scenario file) is not written. Empty on success,
// else the message for the operator.
QString SaveGeneratorText(const QString& path, const QStringList& lines, bool list);

}  // namespace qz
