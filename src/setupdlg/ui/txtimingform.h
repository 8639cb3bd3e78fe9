#pragma once
// The TX timing dialog: the measurement period, the results and motor data sending periods and
// the send-event mask, given to the unit on Apply.

#include <QDialog>
#include <functional>

#include "setupdlg/txtimingedit.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace qz {

class IniFile;
class TQzCmd;
class TScreenService;

inline constexpr const char* kTxTimingSection = "TxTimingForm";
inline constexpr int kTxTimingHelpTopic = 139;

class TTxTimingForm : public QDialog {
  Q_OBJECT
 public:
  explicit TTxTimingForm(TQzCmd& cmd, QWidget* parent = nullptr);

  void PrevezmiNapln();
  // "Visible", "Top" and "Left" are written; only "Top" and "Left" are read.
  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);
  void ReadStp(const IniFile& ini, const TScreenService& screen);

  std::function<void(int topic)> OnHelp;

  void ApplyClick();
  void DefaultsClick();
  TTxTimingEdit& Model() { return m_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Fill();
  TTxTimingView Entries() const;
  void MaskClicked();

  TQzCmd& cmd_;
  TTxTimingEdit m_;
  QLineEdit *on_, *tx_, *mot_;
  QCheckBox *ready_, *refresh_, *motors_;
  QGroupBox* mask_;
};

}  // namespace qz
