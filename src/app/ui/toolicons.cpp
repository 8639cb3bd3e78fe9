#include "app/ui/toolicons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace qz {

QIcon BadgeIcon(const QString& text) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.setBrush(QColor(250, 250, 235));
  p.drawRoundedRect(QRectF(2, 5, 28, 22), 4, 4);
  QFont f = p.font();
  f.setPixelSize(12);
  f.setBold(true);
  p.setFont(f);
  p.drawText(QRectF(2, 5, 28, 22), Qt::AlignCenter, text);
  p.end();
  return QIcon(pm);
}

}  // namespace qz
