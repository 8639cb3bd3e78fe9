#include "display/ui/gdisplform.h"

#include <algorithm>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "charts/ui/imagecanvas.h"
#include "display/displdefaults.h"
#include "display/panelplace.h"
#include "display/readout.h"
#include "display/ui/dlgattr.h"
#include "display/ui/dlgqzscale.h"
#include "display/ui/penfrm.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/ui/dialogparent.h"
#include "util/ui/menuletters.h"
#include "util/ui/qcolor.h"
#include "util/valueinput.h"

namespace qz {

// The legend panel: one row per visible trace, drawn from the window's trace list.
class TLegend : public QWidget {
 public:
  TLegend(const TTraces& traces, QWidget* parent) : QWidget(parent), traces_(traces) {
    setObjectName("pLegend");
    setCursor(Qt::PointingHandCursor);
  }
  // Size and picture for the present traces and chart colour.
  void Refresh(TColor background) {
    TImageCanvas metrics;
    const int32_t w = LegendWidth(metrics, traces_);
    int32_t visible = 0;
    for (int32_t j = 0; j < traces_.Count(); ++j)
      if (traces_.Trace(j)->Attr().Visible) ++visible;
    const int32_t h = LegendGeometry(visible).height;
    canvas_.Resize(w, h);
    DrawLegend(canvas_, traces_, background, w - 1);
    setFixedSize(w, h);
    update();
  }
  std::function<void()> OnClick;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, canvas_.Image());
  }

 private:
  const TTraces& traces_;
  TImageCanvas canvas_;
};

namespace {

constexpr int kClientW = 330;
constexpr int kClientH = 220;
constexpr int kClockMs = 30000;

QAction* Hinted(QAction* a, const QString& hint) {
  const int bar = hint.indexOf(QChar('|'));
  a->setToolTip(bar < 0 ? hint : hint.left(bar));
  a->setStatusTip(bar < 0 ? QString() : hint.mid(bar + 1));
  return a;
}

}  // namespace

TGDisplForm::TGDisplForm(TDisplayDefaults& defaults, QWidget* parent)
    : QWidget(parent),
      defaults_(defaults),
      depot_(defaults.Depot),
      captStyle_(defaults.CaptStyle),
      frmAtr_(defaults.Atr) {
  setObjectName("GDisplForm");
  setAttribute(Qt::WA_DeleteOnClose);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  outer->setMenuBar(menuBar_);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  outer->addLayout(row, 1);

  displ_ = std::make_unique<TDispl>(
      depot_, defaults.NewType, nullptr, [this](int32_t t) { defaults_.NewType = t; }, frmAtr_);
  std::unique_ptr<TRaster> first;
  // The panel takes the first chart; every later one replaces it there.
  displ_->SetRasterHost([this, &first](std::unique_ptr<TRaster> r) -> TRaster* {
    TRaster* p = r.get();
    if (panel_)
      panel_->SetRaster(std::move(r));
    else
      first = std::move(r);
    return p;
  });
  panel_ = new TRasterPanel(std::move(first), this);
  row->addWidget(panel_, 1);
  BuildToolBar();
  row->addWidget(toolBar_);

  legend_ = new TLegend(displ_->TracesToDraw, panel_);
  // During a run the window's commands wait for its end; so does the legend's dialog.
  legend_->OnClick = [this] {
    if (OnLegendClick && runEnabled_) OnLegendClick(*this);
  };
  clock_ = new QLabel(panel_);
  clock_->setObjectName("pTime");
  clock_->setFrameShape(QFrame::Box);
  clock_->setAutoFillBackground(true);
  clock_->setCursor(Qt::PointingHandCursor);
  clock_->hide();
  panel_->MakeDraggable(legend_);
  panel_->MakeDraggable(clock_);
  // Installed after the panel's drag filter, so this one sees the clicks first.
  clock_->installEventFilter(this);
  legend_->installEventFilter(this);
  // The panels follow the chart panel's own size, which the layout sets after this window's.
  panel_->installEventFilter(this);
  // The chart's texts are known once it is laid out: a clock the program placed keeps off them.
  panel_->OnRendered = [this] {
    if (!panelsPlaced_) PlacePanels();
  };
  // The readout under the pointer follows every move over the chart.
  panel_->setMouseTracking(true);
  clockTimer_.setInterval(kClockMs);
  connect(&clockTimer_, &QTimer::timeout, this, &TGDisplForm::RefreshClock);

  BuildMenus();

  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
  space->setContext(Qt::WidgetWithChildrenShortcut);
  connect(space, &QShortcut::activated, this, [this] {
    if (RunPause) RunPause();
  });
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  esc->setContext(Qt::WidgetWithChildrenShortcut);
  connect(esc, &QShortcut::activated, this, [this] {
    if (RunPause && Running && Running()) RunPause();
  });

  // The client is never lower than the last tool button.
  minH_ = toolBar_->sizeHint().height();
  setMinimumHeight(minH_ + menuBar_->sizeHint().height());
  resize(sizeHint());
  RecreateDisplay(displ_->GetTypX(), displ_->GetTypY());
  // Legend at the top, right-aligned; clock left of it, hidden.
  PlacePanels();
}

