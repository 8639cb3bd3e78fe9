#include "charts/brush.h"

#include "util/inifile.h"

namespace qz {

int32_t BrushStyleFromKey(int32_t stored) { return stored == bsClear ? bsClear : bsSolid; }

void WriteBrushKeys(IniFile& ini, const QString& section, const QString& prefix,
                    const TBrush& brush) {
  ini.WriteInteger(section, prefix + "BColor", int32_t(brush.Color));
  ini.WriteInteger(section, prefix + "BStyle", brush.Style);
}

TBrush ReadBrushKeys(const IniFile& ini, const QString& section, const QString& prefix,
                     const TBrush& current) {
  TBrush b = current;
  b.Color = TColor(ini.ReadInteger(section, prefix + "BColor", int32_t(current.Color)));
  b.Style = BrushStyleFromKey(ini.ReadInteger(section, prefix + "BStyle", current.Style));
  return b;
}

}  // namespace qz
