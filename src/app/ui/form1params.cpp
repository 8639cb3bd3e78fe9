// The frame window's parameter items: the settings of the Quzar and Tuner menus and the signal
// tool bar. The commands themselves live in TParamCmds; here they only get their menu items,
// buttons and captions.

#include <QActionGroup>
#include <QMenu>
#include <QProgressBar>
#include <QToolBar>

#include "app/paramcmds.h"
#include "app/program.h"
#include "app/simcore.h"
#include "app/transformcmds.h"
#include "app/ui/form1.h"
#include "app/ui/menurules.h"
#include "app/ui/toolicons.h"
#include "core/resultstext.h"
#include "display/ui/displaywindows.h"
#include "setupdlg/ui/powcal.h"
#include "setupdlg/ui/qzsamplform.h"
#include "setupdlg/ui/txtimingform.h"
#include "tuner/atparamedit.h"
#include "tuner/ui/qvtustpfrm.h"
#include "tuner/ui/tpic.h"
#include "util/numtext.h"
#include "util/ui/dialogparent.h"

namespace qz {

namespace {

// The system information window, whose operations edit the autotune parameters.
TQvTuStpFrm* SysInfo(const TToolWindows& windows) {
  return windows.Window<TQvTuStpFrm>(QString::fromLatin1(kTuStpSection));
}

}  // namespace

class TForm1::ParamPort : public TParamPort {
 public:
  explicit ParamPort(TForm1& f) : f_(f) {}
  void BlankAll() override {
    if (f_.displays_) f_.displays_->BlankAll();
  }
  void RefreshXaxis() override {
    if (f_.displays_) f_.displays_->Ops().RefreshXaxis();
  }
  void ShowSamplFreq(const QString& caption) override {
    if (f_.sbFsampl_) f_.sbFsampl_->setText(caption);
  }
  void UpdateSignalBar(const TSignalBarState& s) override { f_.ApplySignalBar(s); }
  void SetSingleShotDown(bool down) override {
    if (f_.sbOneShot_) f_.sbOneShot_->setChecked(down);
  }
  void SetFreeRunDown(bool down) override {
    if (f_.sbFreeRun_) f_.sbFreeRun_->setChecked(down);
  }
  void SetFreqOnlyDown(bool down) override {
    if (f_.sbFreqOnly_) f_.sbFreqOnly_->setChecked(down);
  }
  void SetAutotuneButton(bool on) override { emit f_.program_->Events.AtButtonChanged(on); }
  void RedrawStubs() override { emit f_.program_->Events.StubsMoved(); }

