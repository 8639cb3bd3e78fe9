#pragma once
// The chart panel of a display window: it holds a chart (TRaster or one of its kinds), a
// retained image the chart draws into, the caption and the operator's labels. A repaint of the
// screen only copies the image; the chart is rendered into it when the size, the settings or
// the data change (size changes coalesced). Live drawing goes through a deferring canvas: the
// not-xor segments and moving markers of the points that arrive between two screen updates are
// held, cancel in pairs where a later drawing removes an earlier one, and reach the image in one
// go at the next screen update (at most about every 16 ms), exactly as point-by-point drawing
// would have left it. Every panel updates at the program's one refresh tick, so charts fed by the
// same run repaint together. The grid of circular charts is rendered once per look and reused.

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "charts/deferredcanvas.h"
#include "charts/raster.h"
#include "charts/ui/capt.h"
#include "charts/ui/dlabel.h"
#include "charts/ui/imagecanvas.h"
#include "charts/ui/labeledit.h"
#include "charts/ui/refreshtick.h"

namespace qz {

class TRasterPanel : public QWidget, private TRefreshClient {
  Q_OBJECT
 public:
  // A panel filling `owner` (when given) that shows `raster` (owned).
  TRasterPanel(std::unique_ptr<TRaster> raster, QWidget* owner = nullptr);
  ~TRasterPanel() override;

  TRaster& Raster() { return *raster_; }
  // Replaces the chart (a display changing its kind); labels and caption stay.
  void SetRaster(std::unique_ptr<TRaster> raster);
  // The image canvas with every held live drawing applied.
  TImageCanvas& Canvas() {
    live_.Flush();
    return canvas_;
  }
  const QImage& Image() const {
    live_.Flush();
    return canvas_.Image();
  }
  // The canvas the chart draws on (it holds live drawing back until the screen update).
  TDeferredCanvas& LiveCanvas() { return live_; }
  QRect ChartRect() const;
  // Place and size in the owner; alignment other than none makes it fill the owner.
  void SetPaintPnl(int left, int top, Qt::Alignment align, int height, int width);

  // Renders the whole chart now (settings or data changed).
  void RenderNow();
  // Renders soon, once for any number of requests before then.
  void Invalidate();
  // The chart rendered again and the labels refreshed.
  void Redraw();
  // The empty grid (traces gone from the chart); the labels are hidden while it is drawn.
  void ClrRaster();
  // How many times the circular grid was rendered (the rest were reused).
  int GridBuilds() const { return gridBuilds_; }
  // True when the last render could not draw the traces.
  bool TraceFailure() const { return traceFailure_; }
  // Called after every render, once the chart is laid out for the panel's size.
  std::function<void()> OnRendered;

  // Live drawing into the image; the screen follows within about 16 ms.
  void LiveSection(TTraces& list, int32_t i);
  void LiveMove(TTraces& list);
  void LiveEraseMovingDot(TTraces& list);
  // What was drawn since the last screen update goes to the image and the screen at the next
  // refresh tick (about 16 ms after the first such call), once for any number of calls.
  void ScheduleUpdate() {
    if (updateWaiting_) return;
    updateWaiting_ = true;
    TRefreshTick::Shared().Request(this);
  }
  // An update is waiting for the refresh tick.
  bool UpdateWaiting() const { return updateWaiting_; }
  // Held live drawing applied to the image now and the screen updated where it changed.
  void UpdateNow();

  // ---- labels and caption ---------------------------------------------------------------------
  TCapt* Capt() { return capt_; }
  const std::vector<TDLabel*>& Labels() const { return labels_; }
  TDLabel* NewLabel();
  TDLabel* CopyLabel(TDLabel* label);
  void DeleteLabel(TDLabel* label);
  void ShowHideLabel();
  void ToggleLblTransp(TDLabel* label);
  void DeleteAllLabels();
  void SetEditLabel(TDLabel* label);
  // Ends editing: the box's text becomes the label's (takeText) or is dropped.
  void EndEdit(bool takeText);
  void RearrangeLabels();
  // Font and colour of a label through the asker's dialogs; a colour makes it opaque.
  void ChooseLabelFont(TDLabel* label);
  void ChooseLabelColor(TDLabel* label);
  // A child the operator can drag over the chart (labels are always draggable).
  void MakeDraggable(QWidget* child);
  // Drops a dragged child with its top-left at `at` (panel coordinates).
  void DropChild(QWidget* child, QPoint at);

  TLabelEdit* EditBox() { return edit_; }
  TDLabel* SelectedLabel() const { return selected_; }
  QMenu* ChartMenu() { return chartMenu_; }
  QMenu* LabelMenu() { return labelMenu_; }
  QAction* actNewLabel = nullptr;
  QAction* actShowHideLabels = nullptr;
  QAction* actDeleteAllLabels = nullptr;
  QAction* actLblFont = nullptr;
  QAction* actLblColor = nullptr;
  QAction* actLblEdit = nullptr;
  QAction* actLblCopy = nullptr;
  QAction* actLblTransparent = nullptr;
  QAction* actLblDelete = nullptr;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct GridKey;
  void Render();
  void RefreshTick() override { UpdateNow(); }
  void PlaceCaption();
  void BuildMenus();
  void UpdateLabelMenuItems();
  QWidget* DraggedTop(QObject* watched) const;

  std::unique_ptr<TRaster> raster_;
  TImageCanvas canvas_;
  // In front of canvas_; flushed whenever the image is read or shown.
  mutable TDeferredCanvas live_{&canvas_};
  TCapt* capt_ = nullptr;
  TLabelEdit* edit_ = nullptr;
  QPointer<TDLabel> editing_;
  QPointer<TDLabel> selected_;
  std::vector<TDLabel*> labels_;
  std::vector<QPointer<QWidget>> draggable_;
  QPointer<QWidget> dragging_;
  QMenu* chartMenu_ = nullptr;
  QMenu* labelMenu_ = nullptr;
  QTimer renderTimer_;
  bool updateWaiting_ = false;
  QRect pendingUpdate_;
  QImage gridLayer_;
  std::unique_ptr<GridKey> gridKey_;
  int gridBuilds_ = 0;
  bool traceFailure_ = false;
  QSize renderedSize_;
};

}  // namespace qz
