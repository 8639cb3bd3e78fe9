#include "charts/pen.h"

#include "util/inifile.h"
#include "util/numutil.h"
#include "util/stpkeys.h"

namespace qz {

int32_t PenStyleFromKey(int32_t stored) { return stored >= 1 && stored <= 5 ? stored : psSolid; }

int32_t PenWidthFromKey(int32_t stored) { return ClampLowWins(stored, 1, 100); }

const TStpKeys<TPen>& PenKeys() {
  // Colours are stored as the signed 32-bit value, so system colours (top byte 0xFF) are negative.
  static const TStpKeys<TPen> keys =
      TStpKeys<TPen>()
          .Colour("PColor", &TPen::Color, std::nullopt, TColourRead::SignedOnly)
          .IntRule("PStyle", &TPen::Style, PenStyleFromKey)
          .IntRule("PWidth", &TPen::Width, PenWidthFromKey);
  return keys;
}

void WritePenKeys(IniFile& ini, const QString& section, const QString& prefix, const TPen& pen) {
  PenKeys().Write(pen, ini, section, prefix);
}

TPen ReadPenKeys(const IniFile& ini, const QString& section, const QString& prefix,
                 const TPen& current) {
  TPen p = current;
  PenKeys().Read(p, ini, section, prefix);
  return p;
}

}  // namespace qz
