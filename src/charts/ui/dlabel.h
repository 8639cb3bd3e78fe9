#pragma once
// A text label the operator puts on a chart: its look and its place as fractions of the panel.

#include <QLabel>

#include "charts/labelplace.h"
#include "charts/labelstyle.h"

namespace qz {

class TDLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TDLabel(QWidget* parent = nullptr);

  // The look (text, visibility, transparency, background, font) applied to the widget.
  void SetStyle(const TLabelStyle& style);
  TLabelStyle Style() const;
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);

  // Left and top as fractions of the panel's width and height.
  double x = 0.0;
  double y = 0.0;

 private:
  void ApplyLook();

  bool transparent_ = true;
  TColor color_ = clBtnFace;
  TFontRec font_;
};

// The widget font of a font record.
QFont ToQFont(const TFontRec& f);

}  // namespace qz
