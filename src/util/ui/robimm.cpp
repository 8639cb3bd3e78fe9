#include "util/ui/robimm.h"

#include <QLabel>

#include "util/ui/animation.h"
#include "util/ui/dialogparent.h"
#include "util/valueinput.h"

namespace qz {

namespace {

constexpr int kClientWidth = 320;
constexpr int kGap = 8;

}  // namespace

TRobimM::TRobimM(QWidget* parent) : QWidget(parent) {
  // A window that takes no input does not take the activation either.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QString::fromLatin1(kBusyCaption));
  Animate = new TAnimation(this);
  lbInfo = new QLabel(this);
  lbInfo->setTextFormat(Qt::PlainText);
  lbInfo->setAlignment(Qt::AlignCenter);
  const QSize a = Animate->sizeHint();
  Animate->setGeometry((kClientWidth - a.width()) / 2, kGap, a.width(), a.height());
  const int infoHeight = lbInfo->sizeHint().height();
  lbInfo->setGeometry(kGap, kGap + a.height() + kGap, kClientWidth - 2 * kGap, infoHeight);
  setFixedSize(kClientWidth, kGap + a.height() + kGap + infoHeight + 2 * kGap);
}

void TRobimM::ShowBusy(const QString& caption, int animation, int lastFrame) {
  // Stay on top from the moment it is shown (changing the flags of a shown window hides it, so
  // only the first show sets them).
  if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  setWindowTitle(caption.isEmpty() ? QString::fromLatin1(kBusyCaption) : caption);
  lbInfo->clear();
  Animate->SetAnimation(animation, lastFrame);
  Animate->Start();
  ShowAndPaintNow(this);
}

void TRobimM::SetInfo(const QString& text) {
  lbInfo->setText(text);
  lbInfo->repaint();
}

}  // namespace qz
