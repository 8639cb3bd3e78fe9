#include "app/ui/form1.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/caption.h"
#include "app/control.h"
#include "app/controlbus.h"
#include "app/deferredcalls.h"
#include "app/displayport.h"
#include "app/helppages.h"
#include "app/paramcmds.h"
#include "app/program.h"
#include "app/transformcmds.h"
#include "app/ui/chartfile.h"
#include "app/ui/communmenu.h"
#include "app/ui/ddemenu.h"
#include "app/ui/form1control.h"
#include "app/ui/help.h"
#include "app/ui/helpkey.h"
#include "app/ui/helprequests.h"
#include "app/ui/menurules.h"
#include "app/ui/resultsport.h"
#include "app/ui/toolicons.h"
#include "app/ui/windowcmds.h"
#include "app/ui/windows/windowcontext.h"
#include "app/xfercmds.h"
#include "comm/portlist.h"
#include "core/resultstext.h"
#include "display/ui/displaywindows.h"
#include "sim/mdlentries.h"
#include "tuner/scestp.h"
#include "tuner/sysinfotext.h"
#include "tuner/tpicstp.h"
#include "util/asker.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/hints.h"
#include "util/inifile.h"
#include "util/pumpevents.h"
#include "util/ui/coalesce.h"
#include "util/ui/panels.h"
#include "util/ui/qcolor.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"
#include "version.h"

namespace qz {

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  MarkHelpRow(this, QString::fromLatin1(kFormSection));
  program_ = std::make_unique<TProgram>(false);
  core_ = &program_->Core;
  setup_ = &program_->Setup;
  dde_ = &program_->Dde;
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  transformCmds_ = std::make_unique<TTransformCmds>(core_->Qv.BiTr, core_->Qv.PlaneExt);
  // The windows that show the plane extension or the transform follow them by themselves.
  TProgramEvents* ev = &program_->Events;
  transformCmds_->OnPlaneExtChanged = [ev] { emit ev->PlaneExtChanged(); };
  transformCmds_->OnTransformChanged = [ev] { emit ev->TransformChanged(); };
  connect(ev, &TProgramEvents::PlaneExtChanged, this, [this] { RefreshPlaneExtHint(); });
  connect(ev, &TProgramEvents::ScenarioShown, this, [this](bool shown) {
    if (aTunScenario_) aTunScenario_->setChecked(shown);
  });

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MdiArea"));
  mdi_->setBackground(ToQColor(kFrameColor, mdi_->palette()));
  setCentralWidget(mdi_);
  displays_ = new TDisplayWindows(mdi_, core_->Qv, this);
  displays_->RunPause = [this] { miSweepClick(); };
  displays_->Running = [this] { return IsSweeping(); };
  displays_->BilinActive = [this] { return core_->Qv.BiTr.GetActive(); };
  displays_->OnCreated = [this](TGDisplForm& w) {
    MarkHelpRow(&w, QString::fromLatin1(kHelpOriginDisplay));
    w.OnLabelsHelp = [this] { ShowHelpKeyword(QString::fromLatin1(kLabelsHelpKeyword)); };
  };
  displayPort_ = std::make_unique<TDisplayPort>(displays_->Ops());
  connect(ev, &TProgramEvents::TransformChanged, this, [this] { displays_->RefreshCaptions(); });
  help_ = new THelp(program_->Windows, this);
  resultsPort_ = std::make_unique<TResultsPort>();
  windowCtx_ = std::make_unique<TWindowContext>(TWindowContext{
      *program_, *core_, program_->Windows, program_->Events, *displays_, *this, *resultsPort_});
  winCmds_ = new TWindowCmds(*this);
  BuildMenus();
  BuildToolBars();
  BuildStatusBar();
  BuildSignalBar();
  // Until its setup places it, the window opens with its title bar and borders inside the
  // screen's available area.
  PlaceInsideAvailable(*this, Screen(), kAssumedFrameMargins);
  SetMainCaption();

  // The automatic setup is open for the whole run; the frame window reads its section at once.
  core_->OpenAutoSetup();
  const QSize scr = Screen().Size();
  FrameToSetup();
  frame_.PreTrig = kPreTrigDefault;
  ReadFrameSetup(core_->AutoIni(), frame_, scr.width(), scr.height());
  dde_->ReadStp(core_->AutoIni(), QString::fromLatin1(kFormSection));
  ApplyFrameSetup();

  TCyclePorts ports = core_->Cycle.Ports();
  ports.host = this;
  ports.status = this;
  core_->Cycle.SetPorts(ports);
  core_->Cycle.AddRunEnable(this);

