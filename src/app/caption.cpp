#include "app/caption.h"

namespace qz {

QString MainCaption(const QString& version) {
  return QStringLiteral("QzmSoft - Simulation V ") + version;
}

}  // namespace qz
