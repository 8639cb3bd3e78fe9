#include "charts/ui/capt.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <algorithm>

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
  Lbl->setFixedHeight(CaptionHeight());
  Lbl->setCursor(Qt::PointingHandCursor);
  Lbl->installEventFilter(this);
  GetTopLeft();
}

void TCapt::GetTopLeft() {
  Lbl->adjustSize();
  Lbl->setFixedHeight(CaptionHeight());
  const TPt p = CaptTopLeft({CenterPosit.x(), CenterPosit.y()}, UpDn, Lbl->width(), Lbl->height());
  Lbl->move(p.x, p.y);
}

int TCapt::CaptionHeight() const {
  // 13 pixels, or the font's line height where the screen makes the font taller (the text is
  // never cut).
  return std::max(13, QFontMetrics(Lbl->font()).height());
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
