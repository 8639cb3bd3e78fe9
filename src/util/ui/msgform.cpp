#include "util/ui/msgform.h"

#include <QLabel>

#include "util/ui/dialogparent.h"
#include "util/valueinput.h"

namespace qz {

TMsgForm::TMsgForm(QWidget* parent) : QWidget(parent) {
  // A window that takes no input does not take the activation either.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setWindowTitle(QString::fromLatin1(kNoticeCaption));
  lbMsg = new QLabel(this);
  lbMsg->setTextFormat(Qt::PlainText);
  lbMsg->setAlignment(Qt::AlignCenter);
}

void TMsgForm::SetMessage(const QString& caption, const QString& message) {
  setWindowTitle(caption);
  QString shown = message;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lbMsg->setText(shown);
  const TNoticeLayout l = NoticeLayout(lbMsg->sizeHint());
  lbMsg->setGeometry(l.label);
  setFixedSize(l.client);
}

void TMsgForm::ShowNow() {
  // Input stays queued until the notice is gone.
  ShowAndPaintNow(this);
}

}  // namespace qz
