#pragma once
// The tuner description as text: the reader of its "key=value" lines, the keys written into the
// setup file, and the description built into the program.
//
// The description lives in three shared records: the geometry, stub model and motor data in
// TTunerDescr, the autotune limits (maximum iterations, break-up, minimum step) in TMotState,
// the largest magnitude to tune and the operator's maximum insertion in TSimState.

#include <QString>
#include <QStringList>

#include "core/records.h"

namespace qz {

class IniFile;

// The records one description line may change.
struct TTunerRecords {
  TTunerDescr& Descr;
  TMotState& Mot;
  TSimState& Sim;
};

// Section of the setup file the description is written to.
inline constexpr const char* kTunerDescrSection = "Model";

// Applies one description line (the key's case is ignored, blanks around it too). Numbers
// outside their range or unreadable take the key's default (or keep the value held, for the
// keys whose default is the present value); prefixed keys with an index outside its range, and
// unknown keys, change nothing. Returns true when the key was one of the description's.
bool TU_MdlAnalyzIni(const QString& key, const QString& value, const TTunerRecords& r);

// Splits a line of a setup file at its first '=' (a trailing CR of a CR LF file is dropped) and
// hands it to TU_MdlAnalyzIni. Comment lines (";") and section lines ("[") are skipped. Returns
// true when the line was a description line.
bool TU_MdlAnalyzLine(const QString& line, const TTunerRecords& r);

// Writes the description into `section` under the keys the reader knows. Stub-model keys of an
// earlier, larger description are removed first, so the section always reads back as written.
void WriteTunerDescr(IniFile& ini, const QString& section, const TTunerDescr& d,
                     const TMotState& mot, const TSimState& sim);

// The description a first start uses when no setup file holds one: a three-stub tuner for
// 2.45 GHz in the analyzer's default waveguide (86.36 mm x 43.18 mm), stubs a quarter guide
// wavelength apart, 3000 steps of 0.01 mm.
TTunerDescr DefaultTunerDescr();

}  // namespace qz
