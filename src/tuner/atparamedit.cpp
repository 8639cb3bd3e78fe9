#include "tuner/atparamedit.h"

#include <QFileInfo>

#include "comm/errcodes.h"
#include "comm/qzcmd.h"
#include "sim/tunermodel.h"
#include "tuner/tunmem.h"
#include "util/asker.h"
#include "util/firststart.h"
#include "util/folders.h"
#include "util/valueinput.h"

namespace qz {

const char* const kAskTarget = "Reflection coefficient target (Mag in milliunits) ";
const char* const kAskToler = "Reflection coefficient tolerance (Mag in milliunits) ";
const char* const kAskSkip = "Number of skipped measurements before new tuning";
const char* const kAskSmooth =
    "Smoothing count\r\n(Number of averaged measurements for one tuning step)";
const char* const kAskDelay =
    "Tuning delay after microwave power onset.\r\nUnit defined in Tun.cfg.";
const char* const kAskHyst = "Hysteresis for stubs 1-3 swapping (degrees) ";
const char* const kAskMaxMag = "Max. magnitude to tune (milliunits)";
const char* const kAskDefaults = "Set autotune parameters to defaults";
const char* const kAskMaxInsert = "Max. stub insertion (mm), 0=default";

namespace {
constexpr uint16_t kMaxMagDefault = 1000;
// The name the open dialog proposes for a memory file.
constexpr const char* kLoadMemName = "tun.mem";
}  // namespace

TAtParamEdit::TAtParamEdit(TTunerModel& model, TQzCmd& cmd, TAsker* asker)
    : model_(model), cmd_(cmd), asker_(asker) {}

TAsker& TAtParamEdit::Ask() const { return asker_ ? *asker_ : Asker(); }

void TAtParamEdit::EditRow(int row) {
  switch (row) {
    case atrTarget:
      EditTarget();
      break;
    case atrToler:
      EditToler();
      break;
    case atrSkip:
      EditSkip();
      break;
    case atrSmooth:
      EditSmooth();
      break;
    case atrWaitRF:
      ToggleWaitRF();
      break;
    case atrDelay:
      EditDelay();
      break;
    case atrHyst:
      EditHyst();
      break;
    case atrMaxMag:
      EditMaxMag();
      break;
    case atrDefaults:
      SetDefaults();
      break;
    default:
      break;
  }
}

void TAtParamEdit::Commit(const char* name, int32_t code, const std::function<void()>& restore) {
  cmd_.ShowCmdResult(QString::fromLatin1(name), code);
  if (code != kCmdOk) restore();
  model_.UpdateAtParams();
}

template <typename T>
void TAtParamEdit::EditSent(T& field, const char* prompt, int32_t lo, int32_t hi,
                            const char* name) {
  const T old = field;
  const int32_t v = AskIntegerInRange(QString::fromLatin1(prompt), int32_t(old), lo, hi, Ask());
  if (v == int32_t(old)) return;
  field = T(v);
  Commit(name, cmd_.SetAutotuneParams(), [&field, old] { field = old; });
}

void TAtParamEdit::EditTarget() { EditSent(model_.Mot().Targ_mU, kAskTarget, 0, 1000, "Target"); }
void TAtParamEdit::EditToler() { EditSent(model_.Mot().Toler_mU, kAskToler, 0, 1000, "Tolerance"); }
void TAtParamEdit::EditSkip() {
  EditSent(model_.Mot().Skip, kAskSkip, 0, 255, "Skipped Measurements");
}
void TAtParamEdit::EditSmooth() {
  EditSent(model_.Mot().Smooth, kAskSmooth, 1, 255, "Smoothing count");
}
void TAtParamEdit::EditDelay() { EditSent(model_.Mot().Delay5b, kAskDelay, 0, 31, "Tuning delay"); }

void TAtParamEdit::ToggleWaitRF() {
  bool& wait = model_.Mot().WaitRF;
  const bool old = wait;
  wait = !old;
  Commit("Wait for RF", cmd_.SetAutotuneParams(), [&wait, old] { wait = old; });
}

void TAtParamEdit::EditHyst() {
  uint8_t& hyst = model_.Mot().HystDg;
  const uint8_t old = hyst;
  const int32_t v = AskIntegerInRange(QString::fromLatin1(kAskHyst), old, 0, 255, Ask());
  if (v == old) return;
  hyst = uint8_t(v);
  Commit("Hysteresis", cmd_.SetHysteresis(uint8_t(v)), [&hyst, old] { hyst = old; });
}

void TAtParamEdit::EditMaxMag() {
  uint16_t& mag = model_.Sim().MaxMag_mU;
  const int32_t v = AskIntegerInRange(QString::fromLatin1(kAskMaxMag), mag, 0, 1000, Ask());
  if (v != mag) {
    // The model's own limit: nothing goes to the unit.
    mag = uint16_t(v);
    model_.UpdateAtParams();
  }
  Watermark();
}

bool TAtParamEdit::SetDefaults() {
  if (!AskYesNo(QString::fromLatin1(kAskDefaults), Ask())) return false;
  TMotState& mot = model_.Mot();
  const TMotState old = mot;
  SetAutotuneDefaults(mot);
  int32_t r = cmd_.SetAutotuneParams();
  // The hysteresis has a command of its own, given only once the unit took the others.
  if (r == kCmdOk) {
    mot.HystDg = kAtDefHystDg;
    r = cmd_.SetHysteresis(kAtDefHystDg);
  }
  cmd_.ShowCmdResult(QStringLiteral("Autotune Defaults"), r);
  if (r != kCmdOk) {
    mot.Toler_mU = old.Toler_mU;
    mot.Skip = old.Skip;
    mot.Delay5b = old.Delay5b;
    mot.Smooth = old.Smooth;
    mot.WaitRF = old.WaitRF;
    mot.Targ_mU = old.Targ_mU;
    mot.HystDg = old.HystDg;
  }
  model_.Sim().MaxMag_mU = kMaxMagDefault;
  Watermark();
  model_.UpdateAtParams();
  return true;
}

void TAtParamEdit::EditMaxInsert() {
  const TTunerDerived& dv = model_.Derived();
  const double hi = model_.Descr().WgB_um / 1000.0;
  const TAskedValue a =
      AskValueInRange(QString::fromLatin1(kAskMaxInsert), 0.0, hi, dv.MaxSteps * dv.StepMm, Ask());
  model_.Sim().UserMax_mm = a.value;
  MotorsClicked();
}

void TAtParamEdit::MotorsClicked() {
  model_.TunerDescriptionChanged();
  Watermark();
}

int32_t TAtParamEdit::LoadMem(const QString& path) {
  if (!path.isEmpty()) lastMemFolder_ = QFileInfo(path).absolutePath();
  const int32_t code = LoadTunMemFile(path, model_);
  if (code != kTunMemOk) return code;
  model_.UpdateAtParams();
  Watermark();
  if (ShowStatus) ShowStatus(LoadMemOkText(path));
  return code;
}

QString TAtParamEdit::LoadMemErrorText(int32_t code, const QString& path) {
  return ErrorText(uint32_t(code)) + QStringLiteral(": ") + path;
}

QString TAtParamEdit::LoadMemOkText(const QString& path) {
  return QStringLiteral("Tuner memory loaded: ") + QFileInfo(path).fileName();
}

QString TAtParamEdit::LoadMemProposal() const {
  const QString name = QString::fromLatin1(kLoadMemName);
  if (!lastMemFolder_.isEmpty() && QFileInfo(lastMemFolder_).isDir())
    return InFolder(name, lastMemFolder_);
  const QString shipped = UserFolder() + QString::fromLatin1(kTunMemSubfolder);
  if (QFileInfo(shipped).isDir()) return InFolder(name, shipped);
  return InUserFolder(name);
}

}  // namespace qz
