#pragma once
// The trace-properties dialog: line, markers, marker border and fill of each trace of a display
// window, and the window's persistence and clear-and-go switches. It edits a copy; the window
// takes it when the dialog ends with OK.

#include <QDialog>

#include "display/attrdlgdata.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace qz {

class TCanvasBox;

class TDlgAttr : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgAttr(QWidget* parent = nullptr);

  // The copies to edit (loaded from a window's traces); the controls show the chosen trace.
  void AssignData(const TAttrDlgData& data);

  TAttrDlgData Data;

  TCanvasBox* ShapeGrid() const { return grid_; }
  TCanvasBox* Preview() const { return preview_; }
  // A click on a cell of the shape grid.
  void GridClick(QPoint at);
  void OkClick();

 private:
  // The controls from the chosen trace's copy, without reporting their changes.
  void ShowTrace();
  // After an edit: the shape grid and the preview drawn anew.
  void Changed();
  QCheckBox* Check(const QString& name, const QString& text, QWidget* parent,
                   std::function<void(bool)> edit);
  QSpinBox* Spin(const QString& name, int lo, int hi, QWidget* parent,
                 std::function<void(int)> edit);
  void ColorButton(const QString& name, QWidget* parent, std::function<TColor&()> target);

  QComboBox* cbTrace_;
  QComboBox* cbLineStyle_;
  TCanvasBox* grid_;
  TCanvasBox* preview_;
  bool showing_ = false;
};

}  // namespace qz
