#include "app/simcore.h"

#include <QFileInfo>
#include <vector>

#include "comm/portlist.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/readfile.h"
#include "util/stpkeys.h"
#include "util/strtools.h"

namespace qz {

const char* const kMsgFatalInit = "Fatal error in Quzar initialization process.";
const char* const kMsgMemReadFail = "Quzar Memory Read fail.";
const char* const kMsgTunerMemFail = "TUNER Memory Read fail.";
const char* const kMsgWillTerminate = "QzmSoft will now terminate.";

namespace {

// The remembered run and send states of every unit in the frame window's section: "RunStatus1"
// .. and "SendStatus1" .., each 0 or 1 (a missing or unreadable key is 0).
struct TRunStates {
  TStatusAll run, send;
};

const TStpKeys<TRunStates>& RunStateKeys() {
  static const TStpKeys<TRunStates> keys = [] {
    const TStpKeys<TStatus> state = TStpKeys<TStatus>().Int(
        "", [](TStatus& s) -> TStatus& { return s; }, 0, 1, 0);
    std::vector<int> units;
    for (int n = 1; n <= kQvCanMax; ++n) units.push_back(n);
    return TStpKeys<TRunStates>()
        .Each(QStringLiteral("RunStatus"), units, state,
              [](TRunStates& r, int n) -> TStatus& { return r.run[n]; })
        .Each(QStringLiteral("SendStatus"), units, state,
              [](TRunStates& r, int n) -> TStatus& { return r.send[n]; });
  }();
  return keys;
}

}  // namespace

TSimCore::TSimCore(bool headless)
    : Qv(Mot),
      TunerModel(Descr, Mot, Sim),
      AutoTune(TunerModel),
      TunerAdapter(TunerModel, AutoTune),
      Model(Qv, Sim, TunerAdapter),
      Source(Model),
      Cmd(Qv, Sim, &Source),
      Sync(Cmd),
      Unit(Cmd, Port, Model),
      Cycle(Qv, TCyclePorts{&Unit}),
      headless_(headless),
      autoIni_(std::make_unique<IniFile>()) {
  // The analyzer state is told before any window that observes the autotune.
  AutoTune.AddObserver(&TuneTimeFollower);
  TunerModel.SetHost(&TunerHost);
}

bool TSimCore::Start(QString& messages, int screenWidth, int screenHeight) {
  messages.clear();
  screenW_ = screenWidth;
  screenH_ = screenHeight;
  OpenAutoSetup();

  // The model window reads its section when it is created, before the unit is started.
  if (!ModelInitialised) MdlPresenter.InitModel(autoIni_.get(), screenW_, screenH_);
  ModelInitialised = true;

  Cmd.SetAllStates(1);
  // The line's settings: the first port of the computer's list, then the configuration files.
  Port.Start(ProgramPortLists().names);
  for (const T232::TConfigProblem& p : Port.ConfigProblems())
    startupLines_ << ConfigNotReadText(p.path, p.cause);

  QString reason;
  if (Cmd.OpenConnection(reason) != kCmdOk) {
    messages = reason;
    return false;
  }
  // Unit initialisation, repeated while the operator chooses Retry.
  for (;;) {
    QString msg;
    const int32_t r = Cmd.InitUnits(msg);
    if (r == 0) break;
    // Both kinds of failure are shown and can be retried; a fatal one then ends the program.
    const QString text = (r == 2 ? QStringLiteral("Fatal ") : QStringLiteral("Non-fatal ")) +
                         QStringLiteral("Quzar initialization fail.\r\n") + msg;
    if (Asker().MessageBox(text, TMsgType::Error, mbOK | mbRetry) == mbRetry) continue;
    if (r == 2) {
      messages = QString::fromLatin1(kMsgFatalInit);
      return false;
    }
    break;
  }
  while (Cmd.ReadUnitMemory() != kCmdOk) {
    if (Asker().MessageBox(QString::fromLatin1(kMsgMemReadFail), TMsgType::Error,
                           mbAbort | mbRetry) != mbRetry) {
      messages = QString::fromLatin1(kMsgMemReadFail);
      return false;
    }
  }
  if (Qv.SrvVerNum > kSrvVerMeaStp) Cmd.SetMeasOutput(0);
  while (Cmd.ReadTunerMemory() != kCmdOk) {
    if (Asker().MessageBox(QString::fromLatin1(kMsgTunerMemFail), TMsgType::Error,
                           mbAbort | mbRetry) != mbRetry) {
      messages = QString::fromLatin1(kMsgTunerMemFail);
      return false;
    }
  }
  if (Qv.SrvVerNum > kSrvVerMeaStp) Cmd.SetTunerOutput();
  if (Qv.SrvVerNum > 54) Cmd.SetMotRefresh(32768);

  // The analyzer section; reading it sends every setting to the unit. Then the waveform
  // settings, which also size the current sweep.
  StartComment = Qv.ReadStp(1, *autoIni_, &Sync);
  Params.SendWaveform(kToutForCycle, !headless_, true, QString::fromLatin1(kTitleWaveform));

  // The remembered run and send states.
  TRunStates states;
  RunStateKeys().Read(states, *autoIni_, QString::fromLatin1(kFormSection));
  Cmd.SetStates(states.run, states.send);
  Cmd.SendHush(false, kActRemembered, kToutForCycle, false);
  Cmd.StartStopAll(false, kActRemembered, kToutForCycle, false);
  started_ = true;
  return true;
}

void TSimCore::OpenAutoSetup() {
  if (autoOpened_) return;
  autoOpened_ = true;
  const QString path = InUserFolder(QString::fromLatin1(kAutoSetupName));
  const TReadFileResult probe = ProbeRegularFile(path, TFileKind::Setup);
  if (probe.status != TReadFileStatus::Missing && !probe.ok()) {
    autoRefused_ = true;
    startupLines_ << AutoSetupNotReadText(path, probe.cause);
    return;
  }
  auto ini = std::make_unique<IniFile>(path);
  if (!ini->ErrorText().isEmpty()) {
    // Refused or unreadable once opened (the name changed hands since it was looked at).
    const TReadFileResult again = ReadRegularFile(path, TFileKind::Setup);
    autoRefused_ = true;
    startupLines_ << AutoSetupNotReadText(path,
                                          again.ok() ? OneLine(ini->ErrorText()) : again.cause);
    return;
  }
  autoIni_ = std::move(ini);
}

QString AutoSetupNotReadText(const QString& path, const QString& cause) {
  return QStringLiteral(
             "The automatic setup \"%1\" is not read (%2); the defaults are used and the file "
             "is left as it is.")
      .arg(path, cause);
}

QString ConfigNotReadText(const QString& path, const QString& cause) {
  return QStringLiteral("The configuration file \"%1\" is not read (%2); the defaults are used.")
      .arg(path, cause);
}

}  // namespace qz
