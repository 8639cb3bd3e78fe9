#include "charts/brush.h"

#include "util/inifile.h"
#include "util/stpkeys.h"

namespace qz {

int32_t BrushStyleFromKey(int32_t stored) { return stored == bsClear ? bsClear : bsSolid; }

const TStpKeys<TBrush>& BrushKeys() {
  static const TStpKeys<TBrush> keys =
      TStpKeys<TBrush>()
          .Colour("BColor", &TBrush::Color, std::nullopt, TColourRead::SignedOnly)
          .IntRule("BStyle", &TBrush::Style, BrushStyleFromKey);
  return keys;
}

void WriteBrushKeys(IniFile& ini, const QString& section, const QString& prefix,
                    const TBrush& brush) {
  BrushKeys().Write(brush, ini, section, prefix);
}

TBrush ReadBrushKeys(const IniFile& ini, const QString& section, const QString& prefix,
                     const TBrush& current) {
  TBrush b = current;
  BrushKeys().Read(b, ini, section, prefix);
  return b;
}

}  // namespace qz
