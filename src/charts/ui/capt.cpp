#include "charts/ui/capt.h"

#include <QEvent>
#include <QMouseEvent>

#include "charts/labelplace.h"
#include "util/asker.h"

namespace qz {

TCapt::TCapt(QWidget* owner, bool visible, const QString& text) : QObject(owner) {
  Lbl = new TDLabel(owner);
  Lbl->setObjectName("Capt");
  TLabelStyle s;
  s.Caption = text;
  s.Visible = visible;
  s.Transparent = true;
  s.Font.Size = 8;
  s.Font.Color = clRed;
  Lbl->SetStyle(s);
  Lbl->setFixedHeight(13);
  Lbl->setCursor(Qt::PointingHandCursor);
  Lbl->installEventFilter(this);
  GetTopLeft();
}

void TCapt::GetTopLeft() {
  Lbl->adjustSize();
  Lbl->setFixedHeight(13);
  const TPt p = CaptTopLeft({CenterPosit.x(), CenterPosit.y()}, UpDn, Lbl->width(), Lbl->height());
  Lbl->move(p.x, p.y);
}

void TCapt::ChangePos(QPoint anchor) {
  CenterPosit = anchor;
  GetTopLeft();
}

void TCapt::Show() {
  GetTopLeft();
  Lbl->show();
  Lbl->raise();
}

void TCapt::Hide() { Lbl->hide(); }

void TCapt::LblClick() {
  const TInputResult r = Asker().InputText("Chart Caption", "Enter Caption Text", Lbl->text());
  if (!r.ok) return;
  Lbl->setText(r.text);
  GetTopLeft();
  Show();
}

bool TCapt::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Lbl && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    LblClick();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qz
