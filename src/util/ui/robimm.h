#pragma once
// The busy window: a caption ("System Busy" by default), an animation and one information line
// that the work updates as it goes.

#include <QWidget>

class QLabel;

namespace qz {

class TAnimation;

class TRobimM : public QWidget {
  Q_OBJECT

 public:
  explicit TRobimM(QWidget* parent = nullptr);

  // Caption, animation; empties the information line, shows the window on top of every window,
  // starts the animation and paints.
  void ShowBusy(const QString& caption, int animation, int lastFrame);
  // Shows the text in the information line and paints at once.
  void SetInfo(const QString& text);

  QLabel* lbInfo = nullptr;
  TAnimation* Animate = nullptr;
};

}  // namespace qz
