#pragma once
// The tuner description as text: the reader of its "key=value" lines, the keys written into the
// setup file, and the description built into the program.
//
// The description lives in three shared records: the geometry, stub model and motor data in
// TTunerDescr, the autotune limits (maximum iterations, break-up, minimum step) in TMotState,
// the largest magnitude to tune and the operator's maximum insertion in TSimState.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

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

// Where a field of the description lies in a tuner memory file: its block, the type of its
// bytes and its offset in the block.
enum class TMemBlock : uint8_t { None, Identity, Motor, Cell };
enum class TMemType : uint8_t { U8, U16, I32, F64, Text };

// One field of TTunerDescr: its key, how a value is read, its value in the built-in
// description, and its place in a memory file. An indexed field (StubDist, Nzero) has keys
// key + 1 .. key + count and lies at offset + step * (index - 1).
struct TDescrField {
  enum Kind : uint8_t { Text, Int, Real };
  const char* key;    // as written (the reader ignores the letter case)
  const char* alias;  // a second name the reader takes, or nullptr
  Kind kind;
  int count;                  // 0: a single field, else the number of indices (from 1)
  double lo, hi;              // limits of a number; hi is the longest text for a text
  bool badKeeps;              // an unreadable or out-of-range number keeps the present value ...
  double bad;                 // ... else it takes this one
  std::array<double, 3> def;  // the built-in value (of each index)
  const char* defText;        // the built-in text
  TMemBlock block;
  TMemType mem;
  int offset;
  int step;  // indexed: the bytes between indices; a text: the field size (length byte included)
  // The value of a number field (index 0 for a single one), and its setter (the value is
  // within the limits).
  double (*get)(const TTunerDescr&, int index);
  void (*set)(TTunerDescr&, int index, double v);
  QString& (*text)(TTunerDescr&);

  // The key of one index (the key itself for a single field).
  QString KeyOf(int index) const;
  // Applies a value as a description line does.
  void Apply(TTunerDescr& d, int index, const QString& value) const;
};

// The fields in the order they are written into the setup file.
const std::vector<TDescrField>& TunerDescrFields();

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
