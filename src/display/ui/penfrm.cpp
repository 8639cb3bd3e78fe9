#include "display/ui/penfrm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "display/dlgpreview.h"
#include "display/ui/canvasbox.h"
#include "util/asker.h"

namespace qz {

TPenFrm::TPenFrm(QWidget* parent) : QDialog(parent) {
  // A fixed dialog: a title and a close button, nothing to resize, minimise or maximise.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setObjectName(QStringLiteral("PenFrm"));
  setWindowTitle(QStringLiteral("Line Properties"));
  setModal(true);
  auto* outer = new QVBoxLayout(this);
  cbVisible_ = new QCheckBox(QStringLiteral("Visible"), this);
  outer->addWidget(cbVisible_);
  auto* form = new QFormLayout;
  cbStyle_ = new QComboBox(this);
  cbStyle_->addItems(PenStyleNames().mid(0, kPenStyleCount));
  form->addRow(QStringLiteral("Style:"), cbStyle_);
  sbWidth_ = new QSpinBox(this);
  sbWidth_->setRange(kPenWidthMin, kPenWidthMax);
  sbWidth_->setKeyboardTracking(false);
  form->addRow(QStringLiteral("Width:"), sbWidth_);
  outer->addLayout(form);
  auto* color = new QPushButton(QStringLiteral("Color..."), this);
  outer->addWidget(color);
  preview_ = new TCanvasBox(240, 24, this);
  preview_->Draw = [this](TCanvas& c, int32_t w, int32_t h) {
    DrawPenPreview(c, Data.PenBuf, w, h, clWhite);
  };
  outer->addWidget(preview_);
  auto* row = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("&OK"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  row->addWidget(ok);
  row->addWidget(cancel);
  outer->addLayout(row);

  connect(cbVisible_, &QCheckBox::toggled, this, [this](bool on) {
    Data.SetVisible(on);
    ShowPen();
  });
  connect(cbStyle_, &QComboBox::activated, this, [this](int row) {
    Data.SetStyle(row);
    ShowPen();
  });
  connect(sbWidth_, &QSpinBox::valueChanged, this, [this](int w) {
    Data.PenBuf.Width = w;
    ShowPen();
  });
  connect(color, &QPushButton::clicked, this, &TPenFrm::ColorClick);
  connect(ok, &QPushButton::clicked, this, &TPenFrm::OkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(sizeHint());
}

void TPenFrm::AssignSenderPen(TPen* pen) {
  SenderPen = pen;
  if (pen) Data.Load(*pen);
  ShowPen();
}

void TPenFrm::ShowPen() {
  const QSignalBlocker b1(cbVisible_), b2(cbStyle_), b3(sbWidth_);
  cbVisible_->setChecked(Data.Visible());
  cbStyle_->setCurrentIndex(PenStyleRow(Data.PenBuf.Style, kPenStyleCount));
  // A width beyond the field shows at the field's end and stays as it is until changed.
  sbWidth_->setValue(Data.PenBuf.Width);
  preview_->Refresh();
}

void TPenFrm::ColorClick() {
  TColor c = Data.PenBuf.Color;
  if (!Asker().AskColor(c)) return;
  Data.PenBuf.Color = c;
  ShowPen();
}

void TPenFrm::OkClick() {
  if (SenderPen) *SenderPen = Data.PenBuf;
  accept();
}

}  // namespace qz
