#include "util/ui/panels.h"

#include <QListWidget>
#include <QPainter>
#include <QStyle>

#include "util/hints.h"
#include "util/ui/qcolor.h"

namespace qz {

TLed::TLed(QWidget* parent) : QLabel(parent) {
  setProperty("lampColor", uint(color_));
  setFixedSize(sizeHint());
}

void TLed::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  setProperty("lampColor", uint(c));
  update();
}

QSize TLed::sizeHint() const {
  // About the height of a capital letter and a half: 13 pixels at the common 8-point font.
  const int d = std::max(9, (fontMetrics().capHeight() * 3 + 1) / 2 + 2);
  return QSize(d, d);
}

void TLed::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(Qt::gray), 1));
  p.setBrush(ToQColor(color_, palette()));
  const int d = std::min(width(), height()) - 1;
  p.drawEllipse(QRectF(0.5, 0.5, d, d));
}

TLed* MakeLamp(QWidget* parent, int x, int y) {
  auto* l = new TLed(parent);
  l->move(x, y);
  return l;
}

void SetLamp(TLed* lamp, QLabel* text, TColor color, const QString& caption) {
  lamp->SetColor(color);
  SetText(text, caption);
}

QLabel* MakePanel(QWidget* parent, int x, int y, int w, int h, Qt::Alignment align) {
  QLabel* l = MakePanel(parent, align);
  l->setGeometry(x, y, w, h);
  return l;
}

QLabel* MakePanel(QWidget* parent, Qt::Alignment align) {
  auto* l = new QLabel(parent);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  l->setAlignment(align);
  return l;
}

void SizeForChars(QWidget* w, int chars) {
  const QFontMetrics fm = w->fontMetrics();
  // Digits, the frame and the text margins of an entry.
  const int width = fm.horizontalAdvance(QLatin1Char('0')) * chars + 2 * fm.averageCharWidth() +
                    2 * w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  w->setFixedWidth(width);
}

void FitListToRows(QListWidget* list, int maxRows) {
  const int rows = std::max(1, std::min(maxRows, list->count()));
  const int row = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height();
  list->setFixedHeight(rows * row + 2 * list->frameWidth() + 2);
  list->setVerticalScrollBarPolicy(list->count() > rows ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
}

void SetText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

void SetTextColor(QLabel* label, TColor c) {
  QPalette pal = label->palette();
  const QColor qc = ToQColor(c, pal);
  if (pal.color(QPalette::WindowText) == qc) return;
  pal.setColor(QPalette::WindowText, qc);
  label->setPalette(pal);
}

void SetHint(QWidget* w, const QString& hint) {
  const HintParts h = SplitHint(hint);
  w->setToolTip(h.tooltip);
  w->setStatusTip(h.statusTip);
}

}  // namespace qz
