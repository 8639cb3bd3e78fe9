#pragma once
// A brush of the chart subsystem and the setup keys that store it.

#include <QString>
#include <cstdint>

#include "util/colors.h"

namespace qz {

class IniFile;
template <class R>
class TStpKeys;

enum TBrushStyle : int32_t { bsSolid = 0, bsClear = 1 };

struct TBrush {
  TColor Color = clWhite;
  int32_t Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

// Read rule of the brush style key: only 1 (clear) is kept, anything else is solid.
int32_t BrushStyleFromKey(int32_t stored);

// Keys prefix + "BColor", "BStyle" in `section`; reading uses the present values as defaults.
void WriteBrushKeys(IniFile& ini, const QString& section, const QString& prefix,
                    const TBrush& brush);
TBrush ReadBrushKeys(const IniFile& ini, const QString& section, const QString& prefix,
                     const TBrush& current);

// The table of those keys ("BColor", "BStyle"), for records holding a brush.
const TStpKeys<TBrush>& BrushKeys();

}  // namespace qz
