#pragma once
// The frame window: menus, tool bars, status bar and the MDI area of the display windows.

#include <QMainWindow>

class QMdiArea;

namespace qz {

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);

  // Caption "QzmSoft - Simulation V " + the program version.
  void SetMainCaption();
  QMdiArea* Mdi() const { return mdi_; }

 private:
  QMdiArea* mdi_ = nullptr;
};

}  // namespace qz
