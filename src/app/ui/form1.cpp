#include "app/ui/form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

#include "app/caption.h"
#include "app/simcore.h"
#include "core/transformcmds.h"
#include "util/asker.h"
#include "util/hints.h"
#include "version.h"

namespace qz {

namespace {
// Widths of the status panels.
constexpr int kMsgPanelWidth = 84;
constexpr int kToutPanelWidth = 50;
// The window's background colour (0x00BBGGRR).
constexpr unsigned kFormColor = 10744749;
}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  core_ = std::make_unique<TSimCore>(false);
  transformCmds_ = std::make_unique<TTransformCmds>(core_->Qv.BiTr, core_->Qv.PlaneExt);
  transformCmds_->OnPlaneExtChanged = [this] { RefreshPlaneExtHint(); };

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MdiArea"));
  const QColor bg(int(kFormColor & 0xFF), int((kFormColor >> 8) & 0xFF),
                  int((kFormColor >> 16) & 0xFF));
  mdi_->setBackground(bg);
  setCentralWidget(mdi_);
  BuildMenus();
  BuildToolBars();
  BuildStatusBar();
  resize(900, 650);
  SetMainCaption();

  TCyclePorts ports = core_->Cycle.Ports();
  ports.host = this;
  ports.status = this;
  core_->Cycle.SetPorts(ports);
  core_->Cycle.AddRunEnable(this);
}

TForm1::~TForm1() { core_->Cycle.RemoveRunEnable(this); }

void TForm1::SetMainCaption() { setWindowTitle(MainCaption(QStringLiteral(QZ_VERSION))); }

bool TForm1::StartUnit(QString& messages) {
  const QScreen* s = QGuiApplication::primaryScreen();
  const QSize sz = s ? s->size() : QSize(1920, 1080);
  const bool ok = core_->Start(messages, sz.width(), sz.height());
  RefreshPlaneExtHint();
  return ok;
}

void TForm1::SetHint(QAction* a, const QString& hint) {
  const HintParts p = SplitHint(hint);
  a->setToolTip(p.tooltip);
  a->setStatusTip(p.statusTip);
}

void TForm1::BuildMenus() {
  QMenuBar* mb = menuBar();
  auto top = [&](const QString& title, const QString& hint) {
    QMenu* m = mb->addMenu(title);
    m->menuAction()->setStatusTip(hint);
    return m;
  };
  top(QStringLiteral("&File"), QString());

  mQuzar_ = top(QStringLiteral("&Quzar"), QStringLiteral("Quzar system functions"));
  aRun_ = mQuzar_->addAction(QStringLiteral("&Run/Pause"));
  aRun_->setShortcut(QKeySequence(Qt::Key_F9));
  SetHint(aRun_, QString::fromLatin1(kHintStartQuzar));
  connect(aRun_, &QAction::triggered, this, [this] { miSweepClick(); });
  aStop_ = mQuzar_->addAction(QStringLiteral("St&op Quzar"));
  SetHint(aStop_, QStringLiteral("Stop Quzar to standstill"));
  connect(aStop_, &QAction::triggered, this, [this] { QvStop1Click(); });
  aFinish_ = mQuzar_->addAction(QStringLiteral("Fi&nish Sweep"));
  aFinish_->setCheckable(true);
  connect(aFinish_, &QAction::triggered, this, [this] { miFinishSwpClick(); });
  mQuzar_->addSeparator();
  aSaveRes_ = mQuzar_->addAction(QStringLiteral("Save &Results"));
  aSaveRes_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  SetHint(aSaveRes_, QStringLiteral("Save results"));
  connect(aSaveRes_, &QAction::triggered, this, [this] { SaveAsTxt(); });

  mTransform_ = mQuzar_->addMenu(QString::fromLatin1(kTransformCaption));
  mTransform_->menuAction()->setStatusTip(QString::fromLatin1(kTransformHint));
  aTrLoad_ = mTransform_->addAction(QStringLiteral("Load"));
  SetHint(aTrLoad_, QString::fromLatin1(kTransformLoadHint));
  connect(aTrLoad_, &QAction::triggered, this, [this] { transformCmds_->Load(); });
  aTrActive_ = mTransform_->addAction(QStringLiteral("Active (NO)"));
  aTrActive_->setCheckable(true);
  SetHint(aTrActive_, QString::fromLatin1(kTransformActiveHint));
  connect(aTrActive_, &QAction::triggered, this, [this] { transformCmds_->ToggleActive(); });
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
  top(QStringLiteral("Co&mmun"), QString());
  top(QStringLiteral("&Tools"), QString());
  top(QStringLiteral("&View"), QStringLiteral("Show/Hide program components"));
  top(QStringLiteral("&Window"), QStringLiteral("Window functions"));
  top(QStringLiteral("Mode&l"), QStringLiteral("Control of simulation results"));
  top(QStringLiteral("&Help"), QString());
}

