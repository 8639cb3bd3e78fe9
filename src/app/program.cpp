#include "app/program.h"

#include "core/resultstext.h"
#include "sim/mdlpresenter.h"
#include "util/inifile.h"

namespace qz {

namespace {
// The keys of Save Results in "QuzarForm", with the frame window's defaults for missing ones.
void ReadSaveTxtKeys(const IniFile& ini, TSaveAsTxtState& st) {
  TFrameSetup f;
  ReadFrameSetup(ini, f, 1920, 1080);
  st.SeparForTxtSave = f.SeparForTxtSave;
  st.lastPath = f.SaveAsTxtPath;
}
}  // namespace

TProgram::TProgram(bool headless)
    : Core(headless),
      Dde(Core.Qv.Mob, Core.Mot, Core.Descr),
      LogText(Core.Qv, Core.Descr, CurrentProgramInfo()),
      Logger(Log.engine),
      Setup(Core, Windows) {
  Log.engine.SetWriteProc(&LogText);
  // The bus object is there whether the item is switched on or not; without a bus the program
  // runs on.
  Bus.Register();
  // The bus reads the item's text when it sends or is asked; a publication only tells it.
  Bus.SetTextSource([this] { return Dde.DdeStr(); });
  Dde.OnPublish = [this] {
    Bus.SetNotifyIntervalMs(TItemCoalescer::IntervalMs(Dde.DdeWait_ms));
    Bus.Changed();
  };

  // The services read their part of the automatic setup at once.
  Core.OpenAutoSetup();
  Dde.ReadStp(Core.AutoIni(), QString::fromLatin1(kFormSection));
  Log.engine.ReadStp(Core.AutoIni());
  ReadSaveTxtKeys(Core.AutoIni(), SaveTxt);

  TCyclePorts ports = Core.Cycle.Ports();
  ports.publisher = &Dde;
  ports.logger = &Logger;
  Core.Cycle.SetPorts(ports);
  // The item's last text of a run reaches its followers before anyone hears of the run's end.
  Core.Cycle.AddRunEnable(&Bus);
  Core.Cycle.AddRunEnable(&Windows);
  // The analyzer section holds the autotune parameters: the tuner and its windows follow them.
  Setup.AfterAnalyzerRead = [this] { Core.TunerModel.UpdateAtParams(); };

  // Without windows the model and the data logging read their own sections of a loaded setup;
  // their windows replace these entries.
  Setup.ReadFrame = [this](const IniFile& ini) {
    Dde.ReadStp(ini, QString::fromLatin1(kFormSection));
    ReadSaveTxtKeys(ini, SaveTxt);
  };
  // Their places in the orders are the windows' places.
  TToolWindowEntry model;
  model.section = QString::fromLatin1(kMdlSection);
  model.create = [](const IniFile*) {};
  model.createRank = 100;
  model.writeRank = 110;
  model.loadRank = 70;
  model.replaceable = true;
  model.readStp = [this](const IniFile& ini) { Core.MdlPresenter.LoadStp(ini, 1920, 1080); };
  // A setup saved without windows keeps the model's and the log's sections too.
  model.writeStp = [this](IniFile& ini) { Core.MdlPresenter.WriteStp(ini); };
  model.helpRow = model.section;
  (void)Windows.Register(std::move(model));
  TToolWindowEntry log;
  log.section = QStringLiteral("LogForm");
  log.create = [](const IniFile*) {};
  log.createRank = 30;
  log.writeRank = 30;
  log.loadRank = 30;
  log.replaceable = true;
  log.readStp = [this](const IniFile& ini) { Log.engine.ReadStp(ini); };
  log.writeStp = [this](IniFile& ini) { Log.engine.WriteStp(ini); };
  log.helpRow = log.section;
  (void)Windows.Register(std::move(log));
}

TProgram::~TProgram() {
  ShutDown();
  TCyclePorts ports = Core.Cycle.Ports();
  ports.publisher = nullptr;
  ports.logger = nullptr;
  Core.Cycle.SetPorts(ports);
  Core.Cycle.RemoveRunEnable(&Windows);
  Core.Cycle.RemoveRunEnable(&Bus);
}

bool TProgram::Start(QString& messages, int screenWidth, int screenHeight) {
  if (!Core.Start(messages, screenWidth, screenHeight)) return false;
  // The windows of the started unit in their order; right after the tuner picture the autotune
  // parameters are updated, so it and every later window show them.
  for (const QString& name : Windows.CreateOrder(TCreatePoint::UnitStart)) {
    Windows.CreateOne(name, &Core.AutoIni());
    if (name == QLatin1String("TunPic")) Core.TunerModel.UpdateAtParams();
  }
  return true;
}

bool TProgram::LoadSetupFile(const QString& path, QString& comment, QString& error) {
  comment.clear();
  const std::unique_ptr<IniFile> file = ReadSetupFile(path, error);
  if (!file) return false;
  if (!HoldsSetup(*file)) {
    error = NoSetupText(path);
    return false;
  }
  comment = Setup.LoadSetup(*file);
  return true;
}

void TProgram::EndLog() {
  if (logEnded_) return;
  logEnded_ = true;
  Log.engine.ProgramExit();
}

void TProgram::ShutDown() {
  if (shutDown_) return;
  shutDown_ = true;
  EndLog();
  Windows.DestroyAll();
  Bus.Unregister();
}

}  // namespace qz
