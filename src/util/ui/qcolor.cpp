#include "util/ui/qcolor.h"

#include <QGuiApplication>

namespace qz {

QPalette::ColorRole PaletteRole(TSysColorRole role) {
  switch (role) {
    case TSysColorRole::Base:
      return QPalette::Base;
    case TSysColorRole::WindowText:
      return QPalette::WindowText;
    // The area holding the display windows paints its background in the Dark role.
    case TSysColorRole::Workspace:
      return QPalette::Dark;
    case TSysColorRole::Button:
      return QPalette::Button;
    case TSysColorRole::Window:
      break;
  }
  return QPalette::Window;
}

QColor ToQColor(TColor c, const QPalette& palette) {
  if (IsSystemColor(c)) return palette.color(QPalette::Active, PaletteRole(SystemColorRole(c)));
  return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

QColor ToQColor(TColor c) { return ToQColor(c, QGuiApplication::palette()); }

}  // namespace qz
