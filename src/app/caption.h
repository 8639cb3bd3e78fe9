#pragma once
#include <QString>

namespace qz {

// The frame window's caption: "QzmSoft - Simulation V " followed by the program version.
QString MainCaption(const QString& version);

}  // namespace qz