 private:
  TForm1& f_;
};

void TForm1::OpenPowCal() {
  if (auto* p = program_->Windows.Window<TPowCal>(QStringLiteral("PowCalDlg"))) ExecAbove(*p);
}

bool TForm1::SingleShotArmed() const {
  return sbOneShot_ && sbOneShot_->isEnabled() && sbOneShot_->isChecked();
}

void TForm1::BuildParamItems() {
  paramPort_ = std::make_unique<ParamPort>(*this);
  core_->Params.SetPort(paramPort_.get());
  TParamCmds* pc = &core_->Params;
  auto item = [this](QMenu* m, const QString& text, const QString& name, const QString& hint,
                     auto slot) {
    QAction* a = m->addAction(text);
    a->setObjectName(name);
    if (!hint.isEmpty()) SetHint(a, hint);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };

  // ---- Quzar ----
  QAction* aSampl = item(
      mQuzar_, QStringLiteral("&Sampling Setup..."), QStringLiteral("miSamplSetup"), QString(),
      [this, pc] {
        auto* dlg = program_->Windows.Window<TQzSamplForm>(QString::fromLatin1(kSamplFormSection));
        if (!dlg) return;
        if (ExecAbove(*dlg) == QDialog::Accepted) pc->SamplingSetupAccepted();
      });
  aSampl->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  item(mQuzar_, QStringLiteral("TX Timing..."), QStringLiteral("miTxTiming"),
       QStringLiteral("Define results sending cadence"), [this] {
         auto* dlg = program_->Windows.Window<TTxTimingForm>(QString::fromLatin1(kTxTimingSection));
         if (!dlg) return;
         dlg->PrevezmiNapln();
         ExecAbove(*dlg);
       });
  QAction* aPoints = item(mQuzar_, QStringLiteral("&Points per Sweep"), QStringLiteral("miPoints"),
                          QString(), [pc] { pc->PointsPerSweep(); });
  aPoints->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  QAction* aCounter = item(mQuzar_, QStringLiteral("C&ounter"), QStringLiteral("miCounter"),
                           QString(), [pc] { pc->Counter(); });
  aCounter->setCheckable(true);
  QAction* aCount = item(mQuzar_, QStringLiteral("Count &Time"), QStringLiteral("miCountTime"),
                         QString(), [pc] { pc->CountTime(); });
  QAction* aToler = item(mQuzar_, QStringLiteral("Fre&q Toler"), QStringLiteral("miFreqToler"),
                         QString(), [pc] { pc->FreqToler(); });
  QAction* aSubst = item(mQuzar_, QStringLiteral("Substit &Freq"), QStringLiteral("miSubstFreq"),
                         QString(), [pc] { pc->SubstFreq(); });
  QMenu* more = mQuzar_->addMenu(QStringLiteral("More"));
  mQuzarMore_ = more;
  QAction* aSusp = item(more, QStringLiteral("S&uspend on Low Signal"), QStringLiteral("miSuspLow"),
                        QString(), [this, pc] { pc->SuspendOnLow(core_->Cycle.SuspOnLow); });
  aSusp->setCheckable(true);
  QAction* aPow = item(more, QStringLiteral("&Pow Cal Factor"), QStringLiteral("miPowCal"),
                       QString(), [this] { OpenPowCal(); });
  connect(more, &QMenu::aboutToShow, this, [this, aSusp, aPow] {
    aSusp->setChecked(core_->Cycle.SuspOnLow);
    aPow->setText(QuzarMenuState(core_->Qv, QString(), false).powCal);
  });
  connect(mQuzar_, &QMenu::aboutToShow, this, [this, aPoints, aCounter, aCount, aToler, aSubst] {
    const TQuzarMenuState q = QuzarMenuState(
        core_->Qv, MetresToText(core_->Qv.PlaneExt.Extension / 1000.0), core_->Qv.BiTr.GetActive());
    aPlaneExt_->setText(q.planeExt);
    aPoints->setText(q.points);
    aPoints->setEnabled(q.pointsEnabled);
    aCounter->setText(q.counter);
    aCounter->setChecked(q.counterChecked);
    aCount->setText(q.countTime);
    aToler->setText(q.freqToler);
    aSubst->setText(q.substFreq);
    mTransform_->menuAction()->setCheckable(true);
    mTransform_->menuAction()->setChecked(q.transformChecked);
  });

  // ---- Tuner ----
  item(mTuner_, QStringLiteral("&Home"), QStringLiteral("miTunHome"),
       QStringLiteral("Drive all stubs to zero positions"), [pc] { pc->Home(); });
  item(mTuner_, QStringLiteral("&Read"), QStringLiteral("miTunRead"),
       QStringLiteral("Read stub positions"), [this] {
         if (auto* t = program_->Windows.Window<TTpic>(QString::fromLatin1(kTpicSection)))
           t->ReadShow();
       });
  QAction* aMotRef =
      item(mTuner_, QStringLiteral("&Motors Refresh"), QStringLiteral("miMotRefresh"),
           QStringLiteral("Motors data sending period"), [pc] { pc->MotorsRefresh(); });
  QMenu* at = mTuner_->addMenu(QStringLiteral("&Autotune"));
  at->menuAction()->setCheckable(true);
  QAction* aActive = item(at, QStringLiteral("&Active"), QStringLiteral("miAtActive"), QString(),
                          [pc] { pc->AutotuneActive(); });
  aActive->setCheckable(true);
  // The autotune parameters are edited by the system information window's operations.
  auto edit = [this](void (TAtParamEdit::*op)()) {
    return [this, op] {
      if (TQvTuStpFrm* f = SysInfo(program_->Windows)) (f->Edits().*op)();
    };
  };
  QAction* aTarg = item(at, QStringLiteral("Targ&et"), QStringLiteral("miAtTarget"), QString(),
                        edit(&TAtParamEdit::EditTarget));
  QAction* aAtToler = item(at, QStringLiteral("&Toler"), QStringLiteral("miAtToler"), QString(),
                           edit(&TAtParamEdit::EditToler));
  QAction* aSkip = item(at, QStringLiteral("&Skip"), QStringLiteral("miAtSkip"), QString(),
                        edit(&TAtParamEdit::EditSkip));
  QAction* aSmooth = item(at, QStringLiteral("S&mooth"), QStringLiteral("miAtSmooth"), QString(),
                          edit(&TAtParamEdit::EditSmooth));
  QAction* aWaitRf = item(at, QStringLiteral("Wait &RF"), QStringLiteral("miAtWaitRf"), QString(),
                          edit(&TAtParamEdit::ToggleWaitRF));
  aWaitRf->setCheckable(true);
  QAction* aDelay = item(at, QStringLiteral("T&uning Delay"), QStringLiteral("miAtDelay"),
                         QString(), edit(&TAtParamEdit::EditDelay));
  QAction* aHyst = item(at, QStringLiteral("&Hysteresis"), QStringLiteral("miAtHyst"), QString(),
                        edit(&TAtParamEdit::EditHyst));
  item(at, QStringLiteral("&Defaults"), QStringLiteral("miAtDefaults"), QString(), [this] {
    if (TQvTuStpFrm* f = SysInfo(program_->Windows)) f->Edits().SetDefaults();
  });
  auto tunerCaptions = [this, at, aActive, aMotRef, aTarg, aAtToler, aSkip, aSmooth, aWaitRf,
                        aDelay, aHyst] {
    const TTunerMenuState t = TunerMenuState(core_->Qv);
    at->menuAction()->setText(t.autotune);
    at->menuAction()->setChecked(t.autotuneChecked);
    aActive->setText(t.active);
    aActive->setChecked(t.activeChecked);
    aMotRef->setText(t.motRefresh);
    aTarg->setText(t.target);
    aAtToler->setText(t.toler);
    aSkip->setText(t.skip);
    aSmooth->setText(t.smooth);
    aWaitRf->setText(t.waitRf);
    aWaitRf->setChecked(core_->Qv.Mot().WaitRF);
    aDelay->setText(t.delay);
    aHyst->setText(t.hysteresis);
  };
  connect(mTuner_, &QMenu::aboutToShow, this, tunerCaptions);
  connect(at, &QMenu::aboutToShow, this, tunerCaptions);
}

void TForm1::BuildSignalBar() {
  TParamCmds* pc = &core_->Params;
  auto button = [this](const QString& text, const QString& name, const QString& hint,
                       bool checkable) {
    QAction* a = tbSignal_->addAction(text);
    a->setObjectName(name);
    if (!hint.isEmpty()) SetHint(a, hint);
    a->setCheckable(checkable);
    return a;
  };
  auto* wave = new QActionGroup(this);
  wave->setExclusive(true);
  sbCw_ = button(QStringLiteral("CW"), QStringLiteral("sbCw"), QString(), true);
  sbRect_ = button(QStringLiteral("Rect"), QStringLiteral("sbRect"),
                   QStringLiteral("Rectified sampling mode|"), true);
  sbPuls_ = button(QStringLiteral("Puls"), QStringLiteral("sbPuls"),
                   QStringLiteral("Pulsed sampling mode|"), true);
  for (QAction* a : {sbCw_, sbRect_, sbPuls_}) wave->addAction(a);
  connect(sbCw_, &QAction::triggered, this, [pc] { pc->SetWaveform(wfCW); });
  connect(sbRect_, &QAction::triggered, this, [pc] { pc->SetWaveform(wfRectified); });
  connect(sbPuls_, &QAction::triggered, this, [pc] { pc->SetWaveform(wfPulsed); });
  tbSignal_->addSeparator();
  sbSamples_ = button(QStringLiteral("Smp"), QStringLiteral("sbSamples"),
                      QStringLiteral("Show individual samples in non-CW mode|"), true);
  sbOneShot_ =
      button(QStringLiteral("1x"), QStringLiteral("sbOneShot"),
             QStringLiteral("Single-shot individual samples measurement in non-CW mode|"), true);
  auto samples = [this, pc] { pc->Samples(sbSamples_->isChecked(), sbOneShot_->isChecked()); };
  connect(sbSamples_, &QAction::triggered, this, samples);
  connect(sbOneShot_, &QAction::triggered, this, samples);
  sbPre_ = button(QStringLiteral("Pre"), QStringLiteral("sbPre"),
                  QStringLiteral("Number of pre-trigger points to display|"), false);
  connect(sbPre_, &QAction::triggered, this, [pc] { pc->PreTrigger(); });
  sbTrgLvl_ = button(QStringLiteral("Lvl"), QStringLiteral("sbTrgLvl"),
                     QStringLiteral("Triggering level (%)|"), false);
  connect(sbTrgLvl_, &QAction::triggered, this, [pc] { pc->TriggerLevel(); });
  sbFreeRun_ = button(QStringLiteral("Free"), QStringLiteral("sbFreeRun"),
                      QStringLiteral("Free Run - measure without triggering|"), true);
  connect(sbFreeRun_, &QAction::triggered, this, [pc] { pc->FreeRun(); });
  tbSignal_->addSeparator();
  sbSamplTime_ = button(QStringLiteral("Ts"), QStringLiteral("sbSamplTime"),
                        QStringLiteral("Sampling duration|"), false);
  connect(sbSamplTime_, &QAction::triggered, this, [pc] { pc->SamplingTime(); });
  sbCount_ = button(QStringLiteral("N"), QStringLiteral("sbCount"), QStringLiteral("Sample count|"),
                    false);
  connect(sbCount_, &QAction::triggered, this, [pc] { pc->SampleCount(); });
  sbFsampl_ = button(QString::fromLatin1(kSamplFreqCaptionDefault), QStringLiteral("sbFsampl"),
                     QStringLiteral("Set sampling frequency|"), false);
  connect(sbFsampl_, &QAction::triggered, this, [pc] { pc->SamplingFreq(); });
  sbFreqOnly_ = button(QStringLiteral("F"), QStringLiteral("sbFreqOnly"),
                       QStringLiteral("Frequency only measurement|"), true);
  connect(sbFreqOnly_, &QAction::triggered, this,
          [this, pc] { pc->FreqOnly(sbFreqOnly_->isChecked()); });
  sbFsampl_->setText(pc->SamplFreqCaption());
  pc->UpdateSignalBar();
}

void TForm1::ApplySignalBar(const TSignalBarState& s) {
  if (!sbCw_) return;
  sbCw_->setChecked(s.cwDown);
  sbRect_->setChecked(s.rectDown);
  sbPuls_->setChecked(s.pulsDown);
  sbSamples_->setChecked(s.samplesDown);
  sbSamples_->setEnabled(s.samplesEnabled);
  sbOneShot_->setEnabled(s.singleShotEnabled);
  sbPre_->setEnabled(s.preEnabled);
  sbTrgLvl_->setEnabled(s.trgLevelEnabled);
  sbFreeRun_->setEnabled(s.freeRunEnabled);
  sbFreeRun_->setChecked(s.freeRunDown);
  sbSamplTime_->setEnabled(s.samplTimeEnabled);
  sbFreqOnly_->setEnabled(s.freqOnlyEnabled);
  // "Pts" follows the samples as the Quzar menu's item does; during a run it waits like the rest.
  if (QAction* pts = findChild<QAction*>(QStringLiteral("tbPts")))
    pts->setEnabled(s.pointsEnabled && !IsSweeping());
  if (pbSamples) {
    pbSamples->setVisible(s.progressVisible);
    pbSamples->setValue(0);
  }
}

}  // namespace qz
