#include "display/ui/canvasbox.h"

#include <QMouseEvent>
#include <QPainter>

namespace qz {

TCanvasBox::TCanvasBox(int width, int height, QWidget* parent)
    : QWidget(parent), canvas_(width, height) {
  setFixedSize(width, height);
}

void TCanvasBox::Refresh() {
  canvas_.SetPalette(palette());
  canvas_.Resize(width(), height(), clBtnFace);
  if (Draw) Draw(canvas_, width(), height());
  update();
}

void TCanvasBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, canvas_.Image());
}

void TCanvasBox::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
    emit Clicked(e->position().toPoint());
  QWidget::mouseReleaseEvent(e);
}

}  // namespace qz
