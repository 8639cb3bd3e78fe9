#pragma once
// Pictures of tool buttons whose commands have no standard icon.

#include <QIcon>
#include <QString>

namespace qz {

// The command's short name on a framed face.
QIcon BadgeIcon(const QString& text);

}  // namespace qz
