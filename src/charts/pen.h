#pragma once
// A pen of the chart subsystem and the setup keys that store it.

#include <QString>
#include <cstdint>

#include "util/colors.h"

namespace qz {

class IniFile;
template <class R>
class TStpKeys;

// Pen styles as stored in setup files.
enum TPenStyle : int32_t {
  psSolid = 0,
  psDash = 1,
  psDot = 2,
  psDashDot = 3,
  psDashDotDot = 4,
  psClear = 5,
};

// Copy draws the pen colour; not-xor inverts what it draws over, so drawing the same line twice
// removes it again (used for live traces).
enum TPenMode : int32_t { pmCopy = 0, pmNotXor = 1 };

struct TPen {
  TColor Color = clBlack;
  int32_t Style = psSolid;
  int32_t Width = 1;
  TPenMode Mode = pmCopy;
  bool operator==(const TPen&) const = default;
};

// Read rules of the pen keys: a stored style outside 1..5 is solid; a width is limited to 1..100.
int32_t PenStyleFromKey(int32_t stored);
int32_t PenWidthFromKey(int32_t stored);

// Keys prefix + "PColor", "PStyle", "PWidth" in `section`. The mode is not stored. Reading uses
// the pen's present values as defaults.
void WritePenKeys(IniFile& ini, const QString& section, const QString& prefix, const TPen& pen);
TPen ReadPenKeys(const IniFile& ini, const QString& section, const QString& prefix,
                 const TPen& current);
// The table of those keys ("PColor", "PStyle", "PWidth"), for records holding a pen.
const TStpKeys<TPen>& PenKeys();

}  // namespace qz
