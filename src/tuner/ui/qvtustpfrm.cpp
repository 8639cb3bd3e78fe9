#include "tuner/ui/qvtustpfrm.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

#include "core/qvwin.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

constexpr int kTextIndent = 5;  // cell text from the cell's left edge
constexpr int kSketchHeight = 172;
constexpr int kAutotuneFirstColPercent = 57;
constexpr int kHalfPercent = 50;
constexpr int kGridPointSize = 8;

// The first column takes its share of the grid's inner width, the second the rest.
void SizeColumns(QTableWidget* g, int innerWidth) {
  g->setColumnWidth(0, innerWidth * g->property("firstColPercent").toInt() / 100);
}

const char* const kLoadTitle = "Load Tuner Memory File (binary)";
const char* const kLoadFilter = "Tuner memory file (*.mem)|*.mem|Any file (*.*)|*.*";

// Cell text on one line, a few pixels from the left, vertically centred; no selection look.
class TCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& ix) const override {
    p->save();
    p->setPen(opt.palette.color(QPalette::Text));
    p->setFont(opt.font);
    const QRect r = opt.rect.adjusted(kTextIndent, 0, 0, 0);
    const QString text =
        opt.fontMetrics.elidedText(ix.data().toString(), Qt::ElideRight, r.width());
    p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    p->restore();
  }
};

// The tuner as drawn: the guide from the input flange (left) to the output flange, three stubs
// entering from above, and the dimension lines whose lengths the labels give.
struct TSketchGeometry {
  int left = 14, right = 258;        // flanges
  int guideTop = 34, guideBot = 70;  // the guide's walls
  std::array<int, 3> stubX{84, 134, 184};
  int stubW = 10;
  int stubTop = 6, stubEnd = 48;  // a stub inserted part of the way
  // Dimension lines: D3, D2, D1, Ltotal below the guide, Lcal below them.
  std::array<int, 5> lineY{84, 100, 116, 136, 156};
  int hmaxX = 200;  // the travel beside stub 3
};

class TSketch : public QWidget {
 public:
  explicit TSketch(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Sketch"));
    setFixedSize(kTuStpWidth - 4, kSketchHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
  }
  TSketchGeometry g;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPen wall(Qt::black, 2);
    const QPen thin(Qt::black, 1);
    // Guide and flanges.
    p.fillRect(QRect(g.left, g.guideTop, g.right - g.left, g.guideBot - g.guideTop),
               QColor(230, 236, 245));
    p.setPen(wall);
    p.drawLine(g.left, g.guideTop, g.right, g.guideTop);
    p.drawLine(g.left, g.guideBot, g.right, g.guideBot);
    p.drawLine(g.left, g.guideTop - 8, g.left, g.guideBot + 8);
    p.drawLine(g.right, g.guideTop - 8, g.right, g.guideBot + 8);
    // Stubs with their motor housings.
    for (int k = 0; k < 3; ++k) {
      const int x = g.stubX[size_t(k)];
      p.fillRect(QRect(x - g.stubW / 2 - 4, g.stubTop, g.stubW + 8, g.guideTop - g.stubTop - 4),
                 QColor(150, 150, 150));
      p.fillRect(QRect(x - g.stubW / 2, g.guideTop - 4, g.stubW, g.stubEnd - g.guideTop + 4),
                 QColor(200, 170, 60));
      p.setPen(thin);
      p.drawText(QRect(x - 10, g.stubTop, 20, 14), Qt::AlignCenter, QString::number(k + 1));
    }
    // Dimension lines to the output flange.
    p.setPen(thin);
    const auto dim = [&](int x0, int x1, int y, const QString& name) {
      p.drawLine(x0, y, x1, y);
      p.drawLine(x0, y - 3, x0, y + 3);
      p.drawLine(x1, y - 3, x1, y + 3);
      p.drawText(QRect(x0 - 2 - 30, y - 7, 30, 14), Qt::AlignRight | Qt::AlignVCenter, name);
    };
    dim(g.stubX[2], g.right, g.lineY[0], QStringLiteral("D3"));
    dim(g.stubX[1], g.right, g.lineY[1], QStringLiteral("D2"));
    dim(g.stubX[0], g.right, g.lineY[2], QStringLiteral("D1"));
    p.drawLine(g.left, g.lineY[3], g.right, g.lineY[3]);
    p.drawLine(g.left, g.lineY[3] - 3, g.left, g.lineY[3] + 3);
    p.drawLine(g.right, g.lineY[3] - 3, g.right, g.lineY[3] + 3);
    p.drawText(QRect(g.left + 2, g.lineY[3] - 14, 40, 12), Qt::AlignLeft, QStringLiteral("Ltotal"));
    dim(g.left + 40, g.right, g.lineY[4], QStringLiteral("Lcal"));
    // The reference plane of Lcal.
    QPen dash(Qt::darkGray, 1, Qt::DashLine);
    p.setPen(dash);
    p.drawLine(g.left + 40, g.guideTop, g.left + 40, g.lineY[4]);
    // The travel: from the guide's upper wall to the stub's deepest point.
    p.setPen(thin);
    p.drawLine(g.hmaxX, g.guideTop, g.hmaxX, g.stubEnd);
    p.drawLine(g.hmaxX - 3, g.guideTop, g.hmaxX + 3, g.guideTop);
    p.drawLine(g.hmaxX - 3, g.stubEnd, g.hmaxX + 3, g.stubEnd);
    p.drawText(QRect(g.hmaxX + 6, g.stubTop - 4, 40, 14), Qt::AlignLeft, QStringLiteral("Hmax"));
  }
};

}  // namespace

