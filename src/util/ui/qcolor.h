#pragma once
// The one conversion of the program's colours (0x00BBGGRR, top byte 0xFF: a system colour) into
// Qt's. System colours come from a palette: the application's unless one is given.

#include <QColor>
#include <QPalette>

#include "util/colors.h"

namespace qz {

QPalette::ColorRole PaletteRole(TSysColorRole role);
QColor ToQColor(TColor c, const QPalette& palette);
QColor ToQColor(TColor c);

}  // namespace qz