TGDisplForm::~TGDisplForm() = default;

QSize TGDisplForm::sizeHint() const {
  return QSize(kClientW + toolBar_->sizeHint().width(), kClientH + menuBar_->sizeHint().height());
}

QWidget* TGDisplForm::Legend() const { return legend_; }

void TGDisplForm::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("tbDispl");
  toolBar_->setOrientation(Qt::Vertical);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  Hinted(toolBar_->addAction("Scl", this,
                             [this] {
                               if (OnSetScale) OnSetScale(*this);
                             }),
         "Set scale|");
  Hinted(toolBar_->addAction("Auto", this, &TGDisplForm::DoAutoscale), "Autoscale|");
  Hinted(toolBar_->addAction("Dflt", this, &TGDisplForm::DoDefault), "Dflt");
  bInput_ = Hinted(toolBar_->addAction("In", this, [this] { SetShowLoad(false); }),
                   "Show input reflection coefficient|");
  bLoad_ = Hinted(toolBar_->addAction("Load", this, [this] { SetShowLoad(true); }),
                  "Show load reflection coefficient|");
  bInput_->setCheckable(true);
  bLoad_->setCheckable(true);
  bInput_->setChecked(true);
  Hinted(toolBar_->addAction("Clr", this, &TGDisplForm::Blank), "Clear screen|");
  Hinted(toolBar_->addAction("Redr", this, &TGDisplForm::ClearAndRedraw),
         "Clear screen and redraw traces|");
  bClearAndGo_ = Hinted(toolBar_->addAction("C&&G", this, [this](bool on) { SetClearAndGo(on); }),
                        "Clear and Go|");
  bClearAndGo_->setCheckable(true);
  bClearAndGo_->setChecked(true);
  bPersist_ =
      Hinted(toolBar_->addAction("Pers", this, [this](bool on) { SetPersist(on); }), "Persist|");
  bPersist_->setCheckable(true);
}