TQvTuStpFrm::TQvTuStpFrm(TTunerModel& model, TQzCmd& cmd, const TQvWin& qv,
                         const IniFile* autoSetup, QWidget* parent, TAsker* asker)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      model_(model),
      qv_(qv),
      asker_(asker),
      edits_(model, cmd, asker) {
  setObjectName(QStringLiteral("QvTuStpFrm"));
  setWindowTitle(QStringLiteral("System Info"));
  Build();
  pages_->setCurrentIndex(tpAutotune);
  if (autoSetup) ReadStp(*autoSetup);
  ApplyPageLayout();
  FillSgAll();
  model_.AddObserver(this);
}

TQvTuStpFrm::~TQvTuStpFrm() { model_.RemoveObserver(this); }

TAsker& TQvTuStpFrm::Ask() const { return asker_ ? *asker_ : Asker(); }

void TQvTuStpFrm::Build() {
  setFixedWidth(kTuStpWidth);
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl"));
  pages_->setUsesScrollButtons(false);
  // Five pages side by side in the narrow window.
  pages_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
  pages_->tabBar()->setExpanding(false);
  const QStringList names = {QStringLiteral("Quzar"), QStringLiteral("Tuner"),
                             QStringLiteral("Motors"), QStringLiteral("Autotune"),
                             QStringLiteral("Sketch")};
  grids_[tpQuzar] = MakeGrid(IdentityCaptions(), kHalfPercent);
  grids_[tpTuner] = MakeGrid(IdentityCaptions(), kHalfPercent);
  grids_[tpMotors] = MakeGrid(MotorCaptions(), kHalfPercent);
  grids_[tpAutotune] = MakeGrid(AutotuneCaptions(), kAutotuneFirstColPercent);
  for (int i = 0; i < kTuStpPageCount; ++i) {
    QWidget* page = i == tpSketch ? MakeSketch() : grids_[size_t(i)];
    page->setObjectName(QStringLiteral("ts") + names[i]);
    if (grids_[size_t(i)]) grids_[size_t(i)]->setObjectName(QStringLiteral("sg") + names[i]);
    pages_->addTab(page, names[i]);
  }

  // The Autotune page edits on every row; the Motors page only on its travel row.
  grids_[tpAutotune]->viewport()->setCursor(Qt::PointingHandCursor);
  grids_[tpMotors]->viewport()->setMouseTracking(true);
  grids_[tpMotors]->viewport()->installEventFilter(this);
  for (const int page : {int(tpMotors), int(tpAutotune)}) {
    connect(grids_[size_t(page)], &QTableWidget::cellClicked, this,
            [this, page](int row, int) { GridClicked(page, row); });
  }
  connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    if (page == tpSketch)
      FillSketchLabels();
    else if (page != tpAutotune)
      FillSgAll();
    ApplyPageLayout();
  });

  btLoad_ = new QPushButton(QStringLiteral("Load &Mem"), this);
  btLoad_->setObjectName(QStringLiteral("btLoadMem"));
  SetHint(btLoad_, QStringLiteral("Load tuner memory binary file|"));
  connect(btLoad_, &QPushButton::clicked, this, [this] { LoadMemClick(); });
}

