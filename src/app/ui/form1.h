#pragma once
// The frame window: menus, the main and signal tool bars, the status bar with its message and
// time-out panels and the samples progress bar, and the MDI area of the display windows. It
// owns the program's core and runs the measurement cycle inside the Run/Pause command.

#include <QMainWindow>
#include <memory>

#include "app/cycleports.h"
#include "app/saveastxt.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QToolBar;

namespace qz {

class TSimCore;
class TTransformCmds;

class TForm1 : public QMainWindow, public TCycleHost, public TCycleStatus, public TRunEnable {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Caption "QzmSoft - Simulation V " + the program version.
  void SetMainCaption();
  QMdiArea* Mdi() const { return mdi_; }

  // Starts the simulated unit; false (with the reasons) when the program has to end.
  bool StartUnit(QString& messages);
  TSimCore& Core() { return *core_; }

  // The frame window's commands.
  void miSweepClick();
  void QvStop1Click();
  void miFinishSwpClick();
  bool IsSweeping() const;
  void SaveAsTxt();

  // Controls, for the window's own tests.
  QAction* RunAction() const { return aRun_; }
  QAction* StopAction() const { return aStop_; }
  QAction* FinishAction() const { return aFinish_; }
  QAction* SaveResultsAction() const { return aSaveRes_; }
  QAction* PlaneExtAction() const { return aPlaneExt_; }
  QAction* PlaneExtButton() const { return tbExt_; }
  QMenu* QuzarMenu() const { return mQuzar_; }
  QMenu* TransformMenu() const { return mTransform_; }
  QToolBar* MainToolBar() const { return tbMain_; }
  QToolBar* SignalToolBar() const { return tbSignal_; }
  QLabel* MessagePanel() const { return panMsg_; }
  QLabel* TimeoutPanel() const { return panTout_; }
  QProgressBar* SamplesBar() const { return pbSamples; }
  TSaveAsTxtState& SaveState() { return saveState_; }

  // TCycleHost
  void SetRunHint(const QString& hint) override;
  void SetRunButtonDown(bool down) override;
  bool SingleShotArmed() const override { return false; }
  void Pump() override;
  // TCycleStatus
  void SetMessage(const QString& text) override;
  void SetTimeoutText(const QString& text) override;
  void SetProgressMax(int32_t max) override;
  void SetProgress(int32_t pos) override;
  void SetProgressRed(bool red) override;
  // TRunEnable: the frame window's own controls.
  void EnableForRun(bool enabled) override;

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void BuildMenus();
  void BuildToolBars();
  void BuildStatusBar();
  void TransformMenuOpening();
  void RefreshPlaneExtHint();
  static void SetHint(QAction* a, const QString& hint);

  std::unique_ptr<TSimCore> core_;
  std::unique_ptr<TTransformCmds> transformCmds_;
  TSaveAsTxtState saveState_;
  bool closeAfterRun_ = false;

  QMdiArea* mdi_ = nullptr;
  QMenu* mQuzar_ = nullptr;
  QMenu* mTransform_ = nullptr;
  QMenu* mTuner_ = nullptr;
  QAction* aRun_ = nullptr;
  QAction* aStop_ = nullptr;
  QAction* aFinish_ = nullptr;
  QAction* aSaveRes_ = nullptr;
  QAction* aPlaneExt_ = nullptr;
  QAction* aTrLoad_ = nullptr;
  QAction* aTrActive_ = nullptr;
  QAction* aTrClear_ = nullptr;
  QAction* tbRun_ = nullptr;
  QAction* tbStop_ = nullptr;
  QAction* tbExt_ = nullptr;
  QAction* tbSave_ = nullptr;
  QToolBar* tbMain_ = nullptr;
  QToolBar* tbSignal_ = nullptr;
  QLabel* panMsg_ = nullptr;
  QLabel* panTout_ = nullptr;
  QLabel* panHint_ = nullptr;
  QProgressBar* pbSamples = nullptr;
};

}  // namespace qz
