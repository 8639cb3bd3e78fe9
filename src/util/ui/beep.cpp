#include "util/ui/beep.h"

#include <QApplication>
#include <QGuiApplication>

namespace qz {

void Beep(int /*freqHz*/, int /*ms*/) {
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return;
  QApplication::beep();
}

}  // namespace qz