void TGDisplForm::BuildMenus() {
  mDisplay_ = menuBar_->addMenu("&Display");
  typeGroup_ = new QActionGroup(this);
  for (int32_t t : OfferedTypes()) {
    QAction* a = mDisplay_->addAction(DispTypeInfo(t).menu);
    a->setCheckable(true);
    a->setData(t);
    typeGroup_->addAction(a);
    connect(a, &QAction::triggered, this, [this, t] {
      RecreateDisplay(XTypeOf(t), t);
      if (OnTypeChosen) OnTypeChosen();
    });
  }
  mDisplay_->addSeparator();
  mUnits_ = mDisplay_->addMenu("&Units");
  for (int32_t n = 0; n < kMaxUnits; ++n) {
    QAction* a = mUnits_->addAction(QString());
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, n] { SetUnit(n); });
  }
  connect(mDisplay_, &QMenu::aboutToShow, this, &TGDisplForm::DisplayMenuOpening);

  mChart_ = menuBar_->addMenu("&Chart");
  auto add = [this](QMenu* m, const QString& text, auto slot, QKeySequence key = {}) {
    QAction* a = m->addAction(text, this, slot);
    if (!key.isEmpty()) {
      a->setShortcut(key);
      a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      addAction(a);
    }
    return a;
  };
  add(
      mChart_, "&Set Scale...",
      [this] {
        if (OnSetScale) OnSetScale(*this);
      },
      QKeySequence("Ctrl+Y"));
  add(
      mChart_, "&Autoscale", [this] { DoAutoscale(); }, QKeySequence("Ctrl+A"));
  add(
      mChart_, "&Default", [this] { DoDefault(); }, QKeySequence("Ctrl+D"));
  add(mChart_, "&Properties...", [this] {
    if (OnProperties) OnProperties(*this);
  });
  aShowLoad_ = add(mChart_, "&Show Load", [this] { SetShowLoad(!showLoad_); });
  aShowLoad_->setCheckable(true);
  aLegend_ = add(mChart_, "Legen&d", [this] { SetLegendVisible(legend_->isHidden()); });
  aLegend_->setCheckable(true);
  aTime_ = add(mChart_, "&Time", [this] { SetClockVisible(clock_->isHidden()); });
  aTime_->setCheckable(true);
  QMenu* lim = mChart_->addMenu("&Limit Line");
  add(lim, "&Value", [this] { AskLimitValue(); });
  add(lim, "&Style...", [this] {
    if (OnLimitStyle) OnLimitStyle(*this);
  });
  QMenu* capt = mChart_->addMenu("&Caption");
  aCaptVisible_ = add(capt, "&Visible", [this] {
    TDLabel* l = panel_->Capt()->Lbl;
    if (l->isVisible()) {
      panel_->Capt()->Hide();
    } else if (l->text().isEmpty()) {
      panel_->Capt()->LblClick();
    } else {
      panel_->Capt()->Show();
    }
    CaptionToRaster();
  });
  aCaptVisible_->setCheckable(true);
  add(capt, "&Text", [this] {
    panel_->Capt()->LblClick();
    CaptionToRaster();
  });
  add(capt, "&Font...", [this] {
    TLabelStyle s = panel_->Capt()->Lbl->Style();
    if (Asker().AskFont(s.Font)) {
      panel_->Capt()->Lbl->SetStyle(s);
      CopyLabelStyle(s, captStyle_, false);
    }
  });
  add(capt, "&Color...", [this] {
    TLabelStyle s = panel_->Capt()->Lbl->Style();
    if (Asker().AskColor(s.Color)) {
      s.Transparent = false;
      panel_->Capt()->Lbl->SetStyle(s);
      CopyLabelStyle(s, captStyle_, false);
    }
  });
  add(mChart_, "L&abels...", [this] { ShowLabelsHelp(); });
  add(mChart_, "Arrange &Panels", [this] { ArrangePanels(); });
  add(mChart_, "&Blank", [this] { Blank(); });
  aClearAndGo_ = add(mChart_, "Cl&ear and Go", [this] { SetClearAndGo(!clearAndGo_); });
  aClearAndGo_->setCheckable(true);
  aPersist_ = add(mChart_, "Pe&rsist", [this] { SetPersist(!displ_->Grf->Persist); });
  aPersist_->setCheckable(true);
  connect(mChart_, &QMenu::aboutToShow, this, &TGDisplForm::ChartMenuOpening);
  // "&Set Scale..." and "&Show Load" share S (as other items share A, D and P): where only one
  // of them is enabled, the letter chooses it.
  for (QMenu* m : menuBar_->findChildren<QMenu*>()) TriggerSoleEnabledLetter(m);
}

