#include "charts/ui/rasterpanel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <typeinfo>

#include "charts/circraster.h"
#include "charts/labelplace.h"
#include "charts/smithraster.h"
#include "util/asker.h"

namespace qz {

// Everything the look of a circular chart's grid depends on.
struct TRasterPanel::GridKey {
  QSize size;
  QString kind;
  int32_t typ = 0;
  int32_t zoom = 0;
  double radius = 0.0;
  TRectI chart;
  std::array<TColor, 5> colors{};
  TFontRec font;
  TPen limPen;
  double limValue = 0.0;
  QString titleX, titleY;
  bool operator==(const GridKey&) const = default;
};

TRasterPanel::TRasterPanel(std::unique_ptr<TRaster> raster, QWidget* owner)
    : QWidget(owner), raster_(std::move(raster)) {
  setObjectName("pnlPaint");
  setAttribute(Qt::WA_OpaquePaintEvent);
  raster_->SetCanvas(&live_);
  capt_ = new TCapt(this, raster_->CapVisible, raster_->CapText);
  edit_ = new TLabelEdit(this);
  edit_->hide();
  connect(edit_, &TLabelEdit::Finished, this, [this] { EndEdit(true); });
  renderTimer_.setSingleShot(true);
  renderTimer_.setInterval(0);
  connect(&renderTimer_, &QTimer::timeout, this, &TRasterPanel::Render);
  BuildMenus();
  if (owner) {
    owner->installEventFilter(this);
    setGeometry(owner->rect());
  }
}

TRasterPanel::~TRasterPanel() {
  if (updateWaiting_) TRefreshTick::Shared().Cancel(this);
  // The chart must not draw on the canvas while both go.
  raster_->SetCanvas(nullptr);
}

void TRasterPanel::SetRaster(std::unique_ptr<TRaster> raster) {
  if (!raster) return;
  live_.Discard();  // drawn for the chart that goes; the new one is rendered whole
  raster_ = std::move(raster);
  raster_->SetCanvas(&live_);
  gridKey_.reset();
  RenderNow();
}

QRect TRasterPanel::ChartRect() const {
  const TRectI& r = raster_->ChartRect;
  return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

void TRasterPanel::SetPaintPnl(int left, int top, Qt::Alignment align, int height, int width) {
  if (align != Qt::Alignment() && parentWidget()) {
    setGeometry(parentWidget()->rect());
  } else {
    setGeometry(left, top, width, height);
  }
}

void TRasterPanel::BuildMenus() {
  chartMenu_ = new QMenu(this);
  actNewLabel = chartMenu_->addAction("&New Label", this, [this] { NewLabel(); });
  actShowHideLabels = chartMenu_->addAction("&Show/Hide Labels", this, [this] { ShowHideLabel(); });
  actDeleteAllLabels =
      chartMenu_->addAction("&Delete All Labels", this, [this] { DeleteAllLabels(); });
  actShowHideLabels->setVisible(false);
  actDeleteAllLabels->setVisible(false);

  labelMenu_ = new QMenu(this);
  actLblFont = labelMenu_->addAction("&Font...", this, [this] { ChooseLabelFont(selected_); });
  actLblColor = labelMenu_->addAction("C&olor...", this, [this] { ChooseLabelColor(selected_); });
  actLblEdit = labelMenu_->addAction("&Edit", this, [this] { SetEditLabel(selected_); });
  actLblCopy = labelMenu_->addAction("&Copy", this, [this] { CopyLabel(selected_); });
  actLblTransparent =
      labelMenu_->addAction("Transparent", this, [this] { ToggleLblTransp(selected_); });
  actLblTransparent->setCheckable(true);
  actLblDelete = labelMenu_->addAction("&Delete", this, [this] { DeleteLabel(selected_); });
}

void TRasterPanel::UpdateLabelMenuItems() {
  actLblTransparent->setChecked(selected_ && selected_->Transparent());
}

// ---- rendering ------------------------------------------------------------------------------

void TRasterPanel::Invalidate() {
  if (!renderTimer_.isActive()) renderTimer_.start();
}

void TRasterPanel::RenderNow() {
  renderTimer_.stop();
  Render();
}

void TRasterPanel::Redraw() {
  RenderNow();
  for (TDLabel* l : labels_) l->update();
}

void TRasterPanel::ClrRaster() {
  std::vector<TDLabel*> shown;
  for (TDLabel* l : labels_) {
    if (l->isHidden()) continue;
    shown.push_back(l);
    l->hide();
  }
  if (canvas_.Image().size() == size()) {
    raster_->SetPanelSize(width(), height());
    raster_->ClrRaster();
    PlaceCaption();
    live_.Flush();
    canvas_.TakeDirty();
    update();
  } else {
    RenderNow();
  }
  for (TDLabel* l : shown) l->show();
}

void TRasterPanel::Render() {
  const QSize sz = size();
  if (sz.isEmpty()) return;
  // Every pixel is drawn anew: what live drawing still holds would be painted over unseen.
  live_.Discard();
  if (canvas_.Image().size() != sz) canvas_.Resize(sz.width(), sz.height(), raster_->PanelColor);
  raster_->SetCanvas(&live_);
  raster_->SetPanelSize(sz.width(), sz.height());
  if (raster_->IsCircular()) {
    raster_->PrepareRepaint();
    auto& c = static_cast<TCircRaster&>(*raster_);
    GridKey k;
    k.size = sz;
    k.kind = QString::fromLatin1(typeid(*raster_).name());
    if (auto* s = dynamic_cast<TSmithRaster*>(raster_.get())) k.typ = s->Typ;
    k.zoom = c.iZoom;
    k.radius = c.Rpolar;
    k.chart = c.ChartRect;
    k.colors = {c.FrmColor, c.GrdColor, c.LblColor, c.PanelColor, c.CircLblColor};
    k.font = c.Font;
    k.limPen = c.LimLine.Pen;
    k.limValue = c.LimLine.Value;
    k.titleX = c.Ox.Title;
    k.titleY = c.Oy.Title;
    if (gridKey_ && *gridKey_ == k) {
      canvas_.CopyFrom(gridLayer_);
    } else {
      raster_->ClrVport(vpCely);
      raster_->Draw();
      live_.Flush();
      gridLayer_ = canvas_.Image().copy();
      gridKey_ = std::make_unique<GridKey>(k);
      ++gridBuilds_;
    }
    traceFailure_ = !raster_->DrawTraces();
  } else {
    raster_->ClrVport(vpCely);
    raster_->PrepareRepaint();
    raster_->Draw();
    traceFailure_ = !raster_->DrawTraces();
  }
  PlaceCaption();
  if (renderedSize_ != sz) {
    renderedSize_ = sz;
    RearrangeLabels();
  }
  live_.Flush();
  canvas_.TakeDirty();
  pendingUpdate_ = QRect();
  update();
  if (OnRendered) OnRendered();
}

void TRasterPanel::PlaceCaption() {
  capt_->UpDn = raster_->CaptionSide();
  const TPt a = raster_->CaptionAnchor(capt_->Lbl->font().pointSize());
  capt_->ChangePos(QPoint(a.x, a.y));
  // A caption below a small chart would be cut by the panel's bottom edge: it stays inside.
  QLabel* l = capt_->Lbl;
  const int maxTop = height() - l->height() - 1;
  if (l->y() > maxTop) l->move(l->x(), std::max(0, maxTop));
}

void TRasterPanel::UpdateNow() {
  if (updateWaiting_) {
    updateWaiting_ = false;
    TRefreshTick::Shared().Cancel(this);
  }
  live_.Flush();
  pendingUpdate_ |= canvas_.TakeDirty();
  if (!pendingUpdate_.isEmpty()) update(pendingUpdate_);
  pendingUpdate_ = QRect();
}

void TRasterPanel::LiveSection(TTraces& list, int32_t i) {
  raster_->MoveTraceSection(list, i);
  ScheduleUpdate();
}

void TRasterPanel::LiveMove(TTraces& list) {
  raster_->MoveTrace(list);
  ScheduleUpdate();
}

void TRasterPanel::LiveEraseMovingDot(TTraces& list) {
  raster_->EraseMovingDot(list);
  ScheduleUpdate();
}

void TRasterPanel::paintEvent(QPaintEvent* e) {
  // A paint the window system asks for shows the chart as it stands now.
  live_.Flush();
  QPainter p(this);
  p.drawImage(e->rect(), canvas_.Image(), e->rect());
}

void TRasterPanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Invalidate();
}

// ---- pointer --------------------------------------------------------------------------------

void TRasterPanel::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  raster_->LastPoint = TPt{p.x(), p.y()};
  raster_->ChildPopupMenuX = p.x();
  raster_->ChildPopupMenuY = p.y();
  // A press on the chart while a label is edited leaves the label as it was.
  if (edit_->isVisible()) EndEdit(false);
  QWidget::mousePressEvent(e);
}

