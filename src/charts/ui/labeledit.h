#pragma once
// The box a chart label is edited in. It keeps Space, Enter and Escape to itself (the display
// window runs and pauses on Space), and releasing Enter or Escape ends the editing.

#include <QLineEdit>

namespace qz {

class TLabelEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TLabelEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

 signals:
  void Finished();

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
};

}  // namespace qz
