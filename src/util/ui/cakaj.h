#pragma once
// The waiting window: a caption, a centred message and a looping animation, on top of every
// window while the program works without taking input.

#include <QWidget>

class QLabel;

namespace qz {

class TAnimation;

class TCakaj : public QWidget {
  Q_OBJECT

 public:
  explicit TCakaj(QWidget* parent = nullptr);

  // Caption ("Wait please..." when empty), message and animation; shows and paints the window
  // and starts the animation.
  void ShowWait(const QString& caption, const QString& message, int animation, int lastFrame);

  QLabel* lbSprava = nullptr;
  QString FullMsg;
  TAnimation* Animate = nullptr;
};

}  // namespace qz
