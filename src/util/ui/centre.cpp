#include "util/ui/centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace qz {

void CentreOnScreen(QWidget* w) {
  if (!w) return;
  QScreen* screen = w->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = w->frameGeometry().size();
  const int x = std::max(area.left(), area.left() + (area.width() - size.width()) / 2);
  const int y = std::max(area.top(), area.top() + (area.height() - size.height()) / 2);
  w->move(x, y);
}

}  // namespace qz
