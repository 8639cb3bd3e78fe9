#include "display/ui/rhochart.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/qvwin.h"
#include "core/resultstext.h"
#include "display/rhoexport.h"
#include "sim/mdlengine.h"
#include "sim/tunermodel.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {
// Gap between the chart and the controls, and after the controls.
constexpr int kSideGap = 4;
constexpr int kRightGap = 2;
// The chart's size before the window is first laid out.
constexpr int kInitialSide = 301;
}  // namespace

// The square drawing area: shows the chart's image and hands the pointer to the window.
class TRhoPanel : public QWidget {
 public:
  explicit TRhoPanel(TRhoChart* chart) : QWidget(chart), chart_(chart) {
    setObjectName(QStringLiteral("pbRho"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.drawImage(e->rect(), chart_->canvas_.Image(), e->rect());
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) chart_->PressAt(At(e));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (chart_->pad_.Aktivny) chart_->MoveTo(At(e));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) chart_->Release();
  }

 private:
  static TPt At(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return TPt{p.x(), p.y()};
  }
  TRhoChart* chart_;
};

namespace {

QGroupBox* RadioGroup(QWidget* parent, const QString& title, const char* name,
                      const QStringList& items, QButtonGroup*& group, int columns) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(QString::fromLatin1(name));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setSpacing(2);
  group = new QButtonGroup(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* rb = new QRadioButton(items[i], box);
    group->addButton(rb, i);
    grid->addWidget(rb, i / columns, i % columns);
  }
  group->button(0)->setChecked(true);
  return box;
}

}  // namespace

