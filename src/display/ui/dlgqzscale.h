#pragma once
// The chart-scaling dialog: axis spans of a rectangular display, the radius of a polar chart or
// the zoom of a Smith or VSWR chart. It edits copies; the display changes on OK, "&Auto" or
// "&Default", and "Integral" is kept whenever the dialog closes.

#include <QDialog>

#include "display/scaledlgdata.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qz {

class TDlgQzScale : public QDialog {
  Q_OBJECT
 public:
  explicit TDlgQzScale(QWidget* parent = nullptr);

  // The display to edit and the current sweep's point count; the fields show its settings.
  void AssignSenderDispl(TDispl& displ, int32_t npts);
  // The point axis of a rectangular display follows the sweep length (see TDispl::ZmenOsX).
  bool ZmenOsX(TDispl& displ, int32_t npts) { return displ.ZmenOsX(npts); }

  TDispl* SenderDispl = nullptr;
  TScaleDlgData Data;

  QLineEdit* Field(const QString& name) const;
  QCheckBox* Automatic() const { return cbAuto_; }
  QCheckBox* Integral() const { return cbIntegral_; }
  QComboBox* SmithR() const { return cbSmith_; }

  void OkClick();
  void AutoClick();
  void DefaultClick();
  void BackClick();

  void done(int r) override;

 private:
  // Fields from the data, and the data from the fields.
  void ShowFields();
  void ReadFields();
  void ApplyEnabling();
  void SetField(QLineEdit* e, const QString& text, bool enabled, bool emptied);

  QLineEdit* eXmin_;
  QLineEdit* eXmax_;
  QLineEdit* eYmin_;
  QLineEdit* eYmax_;
  QLineEdit* ePoints_;
  QLineEdit* ePolar_;
  QCheckBox* cbAuto_;
  QCheckBox* cbIntegral_;
  QComboBox* cbSmith_;
  QList<QLabel*> xLabels_;
  QList<QLabel*> yLabels_;
  QLabel* xAxisLabel_;
  QLabel* yAxisLabel_;
  bool showing_ = false;
};

}  // namespace qz
