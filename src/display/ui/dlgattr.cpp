#include "display/ui/dlgattr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "display/dlgpreview.h"
#include "display/pendlgdata.h"
#include "display/ui/canvasbox.h"
#include "util/asker.h"
#include "util/hints.h"

namespace qz {

TDlgAttr::TDlgAttr(QWidget* parent) : QDialog(parent) {
  // A fixed dialog: a title and a close button, nothing to resize, minimise or maximise.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("TracePropDlg"));
  setWindowTitle(QStringLiteral("Trace Properties"));
  setModal(true);
  auto* outer = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Trace to Edit"), this));
  cbTrace_ = new QComboBox(this);
  cbTrace_->setObjectName(QStringLiteral("TraceToEdit"));
  top->addWidget(cbTrace_, 1);
  Check(QStringLiteral("Visible"), QStringLiteral("Visible"), this,
        [this](bool on) { Data.Sel().Visible = on; });
  top->addWidget(findChild<QCheckBox*>(QStringLiteral("Visible")));
  outer->addLayout(top);

  auto* groups = new QGridLayout;
  // Line.
  auto* line = new QGroupBox(QStringLiteral("Line"), this);
  auto* ll = new QFormLayout(line);
  ll->addRow(Check(QStringLiteral("LineVisible"), QStringLiteral("Visible"), line,
                   [this](bool on) { Data.Sel().LineVisible = on; }));
  ColorButton(QStringLiteral("LineColor"), line,
              [this]() -> TColor& { return Data.Sel().LinePen.Color; });
  ll->addRow(line->findChild<QPushButton*>(QStringLiteral("LineColor")));
  ll->addRow(QStringLiteral("Width:"), Spin(QStringLiteral("LineWidth"), kPenWidthMin, kPenWidthMax,
                                            line, [this](int w) { Data.Sel().LinePen.Width = w; }));
  cbLineStyle_ = new QComboBox(line);
  cbLineStyle_->setObjectName(QStringLiteral("LineStyle"));
  cbLineStyle_->addItems(PenStyleNames().mid(0, kTraceStyleCount));
  connect(cbLineStyle_, &QComboBox::activated, this, [this](int row) {
    Data.SetLineStyle(row);
    Changed();
  });
  ll->addRow(QStringLiteral("Style:"), cbLineStyle_);
  groups->addWidget(line, 0, 0);

  // Markers.
  auto* dots = new QGroupBox(QStringLiteral("Markers"), this);
  auto* dl = new QGridLayout(dots);
  dl->addWidget(Check(QStringLiteral("DotsVisible"), QStringLiteral("Visible"), dots,
                      [this](bool on) { Data.Sel().Dots.Visible = on; }),
                0, 0);
  dl->addWidget(Check(QStringLiteral("Moving"), QStringLiteral("Moving"), dots,
                      [this](bool on) { Data.Sel().Dots.Moving = on; }),
                1, 0);
  dl->addWidget(Check(QStringLiteral("Pixels"), QStringLiteral("Pixels"), dots,
                      [this](bool on) { Data.Sel().Dots.Kakaj = on; }),
                2, 0);
  auto* form = new QGroupBox(QStringLiteral("Form"), dots);
  auto* fl = new QVBoxLayout(form);
  grid_ = new TCanvasBox(96, 60, form);
  grid_->setObjectName(QStringLiteral("FormGrid"));
  grid_->Draw = [this](TCanvas& c, int32_t w, int32_t h) {
    DrawShapeGrid(c, w, h, Data.Sel().Dots.Tvar, clBtnFace);
  };
  connect(grid_, &TCanvasBox::Clicked, this, &TDlgAttr::GridClick);
  fl->addWidget(grid_);
  dl->addWidget(form, 0, 1, 3, 1);
  auto* dotNums = new QFormLayout;
  dotNums->addRow(QStringLiteral("Size:"),
                  Spin(QStringLiteral("DotSize"), kDotSizeMin, kDotSizeMax, dots,
                       [this](int s) { Data.Sel().Dots.Dsize = s; }));
  QSpinBox* lw = Spin(QStringLiteral("DotLineWidth"), kDotLineWidthMin, kDotLineWidthMax, dots,
                      [this](int w) { Data.Sel().Dots.LineWidth = w; });
  const HintParts hint = SplitHint(QStringLiteral("Affects only: + x *"));
  lw->setToolTip(hint.tooltip);
  lw->setStatusTip(hint.statusTip);
  dotNums->addRow(QStringLiteral("Line Width:"), lw);
  dl->addLayout(dotNums, 3, 0, 1, 2);
  groups->addWidget(dots, 0, 1, 2, 1);

  // Marker border and fill.
  auto* border = new QGroupBox(QStringLiteral("Border"), this);
  auto* bl = new QFormLayout(border);
  auto* bVis = new QCheckBox(QStringLiteral("Visible"), border);
  bVis->setObjectName(QStringLiteral("BorderVisible"));
  connect(bVis, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    Data.SetBorderVisible(on);
    Changed();
  });
  bl->addRow(bVis);
  ColorButton(QStringLiteral("BorderColor"), border,
              [this]() -> TColor& { return Data.Sel().Dots.Border.Color; });
  bl->addRow(border->findChild<QPushButton*>(QStringLiteral("BorderColor")));
  bl->addRow(QStringLiteral("Width:"),
             Spin(QStringLiteral("BorderWidth"), kBorderWidthMin, kBorderWidthMax, border,
                  [this](int w) { Data.Sel().Dots.Border.Width = w; }));
  groups->addWidget(border, 1, 0);
  auto* fill = new QGroupBox(QStringLiteral("Fill"), this);
  auto* fil = new QVBoxLayout(fill);
  auto* noFill = new QCheckBox(QStringLiteral("No Fill"), fill);
  noFill->setObjectName(QStringLiteral("NoFill"));
  connect(noFill, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    Data.SetNoFill(on);
    Changed();
  });
  fil->addWidget(noFill);
  ColorButton(QStringLiteral("FillColor"), fill,
              [this]() -> TColor& { return Data.Sel().Dots.Fill.Color; });
  fil->addWidget(fill->findChild<QPushButton*>(QStringLiteral("FillColor")));
  groups->addWidget(fill, 2, 0);
  outer->addLayout(groups);

  auto* bottom = new QHBoxLayout;
  auto* pers = new QCheckBox(QStringLiteral("Persist"), this);
  pers->setObjectName(QStringLiteral("Persist"));
  connect(pers, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) Data.PersBuf = on;
  });
  auto* cg = new QCheckBox(QStringLiteral("Clear and Go"), this);
  cg->setObjectName(QStringLiteral("ClearAndGo"));
  connect(cg, &QCheckBox::toggled, this, [this](bool on) {
    if (!showing_) Data.ClrGoBuf = on;
  });
  bottom->addWidget(pers);
  bottom->addWidget(cg);
  preview_ = new TCanvasBox(120, 30, this);
  preview_->setObjectName(QStringLiteral("Preview"));
  preview_->Draw = [this](TCanvas& c, int32_t w, int32_t h) {
    DrawAttrPreview(c, Data.Sel(), w, h, clWhite);
  };
  bottom->addWidget(preview_);
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setObjectName(QStringLiteral("OK"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel->setObjectName(QStringLiteral("Cancel"));
  connect(ok, &QPushButton::clicked, this, &TDlgAttr::OkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  bottom->addWidget(ok);
  bottom->addWidget(cancel);
  outer->addLayout(bottom);

  connect(cbTrace_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (showing_) return;
    Data.Select(i);
    ShowTrace();
  });
  setFixedSize(sizeHint());
}

QCheckBox* TDlgAttr::Check(const QString& name, const QString& text, QWidget* parent,
                           std::function<void(bool)> edit) {
  auto* c = new QCheckBox(text, parent);
  c->setObjectName(name);
  connect(c, &QCheckBox::toggled, this, [this, edit](bool on) {
    if (showing_) return;
    edit(on);
    Changed();
  });
  return c;
}

QSpinBox* TDlgAttr::Spin(const QString& name, int lo, int hi, QWidget* parent,
                         std::function<void(int)> edit) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(name);
  s->setRange(lo, hi);
  // The field takes its value when left (or on an arrow), not at every key.
  s->setKeyboardTracking(false);
  connect(s, &QSpinBox::valueChanged, this, [this, edit](int v) {
    if (showing_) return;
    edit(v);
    Changed();
  });
  return s;
}