  qz::RegisterAllToolWindows(*windowCtx_);
  BuildViewMenu();
  CreateToolWindows();
  RegisterSetupHooks();

  // Other programs of the user reach the operator's commands on the session bus (when the
  // program holds its name there).
  controlPort_ = std::make_unique<TForm1Port>(*this);
  control_ = std::make_unique<TControl>(*controlPort_);
  // A run a call asks for starts from the event loop once the call has been answered.
  control_->Defer = (new TDeferredCalls(this))->Deferrer();
  controlBus_ = std::make_unique<TControlBus>(*control_);
  controlPort_->OnRunEnded = [this](const QString& reason) { control_->RunEnded(reason); };
  controlPort_->OnRunStarted = [this](uint32_t run, uint64_t firstFrame) {
    control_->RunStarted(run, firstFrame);
  };
  control_->ChartSaver = [this](const QString& type, const QString& path, uint32_t width,
                                uint32_t height) {
    return SaveSweepChart(core_->Qv, type, path, width, height);
  };
  if (program_->Bus.Registered()) controlBus_->Register();
}

TForm1::~TForm1() {
  controlBus_.reset();
  control_.reset();
  controlPort_.reset();
  core_->Cycle.RemoveRunEnable(this);
  // The tool windows go (in their order) before the objects they show.
  ShutDownProgram();
}

TToolWindows& TForm1::ToolWindows() { return program_->Windows; }

void TForm1::CreateToolWindows() {
  program_->Windows.CreateAll(TCreatePoint::FrameStart, &core_->AutoIni(), AbortPgm);
  TCyclePorts ports = core_->Cycle.Ports();
  if (resultsPort_->Any()) ports.results = resultsPort_.get();
  ports.displays = displayPort_.get();
  core_->Cycle.SetPorts(ports);
}

void TForm1::CreateDisplaysFromSetup() {
  if (AbortPgm) return;
  displays_->DisplaysFromSetup(core_->AutoIni());
}

void TForm1::RegisterSetupHooks() {
  TSetupFiles& s = *setup_;
  s.WriteFrame = [this](IniFile& ini) {
    FrameToSetup();
    WriteFrameSetup(ini, frame_, core_->Cmd.RunStates(), core_->Cmd.SendStates());
    dde_->WriteStp(ini, QString::fromLatin1(kFormSection));
  };
  s.CloseDisplays = [this] { displays_->CloseAll(); };
  s.UpdateSignalBar = [this] {
    core_->Params.UpdateSignalBar();
    if (sbFsampl_) sbFsampl_->setText(core_->Params.SamplFreqCaption());
  };
  s.ResetDisplayDefaults = [this] { displays_->ResetDisplayDefaults(); };
  s.WriteDisplays = [this](IniFile& ini) { displays_->WriteDisplays(ini); };
  s.DisplaysFromSetup = [this](const IniFile& ini) { displays_->DisplaysFromSetup(ini); };
  s.ReadFrame = [this](const IniFile& ini) {
    const QSize scr = Screen().Size();
    FrameToSetup();
    ReadFrameSetup(ini, frame_, scr.width(), scr.height());
    dde_->ReadStp(ini, QString::fromLatin1(kFormSection));
    ApplyFrameSetup();
  };
}

void TForm1::ShutDownProgram() {
  if (shutDown_) return;
  shutDown_ = true;
  // Nothing the cycle could reach may point at a window that is about to go.
  TCyclePorts ports = core_->Cycle.Ports();
  ports.results = nullptr;
  ports.displays = nullptr;
  core_->Cycle.SetPorts(ports);
  displayPort_.reset();
  core_->Params.SetPort(nullptr);
  if (controlBus_) controlBus_->Unregister();
  program_->ShutDown();
  core_->Cmd.SetCounterLamp(nullptr);
}

void TForm1::FrameToSetup() {
  // The outer frame's position and the client size: the measure every window place keeps.
  const TWindowPlace p = CurrentPlace(*this);
  frame_.pos = WindowPos{p.left, p.top, p.width, p.height};
  frame_.SaveAsTxtPath = saveState_.lastPath;
  frame_.SeparForTxtSave = saveState_.SeparForTxtSave;
  frame_.PreTrig = core_->Cycle.n_pretrg;
  frame_.SuspOnLow = core_->Cycle.SuspOnLow;
  frame_.miFinishSwp = core_->Cycle.FinishSweep();
  if (sbOneShot_) frame_.sbOneShot = sbOneShot_->isChecked();
}

