#include "util/ui/cakaj.h"

#include <QLabel>

#include "util/ui/animation.h"
#include "util/ui/dialogparent.h"
#include "util/valueinput.h"

namespace qz {

TCakaj::TCakaj(QWidget* parent) : QWidget(parent) {
  // A window that takes no input does not take the activation either.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setWindowTitle(QString::fromLatin1(kWaitCaption));
  lbSprava = new QLabel(this);
  lbSprava->setTextFormat(Qt::PlainText);
  lbSprava->setAlignment(Qt::AlignCenter);
  Animate = new TAnimation(this);
}

void TCakaj::ShowWait(const QString& caption, const QString& message, int animation,
                      int lastFrame) {
  setWindowTitle(caption.isEmpty() ? QString::fromLatin1(kWaitCaption) : caption);
  FullMsg = message;
  QString shown = message;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lbSprava->setText(shown);
  const TWaitLayout l = WaitLayout(lbSprava->sizeHint(), Animate->sizeHint());
  lbSprava->setGeometry(l.label);
  Animate->setGeometry(l.animation);
  setFixedSize(l.client);
  Animate->SetAnimation(animation, lastFrame);
  Animate->Start();
  // The work that follows runs without handling events: paint now.
  ShowAndPaintNow(this);
}

}  // namespace qz
