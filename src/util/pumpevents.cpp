#include "util/pumpevents.h"

#include <QCoreApplication>

namespace qz {

void PumpEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents();
}

}  // namespace qz
