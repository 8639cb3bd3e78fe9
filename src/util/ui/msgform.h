#pragma once
// The transient notice ("Wait..."): one centred line of text, no border icons, on top of every
// window, shown for a moment while the program pauses.

#include <QWidget>

class QLabel;

namespace qz {

class TMsgForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMsgForm(QWidget* parent = nullptr);

  // Caption and message; the window is sized around the message.
  void SetMessage(const QString& caption, const QString& message);
  // Shows the window and paints it at once (the caller then blocks the thread).
  void ShowNow();

  QLabel* lbMsg = nullptr;
  // How long the notice stays, 0..10000 ms.
  int LifeTimeMs = 0;
};

}  // namespace qz