void TForm1::ApplyFrameSetup() {
  const WindowPos& p = frame_.pos;
  ApplyPlace(*this, TWindowPlace{p.left, p.top, p.width, p.height, isVisible()},
             kFramePlaceRule.keys);
  mdi_->setBackground(ToQColor(frame_.BkgColor, mdi_->palette()));
  saveState_.lastPath = frame_.SaveAsTxtPath;
  saveState_.SeparForTxtSave = frame_.SeparForTxtSave;
  core_->Cycle.n_pretrg = frame_.PreTrig;
  core_->Cycle.SuspOnLow = frame_.SuspOnLow;
  core_->Cycle.SetFinishSweep(frame_.miFinishSwp);
  if (aFinish_) aFinish_->setChecked(frame_.miFinishSwp);
  if (sbOneShot_) sbOneShot_->setChecked(frame_.sbOneShot);
}

bool TForm1::ToolWindowShown(const char* section) const {
  const TToolWindowEntry* e = program_->Windows.Find(QString::fromLatin1(section));
  return e && e->shown && e->shown();
}

void TForm1::ToggleToolWindow(const char* section) {
  const TToolWindowEntry* e = program_->Windows.Find(QString::fromLatin1(section));
  if (e && e->shown && e->show) e->show(!e->shown());
}

void TForm1::ToggleTunerView() {
  if (!program_->Windows.Created(QString::fromLatin1(kTpicSection))) return;
  ToggleToolWindow(kTpicSection);
  aTunView_->setChecked(ToolWindowShown(kTpicSection));
}

void TForm1::ToggleScenario() {
  if (!program_->Windows.Created(QString::fromLatin1(kScenarioSection))) return;
  emit program_->Events.ScenarioRequested(!ToolWindowShown(kScenarioSection));
  aTunScenario_->setChecked(ToolWindowShown(kScenarioSection));
}

void TForm1::SetMainCaption() { setWindowTitle(MainCaption(QStringLiteral(QZ_VERSION))); }

bool TForm1::StartUnit(QString& messages) {
  const QSize sz = Screen().Size();
  const bool ok = program_->Start(messages, sz.width(), sz.height());
  RefreshPlaneExtHint();
  // Told whether the start succeeded or not: the windows show the unit's new state.
  emit program_->Events.UnitStarted();
  if (!ok) {
    AbortPgm = true;
    return false;
  }
  setup_->Comment = core_->StartComment;
  // The Tuner menu and the tuner button when the unit has a tuner.
  const bool tuner = core_->Qv.FixPar.IsTuner != 0;
  mTuner_->menuAction()->setEnabled(tuner);
  tbTuner_->setVisible(tuner);
  WriteIni = true;
  SaveQvStpEnabled = true;
  return true;
}