void TDlgAttr::ColorButton(const QString& name, QWidget* parent, std::function<TColor&()> target) {
  auto* b = new QPushButton(QStringLiteral("Color..."), parent);
  b->setObjectName(name);
  connect(b, &QPushButton::clicked, this, [this, target] {
    TColor c = target();
    if (!Asker().AskColor(c)) return;
    target() = c;
    Changed();
  });
}

void TDlgAttr::AssignData(const TAttrDlgData& data) {
  Data = data;
  showing_ = true;
  cbTrace_->clear();
  cbTrace_->addItems(Data.Entries());
  cbTrace_->setCurrentIndex(Data.SelTrace);
  findChild<QCheckBox*>(QStringLiteral("Persist"))->setChecked(Data.PersBuf);
  findChild<QCheckBox*>(QStringLiteral("ClearAndGo"))->setChecked(Data.ClrGoBuf);
  showing_ = false;
  ShowTrace();
}

void TDlgAttr::ShowTrace() {
  showing_ = true;
  const TDrawAttrib& a = Data.Sel();
  auto check = [this](const char* name, bool on) {
    findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(on);
  };
  auto spin = [this](const char* name, int v) {
    // A stored value beyond the field shows at the field's end and stays until changed.
    findChild<QSpinBox*>(QString::fromLatin1(name))->setValue(v);
  };
  check("Visible", a.Visible);
  check("LineVisible", a.LineVisible);
  spin("LineWidth", a.LinePen.Width);
  cbLineStyle_->setCurrentIndex(PenStyleRow(a.LinePen.Style, kTraceStyleCount));
  check("DotsVisible", a.Dots.Visible);
  check("Moving", a.Dots.Moving);
  check("Pixels", a.Dots.Kakaj);
  spin("DotSize", a.Dots.Dsize);
  spin("DotLineWidth", a.Dots.LineWidth);
  check("BorderVisible", Data.BorderVisible());
  spin("BorderWidth", a.Dots.Border.Width);
  check("NoFill", Data.NoFill());
  showing_ = false;
  Changed();
}

void TDlgAttr::Changed() {
  grid_->Refresh();
  preview_->Refresh();
}

void TDlgAttr::GridClick(QPoint at) {
  if (Data.ChooseCell(ShapeCellAt(at.x(), at.y(), grid_->width(), grid_->height()))) Changed();
}

void TDlgAttr::OkClick() { accept(); }

}  // namespace qz