void TForm1::BuildToolBars() {
  tbMain_ = addToolBar(QStringLiteral("Standard"));
  tbMain_->setObjectName(QStringLiteral("MainToolBar"));
  tbRun_ = tbMain_->addAction(QStringLiteral("Run"));
  tbRun_->setCheckable(true);
  SetHint(tbRun_, QString::fromLatin1(kHintStartQuzar) + QChar('|'));
  // The button is pressed and released by the cycle itself.
  connect(tbRun_, &QAction::triggered, this, [this] {
    tbRun_->setChecked(IsSweeping());
    miSweepClick();
  });
  tbStop_ = tbMain_->addAction(QStringLiteral("Stop"));
  SetHint(tbStop_, QStringLiteral("Stop Quzar to standstill|"));
  connect(tbStop_, &QAction::triggered, this, [this] { QvStop1Click(); });
  tbExt_ = tbMain_->addAction(QString::fromLatin1(kPlaneExtButton));
  SetHint(tbExt_, QStringLiteral("Plane extension|"));
  connect(tbExt_, &QAction::triggered, this, [this] { transformCmds_->PlaneExt(); });
  tbSave_ = tbMain_->addAction(QStringLiteral("Save"));
  SetHint(tbSave_, QStringLiteral("Save results|"));
  connect(tbSave_, &QAction::triggered, this, [this] { SaveAsTxt(); });

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
  sb->addWidget(panMsg_);
  sb->addWidget(panTout_);
  sb->addWidget(panHint_, 1);
  sb->addPermanentWidget(pbSamples);
}

bool TForm1::event(QEvent* e) {
  // Every control's long hint goes to the hint panel, so the message and time-out panels stay
  // readable while the pointer moves.
  if (e->type() == QEvent::StatusTip) {
    panHint_->setText(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

void TForm1::TransformMenuOpening() {
  const TTransformMenuState s = transformCmds_->MenuState();
  aTrLoad_->setText(s.loadCaption);
  aTrActive_->setText(s.activeCaption);
  aTrActive_->setEnabled(s.activeEnabled);
  aTrActive_->setChecked(s.activeChecked);
  aTrClear_->setEnabled(s.clearEnabled);
}

void TForm1::RefreshPlaneExtHint() { SetHint(tbExt_, transformCmds_->PlaneExtButtonHint()); }

// ---- commands -------------------------------------------------------------------------------

void TForm1::miSweepClick() {
  core_->Cycle.miSweepClick();
  // A close asked for during the run is carried out now that the loop is off the stack.
  if (!IsSweeping() && closeAfterRun_) {
    closeAfterRun_ = false;
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

void TForm1::QvStop1Click() { core_->Cycle.QvStop1Click(); }

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
  if (IsSweeping()) {
    // Nothing may be destroyed while the loop is on the stack: the run ends after its pass and
    // the window closes afterwards.
    core_->Cycle.RequestClose();
    closeAfterRun_ = true;
    e->ignore();
    return;
  }
  QMainWindow::closeEvent(e);
}

// ---- cycle host and status bar --------------------------------------------------------------

void TForm1::SetRunHint(const QString& hint) {
  SetHint(aRun_, hint);
  SetHint(tbRun_, hint + QChar('|'));
}

void TForm1::SetRunButtonDown(bool down) { tbRun_->setChecked(down); }

void TForm1::Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TForm1::SetMessage(const QString& text) { panMsg_->setText(text); }

void TForm1::SetTimeoutText(const QString& text) { panTout_->setText(text); }

void TForm1::SetProgressMax(int32_t max) { pbSamples->setMaximum(max > 0 ? max : 1); }

void TForm1::SetProgress(int32_t pos) { pbSamples->setValue(pos); }

void TForm1::SetProgressRed(bool red) {
  // Red: a sample of the series was lost.
  pbSamples->setStyleSheet(red ? QStringLiteral("QProgressBar::chunk { background: red; }")
                               : QString());
}

void TForm1::EnableForRun(bool enabled) {
  for (QAction* a : menuBar()->actions())
    if (a != mQuzar_->menuAction()) a->setEnabled(enabled);
  // The Quzar menu keeps its first three items usable.
  const QList<QAction*> items = mQuzar_->actions();
  int n = 0;
  for (QAction* a : items) {
    if (a->isSeparator()) continue;
    if (++n > 3) a->setEnabled(enabled);
  }
  // The run and stop buttons stay usable.
  const QList<QAction*> buttons = tbMain_->actions();
  for (int i = 2; i < buttons.size(); ++i) buttons[i]->setEnabled(enabled);
  tbSignal_->setEnabled(enabled);
  if (enabled) mTuner_->menuAction()->setEnabled(true);
}

}  // namespace qz
