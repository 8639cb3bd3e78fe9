#pragma once
// The sampling setup dialog: one page per waveform (CW, rectified, pulsed) and a common strip
// for triggering, the counter and single-shot sending. It edits working copies of the unit's
// sampling records (see setupdlg/samplsetup.h) and writes them back only on Apply; the page
// that is active then becomes the unit's waveform.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

#include "core/records.h"
#include "setupdlg/samplsetup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace qz {

class IniFile;
class TScreenService;

inline constexpr const char* kSamplFormSection = "QzSamplForm";
inline constexpr const char* kSamplFormCaption = "Quzar Sampling Setup (Ctrl+Q)";
inline constexpr int kSamplHelpTopic = 107;

class TQzSamplForm : public QDialog {
  Q_OBJECT
 public:
  explicit TQzSamplForm(QWidget* parent = nullptr);

  // Binds the analyzer's records, its trigger method, the pre-trigger count and the frame
  // window's single-shot state (read and set).
  void AssignPointers(TFixPar* fpar, TVarPar* vpar, TTrgMethod* trgMeth,
                      std::function<bool()> oneShotGet, std::function<void(bool)> oneShotSet,
                      int32_t* pretrg, TPulsed* puls, TRectif* rect);

  // Section "QzSamplForm": every section of that name (in any letter case) is replaced by one
  // with "Top" and "Left".
  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);
  void ReadStp(const IniFile& ini, const TScreenService& screen);

  // "&Help".
  std::function<void(int topic)> OnHelp;

  // Buttons of the dialog.
  void RefreshClick();
  void ApplyClick();
  void DefaultsClick(int page);

  TSamplSetup& Model() { return m_; }
  QTabWidget* Pages() const { return pages_; }
  int ActivePage() const;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void BuildCw(QWidget* page);
  void BuildRect(QWidget* page);
  void BuildPuls(QWidget* page);
  QWidget* BuildCommon();
  void Fill();
  TSamplView Entries() const;
  void PageChanged();
  void ReportErrors();

  TSamplSetup m_;
  TFixPar* fPFix = nullptr;
  TVarPar* fPVar = nullptr;
  TRectif* fPRect = nullptr;
  TPulsed* fPPuls = nullptr;
  int32_t* fPPretrg = nullptr;
  TTrgMethod* fPTrgMethod = nullptr;
  std::function<bool()> oneShotGet_;
  std::function<void(bool)> oneShotSet_;

  QTabWidget* pages_ = nullptr;
  // CW
  QLabel *cwTime_, *cwTimeU_, *cwStep_, *cwStepU_, *cwWarn_;
  QLineEdit *cwCount_, *cwRate_, *cwCountTime_;
  // Rectified
  QLineEdit *rcRipple_, *rcPeriods_, *rcCount_, *rcAcc_, *rcCountTime_;
  QLabel *rcTime_, *rcTimeU_, *rcRate_, *rcStep_, *rcStepU_;
  QCheckBox* rcSamples_;
  // Pulsed
  QLineEdit *puTime_, *puCount_, *puMax_, *puAcc_, *puCountTime_;
  QComboBox *puTimeU_, *puMaxU_;
  QLabel *puRate_, *puStep_, *puStepU_;
  QCheckBox* puSamples_;
  // Common strip
  QLineEdit *trgLevel_, *preTrig_;
  QCheckBox *freeRun_, *counterOn_, *singleShot_;
};

}  // namespace qz