QTableWidget* TQvTuStpFrm::MakeGrid(const QStringList& captions, int firstColPercent) {
  auto* g = new QTableWidget(int(captions.size()), 2);
  g->horizontalHeader()->hide();
  g->verticalHeader()->hide();
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setSelectionMode(QAbstractItemView::NoSelection);
  g->setFocusPolicy(Qt::NoFocus);
  g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  g->setItemDelegate(new TCellDelegate(g));
  g->setWordWrap(false);
  // The texts of the narrow window in the small font of tool windows, so each stays on one line.
  QFont f = g->font();
  f.setPointSize(kGridPointSize);
  g->setFont(f);
  g->setProperty("firstColPercent", firstColPercent);
  g->horizontalHeader()->setStretchLastSection(true);
  g->viewport()->installEventFilter(this);
  const int rowH = QFontMetrics(f).height() + 6;
  g->verticalHeader()->setDefaultSectionSize(rowH);
  g->verticalHeader()->setMinimumSectionSize(rowH);
  SizeColumns(g, kTuStpWidth - 8 - 2 * g->frameWidth());
  for (int r = 0; r < captions.size(); ++r) {
    g->setItem(r, 0, new QTableWidgetItem(captions[r]));
    g->setItem(r, 1, new QTableWidgetItem());
  }
  // Sized to its rows.
  g->setFixedHeight(int(captions.size()) * rowH + 2 * g->frameWidth());
  return g;
}

QWidget* TQvTuStpFrm::MakeSketch() {
  auto* s = new TSketch(nullptr);
  sketch_ = s;
  const TSketchGeometry& g = s->g;
  const char* names[kSketchLabelCount] = {"lbD1", "lbD2", "lbD3", "lbLtotal", "lbLcal", "lbHmax"};
  // Each label stands above the middle of its line.
  const QPoint at[kSketchLabelCount] = {
      {(g.stubX[0] + g.right) / 2, g.lineY[2]},  {(g.stubX[1] + g.right) / 2, g.lineY[1]},
      {(g.stubX[2] + g.right) / 2, g.lineY[0]},  {(g.left + g.right) / 2, g.lineY[3]},
      {(g.left + 40 + g.right) / 2, g.lineY[4]}, {g.hmaxX + 30, g.stubTop + 18}};
  for (int i = 0; i < kSketchLabelCount; ++i) {
    auto* l = new QLabel(s);
    l->setObjectName(QString::fromLatin1(names[i]));
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    l->setGeometry(at[i].x() - 26, at[i].y() - 7, 52, 14);
    labels_[size_t(i)] = l;
  }
  return s;
}

QTableWidget* TQvTuStpFrm::Grid(int page) const {
  return page >= 0 && page < kTuStpPageCount ? grids_[size_t(page)] : nullptr;
}

QString TQvTuStpFrm::Cell(int page, int row, int col) const {
  const QTableWidget* g = Grid(page);
  const QTableWidgetItem* it = g ? g->item(row, col) : nullptr;
  return it ? it->text() : QString();
}

QString TQvTuStpFrm::SketchLabel(int which) const {
  return which >= 0 && which < kSketchLabelCount ? labels_[size_t(which)]->text() : QString();
}

void TQvTuStpFrm::SetColumn(QTableWidget* g, const QStringList& values) {
  for (int r = 0; r < g->rowCount() && r < values.size(); ++r) {
    QTableWidgetItem* it = g->item(r, 1);
    if (it->text() != values[r]) it->setText(values[r]);
  }
}