bool TForm1::event(QEvent* e) {
  // Every control's long hint goes to the hint panel, so the message and time-out panels stay
  // readable while the pointer moves.
  if (e->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

void TForm1::ShowHint(const QString& text) {
  qz::SetText(panHint_,
              text.isEmpty() && freshHint_ ? QString::fromLatin1(kFreshProfileHint) : text);
}

void TForm1::SetFreshProfile(bool fresh) {
  freshHint_ = fresh;
  if (panHint_->text().isEmpty() || panHint_->text() == QString::fromLatin1(kFreshProfileHint))
    ShowHint(QString());
}

void TForm1::RefreshPlaneExtHint() { SetHint(tbExt_, transformCmds_->PlaneExtButtonHint()); }

// ---- commands -------------------------------------------------------------------------------

void TForm1::miSweepClick() {
  // A measured scenario play owns the unit until it ends.
  if (program_->Windows.HoldsUnit()) return;
  RunPauseNow();
}

void TForm1::RunPauseNow() {
  core_->Cycle.miSweepClick();
  // A close asked for during the run is carried out now that the loop is off the stack.
  if (!IsSweeping() && closeAfterRun_) {
    closeAfterRun_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

void TForm1::QvStop1Click() { core_->Cycle.QvStop1Click(); }

bool TForm1::SingleShotDown() const {
  return sbOneShot_ ? sbOneShot_->isChecked() : frame_.sbOneShot;
}

void TForm1::SetSingleShotDown(bool down) {
  frame_.sbOneShot = down;
  if (sbOneShot_) sbOneShot_->setChecked(down);
}

void TForm1::RedrawDisplays() { displays_->RedrawAll(); }

void TForm1::miFinishSwpClick() {
  core_->Cycle.miFinishSwpClick();
  aFinish_->setChecked(core_->Cycle.FinishSweep());
}

bool TForm1::IsSweeping() const { return core_->Cycle.IsSweeping(); }

void TForm1::SaveAsTxt() {
  saveState_.preTrig = core_->Cycle.n_pretrg;
  qz::SaveAsTxt(core_->Qv, core_->Descr, saveState_, Asker());
}

void TForm1::closeEvent(QCloseEvent* e) {
  if (closing_) {
    QMainWindow::closeEvent(e);
    return;
  }
  TExitChoice choice = pendingExit_;
  if (choice == TExitChoice::KeepRunning) {
    // The automatic setup loses its read-only mark before anything is asked or written.
    if (!AbortPgm) ClearReadOnly(core_->AutoIni().FileName());
    // While the question is open the remote control answers "busy".
    askingExit_ = true;
    choice = AskExit(Asker(), AbortPgm, MustTerminate, WriteIni, QString::fromLatin1(kAppTitle));
    askingExit_ = false;
  }
  if (choice == TExitChoice::KeepRunning) {
    // No (or Escape): the program and a running measurement go on.
    WriteIni = true;
    e->ignore();
    return;
  }
  // Work under way in a window (a scenario play) ends first; the window closes once it has.
  if (program_->Windows.EndBeforeClose([this] { QTimer::singleShot(0, this, &QWidget::close); })) {
    pendingExit_ = choice;
    e->ignore();
    return;
  }
  if (IsSweeping()) {
    // Nothing may be destroyed while the loop is on the stack: the run ends after its pass and
    // the window closes afterwards with the answer already given.
    pendingExit_ = choice;
    core_->Cycle.RequestClose();
    closeAfterRun_ = true;
    e->ignore();
    return;
  }
  pendingExit_ = TExitChoice::KeepRunning;
  if (!FinishClose(choice)) {
    e->ignore();
    return;
  }
  closing_ = true;
  QMainWindow::closeEvent(e);
  // The setup is written: the program ends. Its windows go without their close actions, the
  // lock and the bus name are given back and the event loop is left.
  ShutDownProgram();
  if (OnExit) OnExit();
  // Only a running loop is left: a quit asked with none running would stay behind in the thread
  // and end every later loop (a dialog's, a wait's) at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

bool TForm1::FinishClose(TExitChoice choice) {
  if (AbortPgm) return true;
  QString err;
  if (choice == TExitChoice::CloseSave) {
    if (!setup_->WriteAutoSetup(err)) {
      // The setup would be lost: the operator decides whether to end anyway.
      if (!Asker().Confirm(err + QStringLiteral("\r\n\r\nTerminate without saving setup?"))) {
        WriteIni = true;
        return false;
      }
      // Ending without the automatic setup is an exit without saving: the dated backup keeps
      // the operator's setup.
      choice = TExitChoice::CloseNoSave;
    }
  }
  if (choice != TExitChoice::CloseSave) {
    QString path;
    if (setup_->WriteBackup(QDateTime::currentDateTime(), path, err))
      lastBackup_ = path;
    else
      Asker().ShowError(err);
  }
  program_->EndLog();
  return true;
}

// ---- File menu ------------------------------------------------------------------------------

void TForm1::SaveSetupClick() {
  TAsker& a = Asker();
  const QString start = frame_.UserStpPath.isEmpty()
                            ? InUserFolder(QString::fromLatin1(kDefaultUserSetup))
                            : frame_.UserStpPath;
  const QString path =
      a.SaveFileName(QString::fromLatin1(kSaveSetupTitle), start, QString::fromLatin1(kSetupFilter),
                     QString::fromLatin1(kSetupExt), true);
  if (path.isEmpty()) return;
  frame_.UserStpPath = path;
  // The old file stays until the new one is complete; a read-only one only with consent.
  if (IsReadOnlyFile(path)) {
    if (!a.Confirm(path + QString::fromLatin1(kReadOnlyDeleteQuestion))) return;
    if (!ClearReadOnly(path)) {
      a.ShowError(QStringLiteral("Setup file \"%1\" cannot be written").arg(path));
      return;
    }
  }
  const TInputResult c = a.InputText(QString::fromLatin1(kCommentTitle),
                                     QString::fromLatin1(kCommentPrompt), setup_->Comment);
  if (!c.ok) return;
  QString err;
  if (!setup_->SaveSetupAs(path, c.text, err)) a.ShowError(err);
}

bool TForm1::LoadSetupFile(const QString& path, QString& comment, QString& error) {
  error.clear();
  if (!program_->LoadSetupFile(path, comment, error)) return false;
  RefreshPlaneExtHint();
  emit program_->Events.SetupLoaded();
  return true;
}

void TForm1::LoadSetupClick() {
  TAsker& a = Asker();
  const QString start = frame_.UserStpPath.isEmpty()
                            ? InUserFolder(QString::fromLatin1(kDefaultUserSetup))
                            : frame_.UserStpPath;
  const QString path = a.OpenFileName(QString::fromLatin1(kLoadSetupTitle), start,
                                      QString::fromLatin1(kSetupFilter));
  if (path.isEmpty()) return;
  QString comment, err;
  if (!LoadSetupFile(path, comment, err)) {
    a.ShowError(err);
    return;
  }
  frame_.UserStpPath = path;
  if (!comment.isEmpty()) a.ShowInfo(QString::fromLatin1(kSetupInfoPrefix) + comment);
}

void TForm1::OpenUserFolderClick() {
  const QString folder = UserFolder();
  if (!OpenUrl || !OpenUrl(QUrl::fromLocalFile(folder)))
    Asker().ShowError(QStringLiteral("No file browser could open the folder \"%1\".").arg(folder));
}

void TForm1::ExitClick() {
  WriteIni = true;
  close();
}

void TForm1::ExitNoSetupClick() {
  WriteIni = false;
  close();
}

void TForm1::CloseWithAnswer(bool saveSetup) {
  // An exit already under way (a run ending before the close) keeps its answer.
  if (pendingExit_ == TExitChoice::KeepRunning)
    pendingExit_ = saveSetup ? TExitChoice::CloseSave : TExitChoice::CloseNoSave;
  close();
}

// ---- help -----------------------------------------------------------------------------------

void TForm1::ShowHelp(int topic) { help_->ShowTopic(topic); }

void TForm1::ShowHelpRequest(const THelpRequest& row, const QString& anchor, QWidget* from) {
  help_->ShowRequest(row, anchor, from);
}

void TForm1::ShowHelpKeyword(const QString& keyword) { help_->ShowKeyword(keyword); }

void TForm1::ShowHelpOver(QDialog* dialog, int topic) { help_->ShowTopicOver(dialog, topic); }

void TForm1::ShowHelpKeywordOver(QDialog* dialog, const QString& keyword) {
  help_->ShowKeywordOver(dialog, keyword);
}

void TForm1::BringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

// ---- cycle host and status bar --------------------------------------------------------------

void TForm1::SetRunHint(const QString& hint) {
  SetHint(aRun_, hint);
  SetHint(tbRun_, hint + QChar('|'));
}

void TForm1::SetRunButtonDown(bool down) { tbRun_->setChecked(down); }

void TForm1::Pump() { PumpEvents(); }

// Status texts change a few times per run and are set only when they differ; the progress of a
// series of samples moves with every frame and is shown at the next refresh tick.
void TForm1::SetMessage(const QString& text) { qz::SetText(panMsg_, text); }

void TForm1::SetTimeoutText(const QString& text) { qz::SetText(panTout_, text); }

void TForm1::SetProgressMax(int32_t max) { pbSamples->setMaximum(max > 0 ? max : 1); }

void TForm1::SetProgress(int32_t pos) {
  progressPos_ = pos;
  statusRefresh_->Request();
}

void TForm1::SetProgressRed(bool red) {
  // Red: a sample of the series was lost. The style is set only when the colour changes.
  if (pbSamples->property("red").toBool() == red) return;
  pbSamples->setProperty("red", red);
  pbSamples->setStyleSheet(red ? QStringLiteral("QProgressBar::chunk { background: red; }")
                               : QString());
}

void TForm1::EnableForRun(bool enabled) {
  if (!enabled) {
    // A run starts: the first-start hint has done its work, and no hint outlives the start.
    freshHint_ = false;
    ShowHint(QString());
  }
  // Each control says itself whether it stays usable during a run.
  qz::EnableForRun(menuBar()->actions(), enabled);
  qz::EnableForRun(tbMain_, enabled);
  qz::EnableForRun(tbSignal_, enabled);
  if (enabled) {
    mTuner_->menuAction()->setEnabled(core_->Qv.FixPar.IsTuner != 0);
    // The signal tool bar and "Pts" follow the waveform again, not the run.
    core_->Params.UpdateSignalBar();
    if (auto* pts = findChild<QAction*>(QStringLiteral("tbPts")))
      pts->setEnabled(core_->Params.BarState().pointsEnabled);
  }
  if (displays_) displays_->EnableForRun(enabled);
}

}  // namespace qz
