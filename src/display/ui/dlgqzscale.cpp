#include "display/ui/dlgqzscale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "util/asker.h"
#include "util/format.h"
#include "util/hints.h"

namespace qz {

namespace {

QLineEdit* NewEdit(const QString& name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setFixedWidth(90);
  return e;
}

}  // namespace

TDlgQzScale::TDlgQzScale(QWidget* parent) : QDialog(parent) {
  // A fixed dialog: a title and a close button, nothing to resize, minimise or maximise.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("ScaleDlg"));
  setWindowTitle(QStringLiteral("Chart Scaling"));
  setModal(true);
  auto* outer = new QHBoxLayout(this);

  auto* left = new QVBoxLayout;
  auto* axes = new QGroupBox(this);
  auto* g = new QGridLayout(axes);
  eXmin_ = NewEdit(QStringLiteral("Xmin"), axes);
  eXmax_ = NewEdit(QStringLiteral("Xmax"), axes);
  eYmin_ = NewEdit(QStringLiteral("Ymin"), axes);
  eYmax_ = NewEdit(QStringLiteral("Ymax"), axes);
  ePoints_ = NewEdit(QStringLiteral("Points"), axes);
  ePoints_->setReadOnly(true);
  xAxisLabel_ = new QLabel(QStringLiteral("X axis"), axes);
  yAxisLabel_ = new QLabel(QStringLiteral("Y axis"), axes);
  g->addWidget(xAxisLabel_, 0, 0, 1, 2);
  auto* lXmin = new QLabel(QStringLiteral("Xmin"), axes);
  auto* lXmax = new QLabel(QStringLiteral("Xmax"), axes);
  xLabels_ = {xAxisLabel_, lXmin, lXmax};
  g->addWidget(lXmin, 1, 0);
  g->addWidget(eXmin_, 1, 1);
  g->addWidget(lXmax, 2, 0);
  g->addWidget(eXmax_, 2, 1);
  g->addWidget(new QLabel(QStringLiteral("Points"), axes), 3, 0);
  g->addWidget(ePoints_, 3, 1);
  cbAuto_ = new QCheckBox(QStringLiteral("Automatic"), axes);
  cbAuto_->setObjectName(QStringLiteral("Automatic"));
  g->addWidget(cbAuto_, 4, 0, 1, 2);
  g->addWidget(yAxisLabel_, 0, 2, 1, 2);
  auto* lYmax = new QLabel(QStringLiteral("Ymax"), axes);
  auto* lYmin = new QLabel(QStringLiteral("Ymin"), axes);
  g->addWidget(lYmax, 1, 2);
  g->addWidget(eYmax_, 1, 3);
  g->addWidget(lYmin, 2, 2);
  g->addWidget(eYmin_, 2, 3);
  cbIntegral_ = new QCheckBox(QStringLiteral("Integral"), axes);
  cbIntegral_->setObjectName(QStringLiteral("Integral"));
  g->addWidget(cbIntegral_, 4, 2, 1, 2);
  yLabels_ = {lYmax, lYmin, yAxisLabel_};
  left->addWidget(axes);

  auto* circ = new QHBoxLayout;
  auto* polar = new QGroupBox(QStringLiteral("POLAR  R"), this);
  auto* pl = new QVBoxLayout(polar);
  ePolar_ = NewEdit(QStringLiteral("PolarR"), polar);
  pl->addWidget(ePolar_);
  circ->addWidget(polar);
  auto* smith = new QGroupBox(QStringLiteral("SMITH  R"), this);
  auto* sl = new QVBoxLayout(smith);
  cbSmith_ = new QComboBox(smith);
  cbSmith_->setObjectName(QStringLiteral("SmithR"));
  for (const char* t : kSmithZoomTexts) cbSmith_->addItem(QString::fromLatin1(t));
  sl->addWidget(cbSmith_);
  circ->addWidget(smith);
  left->addLayout(circ);
  outer->addLayout(left);

  auto* buttons = new QVBoxLayout;
  auto add = [&](const QString& text, void (TDlgQzScale::*slot)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString(text).remove('&'));
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
    return b;
  };
  QPushButton* ok = add(QStringLiteral("&OK"), &TDlgQzScale::OkClick);
  ok->setDefault(true);
  add(QStringLiteral("&Auto"), &TDlgQzScale::AutoClick);
  add(QStringLiteral("&Default"), &TDlgQzScale::DefaultClick);
  QPushButton* back = add(QStringLiteral("&Back"), &TDlgQzScale::BackClick);
  const HintParts hint = SplitHint(QStringLiteral("Go back to last manually entered settings|"));
  back->setToolTip(hint.tooltip);
  back->setStatusTip(hint.statusTip);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("Cancel"));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  outer->addLayout(buttons);

  connect(cbAuto_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    Data.F.Automatic = on;
    ReadFields();
    ApplyEnabling();
  });
  connect(cbIntegral_, &QCheckBox::toggled, this, [this](bool on) {
    if (showing_) return;
    Data.F.Integral = on;
    ReadFields();
    ApplyEnabling();
  });
  adjustSize();
  setFixedSize(sizeHint());
}