void TGDisplForm::DisplayMenuOpening() {
  for (QAction* a : typeGroup_->actions()) a->setChecked(a->data().toInt() == displ_->AkeY);
  const TUnits& u = DispUnits(displ_->AkeY);
  const TOsData& y = displ_->Grf->Oy.Stp.Data;
  mUnits_->menuAction()->setText(UnitsMenuText(y.Jedn));
  mUnits_->menuAction()->setEnabled(u.Pocet > 1 && runEnabled_);
  const QList<QAction*> items = mUnits_->actions();
  for (int32_t n = 0; n < items.size(); ++n) {
    items[n]->setVisible(n < u.Pocet);
    items[n]->setText(UnitEntryText(u.Nazov[size_t(std::min(n, kMaxUnits - 1))]));
    items[n]->setChecked(n == y.Nunit);
  }
}

void TGDisplForm::ChartMenuOpening() {
  aLegend_->setChecked(!legend_->isHidden());
  aTime_->setChecked(!clock_->isHidden());
  aCaptVisible_->setChecked(!panel_->Capt()->Lbl->isHidden());
  aClearAndGo_->setChecked(clearAndGo_);
  aPersist_->setChecked(displ_->Grf->Persist);
  aShowLoad_->setChecked(showLoad_);
  aShowLoad_->setEnabled(IsRflType(displ_->AkeY) && runEnabled_);
}

void TGDisplForm::CaptionToRaster() {
  const TDLabel* l = panel_->Capt()->Lbl;
  displ_->Grf->CapText = l->text();
  displ_->Grf->CapVisible = !l->isHidden();
}

void TGDisplForm::CaptionFromRaster() {
  TLabelStyle s = captStyle_;
  s.Caption = displ_->Grf->CapText;
  s.Visible = displ_->Grf->CapVisible && !s.Caption.isEmpty();
  panel_->Capt()->Lbl->SetStyle(s);
  if (s.Visible)
    panel_->Capt()->Show();
  else
    panel_->Capt()->Hide();
}

void TGDisplForm::Refill() {
  if (ConvertAll) ConvertAll(*this);
}

void TGDisplForm::RecreateDisplay(int32_t xType, int32_t type) {
  frmAtr_ = displ_->TraceAttributes(frmAtr_);
  CaptionToRaster();
  const bool persist = displ_->Grf->Persist;
  displ_->SetTypXY(xType, type, frmAtr_);
  displ_->Grf->Persist = persist;
  Refill();
  const bool rfl = IsRflType(displ_->AkeY);
  bInput_->setVisible(rfl);
  bLoad_->setVisible(rfl);
  SetCaption();
  CaptionFromRaster();
  RefreshLegend();
  clock_->raise();
  panel_->RenderNow();
}

void TGDisplForm::SetCaption() {
  setWindowTitle(DisplayCaption(displ_->AkeY, showLoad_, bool(BilinActive),
                                BilinActive ? BilinActive() : false));
}

void TGDisplForm::PutTrace() {
  displ_->Grf->PutTrace();
  panel_->ScheduleUpdate();
}

void TGDisplForm::ChartChanged() { panel_->ScheduleUpdate(); }

void TGDisplForm::RepaintAll() {
  RefreshLegend();
  panel_->RenderNow();
}

void TGDisplForm::RefreshLegend() {
  legend_->Refresh(displ_->Grf->PanelColor);
  // A legend grown with its traces stays inside the chart panel.
  PlacePanels();
}

void TGDisplForm::ClearChart() { panel_->ClrRaster(); }

void TGDisplForm::SetShowLoad(bool load) {
  if (!IsRflType(displ_->AkeY)) load = false;
  showLoad_ = load;
  bInput_->setChecked(!load);
  bLoad_->setChecked(load);
  SetCaption();
}