TRhoChart::TRhoChart(TTunerModel& tuner, TMdlEngine& model, TQvWin& qv, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      tuner_(tuner),
      model_(model),
      qv_(qv),
      canvas_(kInitialSide, kInitialSide) {
  setObjectName(QStringLiteral("RhoChart"));
  setWindowTitle(QStringLiteral("Load Reflection Coefficient"));
  pad_.BodSize = kRhoBodSize;
  Build();
  EnableAreaControls();
  pad_.SetRho(complex());
  resize(kInitialSide, kInitialSide);
  DoLayout();
  Redraw();
}

TRhoChart::~TRhoChart() = default;

QWidget* TRhoChart::ChartPanel() const { return panel_; }

void TRhoChart::Build() {
  panel_ = new TRhoPanel(this);
  side_ = new QWidget(this);
  side_->setObjectName(QStringLiteral("pnSide"));
  auto* col = new QVBoxLayout(side_);
  col->setContentsMargins(0, 0, 0, 0);
  col->setSpacing(4);

  QGroupBox* gbRadius = RadioGroup(
      side_, QStringLiteral("Polar Radius"), "rgRadius",
      {QStringLiteral(" 1"), QStringLiteral(" 0.5"), QStringLiteral(" 0.25")}, rgRadius_, 3);
  SetHint(gbRadius, QStringLiteral("Zoom chart|"));
  col->addWidget(gbRadius);

  auto* fields = new QHBoxLayout();
  fields->setSpacing(2);
  edMag_ = new QLineEdit(QStringLiteral("0.543"), side_);
  edMag_->setObjectName(QStringLiteral("edMag"));
  SetHint(edMag_, QStringLiteral("Set Mag"));
  edDeg_ = new QLineEdit(QStringLiteral("-135.5"), side_);
  edDeg_->setObjectName(QStringLiteral("edDeg"));
  SetHint(edDeg_, QStringLiteral("Set Deg"));
  for (QLineEdit* e : {edMag_, edDeg_}) {
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-0000.00")) + 8);
    fields->addWidget(e);
  }
  btApply_ = new QToolButton(side_);
  btApply_->setObjectName(QStringLiteral("btApply"));
  btApply_->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  SetHint(btApply_, QStringLiteral("Apply"));
  fields->addWidget(btApply_);
  col->addLayout(fields);

  auto* vswr = new QHBoxLayout();
  vswr->addWidget(new QLabel(QStringLiteral("VSWR:"), side_));
  lbVswr_ = new QLabel(side_);
  lbVswr_->setObjectName(QStringLiteral("lbVswr"));
  vswr->addWidget(lbVswr_, 1);
  col->addLayout(vswr);

  auto* area = new QHBoxLayout();
  gbArea_ = RadioGroup(
      side_, QStringLiteral("Show Area"), "rgArea",
      {QStringLiteral("None"), QStringLiteral("Realizable"), QStringLiteral("Matchable")}, rgArea_,
      1);
  SetHint(gbArea_, QStringLiteral("Draw areas covered when inserting stubs|"));
  area->addWidget(gbArea_, 1);
  btExport_ = new QPushButton(QStringLiteral("E"), side_);
  btExport_->setObjectName(QStringLiteral("btExport"));
  btExport_->setMaximumWidth(btExport_->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 8);
  SetHint(btExport_, QStringLiteral("Export Area borders to text file|"));
  area->addWidget(btExport_, 0, Qt::AlignBottom);
  col->addLayout(area);

  gbPlane_ =
      RadioGroup(side_, QStringLiteral("Refer Area to"), "rgPlane",
                 {QStringLiteral("Output"), QStringLiteral("Stub 3"), QStringLiteral("Stub 1"),
                  QStringLiteral("Cal"), QStringLiteral("Transform")},
                 rgPlane_, 2);
  SetHint(gbPlane_, QStringLiteral("Define plane to which Areas are referred|"));
  col->addWidget(gbPlane_);

  connect(rgRadius_, &QButtonGroup::idClicked, this, [this](int id) { RadiusClicked(id); });
  connect(rgArea_, &QButtonGroup::idClicked, this, [this](int) { AreaClicked(); });
  connect(rgPlane_, &QButtonGroup::idClicked, this, [this](int) { AreaClicked(); });
  connect(btApply_, &QToolButton::clicked, this, [this] { ApplyFields(); });
  connect(edMag_, &QLineEdit::returnPressed, this, [this] { ApplyFields(); });
  connect(edDeg_, &QLineEdit::returnPressed, this, [this] { ApplyFields(); });
  connect(btExport_, &QPushButton::clicked, this, [this] { ExportClick(); });
}

void TRhoChart::DoLayout() {
  if (layingOut_) return;
  layingOut_ = true;
  const QSize hint = side_->sizeHint();
  const int h = RhoClientHeight(height(), hint.height());
  const int w = h + kSideGap + hint.width() + kRightGap;
  panel_->setGeometry(0, 0, h, h);
  side_->setGeometry(h + kSideGap, 0, hint.width(), hint.height());
  if (size() != QSize(w, h)) resize(w, h);
  const bool newSide = canvas_.Width() != h || canvas_.Height() != h;
  if (newSide) canvas_.Resize(h, h);
  pad_.Layout(0, h);
  layingOut_ = false;
  if (newSide) Redraw();
}

void TRhoChart::WriteFields() {
  edMag_->setText(pad_.Fields.Mag);
  edDeg_->setText(pad_.Fields.Deg);
  lbVswr_->setText(pad_.Fields.Vswr);
}

void TRhoChart::Redraw() {
  pad_.Redraw(canvas_);
  panel_->update();
}

void TRhoChart::Chosen() {
  WriteFields();
  if (model_.UseChart) model_.SimulRo = pad_.MouseRho;
  pad_.MoveMarker(canvas_);
  panel_->update();
}

void TRhoChart::PressAt(TPt p) {
  pad_.Aktivny = true;
  pad_.PickAt(p);
  Chosen();
}

void TRhoChart::MoveTo(TPt p) {
  if (!pad_.Aktivny) return;
  pad_.PickAt(p);
  Chosen();
}

void TRhoChart::Release() { pad_.Aktivny = false; }

void TRhoChart::ApplyFields() {
  pad_.ReadFields(edMag_->text(), edDeg_->text());
  Chosen();
}

void TRhoChart::RadiusClicked(int idx) {
  pad_.SetRadius(idx);
  Redraw();
}

void TRhoChart::EnableAreaControls() {
  const bool shown = rgArea_->checkedId() > 0;
  gbPlane_->setEnabled(shown);
  btExport_->setEnabled(shown);
}

void TRhoChart::AreaClicked() {
  pad_.AreaKind = rgArea_->checkedId() < 0 ? kAreaNone : rgArea_->checkedId();
  pad_.AreaPlane = rgPlane_->checkedId() < 0 ? kAreaOutput : rgPlane_->checkedId();
  EnableAreaControls();
  PutWmark();
}

void TRhoChart::Fetch() { pad_.FetchAreas(tuner_, model_.f_Hz, &qv_.BiTr, qv_.FixPar); }

void TRhoChart::PutWmark() {
  if (!isVisible()) return;
  Fetch();
  Redraw();
}

void TRhoChart::ExportClick() {
  if (pad_.AreaKind == kAreaNone) return;
  TAsker& a = Asker();
  if (a.MessageBox(kAreaExportAsk, TMsgType::Confirmation, mbOK | mbCancel) != mbOK) return;
  const QString text = AreaExportText(pad_.RhoArea, pad_.AreaKind, pad_.AreaPlane, pad_.FreqText,
                                      GetSaveTxtInfo(qv_, CurrentProgramInfo()), tuner_.Descr());
  const TAreaExportResult r = ExportAreaText(UserFolder(), text);
  if (r.ok)
    a.ShowInfo(r.message);
  else
    a.ShowError(r.message);
}

void TRhoChart::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  DoLayout();
  pad_.SetRadius(pad_.RadiusIdx);
  pad_.Aktivny = false;
  Fetch();
  WriteFields();
  Redraw();
}

void TRhoChart::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  DoLayout();
}

void TRhoChart::closeEvent(QCloseEvent* e) {
  e->ignore();
  hide();
  pad_.Aktivny = false;
  if (OnOperatorClose) OnOperatorClose();
}

void TRhoChart::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kRhoChartSection), *this, kRhoChartPlaceRule);
}

void TRhoChart::ReadStp(const IniFile& ini) {
  ReadWindowPlace(ini, QString::fromLatin1(kRhoChartSection), *this, kRhoChartPlaceRule);
  DoLayout();
}

}  // namespace qz