QLineEdit* TDlgQzScale::Field(const QString& name) const { return findChild<QLineEdit*>(name); }

void TDlgQzScale::AssignSenderDispl(TDispl& displ, int32_t npts) {
  SenderDispl = &displ;
  Data.Load(displ, npts);
  ShowFields();
}

void TDlgQzScale::SetField(QLineEdit* e, const QString& text, bool enabled, bool emptied) {
  e->setText(emptied ? QString() : text);
  e->setEnabled(enabled);
  // Emptied fields take the face colour, so that they read as absent rather than blank.
  QPalette p = palette();
  if (emptied) p.setColor(QPalette::Base, p.color(QPalette::Button));
  e->setPalette(p);
}

void TDlgQzScale::ShowFields() {
  showing_ = true;
  cbAuto_->setChecked(Data.F.Automatic);
  cbIntegral_->setChecked(Data.F.Integral);
  ePoints_->setText(Format(QStringLiteral("%d"), {int(Data.Npts)}));
  showing_ = false;
  ApplyEnabling();
  // The focus is placed when the dialog opens; later re-evaluations leave it where it is.
  switch (Data.Enabling().Focus) {
    case TScaleFocus::Ymax:
      eYmax_->setFocus();
      break;
    case TScaleFocus::PolarR:
      ePolar_->setFocus();
      break;
    case TScaleFocus::SmithR:
      cbSmith_->setFocus();
      break;
  }
}

void TDlgQzScale::ApplyEnabling() {
  const TScaleEnabling e = Data.Enabling();
  const TScaleFields& f = Data.F;
  cbAuto_->setEnabled(e.Automatic);
  SetField(eXmin_, f.Xmin, e.Xfields, e.Xemptied);
  SetField(eXmax_, f.Xmax, e.Xfields, e.Xemptied);
  SetField(eYmin_, f.Ymin, e.Yfields, !e.Yfields);
  SetField(eYmax_, f.Ymax, e.Yfields, !e.Yfields);
  SetField(ePolar_, f.PolarR, e.PolarR, !e.PolarR);
  cbIntegral_->setEnabled(e.Yfields);
  for (QLabel* l : yLabels_) l->setEnabled(e.Yfields);
  for (QLabel* l : xLabels_) l->setEnabled(Data.Pravouhly);
  cbSmith_->setEnabled(e.SmithR);
  cbSmith_->setCurrentIndex(e.SmithR ? f.SmithZoom : -1);
}

void TDlgQzScale::ReadFields() {
  TScaleFields& f = Data.F;
  const TScaleEnabling e = Data.Enabling();
  if (!e.Xemptied) {
    f.Xmin = eXmin_->text();
    f.Xmax = eXmax_->text();
  }
  if (e.Yfields) {
    f.Ymin = eYmin_->text();
    f.Ymax = eYmax_->text();
  }
  if (e.PolarR) f.PolarR = ePolar_->text();
  if (e.SmithR) f.SmithZoom = cbSmith_->currentIndex();
  f.Automatic = cbAuto_->isChecked();
  f.Integral = cbIntegral_->isChecked();
}

void TDlgQzScale::OkClick() {
  if (!SenderDispl) return reject();
  ReadFields();
  Data.Ok(*SenderDispl);
  accept();
}

void TDlgQzScale::AutoClick() {
  if (!SenderDispl) return reject();
  const TAutoscaleResult r = SenderDispl->Autoscale();
  if (!r.ok) {
    Asker().MessageBox(r.message, TMsgType::Error, mbOK);
    reject();
    return;
  }
  accept();
}

void TDlgQzScale::DefaultClick() {
  if (!SenderDispl) return reject();
  SenderDispl->DefaultY();
  accept();
}

void TDlgQzScale::BackClick() {
  if (!SenderDispl) return;
  ReadFields();
  Data.Back(*SenderDispl);
  ApplyEnabling();
}

void TDlgQzScale::done(int r) {
  if (SenderDispl) {
    Data.F.Integral = cbIntegral_->isChecked();
    Data.Close(*SenderDispl);
  }
  QDialog::done(r);
}

}  // namespace qz
