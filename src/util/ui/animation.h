#pragma once
// A small painted animation that stands for the system animations of the waiting and busy
// windows: 3 a magnifier searching over a computer, 4 and 5 sheets flying from one folder to
// another (several sheets for 4, one for 5); any other number a turning ring of dots.

#include <QTimer>
#include <QWidget>

namespace qz {

class TAnimation : public QWidget {
  Q_OBJECT

 public:
  // Frames of one loop of every animation.
  static constexpr int kFrames = 16;

  explicit TAnimation(QWidget* parent = nullptr);

  // The animation to play and the last frame of the loop (1-based; 0 or beyond the end plays
  // to the end). Restarts at frame 1.
  void SetAnimation(int animation, int lastFrame);
  int Animation() const { return animation_; }
  // Frames played in a loop (1..kFrames).
  int LoopFrames() const { return loopFrames_; }
  // The frame shown, 0-based.
  int Frame() const { return frame_; }

  void Start();
  void Stop();
  bool Active() const { return timer_.isActive(); }
  // Moves on by one frame (the timer's work; also used by tests).
  void Step();

  QSize sizeHint() const override { return QSize(96, 56); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int animation_ = 0;
  int loopFrames_ = kFrames;
  int frame_ = 0;
  QTimer timer_;
};

}  // namespace qz