void TGDisplForm::SetUnit(int32_t n) {
  displ_->SetUnit(n);
  Refill();
  RepaintAll();
}

void TGDisplForm::DoAutoscale() {
  const TAutoscaleResult r = displ_->Autoscale();
  if (!r.ok) {
    Asker().MessageBox(r.message, TMsgType::Error, mbOK);
    return;
  }
  RepaintAll();
}

void TGDisplForm::DoDefault() {
  displ_->DefaultY();
  RepaintAll();
}

void TGDisplForm::AskLimitValue() {
  const double current = displ_->Grf->LimLine.Value;
  const TAskedValue v =
      AskValue(LimitValueTitle(displ_->AkeY, displ_->Grf->Oy.Stp.Data.Jedn), current);
  if (v.value == current) return;
  displ_->SetLimitValue(v.value);
  panel_->ClrRaster();
  panel_->Redraw();
}

void TGDisplForm::ShowLabelsHelp() {
  const TMsgButton b = Asker().MessageBox(
      "To label the Display Window, use mouse as follows:\r\n\r\n1. Right-click the Display "
      "Window to create,\r\n    show/hide and delete labels.\r\n2. Right-click an existing label "
      "to edit, copy, delete it\r\n    or to change its font and background color.\r\n3. Drag an "
      "existing label to move it to another position.\r\n\r\nFor more details, click Help "
      "button.",
      TMsgType::Information, mbHelp | mbOK);
  if (b == mbHelp && OnLabelsHelp) OnLabelsHelp();
}

void TGDisplForm::SetLegendVisible(bool on) {
  legend_->setVisible(on);
  if (on) RefreshLegend();
}

void TGDisplForm::SetClockVisible(bool on) {
  clock_->setVisible(on);
  if (on) {
    RefreshClock();
    clockTimer_.start();
  } else {
    clockTimer_.stop();
  }
}

void TGDisplForm::RefreshClock() {
  clock_->setText(ClockText(QDateTime::currentDateTime()));
  clock_->adjustSize();
  PlacePanels();
}

void TGDisplForm::SetClearAndGo(bool on) {
  clearAndGo_ = on;
  bClearAndGo_->setChecked(on);
}

void TGDisplForm::EditScale(TDlgQzScale& dlg, int32_t npts) {
  dlg.AssignSenderDispl(*displ_, npts);
  if (ExecAbove(dlg) == QDialog::Accepted) RepaintAll();
}

void TGDisplForm::EditProperties(TDlgAttr& dlg) {
  TAttrDlgData data;
  data.Load(displ_->TracesToDraw, frmAtr_, displ_->Grf->Persist, ClearAndGo());
  dlg.AssignData(data);
  if (ExecAbove(dlg) == QDialog::Accepted) ApplyAttributes(dlg.Data);
}

void TGDisplForm::ApplyAttributes(const TAttrDlgData& data) {
  data.Apply(displ_->TracesToDraw);
  SetPersist(data.PersBuf);
  SetClearAndGo(data.ClrGoBuf);
  AttributesEdited();
}

void TGDisplForm::AttributesEdited() {
  frmAtr_ = displ_->TraceAttributes(frmAtr_);
  RefreshLegend();
  ClearAndRedraw();
}

void TGDisplForm::EditLimitStyle() {
  TPen pen = displ_->Grf->LimLine.Pen;
  TPenFrm dlg(this);
  dlg.setWindowTitle(QStringLiteral("Limit Line Properties"));
  dlg.AssignSenderPen(&pen);
  if (ExecAbove(dlg) != QDialog::Accepted) return;
  // The pen is the present type's own: the depot keeps it for the type.
  displ_->Grf->LimLine.Pen = pen;
  TLimData& lim = depot_.Ine[size_t(displ_->AkeY)].Lim;
  lim.St = pen.Style;
  lim.Wi = pen.Width;
  lim.Co = pen.Color;
  ClearAndRedraw();
}

