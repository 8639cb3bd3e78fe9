#pragma once
// The modal "Power Measurement Calibration Factor" dialog: the multiplier of the incident-power
// calibration factor, linear or in dB, written to the unit or the factor restored to 1. The
// rules are TPowCalModel's; the dialog only shows its texts.

#include <QDialog>
#include <functional>

#include "setupdlg/powcalmodel.h"

class QLabel;
class QRadioButton;

namespace qz {

class TAsker;
class TQzCmd;

class TPowCal : public QDialog {
  Q_OBJECT
 public:
  // asker: nullptr means the installed one.
  explicit TPowCal(TQzCmd& cmd, QWidget* parent = nullptr, TAsker* asker = nullptr);

  TPowCalModel& Model() { return m_; }
  // Opens help at a topic.
  std::function<void(int topic)> OnHelp;

  void LinClick(bool lin);
  void ModifyClick();
  void WriteClick();
  void RestoreClick();
  void HelpClick();
  // Cancel, Escape and the close box: the factor of the opening, then the dialog closes.
  void reject() override;

  // Texts for tests.
  QString MultText() const;
  QString CurrentText() const;
  QString NewText() const;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Fill();
  TAsker& Ask() const;

  TPowCalModel m_;
  TAsker* asker_;
  QRadioButton *rbLin_ = nullptr, *rbDb_ = nullptr;
  QLabel *lbMult_ = nullptr, *lbCurrent_ = nullptr, *lbNew_ = nullptr;
};

}  // namespace qz
