#include "app/ui/form1.h"

#include <QAction>
#include <QActionGroup>
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
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/caption.h"
#include "app/control.h"
#include "app/controlbus.h"
#include "app/displayport.h"
#include "app/helppages.h"
#include "app/paramcmds.h"
#include "app/program.h"
#include "app/transformcmds.h"
#include "app/ui/chartfile.h"
#include "app/ui/communmenu.h"
#include "app/ui/ddemenu.h"
#include "app/ui/form1control.h"
#include "app/ui/helpviewer.h"
#include "app/ui/menurules.h"
#include "app/ui/resultsport.h"
#include "app/ui/toolicons.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windowcmds.h"
#include "app/xfercmds.h"
#include "comm/portlist.h"
#include "core/onesweep.h"
#include "core/resultstext.h"
#include "display/ui/displaywindows.h"
#include "display/ui/rhochart.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "setupdlg/ui/mstpform.h"
#include "setupdlg/ui/powcal.h"
#include "setupdlg/ui/qzsamplform.h"
#include "setupdlg/ui/trgform.h"
#include "setupdlg/ui/txtimingform.h"
#include "sim/ui/qzmdl.h"
#include "tuner/ui/makesce.h"
#include "tuner/ui/qvtustpfrm.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/hints.h"
#include "util/inifile.h"
#include "util/ui/coalesce.h"
#include "util/ui/panels.h"
#include "util/ui/qcolor.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"
#include "version.h"

namespace qz {

namespace {
// Widths of the status panels.
constexpr int kMsgPanelWidth = 84;
constexpr int kToutPanelWidth = 50;
}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  program_ = std::make_unique<TProgram>(false);
  core_ = &program_->Core;
  setup_ = &program_->Setup;
  dde_ = &program_->Dde;
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  transformCmds_ = std::make_unique<TTransformCmds>(core_->Qv.BiTr, core_->Qv.PlaneExt);
  transformCmds_->OnPlaneExtChanged = [this] {
    RefreshPlaneExtHint();
    if (resForm_) resForm_->SetExtCaption();
    if (tpic_) tpic_->pbTunPaint();
  };
  transformCmds_->OnTransformChanged = [this] {
    if (resForm_) resForm_->RflCaption();
    if (smallFrm_) smallFrm_->RflCaption();
    if (displays_) displays_->RefreshCaptions();
    // Areas referred to the transformed plane follow the transform.
    if (rhoChart_ && core_->Model.UseChart) rhoChart_->PutWmark();
    if (makeSce_) makeSce_->FrmCaption();
  };

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MdiArea"));
  mdi_->setBackground(ToQColor(kFrameColor, mdi_->palette()));
  setCentralWidget(mdi_);
  displays_ = new TDisplayWindows(mdi_, core_->Qv, this);
  displays_->RunPause = [this] { miSweepClick(); };
  displays_->Running = [this] { return IsSweeping(); };
  displays_->BilinActive = [this] { return core_->Qv.BiTr.GetActive(); };
  displays_->OnCreated = [this](TGDisplForm& w) {
    w.OnLabelsHelp = [this] { ShowHelpKeyword(QStringLiteral("Labels")); };
  };
  displayPort_ = std::make_unique<TDisplayPort>(displays_->Ops());
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

  RegisterToolWindows();
  BuildViewMenu();
  CreateToolWindows();
  RegisterSetupHooks();