void TGDisplForm::SetPersist(bool on) {
  displ_->Grf->Persist = on;
  bPersist_->setChecked(on);
}

void TGDisplForm::Blank() { panel_->ClrRaster(); }

void TGDisplForm::ClearAndRedraw() {
  panel_->ClrRaster();
  panel_->Redraw();
}

void TGDisplForm::RememberPanelPlace(QWidget* w) {
  panelsPlaced_ = true;
  const QPointF f = PanelFractions(w->pos(), panel_->size());
  if (w == legend_) {
    Lgnd_x = f.x();
    Lgnd_y = f.y();
  } else {
    Time_x = f.x();
    Time_y = f.y();
  }
}

void TGDisplForm::PlacePanels() {
  placing_ = true;
  if (!panelsPlaced_) {
    const TPanelPlaces p =
        PanelsClearOfTexts(DefaultPanelPlaces(legend_->size(), clock_->size(), panel_->size()),
                           legend_->size(), clock_->size(), ChartTexts(), panel_->size());
    legend_->move(p.legend);
    clock_->move(p.clock);
  } else {
    legend_->move(PanelFromFractions(QPointF(Lgnd_x, Lgnd_y), legend_->size(), panel_->size()));
    clock_->move(PanelFromFractions(QPointF(Time_x, Time_y), clock_->size(), panel_->size()));
  }
  placing_ = false;
}

void TGDisplForm::ArrangePanels() {
  RefreshClock();
  const TPanelPlaces p = PanelsClearOfTexts(
      ArrangedPanelPlaces(panel_->ChartRect(), legend_->size(), clock_->size(), panel_->size()),
      legend_->size(), clock_->size(), ChartTexts(), panel_->size());
  placing_ = true;
  clock_->move(p.clock);
  legend_->move(p.legend);
  placing_ = false;
  RememberPanelPlace(legend_);
  RememberPanelPlace(clock_);
  SetLegendVisible(true);
  SetClockVisible(true);
}

void TGDisplForm::resizeEvent(QResizeEvent* e) { QWidget::resizeEvent(e); }

void TGDisplForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!sized_) {
    sized_ = true;
    // The first show gives the chart its client size, whatever the frame around it takes.
    const QSize delta = QSize(kClientW, kClientH) - panel_->size();
    if (delta != QSize(0, 0)) {
      QWidget* outer = window() != this && parentWidget() ? parentWidget() : this;
      outer->resize(outer->size() + delta);
    }
  }
  if (readPanels_) {
    if (layout()) layout()->activate();
    const auto [legendAt, clockAt] = *readPanels_;
    readPanels_.reset();
    PlaceReadPanels(legendAt, clockAt);
  }
}

void TGDisplForm::PlaceReadPanels(QPoint legend, QPoint clock) {
  TDFormStp r;
  r.LgndLeft = legend.x();
  r.LgndTop = legend.y();
  r.pTimeLeft = clock.x();
  r.pTimeTop = clock.y();
  // Kept whole: a legend limited by its left edge alone would stand mostly beyond the panel.
  r.FitPanels(legend_->size(), clock_->size(), panel_->size());
  placing_ = true;
  legend_->move(r.LgndLeft, r.LgndTop);
  clock_->move(r.pTimeLeft, r.pTimeTop);
  placing_ = false;
  RememberPanelPlace(legend_);
  RememberPanelPlace(clock_);
}

std::vector<TTextBox> TGDisplForm::ChartTexts() const {
  std::vector<TTextBox> out = displ_->Grf->TextBoxes();
  auto add = [&out](const QWidget* w) {
    if (w && !w->isHidden())
      out.push_back(RectBox(w->objectName(), w->x(), w->y(), w->width(), w->height()));
  };
  add(panel_->Capt()->Lbl);
  for (const TDLabel* l : panel_->Labels()) add(l);
  return out;
}

