#pragma once
// Small pieces every window builds from: sunken text panels, status lamps, hints and text
// colours. A value that does not change leaves the widget alone, so windows refreshed after
// every frame only repaint what really changed.

#include <QLabel>
#include <QString>

#include "util/colors.h"

class QListWidget;
class QWidget;

namespace qz {

// A round status lamp in one of the program's colours (a system colour through the palette).
// Its size follows the font.
class TLed : public QLabel {
  Q_OBJECT
 public:
  explicit TLed(QWidget* parent = nullptr);
  void SetColor(TColor c);
  TColor Color() const { return color_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TColor color_ = clBtnFace;
};

// A lamp at (x, y) of a window with fixed geometry, sized from the font.
TLed* MakeLamp(QWidget* parent, int x, int y);
// A lamp and the text beside it.
void SetLamp(TLed* lamp, QLabel* text, TColor color, const QString& caption);

// A sunken text panel (fixed geometry where the window's client size is fixed).
QLabel* MakePanel(QWidget* parent, int x, int y, int w, int h,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);
// A sunken text panel for a layout.
QLabel* MakePanel(QWidget* parent, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);

// An entry (or any widget showing text) wide enough for `chars` digits of its font, and no wider.
void SizeForChars(QWidget* w, int chars);
// A list as high as its rows (at most `maxRows`), no scrolling space left over.
void FitListToRows(QListWidget* list, int maxRows);

// The label's text, touched only when it differs.
void SetText(QLabel* label, const QString& text);
// Text colour of a label, touched only when it differs.
void SetTextColor(QLabel* label, TColor c);
// Tooltip and status tip of a "short|long" hint.
void SetHint(QWidget* w, const QString& hint);

}  // namespace qz
