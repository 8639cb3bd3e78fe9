#pragma once
// The line-properties dialog: one pen's visibility, style, width and colour, edited on a copy
// and given back to the caller's pen on OK.

#include <QDialog>

#include "display/pendlgdata.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace qz {

class TCanvasBox;

class TPenFrm : public QDialog {
  Q_OBJECT
 public:
  explicit TPenFrm(QWidget* parent = nullptr);

  // The pen to edit (not owned; it must outlive the dialog's showing).
  void AssignSenderPen(TPen* pen);

  TPenDlgData Data;
  TPen* SenderPen = nullptr;

  QCheckBox* Visible() const { return cbVisible_; }
  QComboBox* Style() const { return cbStyle_; }
  QSpinBox* Width() const { return sbWidth_; }
  TCanvasBox* Preview() const { return preview_; }
  void OkClick();
  void ColorClick();

 private:
  // The controls from the copy (without reporting their changes) and the preview.
  void ShowPen();

  QCheckBox* cbVisible_;
  QComboBox* cbStyle_;
  QSpinBox* sbWidth_;
  TCanvasBox* preview_;
};

}  // namespace qz
