#pragma once
// The model window "Quzar Model": the operator's controls of the simulated analyzer. A small
// stay-on-top tool window with the pages "DUT", "Animation", "File" (inactive) and
// "Freq/Power/Temp", the "Pause" entry and the buttons "&Apply", "&Close" and "&Help". It is
// created once and only hidden when closed.
//
// The window is thin: it copies its controls into the presenter's entry record (TMdlEntries),
// calls the presenter's operations and shows the record again.

#include <QWidget>
#include <functional>

#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace qz {

class IniFile;
class TUpDownEdit;

// Help topic of the window.
inline constexpr int kMdlHelpContext = 158;

class TQzMdl : public QWidget {
  Q_OBJECT
 public:
  // Creates the window over the model's presenter and runs the model's creation sequence with
  // the automatic setup (may be null).
  TQzMdl(TMdlPresenter& presenter, const IniFile* autoSetup, QWidget* parent = nullptr);

  TMdlPresenter& Presenter() { return m_; }
  TMdlEngine& Model() { return m_.Model(); }

  // Opens the help topic (unset: nothing happens).
  std::function<void(int context)> OnHelp;

  // Section "Model": writing takes the controls as they are; reading a setup after start-up
  // also applies it and places the window.
  void WriteStp(IniFile& ini);
  void ReadStp(const IniFile& ini);

  // The controls into the model's entry record, and back.
  void ToEntries();
  void FromEntries();

  // The nominal frequency changed: the frequency entry is checked again and rewritten.
  void RecheckFre();
  // The frequency entry shows the model's entry record again (the model checked it itself).
  void ShowFre();

  // The "&Apply" button.
  void DoApply();
  // An edit of the model as the operator's: the controls into the entries, the edit, the entries
  // back into the controls, then "&Apply".
  void EditAndApply(const std::function<void(TMdlPresenter&)>& edit);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void Build();
  void TypeClicked();
  // The "Defined" group enabled, and its entries in the entry colour, only for a defined load.
  void ShowDefinedState(bool defined);
  void NoSpiralClicked();
  void PlaceFromEntries();

  TMdlPresenter& m_;
  bool syncing_ = false;

  QTabWidget* pages_;
  QButtonGroup* rgRhoType_;
  QGroupBox* gbDefined_;
  QLineEdit* edMag_;
  QComboBox* cbRfl_;
  TUpDownEdit* edPha_;
  QLineEdit* edRhoUncert_;
  TUpDownEdit* udAnim_[6];  // MagC, PhaC, Mag1, Mag2, Pha1, Pha2
  QComboBox* cbMagStep_;
  QComboBox* cbPhaStep_;
  QCheckBox* cbReverseMag_;
  QCheckBox* cbReversePha_;
  QCheckBox* cbNoSpiral_;
  TUpDownEdit* edMeasPerPosit_;
  QLabel* lbFile_;
  QLabel* lbPath_;
  QListWidget* lbTransient_;
  QLineEdit* edFre_;
  QLineEdit* edFuncert_;
  QLineEdit* edPow_;
  QLineEdit* edPuncert_;
  QLineEdit* edTemp_;
  QLineEdit* edTuncert_;
  QListWidget* cblErrors_;
  TUpDownEdit* edPause_;
  QPushButton* btApply_;
  QPushButton* btClose_;
  QPushButton* btHelp_;
};

}  // namespace qz
