#pragma once
// The frame window: menus, the main and signal tool bars, the status bar with its message and
// time-out panels and the samples progress bar, and the MDI area of the display windows. It
// owns the program's core and runs the measurement cycle inside the Run/Pause command.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/cycleports.h"
#include "app/saveastxt.h"
#include "app/setupfiles.h"
#include "app/toolwindows.h"
#include "app/ui/framecommands.h"
#include "app/ui/frameshell.h"

class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QToolBar;
class QUrl;

namespace qz {

class TSimCore;
class TProgram;
class TControl;
class TControlBus;
class TForm1Port;
class TTransformCmds;
class TResultsPort;
struct TWindowContext;
class TDdeItem;
class TDdeMenu;
class TCommunMenu;
class TCoalescedRefresh;
class THelp;
struct THelpRequest;
class TDisplayWindows;
class TDisplayPort;
class TWindowCmds;
class TWindowList;
class TParamCmds;
class TParamPort;
class TXferCmds;
class TXferPort;
struct TSignalBarState;

// The application title.
inline constexpr const char* kAppTitle = "QzSim";
// What an empty hint panel reads in a fresh profile until the first run.
inline constexpr const char* kFreshProfileHint = "Press F9 or the Start button to measure";

class TForm1 : public QMainWindow,
               public TCycleHost,
               public TCycleStatus,
               public TRunEnable,
               public TFrameShell,
               public TFrameCommands {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Caption "QzmSoft - Simulation V " + the program version.
  void SetMainCaption();
  QMdiArea* Mdi() const override { return mdi_; }

  // Starts the simulated unit; false (with the reasons) when the program has to end.
  bool StartUnit(QString& messages);
  TSimCore& Core() override { return *core_; }
  TProgram& Program() override { return *program_; }
  // The tool windows, one record each.
  TToolWindows& ToolWindows() override;

  // ---- setup files ----
  TSetupFiles& Setup() override { return *setup_; }
  TFrameSetup& FrameSetup() override { return frame_; }
  // The frame window's values into the setup record and back (window place, colour, options).
  void FrameToSetup();
  void ApplyFrameSetup();
  // File menu.
  void SaveSetupClick();
  void LoadSetupClick();
  // Loads a user setup as Load Setup does (without the file dialog); false with a message when
  // the file cannot be read.
  bool LoadSetupFile(const QString& path, QString& comment, QString& error) override;
  void OpenUserFolderClick();
  void ExitClick();
  void ExitNoSetupClick();
  // The exit with its answer given (the remote control's Quit): no question is asked; with
  // saveSetup the automatic setup is written, else a backup.
  void CloseWithAnswer(bool saveSetup) override;
  // The exit question is open.
  bool AskingExit() const override { return askingExit_; }
  // The remote control of this window program.
  TControl& Control() { return *control_; }

  // ---- shutdown ----
  bool AbortPgm = false;       // the program is being terminated: no question, nothing written
  bool MustTerminate = false;  // a command that needs a restart has run
  bool WriteIni = false;       // save the setup at exit
  bool SaveQvStpEnabled = false;
  // Where the last exit without saving put its backup (empty: none written).
  const QString& LastBackupPath() const { return lastBackup_; }
  // Called once the frame window has closed and every tool window is gone, before the event
  // loop is left (the program gives its single-instance lock back here).
  std::function<void()> OnExit;
  // Opens a folder in the system's file browser; false when none could (replaceable in tests).
  std::function<bool(const QUrl&)> OpenUrl;

  // ---- tool windows ----
  // (each one by its setup section: ToolWindows().Window<T>(section))
  TDdeItem& Dde() { return *dde_; }
  // The power calibration dialog shown modally (Quzar > More > "&Pow Cal Factor").
  void OpenPowCal();
  // The help viewer at a topic number or keyword.
  void ShowHelp(int topic) override;
  void ShowHelpKeyword(const QString& keyword) override;
  // The help viewer opened from a modal dialog stays usable while the dialog is open.
  void ShowHelpOver(QDialog* dialog, int topic) override;
  void ShowHelpKeywordOver(QDialog* dialog, const QString& keyword);
  // The help viewer at a row of the help requests, asked for from `from`.
  void ShowHelpRequest(const THelpRequest& row, const QString& anchor, QWidget* from);
  // The display windows of the display area.
  TDisplayWindows& Displays() override { return *displays_; }
  // Start-up: the display windows of the automatic setup (none stored: one default window).
  void CreateDisplaysFromSetup();
  QMenu* WindowMenu() const { return mWindow_; }
  // The Window menu's list of display windows.
  TWindowList* WindowList() const { return windowList_; }
  QMenu* FileMenu() const { return mFile_; }
  QMenu* ViewMenu() const { return mView_; }
  // The "Co&mmun" menu and its serial-line items.
  QMenu* CommunMenu() const { return mCommun_; }
  TCommunMenu* CommunItems() const { return communMenu_; }
  // Tools: file transfer with the unit and its server commands.
  QMenu* ToolsMenu() const { return mTools_; }
  TXferCmds& Xfer() { return *xfer_; }
  // Arranging, pictures, the frame window's colour and the about box.
  TWindowCmds& WindowCmds() { return *winCmds_; }
  // A profile made at this start: until the first run an empty hint panel reads
  // kFreshProfileHint.
  void SetFreshProfile(bool fresh);
  // Brings the window to the front (a second start of the program asks for it).
  void BringToFront();

  // The frame window's commands.
  void miSweepClick() override;
  void QvStop1Click() override;
  void miFinishSwpClick() override;
  bool IsSweeping() const override;
  void SaveAsTxt();

  // TFrameCommands
  QMainWindow& FrameWindow() override { return *this; }
  // TFrameShell
  QWidget* Parent() override { return this; }
  void RunPause() override { miSweepClick(); }
  // Run/Pause without the hold of a measured scenario play (the play's own use).
  void RunPauseNow() override;
  bool SingleShotDown() const override;
  void SetSingleShotDown(bool down) override;
  QChar Separator() const override { return saveState_.SeparForTxtSave; }
  void RedrawDisplays() override;
  void Minimise() override { showMinimized(); }
  bool Aborting() const override { return AbortPgm; }

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
  QLabel* HintPanel() const { return panHint_; }
  QProgressBar* SamplesBar() const { return pbSamples; }
  TSaveAsTxtState& SaveState() override { return saveState_; }

  // TCycleHost
  void SetRunHint(const QString& hint) override;
  void SetRunButtonDown(bool down) override;
  // The single-shot button enabled and pressed.
  bool SingleShotArmed() const override;
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
  // The hint panel's text (an empty one replaced by the fresh profile's hint).
  void ShowHint(const QString& text);
  // Tuner > View and the tuner button: the tuner picture shown or hidden.
  void ToggleTunerView();
  // Tuner > Scenario: the scenario window shown or hidden.
  void ToggleScenario();
  // A tool window's state and its showing or hiding, by its section.
  bool ToolWindowShown(const char* section) const;
  void ToggleToolWindow(const char* section);
  void CreateToolWindows();
  void RegisterSetupHooks();
  void BuildViewMenu();
  void RefreshViewItems();
  void ViewMenuOpening();
  // After the close: windows destroyed in their order, services ended, the event loop left.
  void ShutDownProgram();
  // Carries out the exit once the answer is known; false when the program keeps running.
  bool FinishClose(TExitChoice choice);
  static void SetHint(QAction* a, const QString& hint);
  // The parameter items of the Quzar and Tuner menus and the signal tool bar's buttons.
  void BuildParamItems();
  void BuildSignalBar();
  void ApplySignalBar(const TSignalBarState& s);
  class ParamPort;
  // The Tools menu and Quzar > More's server items.
  void BuildToolsItems();
  class XferPort;

  std::unique_ptr<TProgram> program_;
  TSimCore* core_ = nullptr;
  std::unique_ptr<TTransformCmds> transformCmds_;
  std::unique_ptr<TParamPort> paramPort_;
  std::unique_ptr<TXferPort> xferPort_;
  std::unique_ptr<TXferCmds> xfer_;
  QMenu* mTools_ = nullptr;
  QMenu* mQuzarMore_ = nullptr;  // Quzar > More
  QAction* sbCw_ = nullptr;
  QAction* sbRect_ = nullptr;
  QAction* sbPuls_ = nullptr;
  QAction* sbSamples_ = nullptr;
  QAction* sbOneShot_ = nullptr;
  QAction* sbPre_ = nullptr;
  QAction* sbTrgLvl_ = nullptr;
  QAction* sbFreeRun_ = nullptr;
  QAction* sbSamplTime_ = nullptr;
  QAction* sbCount_ = nullptr;
  QAction* sbFsampl_ = nullptr;
  QAction* sbFreqOnly_ = nullptr;
  TSetupFiles* setup_ = nullptr;
  TFrameSetup frame_;
  TSaveAsTxtState saveState_;
  bool closeAfterRun_ = false;
  bool closing_ = false;
  TExitChoice pendingExit_ = TExitChoice::KeepRunning;
  QString lastBackup_;

  THelp* help_ = nullptr;
  TDdeMenu* ddeMenu_ = nullptr;
  TCommunMenu* communMenu_ = nullptr;
  std::unique_ptr<TResultsPort> resultsPort_;
  // What the tool windows' registrations get (made once the display windows exist).
  std::unique_ptr<TWindowContext> windowCtx_;
  TDisplayWindows* displays_ = nullptr;
  std::unique_ptr<TDisplayPort> displayPort_;
  TWindowCmds* winCmds_ = nullptr;
  QMenu* mWindow_ = nullptr;
  TWindowList* windowList_ = nullptr;
  TDdeItem* dde_ = nullptr;
  bool shutDown_ = false;

  QMenu* mFile_ = nullptr;
  QMenu* mView_ = nullptr;
  QMenu* mCommun_ = nullptr;
  QAction* viewSep_ = nullptr;
  QAction* aViewStd_ = nullptr;
  QAction* aViewSig_ = nullptr;

  QMdiArea* mdi_ = nullptr;
  QMenu* mQuzar_ = nullptr;
  QMenu* mTransform_ = nullptr;
  QMenu* mTuner_ = nullptr;
  QAction* aTunView_ = nullptr;      // Tuner > View
  QAction* aTunScenario_ = nullptr;  // Tuner > Scenario
  QAction* tbTuner_ = nullptr;       // the main tool bar's tuner button
  QAction* tbSys_ = nullptr;         // the main tool bar's system information button
  QAction* aRun_ = nullptr;
  QAction* aStop_ = nullptr;
  QAction* aFinish_ = nullptr;
  QAction* aSaveRes_ = nullptr;
  QAction* aPlaneExt_ = nullptr;
  QAction* aTrLoad_ = nullptr;
  QAction* aTrActive_ = nullptr;
  QAction* aTrClear_ = nullptr;
  QAction* aTrApply_ = nullptr;
  QAction* aTrRemove_ = nullptr;
  QAction* tbRun_ = nullptr;
  QAction* tbStop_ = nullptr;
  QAction* tbExt_ = nullptr;
  QAction* tbSave_ = nullptr;
  QToolBar* tbMain_ = nullptr;
  QToolBar* tbSignal_ = nullptr;
  QLabel* panMsg_ = nullptr;
  QLabel* panTout_ = nullptr;
  QLabel* panHint_ = nullptr;
  bool freshHint_ = false;  // a fresh profile before its first run
  QProgressBar* pbSamples = nullptr;
  TCoalescedRefresh* statusRefresh_ = nullptr;
  int32_t progressPos_ = 0;
  // The remote control (gone before the program it reaches).
  bool askingExit_ = false;
  std::unique_ptr<TForm1Port> controlPort_;
  std::unique_ptr<TControl> control_;
  std::unique_ptr<TControlBus> controlBus_;
};

}  // namespace qz