QString TGDisplForm::ReadoutAt(QPoint p) const {
  if (!displ_ || !displ_->Grf) return QString();
  return PointerReadout(*displ_->Grf, displ_->TracesToDraw, displ_->AkeY, TPt{p.x(), p.y()});
}

void TGDisplForm::ShowReadout(const QString& text) {
  // Status tips travel up to the frame window, whose hint panel shows them.
  QStatusTipEvent tip(text);
  QCoreApplication::sendEvent(this, &tip);
}

bool TGDisplForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panel_ && event->type() == QEvent::Resize) PlacePanels();
  if (watched == panel_ && event->type() == QEvent::MouseMove)
    ShowReadout(ReadoutAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
  if (watched == panel_ && event->type() == QEvent::Leave) ShowReadout(QString());
  // Only a drag by the operator places a panel; moves of the program's own are not remembered.
  if (event->type() == QEvent::Move && !placing_ && QApplication::mouseButtons() != Qt::NoButton &&
      (watched == legend_ || watched == clock_))
    RememberPanelPlace(static_cast<QWidget*>(watched));
  if (watched == clock_ && event->type() == QEvent::MouseButtonPress) clockPress_ = clock_->pos();
  // The chart panel takes the legend's mouse for dragging; a click that did not move it opens
  // the trace dialog once the click is over.
  if (watched == legend_ && event->type() == QEvent::MouseButtonPress)
    legendPress_ = legend_->pos();
  if (watched == legend_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      legend_->pos() == legendPress_ && legend_->OnClick)
    QTimer::singleShot(0, this, [this] {
      if (legend_->OnClick) legend_->OnClick();
    });
  // A click (not a drag) refreshes the clock.
  if (watched == clock_ && event->type() == QEvent::MouseButtonRelease &&
      clock_->pos() == clockPress_) {
    RefreshClock();
    Asker().Beep(1000, 100);
  }
  return QWidget::eventFilter(watched, event);
}

void TGDisplForm::StoreAsDefaults() {
  CaptionToRaster();
  displ_->DajDoSkladu();
  frmAtr_ = displ_->TraceAttributes(frmAtr_);
  defaults_.Depot = depot_;
  defaults_.CaptStyle = captStyle_;
  defaults_.Atr = frmAtr_;
}

void TGDisplForm::closeEvent(QCloseEvent* e) {
  StoreAsDefaults();
  if (OnClosed) OnClosed(this);
  QWidget::closeEvent(e);
}

void TGDisplForm::EnableForRun(bool enabled) {
  runEnabled_ = enabled;
  for (QAction* a : menuBar_->actions()) a->setEnabled(enabled);
  toolBar_->setEnabled(enabled);
  for (QAction* a : actions()) a->setEnabled(enabled);
}

TDFormStp TGDisplForm::StpRecord() {
  CaptionToRaster();
  displ_->DajDoSkladu();
  frmAtr_ = displ_->TraceAttributes(frmAtr_);
  TDFormStp r;
  QWidget* outer =
      parentWidget() && parentWidget()->inherits("QMdiSubWindow") ? parentWidget() : this;
  r.WindowState = outer->isMinimized() ? 1 : outer->isMaximized() ? 2 : 0;
  r.Top = outer->y();
  r.Left = outer->x();
  r.Width = outer->width();
  r.Height = outer->height();
  r.LgndTop = legend_->y();
  r.LgndLeft = legend_->x();
  r.LgndShow = !legend_->isHidden();
  r.pTimeTop = clock_->y();
  r.pTimeLeft = clock_->x();
  r.pTimeShow = !clock_->isHidden();
  r.ClearAndGo = clearAndGo_;
  r.Persist = displ_->Grf->Persist;
  r.sbGmaL = showLoad_;
  r.DsplTyp = displ_->AkeY;
  r.Xaxis = displ_->TypX;
  r.AutoX = displ_->AutoX;
  r.Capt = captStyle_;
  r.Depot = depot_;
  r.Atr = frmAtr_;
  return r;
}

