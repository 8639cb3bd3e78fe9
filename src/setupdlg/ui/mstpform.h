#pragma once
// The CW measurement setup window: every field of the measurement timing together with the CW
// acquisition settings (sample count, sampling rate, temperature averaging, counting time and
// the counter), given to the unit on Apply. A stay-on-top tool window, hidden when closed.

#include <QWidget>

#include "setupdlg/mstpedit.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace qz {

class IniFile;
class TQzCmd;
class TScreenService;

inline constexpr const char* kMstpSection = "MstpForm";

class TMstpForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMstpForm(TQzCmd& cmd, QWidget* parent = nullptr);

  // The settings in force into the copies and the controls.
  void PrevezmiNapln();
  // "Visible", "Top" and "Left".
  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);
  void ReadStp(const IniFile& ini, const TScreenService& screen);

  void ApplyClick();
  void DefaultsClick();
  void HelpClick();
  // A click on either sampling value.
  void SamplingLabelClick();

  TMstpEdit& Model() { return m_; }

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  void BuildRangeItems();
  void Fill();
  void FillSamplingLabels(const TSamplingLabels& l);
  TMstpView Entries() const;
  void MaskClicked();
  void OfsPeriodChanged();
  void SamplingEdited();

  TQzCmd& cmd_;
  TMstpEdit m_;
  QLineEdit *onPer_, *ofsPer_, *fPer_, *tPer_, *txPer_, *motPer_;
  QLineEdit *tcount_, *trpt_, *vrpt_, *fsampl_;
  QGroupBox *onRngBox_, *ofsRngBox_, *mask_;
  QButtonGroup *onRng_, *ofsRng_;
  QCheckBox *ofsEqual_, *counterOn_;
  QCheckBox* maskBox_[8];
  QLabel *method_, *methodName_, *recMin_, *time_, *step_;
};

}  // namespace qz
