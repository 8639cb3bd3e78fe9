#include "charts/ui/dlabel.h"

#include "util/ui/qcolor.h"

namespace qz {

QFont ToQFont(const TFontRec& f) {
  QFont q(f.Name);
  q.setPointSize(f.Size > 0 ? f.Size : 8);
  q.setBold(f.Bold);
  q.setItalic(f.Italic);
  q.setUnderline(f.Underline);
  return q;
}

TDLabel::TDLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  ApplyLook();
}

void TDLabel::SetStyle(const TLabelStyle& style) {
  setText(style.Caption);
  setVisible(style.Visible);
  transparent_ = style.Transparent;
  color_ = style.Color;
  font_ = style.Font;
  ApplyLook();
}

TLabelStyle TDLabel::Style() const {
  TLabelStyle s;
  s.Caption = text();
  s.Visible = !isHidden();
  s.Transparent = transparent_;
  s.Color = color_;
  s.Font = font_;
  return s;
}

void TDLabel::SetTransparent(bool on) {
  transparent_ = on;
  ApplyLook();
}

void TDLabel::ApplyLook() {
  setFont(ToQFont(font_));
  QPalette p = palette();
  p.setColor(QPalette::WindowText, ToQColor(font_.Color));
  p.setColor(QPalette::Window, ToQColor(color_));
  setPalette(p);
  setAutoFillBackground(!transparent_);
  adjustSize();
}

}  // namespace qz
