#include "charts/pen.h"

#include "util/inifile.h"
#include "util/numutil.h"

namespace qz {

int32_t PenStyleFromKey(int32_t stored) { return stored >= 1 && stored <= 5 ? stored : psSolid; }

int32_t PenWidthFromKey(int32_t stored) { return ClampLowWins(stored, 1, 100); }

void WritePenKeys(IniFile& ini, const QString& section, const QString& prefix, const TPen& pen) {
  // Colours are stored as the signed 32-bit value, so system colours (top byte 0xFF) are negative.
  ini.WriteInteger(section, prefix + "PColor", int32_t(pen.Color));
  ini.WriteInteger(section, prefix + "PStyle", pen.Style);
  ini.WriteInteger(section, prefix + "PWidth", pen.Width);
}

TPen ReadPenKeys(const IniFile& ini, const QString& section, const QString& prefix,
                 const TPen& current) {
  TPen p = current;
  p.Color = TColor(ini.ReadInteger(section, prefix + "PColor", int32_t(current.Color)));
  p.Style = PenStyleFromKey(ini.ReadInteger(section, prefix + "PStyle", current.Style));
  p.Width = PenWidthFromKey(ini.ReadInteger(section, prefix + "PWidth", current.Width));
  return p;
}

}  // namespace qz
