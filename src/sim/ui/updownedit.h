#pragma once
// An entry with an up-down beside it. The entry's text and the up-down's position are two
// separate values: typing changes only the text, and the position changes only when an arrow is
// clicked (the text then shows the new position) or the program sets it. So a text the program
// has not read yet never moves the position, and a position can differ from what is typed.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace qz {

class TUpDownEdit : public QWidget {
  Q_OBJECT
 public:
  TUpDownEdit(int min, int max, int increment, bool wrap, QWidget* parent = nullptr);

  QLineEdit* Edit() const { return edit_; }
  QString Text() const;
  void SetText(const QString& t);
  int Position() const { return pos_; }
  // Limited to the range; the text is not touched.
  void SetPosition(int p);
  int Min() const { return min_; }
  int Max() const { return max_; }

  // One arrow click (+1 up, -1 down): the position moves by the increment, wrapping or stopping
  // at the limits, and the entry shows it.
  void Click(int dir);

 signals:
  void PositionClicked(int pos);
  void EditingFinished();

 private:
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
  int min_, max_, inc_;
  bool wrap_;
  int pos_ = 0;
};

}  // namespace qz