void TRasterPanel::contextMenuEvent(QContextMenuEvent* e) {
  if (edit_->isVisible()) return;  // the chart's menu is detached while a label is edited
  raster_->ChildPopupMenuX = e->pos().x();
  raster_->ChildPopupMenuY = e->pos().y();
  chartMenu_->popup(e->globalPos());
}

QWidget* TRasterPanel::DraggedTop(QObject* watched) const {
  for (QObject* o = watched; o && o != this; o = o->parent()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) continue;
    if (qobject_cast<TDLabel*>(w) && w != capt_->Lbl) return w;
    for (const auto& d : draggable_)
      if (d == w) return w;
  }
  return nullptr;
}

bool TRasterPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
    return false;
  }
  QWidget* top = DraggedTop(watched);
  if (!top) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (edit_->isVisible()) EndEdit(false);
      if (me->button() == Qt::LeftButton) {
        dragging_ = top;
        top->setProperty("qzPressAt", me->globalPosition().toPoint());
        top->setProperty("qzDragged", false);
        return true;
      }
      break;
    }
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (dragging_ == top && (me->buttons() & Qt::LeftButton)) {
        const QPoint start = top->property("qzPressAt").toPoint();
        const QPoint g = me->globalPosition().toPoint();
        if (top->property("qzDragged").toBool() ||
            (g - start).manhattanLength() >= QApplication::startDragDistance()) {
          top->setProperty("qzDragged", true);
          top->move(mapFromGlobal(g));
        }
        return true;
      }
      break;
    }
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (dragging_ == top && me->button() == Qt::LeftButton) {
        if (top->property("qzDragged").toBool())
          DropChild(top, mapFromGlobal(me->globalPosition().toPoint()));
        dragging_ = nullptr;
        return true;
      }
      break;
    }
    case QEvent::ContextMenu: {
      if (auto* l = qobject_cast<TDLabel*>(top)) {
        selected_ = l;
        UpdateLabelMenuItems();
        labelMenu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void TRasterPanel::MakeDraggable(QWidget* child) {
  if (!child) return;
  draggable_.push_back(child);
  child->installEventFilter(this);
  for (QWidget* w : child->findChildren<QWidget*>()) w->installEventFilter(this);
}

void TRasterPanel::DropChild(QWidget* child, QPoint at) {
  if (!child) return;
  if (auto* l = qobject_cast<TDLabel*>(child)) {
    const TPt p = ClampLabel({at.x(), at.y()}, l->width(), l->height(), width(), height());
    l->move(p.x, p.y);
    const TLabelFrac f = FractionsOf(p, width(), height());
    l->x = f.x;
    l->y = f.y;
    return;
  }
  const TPt p = ClampPanel({at.x(), at.y()}, child->width(), child->height(), width(), height());
  child->move(p.x, p.y);
}

// ---- labels ---------------------------------------------------------------------------------

TDLabel* TRasterPanel::NewLabel() {
  auto* l = new TDLabel(this);
  TLabelStyle s;
  s.Caption = "NewLabel";
  l->SetStyle(s);
  l->installEventFilter(this);
  const TPt p = ClampLabel({raster_->ChildPopupMenuX, raster_->ChildPopupMenuY}, l->width(),
                           l->height(), width(), height());
  l->move(p.x, p.y);
  const TLabelFrac f = FractionsOf(p, width(), height());
  l->x = f.x;
  l->y = f.y;
  labels_.push_back(l);
  for (TDLabel* each : labels_) each->show();
  actShowHideLabels->setVisible(true);
  actDeleteAllLabels->setVisible(true);
  SetEditLabel(l);
  return l;
}

TDLabel* TRasterPanel::CopyLabel(TDLabel* label) {
  if (!label) return nullptr;
  auto* l = new TDLabel(this);
  TLabelStyle s = label->Style();
  s.Visible = true;
  l->SetStyle(s);
  l->installEventFilter(this);
  l->move(label->pos() + QPoint(5, 5));
  const TLabelFrac f = FractionsOf({l->pos().x(), l->pos().y()}, width(), height());
  l->x = f.x;
  l->y = f.y;
  labels_.push_back(l);
  l->show();
  return l;
}

void TRasterPanel::DeleteLabel(TDLabel* label) {
  if (!label) return;
  if (editing_ == label) EndEdit(false);
  std::erase(labels_, label);
  label->hide();
  label->deleteLater();
}

void TRasterPanel::ShowHideLabel() {
  for (TDLabel* l : labels_) l->setVisible(l->isHidden());
}

void TRasterPanel::ToggleLblTransp(TDLabel* label) {
  if (label) label->SetTransparent(!label->Transparent());
}

void TRasterPanel::DeleteAllLabels() {
  if (!actDeleteAllLabels->isVisible()) return;
  if (Asker().MessageBox("Delete all labels?", TMsgType::Warning, mbYes | mbNo) != mbYes) return;
  EndEdit(false);
  for (TDLabel* l : labels_) {
    l->hide();
    l->deleteLater();
  }
  labels_.clear();
  actShowHideLabels->setVisible(false);
  actDeleteAllLabels->setVisible(false);
}

void TRasterPanel::SetEditLabel(TDLabel* label) {
  if (!label) return;
  editing_ = label;
  edit_->setGeometry(label->pos().x(), label->pos().y(), label->width() + 8, label->height() + 8);
  edit_->setFont(label->font());
  edit_->setText(label->text());
  edit_->show();
  edit_->raise();
  edit_->setFocus();
  setContextMenuPolicy(Qt::NoContextMenu);
}

void TRasterPanel::EndEdit(bool takeText) {
  if (takeText && editing_) {
    editing_->setText(edit_->text());
    editing_->adjustSize();
  }
  editing_ = nullptr;
  edit_->hide();
  setContextMenuPolicy(Qt::DefaultContextMenu);
}

void TRasterPanel::RearrangeLabels() {
  for (TDLabel* l : labels_) {
    const TPt p = RearrangedPos({l->x, l->y}, l->width(), l->height(), width(), height());
    l->move(p.x, p.y);
  }
}

void TRasterPanel::ChooseLabelFont(TDLabel* label) {
  if (!label) return;
  TLabelStyle s = label->Style();
  if (!Asker().AskFont(s.Font)) return;
  label->SetStyle(s);
}

void TRasterPanel::ChooseLabelColor(TDLabel* label) {
  if (!label) return;
  TLabelStyle s = label->Style();
  if (!Asker().AskColor(s.Color)) return;
  s.Transparent = false;
  label->SetStyle(s);
}

}  // namespace qz
