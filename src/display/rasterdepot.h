#pragma once
// The axis and chart settings of every display type of one window, so that switching the type
// and back restores them, and their setup sub-sections.

#include <QString>
#include <array>

#include "charts/ossetup.h"
#include "charts/raster.h"
#include "display/disptypes.h"

namespace qz {

class IniFile;
template <class R>
class TStpKeys;

class TRasterDepot {
 public:
  TRasterDepot() { Defaults(); }
  // Every axis as a new window has it; limits dotted, width 1, magenta, at each type's default
  // value (the shared ones from the default magnitude); zoom 0 except Z-Smith 3; no caption.
  void Defaults();

  // Sub-sections main + " DepotX_" + i for the offered horizontal types and main + " DepotY_" + j
  // for the offered display types. Reading uses the present values as defaults.
  void WriteStp(IniFile& ini, const QString& mainSection) const;
  void ReadStp(const IniFile& ini, const QString& mainSection);

  static QString XSection(const QString& mainSection, int32_t xType);
  static QString YSection(const QString& mainSection, int32_t type);
  // The table of the sub-sections, for records holding a depot.
  static const TStpKeys<TRasterDepot>& Keys();

  friend bool operator==(const TRasterDepot& a, const TRasterDepot& b);

  std::array<TOsSetup, kXTypeCount> OsX;
  std::array<TOsSetup, kDispTypeCount> OsY;
  std::array<TRozne, kDispTypeCount> Ine;
  bool RewriteEnabled = true;
};

// Read rules of the stored chart settings.
inline constexpr int32_t kMaxLimWidth = 11;

}  // namespace qz