void TGDisplForm::WriteStp(IniFile& ini, int32_t n) {
  StpRecord().WriteStp(ini, DisplaySectionName(n));
}

void TGDisplForm::ReadStp(const IniFile& ini, const QString& section) {
  TDFormStp r = StpRecord();
  // The panels are limited once the window has the size it is given.
  r.ReadStp(ini, section, INT32_MAX, INT32_MAX);
  QWidget* outer =
      parentWidget() && parentWidget()->inherits("QMdiSubWindow") ? parentWidget() : this;
  if (r.WindowState == 0 && r.Width > 0 && r.Height > 0) {
    // The place read is the place it keeps: the first showing no longer sizes it to the
    // default client, and what it is given (never lower than its tool bar) is what it writes.
    sized_ = true;
    // Never lower than the window itself can be (its tool bar below the menu bar).
    const int least = minimumHeight();
    outer->setGeometry(r.Left, r.Top, r.Width, std::max(r.Height, least));
  }
  if (r.WindowState == 1) outer->showMinimized();
  if (r.WindowState == 2) outer->showMaximized();
  depot_ = r.Depot;
  captStyle_ = r.Capt;
  frmAtr_ = r.Atr;
  clearAndGo_ = r.ClearAndGo;
  bClearAndGo_->setChecked(clearAndGo_);
  displ_->AutoX = r.AutoX;
  // The shared limit follows the stored limit of the type read. Where the Polar limit (the
  // magnitude itself) tells the same limit, its value is taken: read back through another
  // type's 15-digit text the magnitude would drift a little at every save.
  const TOsData& y = depot_.OsY[size_t(r.DsplTyp)].Data;
  if (DispTypeInfo(r.DsplTyp).sharedLimit) {
    const double shown =
        MagFromLimit(r.DsplTyp, depot_.Ine[size_t(r.DsplTyp)].Lim.Va,
                     DispUnits(r.DsplTyp)
                         .Prevod[size_t(ClampLowWins(y.Nunit, 0, DispUnits(r.DsplTyp).Pocet - 1))]);
    const double polar = depot_.Ine[size_t(diPolar)].Lim.Va;
    displ_->LimFdrMag =
        std::fabs(polar - shown) <= 1e-9 * std::max(1.0, std::fabs(shown)) ? polar : shown;
  }
  // Traces take the attributes read, not those of the chart before; the chart's settings
  // before the read are not stored over those read.
  displ_->TracesToDraw.Clear();
  displ_->SkipNextStore();
  showLoad_ = r.sbGmaL && IsRflType(r.DsplTyp);
  RecreateDisplay(r.Xaxis, r.DsplTyp);
  SetShowLoad(showLoad_);
  SetPersist(r.Persist);
  // A section without a place for legend and clock leaves them where the program puts them
  // (the legend right-aligned at the top for the panel it gets) unless they were placed before.
  bool stored = panelsPlaced_;
  for (const char* key : {"LgndTop", "LgndLeft", "pTimeTop", "pTimeLeft"})
    stored = stored || ini.ValueExists(section, QLatin1String(key));
  if (stored) {
    // Shown already, the chart panel takes the size just applied before the places are fitted
    // to it: placed on the size it had, they would follow its change proportionally and drift.
    if (isVisible()) {
      if (outer->layout()) outer->layout()->activate();
      if (layout()) layout()->activate();
    }
    const QPoint legendAt(r.LgndLeft, r.LgndTop);
    const QPoint clockAt(r.pTimeLeft, r.pTimeTop);
    PlaceReadPanels(legendAt, clockAt);
    // Not showing yet, the chart panel gets its size only at the showing.
    if (!isVisible()) readPanels_.emplace(legendAt, clockAt);
  }
  SetLegendVisible(r.LgndShow);
  SetClockVisible(r.pTimeShow);
}

}  // namespace qz
