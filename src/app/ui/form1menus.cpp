// The frame window's menus, tool bars and status bar, and the View menu's tool-window items.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/cycle.h"
#include "app/helppages.h"
#include "app/paramcmds.h"
#include "app/program.h"
#include "app/transformcmds.h"
#include "app/ui/communmenu.h"
#include "app/ui/ddemenu.h"
#include "app/ui/form1.h"
#include "app/ui/helpkey.h"
#include "app/ui/helprequests.h"
#include "app/ui/menurules.h"
#include "app/ui/toolicons.h"
#include "app/ui/windowcmds.h"
#include "app/ui/windowlist.h"
#include "comm/portlist.h"
#include "core/resultstext.h"
#include "display/ui/displaywindows.h"
#include "sim/mdlentries.h"
#include "tuner/scestp.h"
#include "tuner/sysinfotext.h"
#include "tuner/tpicstp.h"
#include "util/asker.h"
#include "util/hints.h"
#include "util/ui/coalesce.h"

namespace qz {

namespace {
// Widths of the status panels.
constexpr int kMsgPanelWidth = 84;
constexpr int kToutPanelWidth = 50;
}  // namespace

void TForm1::BuildMenus() {
  QMenuBar* mb = menuBar();
  auto top = [&](const QString& title, const QString& hint) {
    QMenu* m = mb->addMenu(title);
    m->menuAction()->setStatusTip(hint);
    return m;
  };
  mFile_ = top(QStringLiteral("&File"), QString());
  QAction* aSaveStp = mFile_->addAction(QStringLiteral("S&ave Setup"));
  aSaveStp->setShortcut(QKeySequence(Qt::Key_F2));
  aSaveStp->setObjectName(QStringLiteral("miSaveSetup"));
  connect(aSaveStp, &QAction::triggered, this, [this] { SaveSetupClick(); });
  QAction* aLoadStp = mFile_->addAction(QStringLiteral("L&oad Setup"));
  aLoadStp->setShortcut(QKeySequence(Qt::Key_F3));
  aLoadStp->setObjectName(QStringLiteral("miLoadSetup"));
  connect(aLoadStp, &QAction::triggered, this, [this] { LoadSetupClick(); });
  QAction* aUserDir = mFile_->addAction(QStringLiteral("Open User Folder"));
  aUserDir->setObjectName(QStringLiteral("miOpenUserFolder"));
  connect(aUserDir, &QAction::triggered, this, [this] { OpenUserFolderClick(); });
  winCmds_->AddFileItems(mFile_);
  mFile_->addSeparator();
  QAction* aExit = mFile_->addAction(QStringLiteral("E&xit"));
  aExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
  aExit->setObjectName(QStringLiteral("miExit"));
  connect(aExit, &QAction::triggered, this, [this] { ExitClick(); });
  QAction* aExitNo = mFile_->addAction(QStringLiteral("Exit (no setup)"));
  aExitNo->setShortcut(QKeySequence(Qt::ALT | Qt::Key_A));
  aExitNo->setObjectName(QStringLiteral("miExitNoSetup"));
  connect(aExitNo, &QAction::triggered, this, [this] { ExitNoSetupClick(); });

  mQuzar_ = top(QStringLiteral("&Quzar"), QStringLiteral("Quzar system functions"));
  // The run can be paused, stopped and finished from within the run.
  SetStaysEnabledInRun(mQuzar_->menuAction());
  aRun_ = mQuzar_->addAction(QStringLiteral("&Run/Pause"));
  SetStaysEnabledInRun(aRun_);
  aRun_->setShortcut(QKeySequence(Qt::Key_F9));
  SetHint(aRun_, QString::fromLatin1(kHintStartQuzar));
  connect(aRun_, &QAction::triggered, this, [this] { miSweepClick(); });
  aStop_ = mQuzar_->addAction(QStringLiteral("St&op Quzar"));
  SetHint(aStop_, QStringLiteral("Stop Quzar to standstill"));
  connect(aStop_, &QAction::triggered, this, [this] { QvStop1Click(); });
  SetStaysEnabledInRun(aStop_);
  aFinish_ = mQuzar_->addAction(QStringLiteral("Fi&nish Sweep"));
  aFinish_->setCheckable(true);
  SetStaysEnabledInRun(aFinish_);
  connect(aFinish_, &QAction::triggered, this, [this] { miFinishSwpClick(); });
  mQuzar_->addSeparator();
  aSaveRes_ = mQuzar_->addAction(QStringLiteral("Save &Results"));
  aSaveRes_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  SetHint(aSaveRes_, QStringLiteral("Save results"));
  connect(aSaveRes_, &QAction::triggered, this, [this] { SaveAsTxt(); });
  QAction* exportCsv = mQuzar_->addAction(QString::fromLatin1(kExportCsvCaption));
  SetHint(exportCsv, QString::fromLatin1(kExportCsvHint));
  connect(exportCsv, &QAction::triggered, this,
          [this] { qz::ExportResultsCsv(core_->Qv, core_->Descr, saveState_, Asker()); });

  mTransform_ = mQuzar_->addMenu(QString::fromLatin1(kTransformCaption));
  mTransform_->menuAction()->setStatusTip(QString::fromLatin1(kTransformHint));
  aTrLoad_ = mTransform_->addAction(QStringLiteral("Load"));
  SetHint(aTrLoad_, QString::fromLatin1(kTransformLoadHint));
  connect(aTrLoad_, &QAction::triggered, this, [this] { transformCmds_->Load(); });
  aTrActive_ = mTransform_->addAction(QStringLiteral("Active (NO)"));
  aTrActive_->setCheckable(true);
  SetHint(aTrActive_, QString::fromLatin1(kTransformActiveHint));
  connect(aTrActive_, &QAction::triggered, this, [this] { transformCmds_->ToggleActive(); });
  // The direction of the transform: one of the two is chosen.
  auto* trDir = new QActionGroup(mTransform_);
  aTrApply_ = mTransform_->addAction(QString::fromLatin1(kTransformApplyCaption));
  aTrRemove_ = mTransform_->addAction(QString::fromLatin1(kTransformRemoveCaption));
  SetHint(aTrApply_, QString::fromLatin1(kTransformApplyHint));
  SetHint(aTrRemove_, QString::fromLatin1(kTransformRemoveHint));
  for (QAction* a : {aTrApply_, aTrRemove_}) {
    a->setCheckable(true);
    trDir->addAction(a);
  }
  connect(aTrApply_, &QAction::triggered, this,
          [this] { transformCmds_->SetDirection(TBilinDir::Apply); });
  connect(aTrRemove_, &QAction::triggered, this,
          [this] { transformCmds_->SetDirection(TBilinDir::Remove); });
  aTrClear_ = mTransform_->addAction(QStringLiteral("Clear"));
  SetHint(aTrClear_, QString::fromLatin1(kTransformClearHint));
  connect(aTrClear_, &QAction::triggered, this, [this] { transformCmds_->Clear(); });
  connect(mTransform_, &QMenu::aboutToShow, this, [this] { TransformMenuOpening(); });
  TransformMenuOpening();

  aPlaneExt_ = mQuzar_->addAction(QString::fromLatin1(kPlaneExtCaption));
  aPlaneExt_->setShortcut(QKeySequence(QString::fromLatin1(kPlaneExtShortcut)));
  SetHint(aPlaneExt_, QString::fromLatin1(kPlaneExtHint));
  connect(aPlaneExt_, &QAction::triggered, this, [this] { transformCmds_->PlaneExt(); });

  mTuner_ = top(QStringLiteral("T&uner"), QStringLiteral("Tuner control functions"));
  aTunView_ = mTuner_->addAction(QStringLiteral("&View"));
  aTunView_->setObjectName(QStringLiteral("miTunView"));
  aTunView_->setCheckable(true);
  SetStaysEnabledInRun(aTunView_);
  connect(aTunView_, &QAction::triggered, this, [this] { ToggleTunerView(); });
  aTunScenario_ = mTuner_->addAction(QStringLiteral("&Scenario"));
  aTunScenario_->setObjectName(QStringLiteral("miTunScenario"));
  aTunScenario_->setCheckable(true);
  SetStaysEnabledInRun(aTunScenario_);
  connect(aTunScenario_, &QAction::triggered, this, [this] { ToggleScenario(); });
  connect(mTuner_, &QMenu::aboutToShow, this, [this] {
    aTunView_->setChecked(ToolWindowShown(kTpicSection));
    aTunScenario_->setChecked(ToolWindowShown(kScenarioSection));
  });
  BuildParamItems();
  mCommun_ = top(QStringLiteral("Co&mmun"), QString());
  communMenu_ = new TCommunMenu(mCommun_, core_->Port, ProgramPortLists(), this);
  communMenu_->OnHelp = [this](QDialog* d, const QString& k) { ShowHelpKeywordOver(d, k); };
  mCommun_->addSeparator();
  ddeMenu_ = new TDdeMenu(mCommun_, *dde_, Asker());
  mTools_ = top(QStringLiteral("&Tools"), QString());
  BuildToolsItems();
  mView_ = top(QStringLiteral("&View"), QStringLiteral("Show/Hide program components"));
  connect(mView_, &QMenu::aboutToShow, this, [this] { ViewMenuOpening(); });
  mWindow_ = top(QStringLiteral("&Window"), QStringLiteral("Window functions"));
  auto win = [this](const QString& text, const QString& hint, const QString& name, auto slot,
                    QKeySequence key = {}) {
    QAction* a = mWindow_->addAction(text);
    a->setObjectName(name);
    a->setStatusTip(hint);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  win(QStringLiteral("&New Display"), QStringLiteral("Create new Display Window"),
      QStringLiteral("miNewDisplay"), [this] { displays_->NewDisplay(); });
  winCmds_->AddWindowItems(mWindow_);
  win(
      QStringLiteral("&Impress All"), QStringLiteral("Redraw traces on all Display Windows"),
      QStringLiteral("miImpressAll"), [this] { displays_->ImpressAll(); },
      QKeySequence(Qt::Key_F10));
  win(
      QStringLiteral("&Blank All"), QStringLiteral("Clear all Display Windows"),
      QStringLiteral("miBlankAll"), [this] { displays_->BlankAll(); }, QKeySequence("Ctrl+B"));
  win(
      QStringLiteral("&Redraw All"), QStringLiteral("Clear all Display Windows and redraw traces"),
      QStringLiteral("miRedrawAll"), [this] { displays_->RedrawAll(); }, QKeySequence("Ctrl+R"));
  win(QStringLiteral("&Close All"), QStringLiteral("Close all Display Windows"),
      QStringLiteral("miCloseAll"), [this] { displays_->CloseAll(); });
  // The display windows, one item each; the list (only it) stays usable during a run.
  windowList_ = new TWindowList(mWindow_, mdi_);
  SetStaysEnabledInRun(mWindow_->menuAction());
  // "Mode&l" is a command of its own on the menu bar.
  QAction* aModel = mb->addAction(QStringLiteral("Mode&l"));
  aModel->setObjectName(QStringLiteral("miModel"));
  aModel->setStatusTip(QStringLiteral("Control of simulation results"));
  connect(aModel, &QAction::triggered, this, [this] {
    const TToolWindowEntry* e = program_->Windows.Find(QString::fromLatin1(kMdlSection));
    if (e && e->show) e->show(true);
  });
  QMenu* mHelp = top(QStringLiteral("&Help"), QString());
  QAction* aContents = mHelp->addAction(QStringLiteral("&Contents"));
  aContents->setStatusTip(QStringLiteral("Quzar Help starting page"));
  connect(aContents, &QAction::triggered, this, [this] { ShowHelp(kHelpContentsTopic); });
  winCmds_->AddHelpItems(mHelp);
  // F1 in any window of the program opens that window's page.
  new THelpKey(this, [this](const THelpRequest& row, const QString& anchor, QWidget* from) {
    ShowHelpRequest(row, anchor, from);
  });
  // In an active tool window its own buttons' letters press them, though a menu of this bar
  // carries the letter too.
  ToolWindowLettersFirst(this);

  for (QAction* a : mb->actions()) {
    // A menu that holds nothing yet stays off the menu bar until its first item comes.
    if (QMenu* m = a->menu()) HideWhileEmpty(m);
  }
  // The hint of the last item pointed at does not outlive its menu, nor the menu bar's hint the
  // pointer's stay on the bar.
  for (QMenu* m : mb->findChildren<QMenu*>()) {
    connect(m, &QMenu::aboutToHide, this, [this] { ShowHint(QString()); });
    // A letter shared with disabled items still chooses the one enabled item.
    TriggerSoleEnabledLetter(m);
  }
  OnPointerLeave(mb, [this] { ShowHint(QString()); });
}

void TForm1::BuildViewMenu() {
  // The tool windows' items in their menu order, then the tool bars.
  viewSep_ = mView_->addSeparator();
  auto bar = [this](const QString& caption, const QString& hint, QToolBar* tb) {
    QAction* a = mView_->addAction(caption);
    a->setCheckable(true);
    a->setStatusTip(hint);
    connect(a, &QAction::triggered, this, [tb] { tb->setVisible(!tb->isVisible()); });
    return a;
  };
  aViewStd_ =
      bar(QStringLiteral("Standard &Toolbar"), QStringLiteral("Show/hide toolbar"), tbMain_);
  aViewSig_ = bar(QStringLiteral("Sig&nal Toolbar"), QString(), tbSignal_);
  RefreshViewItems();
}

void TForm1::RefreshViewItems() {
  // The items follow the registry, so a window registered later has its item too.
  for (QAction* a : mView_->actions())
    if (!a->data().toString().isEmpty()) delete a;
  for (const TToolWindowEntry* e : program_->Windows.ViewEntries()) {
    QAction* a = new QAction(e->viewCaption, mView_);
    a->setCheckable(true);
    a->setStatusTip(e->viewHint);
    a->setData(e->section);
    const QString section = e->section;
    connect(a, &QAction::triggered, this, [this, section] {
      const TToolWindowEntry* w = program_->Windows.Find(section);
      if (w && w->shown && w->show) w->show(!w->shown());
    });
    mView_->insertAction(viewSep_, a);
  }
}

void TForm1::ViewMenuOpening() {
  RefreshViewItems();
  for (QAction* a : mView_->actions()) {
    const QString section = a->data().toString();
    if (section.isEmpty()) continue;
    const TToolWindowEntry* e = program_->Windows.Find(section);
    const bool exists = e && program_->Windows.Created(section);
    a->setEnabled(exists);
    a->setChecked(exists && e->shown && e->shown());
  }
  aViewStd_->setChecked(tbMain_->isVisible());
  aViewSig_->setChecked(tbSignal_->isVisible());
}

void TForm1::BuildToolBars() {
  tbMain_ = addToolBar(QStringLiteral("Standard"));
  tbMain_->setObjectName(QStringLiteral("MainToolBar"));
  // Icons only: the hints tell what a button does.
  tbMain_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  // The bar itself stays; its buttons say each whether they wait for the end of a run.
  SetStaysEnabledInRun(tbMain_);
  QStyle* st = style();
  // A button runs its command's handler; the menu item of the same command shows the same
  // picture, so the operator finds one in the other.
  auto button = [this](const QIcon& icon, const QString& hint, const QString& name,
                       QAction* menuItem, auto slot) {
    QAction* a = tbMain_->addAction(icon, SplitHint(hint).tooltip);
    SetHint(a, hint);
    if (!name.isEmpty()) a->setObjectName(name);
    if (menuItem) menuItem->setIcon(icon);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  TParamCmds* pc = &core_->Params;

  // Only run and stop stay usable during a run: from the third button on they wait.
  tbRun_ = button(st->standardIcon(QStyle::SP_MediaPlay),
                  QString::fromLatin1(kHintStartQuzar) + QChar('|'), QStringLiteral("tbRun"), aRun_,
                  [this] {
                    // The button is pressed and released by the cycle itself.
                    tbRun_->setChecked(IsSweeping());
                    miSweepClick();
                  });
  tbRun_->setCheckable(true);
  SetStaysEnabledInRun(tbRun_);
  tbStop_ =
      button(st->standardIcon(QStyle::SP_MediaStop), QStringLiteral("Stop Quzar to standstill|"),
             QStringLiteral("tbStop"), aStop_, [this] { QvStop1Click(); });
  SetStaysEnabledInRun(tbStop_);
  tbSys_ = button(BadgeIcon(QStringLiteral("Sys")), QStringLiteral("Show/hide system info|"),
                  QStringLiteral("tbSys"), nullptr, [this] { ToggleToolWindow(kTuStpSection); });
  button(BadgeIcon(QStringLiteral("Pts")), QStringLiteral("Points per sweep|"),
         QStringLiteral("tbPts"), findChild<QAction*>(QStringLiteral("miPoints")),
         [pc] { pc->PointsPerSweep(); });
  button(BadgeIcon(QStringLiteral("Tc")), QStringLiteral("Count time|"), QStringLiteral("tbTc"),
         findChild<QAction*>(QStringLiteral("miCountTime")), [pc] { pc->CountTime(); });
  tbExt_ =
      button(BadgeIcon(QString::fromLatin1(kPlaneExtButton)), QStringLiteral("Plane extension|"),
             QStringLiteral("tbExt"), aPlaneExt_, [this] { transformCmds_->PlaneExt(); });
  button(BadgeIcon(QStringLiteral("New")), QStringLiteral("Open new display window| "),
         QStringLiteral("tbNewDisplay"), findChild<QAction*>(QStringLiteral("miNewDisplay")),
         [this] { displays_->NewDisplay(); });
  button(BadgeIcon(QStringLiteral("Cas")), QStringLiteral("Cascade|"), QStringLiteral("tbCascade"),
         winCmds_->CascadeAction(), [this] { winCmds_->CascadeAction()->trigger(); });
  tbSave_ = button(BadgeIcon(QStringLiteral("Res")), QStringLiteral("Save results|"),
                   QStringLiteral("tbSaveResults"), aSaveRes_, [this] { SaveAsTxt(); });
  button(BadgeIcon(QStringLiteral("Pic")), QStringLiteral("Save picture|"),
         QStringLiteral("tbSavePicture"), winCmds_->SavePictureAction(),
         [this] { winCmds_->SavePictureAction()->trigger(); });
  button(st->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Load system setup|"),
         QStringLiteral("tbLoadSetup"), findChild<QAction*>(QStringLiteral("miLoadSetup")),
         [this] { LoadSetupClick(); });
  button(st->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save system setup|"),
         QStringLiteral("tbSaveSetup"), findChild<QAction*>(QStringLiteral("miSaveSetup")),
         [this] { SaveSetupClick(); });
  // Impress, clear and redraw all, then the tuner, close the bar.
  button(BadgeIcon(QStringLiteral("Imp")), QStringLiteral("Impress all|"),
         QStringLiteral("tbImpressAll"), findChild<QAction*>(QStringLiteral("miImpressAll")),
         [this] { displays_->ImpressAll(); });
  button(BadgeIcon(QStringLiteral("Clr")), QStringLiteral("Clear all|"),
         QStringLiteral("tbBlankAll"), findChild<QAction*>(QStringLiteral("miBlankAll")),
         [this] { displays_->BlankAll(); });
  button(BadgeIcon(QStringLiteral("Rdr")), QStringLiteral("Redraw all|"),
         QStringLiteral("tbRedrawAll"), findChild<QAction*>(QStringLiteral("miRedrawAll")),
         [this] { displays_->RedrawAll(); });
  tbTuner_ = button(BadgeIcon(QStringLiteral("Tu")), QStringLiteral("Show/Hide Tuner|"),
                    QStringLiteral("tbTuner"), aTunView_, [this] { ToggleTunerView(); });
  // Shown once the unit has started with a tuner.
  tbTuner_->setVisible(false);
  // Items that took a button's picture and can be checked show their check mark.
  ShowCheckMarks(menuBar()->findChildren<QMenu*>());

  tbSignal_ = addToolBar(QStringLiteral("Signal"));
  tbSignal_->setObjectName(QStringLiteral("SignalToolBar"));
}

void TForm1::BuildStatusBar() {
  QStatusBar* sb = statusBar();
  panMsg_ = new QLabel(sb);
  panMsg_->setObjectName(QStringLiteral("MessagePanel"));
  panMsg_->setFixedWidth(kMsgPanelWidth);
  panMsg_->setFrameShape(QFrame::Panel);
  panMsg_->setFrameShadow(QFrame::Sunken);
  panTout_ = new QLabel(sb);
  panTout_->setObjectName(QStringLiteral("TimeoutPanel"));
  panTout_->setMinimumWidth(kToutPanelWidth);
  panTout_->setFrameShape(QFrame::Panel);
  panTout_->setFrameShadow(QFrame::Sunken);
  panHint_ = new QLabel(sb);
  panHint_->setObjectName(QStringLiteral("HintPanel"));
  pbSamples = new QProgressBar(sb);
  pbSamples->setObjectName(QStringLiteral("pbSamples"));
  pbSamples->setTextVisible(false);
  pbSamples->setMaximumWidth(150);
  pbSamples->setRange(0, 100);
  pbSamples->setValue(0);
  statusRefresh_ = new TCoalescedRefresh(this, [this] { pbSamples->setValue(progressPos_); });
  sb->addWidget(panMsg_);
  sb->addWidget(panTout_);
  sb->addWidget(panHint_, 1);
  sb->addPermanentWidget(pbSamples);
}

void TForm1::TransformMenuOpening() {
  const TTransformMenuState s = transformCmds_->MenuState();
  aTrLoad_->setText(s.loadCaption);
  aTrActive_->setText(s.activeCaption);
  aTrActive_->setEnabled(s.activeEnabled);
  aTrActive_->setChecked(s.activeChecked);
  aTrClear_->setEnabled(s.clearEnabled);
  aTrApply_->setChecked(!s.removeChecked);
  aTrRemove_->setChecked(s.removeChecked);
}

void TForm1::SetHint(QAction* a, const QString& hint) {
  const HintParts p = SplitHint(hint);
  a->setToolTip(p.tooltip);
  a->setStatusTip(p.statusTip);
}

}  // namespace qz