  // Other programs of the user reach the operator's commands on the session bus (when the
  // program holds its name there).
  controlPort_ = std::make_unique<TForm1Port>(*this);
  control_ = std::make_unique<TControl>(*controlPort_);
  controlBus_ = std::make_unique<TControlBus>(*control_);
  controlPort_->OnRunEnded = [this](const QString& reason) { control_->RunEnded(reason); };
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

TQzMdl* TForm1::ModelWindow() const { return mdl_; }
TQzResForm* TForm1::ResForm() const { return resForm_; }
TQzSmallFrm* TForm1::SmallFrm() const { return smallFrm_; }
TLogForm* TForm1::LogWindow() const { return logForm_; }
THelpViewer* TForm1::HelpWindow() const { return help_; }
TQzSamplForm* TForm1::SamplForm() const { return samplForm_; }
TTxTimingForm* TForm1::TxTimingForm() const { return txTimingForm_; }
TMstpForm* TForm1::MstpForm() const { return mstpForm_; }
TTpic* TForm1::TunerPicture() const { return tpic_; }
TTrgForm* TForm1::TrgForm() const { return trgForm_; }
TPowCal* TForm1::PowCalDlg() const { return powCal_; }

void TForm1::OpenPowCal() {
  if (powCal_) powCal_->exec();
}
TRhoChart* TForm1::RhoChartWindow() const { return rhoChart_; }
TQvTuStpFrm* TForm1::SysInfoWindow() const { return tuStp_; }
TScenario* TForm1::ScenarioWindow() const { return sce_; }
TToolWindows& TForm1::ToolWindows() { return program_->Windows; }

void TForm1::RegisterToolWindows() {
  TToolWindows& reg = program_->Windows;
  TToolWindowEntry log = WidgetEntry(QString::fromLatin1(kLogSection), logForm_);
  log.create = [this](const IniFile* ini) {
    logForm_ = new TLogForm(program_->Log.engine, nullptr, this);
    logForm_->OnHelp = [this] { ShowHelpKeyword(QString::fromLatin1(kLogFormCaption)); };
    if (ini) logForm_->ReadStp(*ini);
  };
  log.writeStp = [this](IniFile& ini) {
    if (logForm_) logForm_->WriteStp(ini);
  };
  log.readStp = [this](const IniFile& ini) {
    if (logForm_) logForm_->ReadStp(ini);
  };
  log.viewCaption = QStringLiteral("&Logging Window");
  log.viewHint = QStringLiteral("View Data Logging Window");
  // Its timing, file and progress groups wait for the end of a run.
  log.runHook = [this](bool running) {
    if (logForm_) logForm_->EnableForRun(!running);
  };
  reg.Register(std::move(log));

  TToolWindowEntry small = WidgetEntry(QString::fromLatin1(kSmallFrmSection), smallFrm_);
  small.create = [this](const IniFile* ini) { smallFrm_ = new TQzSmallFrm(core_->Qv, ini, this); };
  small.writeStp = [this](IniFile& ini) {
    if (smallFrm_) smallFrm_->WriteStp(ini);
  };
  small.readStp = [this](const IniFile& ini) {
    if (smallFrm_) smallFrm_->ReadStp(ini);
  };
  small.viewCaption = QStringLiteral("&Results (Mini)");
  small.viewHint = QStringLiteral("View reduced-size numeric results window");
  reg.Register(std::move(small));

  TToolWindowEntry res = WidgetEntry(QString::fromLatin1(kResFormSection), resForm_);
  res.create = [this](const IniFile* ini) {
    resForm_ = new TQzResForm(core_->Qv, ini, this);
    resForm_->OnStartStop = [this] { miSweepClick(); };
    resForm_->OnHelp = [this](const QString& topic) { ShowHelpKeyword(topic); };
    TQzResForm* f = resForm_;
    core_->Cmd.SetCounterLamp([f](bool on) { f->FreLedCounterOnOff(on); });
  };
  res.writeStp = [this](IniFile& ini) {
    if (resForm_) resForm_->WriteStp(ini);
  };
  res.readStp = [this](const IniFile& ini) {
    if (resForm_) resForm_->ReadStp(ini);
  };
  res.viewCaption = QStringLiteral("Results (Ma&xi)");
  res.viewHint = QStringLiteral("View full-size numeric results window");
  res.destroy = [this] {
    core_->Cmd.SetCounterLamp(nullptr);
    delete resForm_.data();
  };
  reg.Register(std::move(res));

  // The reflection-coefficient chart, created before the model window, which then wires it.
  TToolWindowEntry rho = WidgetEntry(QString::fromLatin1(kRhoChartSection), rhoChart_);
  rho.create = [this](const IniFile* ini) {
    rhoChart_ = new TRhoChart(core_->TunerModel, core_->Model, core_->Qv, this);
    rhoChart_->OnHelpKey = [this] { showMinimized(); };
    if (ini) rhoChart_->ReadStp(*ini);
  };
  rho.writeStp = [this](IniFile& ini) {
    if (rhoChart_) rhoChart_->WriteStp(ini);
  };
  rho.readStp = [this](const IniFile& ini) {
    if (rhoChart_) rhoChart_->ReadStp(ini);
  };
  reg.Register(std::move(rho));

  TToolWindowEntry model = WidgetEntry(QString::fromLatin1(kMdlSection), mdl_);
  model.create = [this](const IniFile* ini) {
    mdl_ = new TQzMdl(core_->Model, ini, this);
    mdl_->OnHelp = [this](int topic) { ShowHelp(topic); };
    core_->ModelInitialised = true;
    WireRhoChart();
  };
  model.writeStp = [this](IniFile& ini) {
    if (mdl_) mdl_->WriteStp(ini);
  };
  model.readStp = [this](const IniFile& ini) {
    if (mdl_) mdl_->ReadStp(ini);
  };
  reg.Register(std::move(model));

  TToolWindowEntry tx = WidgetEntry(QString::fromLatin1(kTxTimingSection), txTimingForm_);
  tx.create = [this](const IniFile* ini) {
    txTimingForm_ = new TTxTimingForm(core_->Cmd, this);
    txTimingForm_->OnHelp = [this](int topic) { ShowHelpOver(txTimingForm_, topic); };
    if (ini) txTimingForm_->ReadStp(*ini);
  };
  tx.writeStp = [this](IniFile& ini) {
    if (txTimingForm_) txTimingForm_->WriteStp(ini);
  };
  tx.readStp = [this](const IniFile& ini) {
    if (txTimingForm_) txTimingForm_->ReadStp(ini);
  };
  reg.Register(std::move(tx));

  // Its section is written, never loaded with a user setup; it shows itself when the automatic
  // setup says it was visible.
  TToolWindowEntry mstp = WidgetEntry(QString::fromLatin1(kMstpSection), mstpForm_);
  mstp.create = [this](const IniFile* ini) {
    mstpForm_ = new TMstpForm(core_->Cmd, this);
    const QPointer<TMstpForm> f = mstpForm_;
    core_->Cmd.SetMeaStpRefresh([f] {
      if (f && f->isVisible()) f->PrevezmiNapln();
    });
    if (ini) mstpForm_->ReadStp(*ini);
  };
  mstp.writeStp = [this](IniFile& ini) {
    if (mstpForm_) mstpForm_->WriteStp(ini);
  };
  mstp.destroy = [this] {
    core_->Cmd.SetMeaStpRefresh(nullptr);
    delete mstpForm_.data();
  };
  reg.Register(std::move(mstp));

  TToolWindowEntry sampl = WidgetEntry(QString::fromLatin1(kSamplFormSection), samplForm_);
  sampl.create = [this](const IniFile* ini) {
    if (samplForm_) return;
    samplForm_ = new TQzSamplForm(this);
    TQvWin& qv = core_->Qv;
    samplForm_->AssignPointers(
        &qv.FixPar, &qv.VarPar, &qv.TrgMethod,
        [this] { return sbOneShot_ ? sbOneShot_->isChecked() : frame_.sbOneShot; },
        [this](bool on) {
          frame_.sbOneShot = on;
          if (sbOneShot_) sbOneShot_->setChecked(on);
        },
        &core_->Cycle.n_pretrg, &qv.Pulsed, &qv.Rectif);
    samplForm_->OnHelp = [this](int topic) { ShowHelpOver(samplForm_, topic); };
    if (ini) samplForm_->ReadStp(*ini);
  };
  sampl.writeStp = [this](IniFile& ini) {
    if (samplForm_) samplForm_->WriteStp(ini);
  };
  sampl.readStp = [this](const IniFile& ini) {
    if (samplForm_) samplForm_->ReadStp(ini);
  };
  reg.Register(std::move(sampl));

  // The tuner picture, created once the unit has started; its action is the Tuner menu's View.
  TToolWindowEntry tun = WidgetEntry(QString::fromLatin1(kTpicSection), tpic_);
  tun.create = [this](const IniFile* ini) {
    tpic_ =
        new TTpic(core_->TunerModel, core_->AutoTune, core_->Cmd, core_->Qv.PlaneExt, ini, this);
    tpic_->IsRunning = [this] { return IsSweeping(); };
    tpic_->OnHelp = [this](int topic) { ShowHelp(topic); };
  };
  tun.writeStp = [this](IniFile& ini) {
    if (tpic_) tpic_->WriteStp(ini);
  };
  tun.readStp = [this](const IniFile& ini) {
    if (tpic_) tpic_->ReadStp(ini);
  };
  tun.runHook = [this](bool running) {
    if (!tpic_) return;
    if (running) tpic_->ZastavTimery();
    tpic_->EnableControls(!running);
  };
  reg.Register(std::move(tun));

  // The display windows' scale and trace dialogs: made once, opened over any display window.
  TToolWindowEntry trace = WidgetEntry(QStringLiteral("TracePropDlg"), displays_->AttrDlg);
  trace.create = [this](const IniFile*) {
    if (!displays_->AttrDlg) displays_->AttrDlg = new TDlgAttr(this);
  };
  reg.Register(std::move(trace));
  TToolWindowEntry scale = WidgetEntry(QStringLiteral("ScaleDlg"), displays_->ScaleDlg);
  scale.create = [this](const IniFile*) {
    if (!displays_->ScaleDlg) displays_->ScaleDlg = new TDlgQzScale(this);
  };
  reg.Register(std::move(scale));
  // The single-shot commands window: its section is read once, at creation, from the automatic
  // setup; the refresh reaches the numeric results windows and the tuner picture, whichever exist.
  TToolWindowEntry trg = WidgetEntry(QString::fromLatin1(kTrgSection), trgForm_);
  trg.create = [this](const IniFile* ini) {
    trgForm_ = new TTrgForm(core_->Cmd, core_->Source, core_->TunerModel, ini, this);
    trgForm_->OnHelp = [this](const QString& keyword) { ShowHelpKeyword(keyword); };
    TTrgDisplays& d = trgForm_->Displays();
    d.Napln = [this](const THresults& res) {
      if (resForm_ && resForm_->isVisible()) resForm_->Napln(&res);
      if (smallFrm_ && smallFrm_->isVisible()) smallFrm_->Napln(&res);
    };
    d.ReadShow = [this] {
      if (tpic_) return tpic_->ReadShow();
      return core_->Cmd.ReadMotStatus() == kCmdOk;
    };
    d.ShowMotPositAll = [this] {
      if (tpic_) tpic_->ShowMotPositAll(true);
    };
    d.SetAtButton = [this](bool on) {
      if (tpic_) tpic_->SetAtButton(on);
    };
  };
  trg.writeStp = [this](IniFile& ini) {
    if (trgForm_) trgForm_->WriteStp(ini);
  };
  trg.viewCaption = QStringLiteral("Singl&e-Shots Commands");
  trg.viewHint = QStringLiteral("Open special Comands Window");
  reg.Register(std::move(trg));

  // The power calibration dialog keeps nothing in the setup.
  TToolWindowEntry pow = WidgetEntry(QStringLiteral("PowCalDlg"), powCal_);
  pow.create = [this](const IniFile*) {
    powCal_ = new TPowCal(core_->Cmd, this);
    powCal_->OnHelp = [this](int topic) { ShowHelpOver(powCal_, topic); };
  };
  reg.Register(std::move(pow));
  // The system information window, the first window of the started unit.
  TToolWindowEntry sys = WidgetEntry(QString::fromLatin1(kTuStpSection), tuStp_);
  sys.create = [this](const IniFile* ini) {
    tuStp_ = new TQvTuStpFrm(core_->TunerModel, core_->Cmd, core_->Qv, ini, this);
    tuStp_->Edits().RenewWatermark = [this] {
      if (RhoWatermark) RhoWatermark();
    };
  };
  sys.writeStp = [this](IniFile& ini) {
    if (tuStp_) tuStp_->WriteStp(ini);
  };
  sys.readStp = [this](const IniFile& ini) {
    if (tuStp_) tuStp_->ReadStp(ini);
  };
  sys.viewCaption = QStringLiteral("&System Info");
  sys.viewHint = QStringLiteral("Show system info/modify autotune params");
  // Its pages wait for the end of a run.
  sys.runHook = [this](bool running) {
    if (tuStp_) tuStp_->EnableForRun(!running);
  };
  reg.Register(std::move(sys));
  // The model window shows the frequency the model took for a new nominal frequency.
  core_->TunerHost.OnFreRechecked = [this] {
    if (mdl_) mdl_->ShowFre();
  };
  // The scenario window, created after the tuner picture; its action is the Tuner menu's
  // Scenario and the picture's scenario button.
  TToolWindowEntry sce = WidgetEntry(QString::fromLatin1(kScenarioSection), sce_);
  sce.create = [this](const IniFile* ini) { CreateScenario(ini); };
  sce.writeStp = [this](IniFile& ini) {
    if (sce_) sce_->WriteStp(ini);
  };
  sce.readStp = [this](const IniFile& ini) {
    if (sce_) sce_->ReadStp(ini);
  };
  sce.destroy = [this] {
    if (!sce_) return;
    // The pages are kept for the next run; a failure is reported, the exit goes on.
    if (!AbortPgm) {
      const QString err = sce_->SaveAtExit();
      if (!err.isEmpty()) Asker().ShowError(err);
    }
    if (tpic_) {
      tpic_->OnShowScenario = nullptr;
      tpic_->ScenarioShown = nullptr;
    }
    delete sce_.data();
  };
  reg.Register(std::move(sce));

  // The scenario generator, opened by the scenario window's "Create".
  TToolWindowEntry gen = WidgetEntry(QString::fromLatin1(kMakeSceSection), makeSce_);
  gen.create = [this](const IniFile* ini) {
    makeSce_ = new TMakeSceForm(
        core_->TunerModel, core_->Qv.BiTr, [this] { return core_->Model.f_Hz; }, this);
    makeSce_->OnHelp = [this](int topic) { ShowHelp(topic); };
    if (ini) makeSce_->ReadStp(*ini);
  };
  gen.writeStp = [this](IniFile& ini) {
    if (makeSce_) makeSce_->WriteStp(ini);
  };
  gen.readStp = [this](const IniFile& ini) {
    if (makeSce_) makeSce_->ReadStp(ini);
  };
  reg.Register(std::move(gen));

  TToolWindowEntry help = WidgetEntry(QStringLiteral("HelpViewer"), help_);
  help.create = [this](const IniFile*) { help_ = new THelpViewer(HelpFolder(), this); };
  reg.Register(std::move(help));
  winCmds_->RegisterAboutBox(reg);
}

void TForm1::WireRhoChart() {
  if (!rhoChart_ || !mdl_) return;
  const QPointer<TRhoChart> chart = rhoChart_;
  TMdlHooks& h = core_->Model.Hooks;
  h.ChartRho = [chart] { return chart ? chart->Rho() : complex(); };
  h.ChartApplied = [chart](bool useChart) {
    if (!chart) return;
    if (useChart && !chart->isVisible()) {
      chart->show();  // showing fetches the areas
      chart->raise();
    } else {
      chart->PutWmark();
    }
  };
  h.TunerDescrRead = [chart] {
    if (chart) chart->PutWmark();
  };
  // The system information window's edits renew the areas too (nothing while the chart is hidden).
  RhoWatermark = [chart] {
    if (chart) chart->PutWmark();
  };
  // The operator's close of the chart puts the model back to a defined load.
  rhoChart_->OnOperatorClose = [this] {
    if (!mdl_) return;
    mdl_->ToEntries();
    mdl_->Model().Ent.DutType = kDutDefined;
    mdl_->FromEntries();
    mdl_->DoApply();
  };
  // A model already on the chart (from the setup) takes the chart's value and shows it.
  if (core_->Model.UseChart) {
    core_->Model.SimulRo = rhoChart_->Rho();
    h.ChartApplied(true);
  }
}

void TForm1::CreateScenario(const IniFile* ini) {
  sce_ =
      new TScenario(core_->TunerModel, core_->Cmd, core_->Qv, core_->Source, tpic_, nullptr, this);
  sce_->IsSweeping = [this] { return IsSweeping(); };
  // The play itself stops a running measurement before it starts.
  sce_->RunPause = [this] { RunPauseNow(); };
  sce_->RedrawAll = [this] { displays_->RedrawAll(); };
  sce_->ShowResult = [this](const THresults& res) {
    if (resultsPort_) resultsPort_->ShowResult(res);
  };
  sce_->Separator = [this] { return saveState_.SeparForTxtSave; };
  sce_->NormalSweepCapacity = [this] {
    const TQvWin& qv = core_->Qv;
    return SweepCapacity(qv.PtsPerSwp, qv.VarPar.Waveform, qv.Rectif, qv.Pulsed);
  };
  sce_->OnHelp = [this](int topic) { ShowHelp(topic); };
  sce_->SetScePath = [this](const QString& path) {
    if (!makeSce_) return;
    makeSce_->SetScePath(path);
    makeSce_->show();
    makeSce_->raise();
  };
  sce_->OnVisibility = [this](bool shown) {
    if (tpic_) tpic_->SetScenarioButton(shown);
    if (aTunScenario_) aTunScenario_->setChecked(shown);
  };
  if (tpic_) {
    tpic_->OnShowScenario = [this](bool on) { ShowScenario(on); };
    tpic_->ScenarioShown = [this] { return sce_ && sce_->isVisible(); };
    tpic_->SetScenarioButton(false);
  }
  // Read once the callbacks are in place: a window stored as visible shows itself.
  if (ini) sce_->ReadStp(*ini);
}

void TForm1::ShowScenario(bool on) {
  if (!sce_) return;
  sce_->setVisible(on);
  if (on) sce_->raise();
  if (aTunScenario_) aTunScenario_->setChecked(sce_->isVisible());
}

void TForm1::CreateToolWindows() {
  program_->Windows.CreateAll(TCreatePoint::FrameStart, &core_->AutoIni(), AbortPgm);
  TCyclePorts ports = core_->Cycle.Ports();
  if (resForm_ || smallFrm_) {
    resultsPort_ = std::make_unique<TResultsPort>(resForm_, smallFrm_);
    ports.results = resultsPort_.get();
  }
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
  resultsPort_.reset();
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

void TForm1::ToggleTunerView() {
  if (!tpic_) return;
  tpic_->setVisible(!tpic_->isVisible());
  if (tpic_->isVisible()) tpic_->raise();
  aTunView_->setChecked(tpic_->isVisible());
}

void TForm1::SetMainCaption() { setWindowTitle(MainCaption(QStringLiteral(QZ_VERSION))); }

bool TForm1::StartUnit(QString& messages) {
  const QSize sz = Screen().Size();
  const bool ok = program_->Start(messages, sz.width(), sz.height());
  RefreshPlaneExtHint();
  if (resForm_) {
    resForm_->SetExtCaption();
    // Starting the unit switched its counter; until the first result arrives the window shows
    // that it has no data.
    resForm_->Napln(nullptr);
  }
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
  connect(aTunScenario_, &QAction::triggered, this,
          [this] { ShowScenario(!(sce_ && sce_->isVisible())); });
  connect(mTuner_, &QMenu::aboutToShow, this, [this] {
    aTunView_->setChecked(tpic_ && tpic_->isVisible());
    aTunScenario_->setChecked(sce_ && sce_->isVisible());
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
  // "Mode&l" is a command of its own on the menu bar.
  QAction* aModel = mb->addAction(QStringLiteral("Mode&l"));
  aModel->setObjectName(QStringLiteral("miModel"));
  aModel->setStatusTip(QStringLiteral("Control of simulation results"));
  connect(aModel, &QAction::triggered, this, [this] {
    if (mdl_) {
      mdl_->show();
      mdl_->raise();
    }
  });
  QMenu* mHelp = top(QStringLiteral("&Help"), QString());
  QAction* aContents = mHelp->addAction(QStringLiteral("&Contents"));
  aContents->setStatusTip(QStringLiteral("Quzar Help starting page"));
  connect(aContents, &QAction::triggered, this, [this] { ShowHelp(3); });
  winCmds_->AddHelpItems(mHelp);
  // F1 anywhere in the frame window opens the page of its commands.
  QAction* aF1 = new QAction(this);
  aF1->setObjectName(QStringLiteral("HelpKey"));
  aF1->setShortcut(QKeySequence(Qt::Key_F1));
  aF1->setShortcutContext(Qt::WindowShortcut);
  addAction(aF1);
  connect(aF1, &QAction::triggered, this,
          [this] { ShowHelpKeyword(QString::fromLatin1(kHelpFrameKeyword)); });

  for (QAction* a : mb->actions()) {
    // A menu that holds nothing yet stays off the menu bar until its first item comes.
    if (QMenu* m = a->menu()) HideWhileEmpty(m);
  }
  // The hint of the last item pointed at does not outlive its menu.
  for (QMenu* m : mb->findChildren<QMenu*>())
    connect(m, &QMenu::aboutToHide, this, [this] { panHint_->clear(); });
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
                  QStringLiteral("tbSys"), nullptr, [this] {
                    const TToolWindowEntry* e =
                        program_->Windows.Find(QString::fromLatin1(kTuStpSection));
                    if (e && e->shown && e->show) e->show(!e->shown());
                  });
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
  tbSave_ = button(st->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save results|"),
                   QStringLiteral("tbSaveResults"), aSaveRes_, [this] { SaveAsTxt(); });
  button(BadgeIcon(QStringLiteral("Pic")), QStringLiteral("Save picture|"),
         QStringLiteral("tbSavePicture"), winCmds_->SavePictureAction(),
         [this] { winCmds_->SavePictureAction()->trigger(); });
  button(st->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Load system setup|"),
         QStringLiteral("tbLoadSetup"), findChild<QAction*>(QStringLiteral("miLoadSetup")),
         [this] { LoadSetupClick(); });
  button(BadgeIcon(QStringLiteral("Stp")), QStringLiteral("Save system setup|"),
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
  aTrApply_->setChecked(!s.removeChecked);
  aTrRemove_->setChecked(s.removeChecked);
}

void TForm1::RefreshPlaneExtHint() { SetHint(tbExt_, transformCmds_->PlaneExtButtonHint()); }

// ---- commands -------------------------------------------------------------------------------

void TForm1::miSweepClick() {
  // A measured scenario play owns the unit until it ends.
  if (sce_ && sce_->MeasuredPlaying()) return;
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
  if (sce_ && sce_->Playing()) {
    // A scenario play runs inside its button's handler: it ends first (a measured play still
    // completes its files) and the window closes once the play has returned.
    pendingExit_ = choice;
    sce_->StopPlay();
    sce_->AfterPlay([this] { QTimer::singleShot(0, this, &QWidget::close); });
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
  QCoreApplication::exit(0);
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
  if (resForm_) {
    resForm_->SetExtCaption();
    resForm_->RflCaption();
  }
  if (smallFrm_) smallFrm_->RflCaption();
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

void TForm1::ShowHelp(int topic) {
  program_->Windows.CreateOne(QStringLiteral("HelpViewer"), nullptr);
  if (help_) help_->ShowTopic(topic);
}

void TForm1::ShowHelpOver(QDialog* dialog, int topic) {
  ShowHelp(topic);
  KeepHelpOver(dialog);
}

void TForm1::ShowHelpKeywordOver(QDialog* dialog, const QString& keyword) {
  ShowHelpKeyword(keyword);
  KeepHelpOver(dialog);
}

void TForm1::KeepHelpOver(QDialog* dialog) {
  if (!help_ || !dialog || !dialog->isVisible() || !dialog->isModal()) return;
  if (help_->parentWidget() == dialog) return;
  // A modal dialog blocks every other window of the program: the viewer belongs to the dialog
  // while it is open, and goes back to the frame window when the dialog closes.
  const QPoint at = help_->pos();
  help_->setParent(dialog, help_->windowFlags());
  help_->move(at);
  help_->show();
  connect(
      dialog, &QDialog::finished, this,
      [this] {
        if (!help_) return;
        const bool shown = help_->isVisible();
        const QPoint at = help_->pos();
        help_->setParent(this, help_->windowFlags());
        help_->move(at);
        help_->setVisible(shown);
      },
      Qt::SingleShotConnection);
}

void TForm1::ShowHelpKeyword(const QString& keyword) {
  program_->Windows.CreateOne(QStringLiteral("HelpViewer"), nullptr);
  if (help_) help_->ShowKeyword(keyword);
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

void TForm1::Pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

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