void TQvTuStpFrm::FillIdentity() {
  const bool coax = qv_.FixPar.IsCoax != 0;
  SetColumn(grids_[tpQuzar], QuzarIdentityTexts(qv_.FixPar));
  SetColumn(grids_[tpTuner], TunerIdentityTexts(model_.Descr(), coax));
}

void TQvTuStpFrm::FillMotors() { SetColumn(grids_[tpMotors], MotorTexts(model_)); }

void TQvTuStpFrm::FillAutotune() {
  SetColumn(grids_[tpAutotune], AutotuneTexts(model_.Mot(), model_.Sim()));
}

void TQvTuStpFrm::FillSketchLabels() {
  const auto texts = SketchLabels(model_);
  for (int i = 0; i < kSketchLabelCount; ++i) SetText(labels_[size_t(i)], texts[size_t(i)]);
}

void TQvTuStpFrm::FillSgAll() {
  FillIdentity();
  FillAutotune();
  FillMotors();
  FillSketchLabels();
}

void TQvTuStpFrm::ApplyPageLayout() {
  QWidget* page = pages_->currentWidget();
  const int contentH = page ? page->height() : 0;
  const int barH = pages_->tabBar()->sizeHint().height();
  // The page's frame around the content.
  const int frameH = 4;
  const int h = barH + contentH + frameH;
  pages_->setGeometry(0, 0, kTuStpWidth, h);
  const QSize b = btLoad_->sizeHint();
  btLoad_->setGeometry((kTuStpWidth - b.width()) / 2, h + 1, b.width(), b.height());
  setFixedHeight(h + 1 + b.height() + 1);
}

void TQvTuStpFrm::GridClicked(int page, int row) {
  if (page == tpAutotune) {
    edits_.EditRow(row);
  } else if (page == tpMotors) {
    if (row == mrMaxSteps)
      edits_.EditMaxInsert();
    else
      edits_.MotorsClicked();
  }
}

void TQvTuStpFrm::LoadMemClick() {
  const QString path = Ask().OpenFileName(QString::fromLatin1(kLoadTitle), edits_.LoadMemProposal(),
                                          QString::fromLatin1(kLoadFilter));
  if (path.isEmpty()) return;
  LoadMem(path);
}

int32_t TQvTuStpFrm::LoadMem(const QString& path) {
  const int32_t code = edits_.LoadMem(path);
  if (code != 0) Ask().ShowError(TAtParamEdit::LoadMemErrorText(code, path));
  return code;
}

void TQvTuStpFrm::EnableForRun(bool enabled) { pages_->setEnabled(enabled); }

void TQvTuStpFrm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kTuStpSection), *this, kToolPlaceRule);
}

void TQvTuStpFrm::ReadStp(const IniFile& ini) {
  ReadWindowPlace(ini, QString::fromLatin1(kTuStpSection), *this, kToolPlaceRule);
}

void TQvTuStpFrm::OnTunerDescriptionChanged(const TTunerModel&) { FillSgAll(); }

void TQvTuStpFrm::OnAtParamsChanged(const TTunerModel&) { FillAutotune(); }

bool TQvTuStpFrm::eventFilter(QObject* obj, QEvent* e) {
  if (e->type() == QEvent::Resize) {
    for (QTableWidget* g : grids_)
      if (g && obj == g->viewport()) SizeColumns(g, g->viewport()->width());
  }
  QTableWidget* motors = grids_[tpMotors];
  if (motors && obj == motors->viewport() && e->type() == QEvent::MouseMove) {
    const int row = motors->rowAt(static_cast<QMouseEvent*>(e)->position().toPoint().y());
    motors->viewport()->setCursor(row == mrMaxSteps ? Qt::PointingHandCursor : Qt::ArrowCursor);
  }
  return QWidget::eventFilter(obj, e);
}

void TQvTuStpFrm::closeEvent(QCloseEvent* e) {
  // Created once; closing only hides it.
  e->ignore();
  hide();
}

}  // namespace qz
