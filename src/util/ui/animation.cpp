#include "util/ui/animation.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "util/numutil.h"

namespace qz {

namespace {

constexpr int kFrameMs = 90;

void DrawComputer(QPainter& p, const QRect& r) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(0xC0, 0xC0, 0xC0));
  const QRect screen(r.center().x() - 18, r.top() + 8, 36, 26);
  p.drawRect(screen);
  p.setBrush(QColor(0x00, 0x80, 0x80));
  p.drawRect(screen.adjusted(4, 4, -4, -4));
  p.setBrush(QColor(0xC0, 0xC0, 0xC0));
  p.drawRect(QRect(screen.left() - 4, screen.bottom() + 4, screen.width() + 8, 8));
}

void DrawFolder(QPainter& p, const QRect& r) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(0xFF, 0xD8, 0x60));
  QPolygon folder;
  folder << r.topLeft() << QPoint(r.left() + r.width() / 3, r.top())
         << QPoint(r.left() + r.width() / 3 + 3, r.top() + 3) << QPoint(r.right(), r.top() + 3)
         << r.bottomRight() << r.bottomLeft();
  p.drawPolygon(folder);
}

void DrawSheet(QPainter& p, const QPointF& c) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(c.x() - 5, c.y() - 7, 10, 14));
  p.drawLine(QPointF(c.x() - 3, c.y() - 3), QPointF(c.x() + 3, c.y() - 3));
  p.drawLine(QPointF(c.x() - 3, c.y()), QPointF(c.x() + 3, c.y()));
}

}  // namespace

TAnimation::TAnimation(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  timer_.setInterval(kFrameMs);
  connect(&timer_, &QTimer::timeout, this, &TAnimation::Step);
}

void TAnimation::SetAnimation(int animation, int lastFrame) {
  animation_ = animation;
  loopFrames_ = (lastFrame <= 0 || lastFrame > kFrames) ? kFrames : lastFrame;
  frame_ = 0;
  update();
}

void TAnimation::Start() { timer_.start(); }

void TAnimation::Stop() { timer_.stop(); }

void TAnimation::Step() {
  frame_ = (frame_ + 1) % loopFrames_;
  update();
}

void TAnimation::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRect r = rect();
  const double t = double(frame_) / kFrames;  // 0 .. <1 over a full loop
  switch (animation_) {
    case 3: {
      DrawComputer(p, r);
      // The magnifier swings over the screen and back.
      const double swing = std::sin(2 * M_PI * t);
      const QPointF c(r.center().x() + 26 * swing, r.top() + 20 + 6 * std::cos(4 * M_PI * t));
      p.setBrush(QColor(0xE0, 0xF0, 0xFF, 0xA0));
      p.setPen(QPen(Qt::black, 2));
      p.drawEllipse(c, 9, 9);
      p.drawLine(c + QPointF(6, 6), c + QPointF(14, 14));
      break;
    }
    case 4:
    case 5: {
      const QRect left(4, r.bottom() - 24, 26, 20);
      const QRect right(r.right() - 30, r.bottom() - 24, 26, 20);
      DrawFolder(p, left);
      DrawFolder(p, right);
      const int sheets = animation_ == 4 ? 2 : 1;
      for (int k = 0; k < sheets; ++k) {
        const double s = std::fmod(t + double(k) / sheets, 1.0);
        const double x = left.center().x() + s * (right.center().x() - left.center().x());
        const double y = left.top() - std::sin(M_PI * s) * (r.height() - 34);
        DrawSheet(p, QPointF(x, y));
      }
      break;
    }
    default: {
      const QPointF c = QRectF(r).center();
      const double radius = std::min(r.width(), r.height()) / 2.0 - 6;
      p.setPen(Qt::NoPen);
      for (int k = 0; k < 8; ++k) {
        const double a = 2 * M_PI * (double(k) / 8 + t);
        const int shade = TruncToInt32(40 + 200.0 * k / 8);
        p.setBrush(QColor(shade, shade, 255));
        p.drawEllipse(c + QPointF(radius * std::cos(a), radius * std::sin(a)), 4, 4);
      }
      break;
    }
  }
}

}  // namespace qz
