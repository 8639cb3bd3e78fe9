#pragma once
// The chart caption: one line of text centred above or below the chart. A click on it asks for
// a new text.

#include <QObject>
#include <QPoint>

#include "charts/raster.h"
#include "charts/ui/dlabel.h"

namespace qz {

class TCapt : public QObject {
  Q_OBJECT
 public:
  TCapt(QWidget* owner, bool visible, const QString& text);

  // Places the label from the anchor.
  void GetTopLeft();
  // New anchor, then GetTopLeft.
  void ChangePos(QPoint anchor);
  void Show();
  void Hide();
  // Asks "Chart Caption" / "Enter Caption Text"; the entered text is set, placed and shown.
  void LblClick();

  // The label's height: 13 pixels unless the font needs more.
  int CaptionHeight() const;

  TDLabel* Lbl;
  TCaptUpDn UpDn = capTop;
  QPoint CenterPosit{200, 20};

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace qz
