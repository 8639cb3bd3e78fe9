#include "app/control.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "app/cmdline.h"
#include "app/setupfiles.h"
#include "comm/errcodes.h"
#include "core/saveresults.h"
#include "sim/mdlanim.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "util/atomicfile.h"
#include "util/fileops.h"
#include "util/format.h"
#include "util/numutil.h"
#include "util/parse.h"
#include "util/unitconv.h"
#include "util/valueinput.h"

namespace qz {

namespace {

TControlResult Refused(TControlStatus s, const QString& why) { return {s, why}; }
TControlResult Refused(TControlStatus s, const char* why) { return {s, QString::fromLatin1(why)}; }

QString Num(double v) { return Format(QStringLiteral("%g"), {v}); }
QString IntText(int v) { return Format(QStringLiteral("%d"), {v}); }

// The number a value text gives (a comma counts as the point, as in the model's entries).
std::optional<double> ReadNumber(const QString& text) {
  const auto v = ParseDouble(text.trimmed(), true);
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

QString NumberLimits(const QString& key, double lo, double hi, const QString& text,
                     const QString& unit = QString()) {
  return Format(QStringLiteral("%s must be a number from %s to %s%s, not \"%s\"."),
                {key, Num(lo), Num(hi), unit, text});
}

enum class TKeyKind { Int, Number, Bool, Text };

struct TKeyRule {
  const char* key;
  TKeyKind kind;
  double lo = 0.0, hi = 0.0;
  // The change of the entries for the value read (number or whole number) and its text.
  std::function<void(TMdlPresenter&, double, const QString&)> apply;
};

// An up-down of the animation page and the entry beside it.
auto AnimUd(int TAnimControls::*ud, QString TMdlEntries::*text) {
  return [ud, text](TMdlPresenter& m, double v, const QString&) {
    m.Ent.Anim.*ud = int(v);
    m.Ent.*text = IntText(int(v));
  };
}
auto EntryText(QString TMdlEntries::*f) {
  return [f](TMdlPresenter& m, double, const QString& t) { m.Ent.*f = t; };
}
auto Flag(bool TAnimFlags::*f) {
  return [f](TMdlPresenter& m, double v, const QString&) { m.SetAnimFlag(f, v != 0.0); };
}

// Limits of the model's entries ("&Apply" reads them with these).
constexpr double kUncertMax = 1e12;
constexpr double kTempLimit = 1e12;
constexpr double kPowMinKw = 1e-12, kPowMaxKw = 10000.0;
constexpr double kSwrMax = 100000.0;
constexpr double kFreLow = 0.9, kFreHigh = 1.1;

const std::vector<TKeyRule>& Rules() {
  using K = TKeyKind;
  static const std::vector<TKeyRule> rules = {
      {"DutType", K::Int, kDutDefined, kDutChart,
       [](TMdlPresenter& m, double v, const QString&) { m.Ent.DutType = int(v); }},
      // Its limits follow the format of the entry (checked apart).
      {"RhoMag", K::Number, 0.0, 1.0, EntryText(&TMdlEntries::Mag)},
      {"RFormat", K::Int, kRflMag, kRflVswr,
       [](TMdlPresenter& m, double v, const QString&) { m.RflFormatChanged(int(v)); }},
      {"RhoPha", K::Number, kPhaUdMin, kPhaUdMax,
       [](TMdlPresenter& m, double v, const QString& t) {
         m.Ent.Pha = t;
         m.Ent.UdPha = RoundToInt32(v);
       }},
      {"UpDnPha", K::Int, kPhaUdMin, kPhaUdMax,
       [](TMdlPresenter& m, double v, const QString&) {
         m.Ent.UdPha = int(v);
         m.Ent.Pha = IntText(int(v));
       }},
      {"RUncert", K::Number, 0.0, kUncertMax, EntryText(&TMdlEntries::RhoUncert)},
      {"AniMagC", K::Int, kAnimMagUdMin, kAnimMagUdMax,
       AnimUd(&TAnimControls::UdMagC, &TMdlEntries::AniMagC)},
      {"AniPhaC", K::Int, kAnimPhaUdMin, kAnimPhaUdMax,
       AnimUd(&TAnimControls::UdPhaC, &TMdlEntries::AniPhaC)},
      {"AniMag1", K::Int, kAnimMagUdMin, kAnimMagUdMax,
       AnimUd(&TAnimControls::UdMag1, &TMdlEntries::AniMag1)},
      {"AniMag2", K::Int, kAnimMagUdMin, kAnimMagUdMax,
       AnimUd(&TAnimControls::UdMag2, &TMdlEntries::AniMag2)},
      {"AniPha1", K::Int, kAnimPhaUdMin, kAnimPhaUdMax,
       AnimUd(&TAnimControls::UdPha1, &TMdlEntries::AniPha1)},
      {"AniPha2", K::Int, kAnimPhaUdMin, kAnimPhaUdMax,
       AnimUd(&TAnimControls::UdPha2, &TMdlEntries::AniPha2)},
      {"AniPause", K::Int, kPauseMin, kPauseMax,
       [](TMdlPresenter& m, double v, const QString&) {
         m.Ent.UdPause = int(v);
         m.Ent.Pause = IntText(int(v));
       }},
      {"AniDwell", K::Int, kDwellMin, kDwellMax,
       [](TMdlPresenter& m, double v, const QString&) {
         m.Ent.Anim.UdDwell = int(v);
         m.Ent.Anim.MeasPerPositTxt = IntText(int(v));
       }},
      {"AniMagS", K::Int, 0, double(MagStepItems().size() - 1),
       [](TMdlPresenter& m, double v, const QString&) {
         m.Ent.MagStepIdx = int(v);
         m.Ent.Anim.MagStepTxt = MagStepItems()[int(v)];
       }},
      {"AniPhaS", K::Int, 0, double(PhaStepItems().size() - 1),
       [](TMdlPresenter& m, double v, const QString&) {
         m.Ent.PhaStepIdx = int(v);
         m.Ent.Anim.PhaStepTxt = PhaStepItems()[int(v)];
       }},
      {"AniMagTxt", K::Number, kMagStepMin, kMagStepMax,
       [](TMdlPresenter& m, double, const QString& t) { m.Ent.Anim.MagStepTxt = t; }},
      {"AniPhaTxt", K::Number, kPhaStepMin, kPhaStepMax,
       [](TMdlPresenter& m, double, const QString& t) { m.Ent.Anim.PhaStepTxt = t; }},
      {"Pinc", K::Number, kPowMinKw, kPowMaxKw, EntryText(&TMdlEntries::Pow)},
      {"PUncert", K::Number, 0.0, 100.0, EntryText(&TMdlEntries::Puncert)},
      {"ErrByte", K::Int, 0, 255,
       [](TMdlPresenter& m, double v, const QString&) {
         m.Model().ErrByte = uint8_t(v);
         m.ErrByteToList();
       }},
      // Its limits follow the nominal frequency (checked apart).
      {"Freq", K::Number, 0.0, 0.0, EntryText(&TMdlEntries::Fre)},
      {"FUncert", K::Number, 0.0, 100.0, EntryText(&TMdlEntries::Funcert)},
      {"Temp", K::Number, -kTempLimit, kTempLimit, EntryText(&TMdlEntries::Temp)},
      {"TUncert", K::Number, -kTempLimit, kTempLimit, EntryText(&TMdlEntries::Tuncert)},
      {"MdlResPath", K::Text, 0, 0,
       [](TMdlPresenter& m, double, const QString& t) {
         m.Model().MdlResPath = t;
         m.Ent.MdlResPath = t;
       }},
      {"cbReverseMag", K::Bool, 0, 1, Flag(&TAnimFlags::ReverseMag)},
      {"cbReversePha", K::Bool, 0, 1, Flag(&TAnimFlags::ReversePha)},
      {"cbNoSpiral", K::Bool, 0, 1, Flag(&TAnimFlags::NoSpiral)},
  };
  return rules;
}

// The magnitude entry's limits in its present format.
void MagLimits(int format, double& lo, double& hi, QString& unit) {
  switch (format) {
    case kRflDb:
      lo = kDbFloor;
      hi = 0.0;
      unit = QStringLiteral(" dB");
      break;
    case kRflVswr:
      lo = 1.0;
      hi = kSwrMax;
      unit = QString();
      break;
    default:
      lo = 0.0;
      hi = 1.0;
      unit = QString();
      break;
  }
}

}  // namespace

QString RunEndReason(bool closing, bool immedStop, bool passesDone) {
  if (closing) return QString::fromLatin1(kEndClosing);
  if (immedStop) return QString::fromLatin1(kEndStopped);
  if (passesDone) return QString::fromLatin1(kEndPassesDone);
  return QString::fromLatin1(kEndPaused);
}

namespace {

// Whether the folder of `path` takes a new file, as a save's temporary file beside the target:
// one is created and removed at once (named as the save's own, so that a leftover is removed by
// the next save). Empty when it does, else the system's reason.
QString NewFileProblem(const QString& path) {
  const QString probe = QFileInfo(path).absolutePath() + QLatin1Char('/') +
                        AtomicTempName(path, QStringLiteral("wprobe"));
  const QByteArray name = QFile::encodeName(probe);
  const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    // A probe left by an earlier check that was ended before it removed it.
    if (errno == EEXIST) return QString();
    return QString::fromLocal8Bit(std::strerror(errno));
  }
  ::close(fd);
  ::unlink(name.constData());
  return QString();
}

}  // namespace

QString WritablePathProblem(const QString& path, const QString& runningLog) {
  if (path.trimmed().isEmpty()) return QStringLiteral("A file name is needed.");
  const QFileInfo fi(path);
  if (IsNonRegularFile(path)) return NotRegularFileText(path);
  if (!runningLog.isEmpty() && SameFile(path, runningLog))
    return QString::fromLatin1(kRunningLogText).arg(path);
  if (fi.exists() && IsReadOnlyFile(path))
    return QStringLiteral("\"%1\" is read-only; it is not overwritten.").arg(path);
  const QFileInfo folder(fi.absolutePath());
  if (!folder.isDir())
    return QStringLiteral("Folder \"%1\" does not exist.")
        .arg(QDir::toNativeSeparators(fi.absolutePath()));
  if (!folder.isWritable())
    return QStringLiteral("Folder \"%1\" cannot be written.").arg(fi.absolutePath());
  if (const QString why = NewFileProblem(path); !why.isEmpty())
    return QStringLiteral("\"%1\" cannot be written: %2.").arg(path, why);
  return QString();
}

QStringList ModelKeyNames() {
  QStringList names;
  for (const TKeyRule& r : Rules()) names << QString::fromLatin1(r.key);
  return names;
}

QString ModelValueEdit(const QString& key, const QString& text, const TMdlEntries& now,
                       double nominalHz, std::function<void(TMdlPresenter&)>& edit) {
  edit = nullptr;
  const TKeyRule* rule = nullptr;
  for (const TKeyRule& r : Rules())
    if (key.compare(QLatin1String(r.key), Qt::CaseInsensitive) == 0) rule = &r;
  if (!rule)
    return QStringLiteral("Unknown key \"%1\"; the model's keys are: %2.")
        .arg(key, ModelKeyNames().join(QStringLiteral(", ")));
  const QString name = QString::fromLatin1(rule->key);
  const QString t = text.trimmed();
  double v = 0.0;
  switch (rule->kind) {
    case TKeyKind::Text:
      break;
    case TKeyKind::Bool: {
      if (t != QLatin1String("0") && t != QLatin1String("1"))
        return QStringLiteral("%1 must be 0 or 1, not \"%2\".").arg(name, text);
      v = t == QLatin1String("1") ? 1.0 : 0.0;
      break;
    }
    case TKeyKind::Int: {
      const auto n = ParseInt32(t);
      if (!n || *n < rule->lo || *n > rule->hi)
        return Format(QStringLiteral("%s must be a whole number from %d to %d, not \"%s\"."),
                      {name, int(rule->lo), int(rule->hi), text});
      v = *n;
      break;
    }
    case TKeyKind::Number: {
      double lo = rule->lo, hi = rule->hi;
      QString unit;
      std::optional<double> n;
      if (name == QLatin1String("Freq")) {
        // Megahertz unless the text gives its unit; a frequency far from the nominal one would be
        // taken as a typing error by the model.
        lo = kFreLow * nominalHz / 1e6;
        hi = kFreHigh * nominalHz / 1e6;
        unit = QStringLiteral(" MHz");
        const TParsedValue p = ParseWithSuffix(t, QChar('M'), 0.0);
        if (p.ok && std::isfinite(p.value)) n = p.value / 1e6;
      } else {
        if (name == QLatin1String("RhoMag")) MagLimits(now.RFormat, lo, hi, unit);
        n = ReadNumber(t);
      }
      if (!n || *n < lo || *n > hi) return NumberLimits(name, lo, hi, text, unit);
      v = *n;
      break;
    }
  }
  const auto apply = rule->apply;
  edit = [apply, v, t](TMdlPresenter& m) { apply(m, v, t); };
  return QString();
}

// ---- the control ----------------------------------------------------------------------------

TControl::TControl(TControlPort& port) : port_(port) {}

TControl::~TControl() = default;

bool TControl::Running() const { return runPending_ || port_.Running(); }

TControlResult TControl::Refusal(bool disabledInRun) {
  if (port_.DialogOpen()) return Refused(TControlStatus::Busy, kBusyDialog);
  if (disabledInRun && Running()) return Refused(TControlStatus::Busy, kBusyRunning);
  // A measured scenario play runs the unit itself: what a run refuses, the play refuses too.
  if (disabledInRun && port_.ScenarioPlaying()) return Refused(TControlStatus::Busy, kBusyScenario);
  return {};
}

TControlResult TControl::Done(TControlResult r) {
  lastError_ = r.error;
  return r;
}

TControlResult TControl::PathRefusal(const QString& path) const {
  if (const QString why = WritablePathProblem(path, port_.RunningLogPath()); !why.isEmpty())
    return Refused(TControlStatus::NotWritable, why);
  return {};
}

TControlResult TControl::SaveFailed(const QString& path, const QString& error) const {
  // The writer could not create the file (the folder refused it meanwhile, a special file took
  // the name): the path is what failed. A write that failed on its way (a full disk) stays a
  // failure of the command.
  const QString why = WritablePathProblem(path, port_.RunningLogPath());
  return Refused(why.isEmpty() ? TControlStatus::Failed : TControlStatus::NotWritable, error);
}

TControlResult TControl::Run() {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  if (Running()) return Done(Refused(TControlStatus::WrongState, kStateRunning));
  if (port_.ScenarioPlaying()) return Done(Refused(TControlStatus::Busy, kBusyScenario));
  // The run starts once the call has been answered: the caller is not kept waiting for its end.
  runPending_ = true;
  const std::weak_ptr<int> alive = alive_;
  auto start = [this, alive] {
    // A Pause, Stop or Quit before this point has cancelled the run.
    if (alive.expired() || !runPending_) return;
    runPending_ = false;
    // Whatever came in between (a dialog, a run started by the operator) wins.
    const uint64_t startsBefore = runsStarted_;
    if (!port_.Running() && !port_.DialogOpen()) port_.RunPause();
    // The program may have ended meanwhile (a run ended by closing the window).
    if (alive.expired()) return;
    // A run of the operator's going on is told when it ends; a run that never began is told
    // now: Running has gone back to false.
    if (runsStarted_ == startsBefore && !port_.Running())
      RunEnded(QString::fromLatin1(kEndNotStarted));
  };
  if (Defer)
    Defer(start);
  else
    start();
  return Done({});
}

TControlResult TControl::Pause() {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  if (runPending_ && !port_.Running()) {
    // Asked before the run began: it does not begin.
    runPending_ = false;
    RunEnded(QString::fromLatin1(kEndPaused));
    return Done({});
  }
  if (!port_.Running()) return Done(Refused(TControlStatus::WrongState, kStateNotRunning));
  port_.RunPause();
  return Done({});
}

TControlResult TControl::Stop() {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  if (runPending_ && !port_.Running()) {
    // Asked before the run began: it does not begin.
    runPending_ = false;
    RunEnded(QString::fromLatin1(kEndStopped));
  }
  port_.StopUnit();
  return Done({});
}

TControlResult TControl::Finish(bool on) {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  if (port_.FinishSweep() != on) port_.ToggleFinishSweep();
  return Done({});
}

TControlResult TControl::LoadSetup(const QString& path) {
  if (TControlResult r = Refusal(true); !r.ok()) return Done(r);
  if (path.trimmed().isEmpty())
    return Done(Refused(TControlStatus::InvalidValue, QStringLiteral("A file name is needed.")));
  QString comment, error;
  if (!port_.LoadSetup(path, comment, error)) return Done(Refused(TControlStatus::Failed, error));
  return Done({});
}

TControlResult TControl::SaveSetup(const QString& path, const QString& comment) {
  if (TControlResult r = Refusal(true); !r.ok()) return Done(r);
  if (TControlResult r = PathRefusal(path); !r.ok()) return Done(r);
  QString error;
  if (!port_.SaveSetup(path, comment, error)) return Done(SaveFailed(path, error));
  return Done({});
}

TControlResult TControl::SaveResults(const QString& path, const QString& comment) {
  if (TControlResult r = Refusal(true); !r.ok()) return Done(r);
  if (TControlResult r = PathRefusal(path); !r.ok()) return Done(r);
  QString error;
  if (!port_.SaveResults(path, comment, error)) return Done(SaveFailed(path, error));
  return Done({});
}

TControlResult TControl::SaveResultsCsv(const QString& path, const QString& comment) {
  if (TControlResult r = Refusal(true); !r.ok()) return Done(r);
  if (TControlResult r = PathRefusal(path); !r.ok()) return Done(r);
  QString error;
  if (!port_.SaveResultsCsv(path, comment, error)) return Done(SaveFailed(path, error));
  return Done({});
}

TControlResult TControl::SaveChart(const QString& type, const QString& path, uint32_t width,
                                   uint32_t height) {
  if (TControlResult r = Refusal(true); !r.ok()) return Done(r);
  if (!ChartSaver)
    return Done(Refused(TControlStatus::Failed, QStringLiteral("Charts cannot be drawn here.")));
  if (TControlResult r = PathRefusal(path); !r.ok()) return Done(r);
  const TChartResult c = ChartSaver(type, path, width, height);
  if (c.ok()) return Done({});
  // Code 2: a type, size or extension the chart cannot have; otherwise writing failed.
  if (c.code == 2) return Done(Refused(TControlStatus::InvalidValue, c.error));
  return Done(SaveFailed(path, c.error));
}

TControlResult TControl::SetModelLoad(double magnitude, double phaseDeg) {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  if (!std::isfinite(magnitude) || magnitude < 0.0 || magnitude > 1.0)
    return Done(
        Refused(TControlStatus::InvalidValue,
                Format(QStringLiteral("The magnitude must be from 0 to 1, not %g."), {magnitude})));
  if (!std::isfinite(phaseDeg) || phaseDeg < kPhaUdMin || phaseDeg > kPhaUdMax)
    return Done(Refused(TControlStatus::InvalidValue,
                        Format(QStringLiteral("The phase must be from %d to %d degrees, not %g."),
                               {kPhaUdMin, kPhaUdMax, phaseDeg})));
  const QString mag = Format(QStringLiteral("%.15g"), {magnitude});
  const QString pha = Format(QStringLiteral("%.15g"), {phaseDeg});
  port_.EditModel([mag, pha, phaseDeg](TMdlPresenter& m) {
    m.Ent.DutType = kDutDefined;
    m.Ent.RFormat = kRflMag;
    m.Ent.Mag = mag;
    m.Ent.Pha = pha;
    m.Ent.UdPha = RoundToInt32(phaseDeg);
  });
  return Done({});
}

TControlResult TControl::SetModelValue(const QString& key, const QString& value) {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  std::function<void(TMdlPresenter&)> edit;
  const QString why = ModelValueEdit(key, value, port_.ModelEntries(), port_.NominalFreqHz(), edit);
  if (!why.isEmpty()) return Done(Refused(TControlStatus::InvalidValue, why));
  port_.EditModel(edit);
  return Done({});
}

TControlResult TControl::ModelValueText(const QString& key, QString& text) {
  text.clear();
  QString name;
  for (const QString& k : ModelKeyNames())
    if (k.compare(key, Qt::CaseInsensitive) == 0) name = k;
  if (name.isEmpty())
    return Done(Refused(TControlStatus::InvalidValue,
                        QStringLiteral("Unknown key \"%1\"; the model's keys are: %2.")
                            .arg(key, ModelKeyNames().join(QStringLiteral(", ")))));
  text = port_.ModelStp().TextOf(name).value_or(QString());
  return Done({});
}

TControlCmdAnswer TControl::AutoTune() {
  TControlCmdAnswer a;
  a.result = Refusal(true);
  // Without a tuner the Tuner menu is disabled.
  if (a.result.ok() && !port_.HasTuner()) a.result = Refused(TControlStatus::Failed, kNoTuner);
  if (a.result.ok()) {
    a.code = port_.SingleTune();
    // A tune that ran but could not match the load says why; a failing command its error.
    const QString outcome = a.code == 0 ? port_.TuneOutcomeText() : QString();
    a.text = outcome.isEmpty() ? ErrorText(uint32_t(a.code)) : outcome;
  }
  Done(a.result);
  return a;
}

TControlCmdAnswer TControl::MoveStubs(double mm1, double mm2, double mm3) {
  TControlCmdAnswer a;
  a.result = Refusal(true);
  if (a.result.ok() && !port_.HasTuner()) a.result = Refused(TControlStatus::Failed, kNoTuner);
  if (!a.result.ok()) {
    Done(a.result);
    return a;
  }
  const double step = port_.StepMm();
  const int maxSteps = port_.MaxSteps();
  const double maxMm = step * maxSteps;
  const double mm[3] = {mm1, mm2, mm3};
  std::array<int, 3> steps{};
  for (int i = 0; i < 3; ++i) {
    if (!std::isfinite(mm[i]) || mm[i] < 0.0 || mm[i] > maxMm || step <= 0.0) {
      a.result = Refused(TControlStatus::InvalidValue,
                         Format(QStringLiteral("Stub %d must be from 0 to %g mm, not %g mm."),
                                {i + 1, maxMm, mm[i]}));
      Done(a.result);
      return a;
    }
    steps[size_t(i)] = ClampLowWins(RoundToInt32(mm[i] / step), 0, maxSteps);
  }
  a.code = port_.MoveStubs(steps);
  a.text = ErrorText(uint32_t(a.code));
  Done(a.result);
  return a;
}

TControlResult TControl::Quit(bool saveSetup) {
  if (TControlResult r = Refusal(false); !r.ok()) return Done(r);
  // A run asked for and not begun ends with the program, as a begun one would.
  if (runPending_ && !port_.Running()) {
    runPending_ = false;
    RunEnded(QString::fromLatin1(kEndClosing));
  }
  runPending_ = false;
  const std::weak_ptr<int> alive = alive_;
  auto quit = [this, alive, saveSetup] {
    if (!alive.expired()) port_.Quit(saveSetup);
  };
  if (Defer)
    Defer(quit);
  else
    quit();
  return Done({});
}

void TControl::RunEnded(const QString& reason) {
  if (OnRunEnded) OnRunEnded(reason);
}

void TControl::RunStarted(uint32_t run, uint64_t firstFrame) {
  ++runsStarted_;
  if (OnRunStarted) OnRunStarted(run, firstFrame);
}

TControlResult TControl::GetResult(TResultRecord& record) {
  const TQvWin* qv = port_.Analyzer();
  const std::optional<TResultRecord> r =
      qv ? LatestResultRecord(*qv, port_.MmPerStep()) : std::nullopt;
  if (!r) return Done(Refused(TControlStatus::Failed, kNoMeasuredData));
  record = *r;
  return Done({});
}

TControlResult TControl::GetResults(uint64_t sinceFrame, std::vector<TResultRecord>& rows,
                                    uint64_t& missed) {
  rows.clear();
  missed = 0;
  const TQvWin* qv = port_.Analyzer();
  if (!qv) {
    // Nothing measured: only "everything from the start" can be asked.
    if (sinceFrame == 0) return Done({});
    return Done(Refused(TControlStatus::InvalidValue, FrameBeyondNewestText(sinceFrame, 0)));
  }
  TResultRows r = ResultRecordsSince(*qv, port_.MmPerStep(), sinceFrame);
  if (!r.ok()) return Done(Refused(TControlStatus::InvalidValue, r.error));
  rows = std::move(r.rows);
  missed = uint64_t(r.missed);
  return Done({});
}

}  // namespace qz
