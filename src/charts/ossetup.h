#pragma once
// Holds the settings of one axis and keeps them in a setup file section.

#include <QString>

#include "charts/osdata.h"

namespace qz {

class IniFile;
template <class R>
class TStpKeys;

// Range limits of the stored axis numbers.
inline constexpr double kAxisValueLimit = 1e38;

class TOsSetup {
 public:
  TOsSetup() = default;
  explicit TOsSetup(const TOsData& d) : Data(d) {}

  void Assign(const TOsSetup& source) { Data = source.Data; }

  // Keys "Meno", "MinDflt", "MaxDflt", "MinAsk", "MaxAsk", "Jedn", "Nunit", "UseDflt", "Bcele",
  // "Blin", "Bfine", "Bshort". Reading uses the present values as defaults, limits the numbers to
  // -1e38 .. 1e38 and "Nunit" to 0..3, and takes LastMin/LastMax from the requested range.
  // The unit factor is not stored; the owner sets it through the unit table.
  void WriteStp(IniFile& ini, const QString& section) const;
  void ReadStp(const IniFile& ini, const QString& section);
  // The table of those keys.
  static const TStpKeys<TOsSetup>& Keys();

  TOsData Data;
};

// Read rule of a stored axis number: a readable number limited to -1e38 .. 1e38, else current.
double AxisValueFromKey(const QString& raw, double current);
// Read rule of "Nunit": limited to 0..3.
int32_t NunitFromKey(int32_t stored);

}  // namespace qz
