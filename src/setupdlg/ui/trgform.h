#pragma once
// The "Single-Shots Commands" tool window: the unit's one-shot commands by hand (one
// measurement, a fetch, computing and moving to tune positions, measure-and-tune, autotune on or
// off), each counted with its outcome in the status bar, and the stub positions and motor
// status bytes. A stay-on-top tool window, hidden when closed. The commands themselves are
// TTrgCmds; the window only reads its boxes and shows the texts.

#include <QWidget>
#include <array>
#include <functional>

#include "setupdlg/trgcmds.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace qz {

class IniFile;
class TQzCmd;
class TScreenService;
class TTunerModel;

class TTrgForm : public QWidget {
  Q_OBJECT
 public:
  // autoSetup: the automatic setup, read once here (nullptr keeps the defaults).
  TTrgForm(TQzCmd& cmd, const TTunerModel& tuner, const IniFile* autoSetup,
           QWidget* parent = nullptr, const TScreenService* screen = nullptr);

  TTrgCmds& Cmds() { return cmds_; }
  // What the refresh reaches (the frame window sets them).
  TTrgDisplays& Displays() { return cmds_.Displays; }

  // "Visible", "Top", "Left" and "Indic".
  void WriteStp(IniFile& ini) const;

  // Every text of the window from the commands' state.
  void Fill();
  // The unit label was clicked.
  void IndicClick();

  // Texts for tests.
  QString CountPanel() const;
  QString StatusPanel() const;

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  void Build();
  // Runs a button's command, then shows the result.
  void Run(const std::function<void()>& op);

  TTrgCmds cmds_;
  QCheckBox *cbRunning_ = nullptr, *cbSending_ = nullptr;
  QCheckBox *cbAutotune_ = nullptr, *cbSendTune_ = nullptr;
  QLabel* lbIndic_ = nullptr;
  std::array<QLabel*, 3> lbAct_{}, lbTune_{};
  QLabel *lbStat1_ = nullptr, *lbStat2_ = nullptr;
  QLabel *lbQuzarTout_ = nullptr, *lbMotorsTout_ = nullptr;
  QLabel *pnCaption_ = nullptr, *pnCount_ = nullptr, *pnStatus_ = nullptr;
  QPushButton* btMeaTun_ = nullptr;
};

}  // namespace qz
