#pragma once
// A small picture drawn through the chart canvas (the previews and the shape grid of the
// display dialogs): the owner's drawing runs on every Refresh, clicks report their point.

#include <QWidget>
#include <functional>

#include "charts/ui/imagecanvas.h"

namespace qz {

class TCanvasBox : public QWidget {
  Q_OBJECT
 public:
  TCanvasBox(int width, int height, QWidget* parent = nullptr);

  std::function<void(TCanvas& canvas, int32_t w, int32_t h)> Draw;
  // Draws the picture anew.
  void Refresh();
  const QImage& Image() const { return canvas_.Image(); }

 signals:
  void Clicked(QPoint at);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  TImageCanvas canvas_;
};

}  // namespace qz
