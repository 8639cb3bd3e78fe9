#include "setupdlg/powcalmodel.h"

#include <cmath>

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "util/asker.h"
#include "util/numtext.h"
#include "util/unitconv.h"
#include "util/valueinput.h"

namespace qz {

const char* const kPowCalPrompt = "Calibration Factor Multiplier";
const char* const kPowCalBadInput = "Error: Bad input or out of bounds.\r\nPlease re-enter.";
const char* const kPowCalWritten = "CAL factor written successfully";
const char* const kPowCalWriteFailed = "ERROR while writing CAL factor";
const char* const kPowCalRestoreAsk = "Confirm: Restore CAL factor to unity";
const char* const kPowCalRestored = "CAL factor restored successfully";
const char* const kPowCalRestoreFailed = "ERROR while restoring CAL factor";

namespace {
// The flag of the calibration command: the factor goes to the unit's memory.
constexpr uint8_t kPowCalToMemory = 1;
}  // namespace

TPowCalModel::TPowCalModel(TQzCmd& cmd) : cmd_(cmd) {}

void TPowCalModel::Activate() {
  OriPowCorr = double(cmd_.Qv().UserPowCorr);
  LinCalFact = OriPowCorr;
  LogCalFact = PowRatioToDb(LinCalFact);
  LinMultMax = 10.0 / LinCalFact;
  LinMultMin = 0.1 / LinCalFact;
  LogMultMax = 10.0 - LogCalFact;
  LogMultMin = -LogCalFact - 10.0;
  LinMult = 1.0;
  LogMult = PowRatioToDb(1.0);
}

TPowCalAsk TPowCalModel::ModifyAsk() const {
  TPowCalAsk a;
  const QString prompt = QString::fromLatin1(kPowCalPrompt);
  if (Lin) {
    a.start = LinMult;
    a.lo = LinMultMin;
    a.hi = LinMultMax;
    if (a.lo > 0.10001) a.lo *= 1.001;
    if (a.hi < 9.999) a.hi *= 0.999;
    a.prompt = prompt + QStringLiteral(" (Lin) ");
  } else {
    a.start = LogMult;
    a.lo = LogMultMin;
    a.hi = LogMultMax;
    if (a.lo > -9.999) a.lo += 0.001;
    if (a.hi < 9.999) a.hi -= 0.001;
    a.prompt = prompt + QStringLiteral(" (dB) ");
  }
  return a;
}

void TPowCalModel::Modify(TAsker& asker) {
  const TPowCalAsk a = ModifyAsk();
  double start = a.start;
  double answer = 0.0;
  for (;;) {
    const TCheckedValue v = AskValueInRangeChecked(a.prompt, a.lo, a.hi, start, asker);
    // Cancel leaves the multiplier as it was, even when it lies outside the narrowed bounds
    // (a factor at a limit): asking again would never end.
    if (v.cancelled) return;
    if (!v.outOfRange) {
      answer = v.value;
      break;
    }
    asker.MessageBox(QString::fromLatin1(kPowCalBadInput), TMsgType::Error, mbOK);
    start = v.value;
  }
  if (Lin) {
    LinMult = answer;
    LogMult = PowRatioToDb(answer);
  } else {
    LogMult = answer;
    LinMult = std::pow(10.0, answer / 10.0);
  }
}

QString TPowCalModel::WriteQuestion() const {
  return QStringLiteral("Confirm: Write CAL factor multiplier ") + NumberText3(LinMult) +
         QStringLiteral(" = ") + NumberText3(LogMult) + QStringLiteral(" dB");
}

bool TPowCalModel::Write(TAsker& asker) {
  if (!AskYesNo(WriteQuestion(), asker)) return false;
  cmd_.Qv().UserPowCorr = float(LinCalFact * LinMult);
  // A failed command is reported, but the factor keeps its new value.
  const bool ok = cmd_.SetPowCalFactor(kPowCalToMemory) == kCmdOk;
  if (ok) {
    asker.MessageBox(QString::fromLatin1(kPowCalWritten), TMsgType::Information, mbOK);
  } else {
    asker.MessageBox(QString::fromLatin1(kPowCalWriteFailed), TMsgType::Error, mbOK);
  }
  return true;
}

bool TPowCalModel::Restore(TAsker& asker) {
  if (!AskYesNo(QString::fromLatin1(kPowCalRestoreAsk), asker)) return false;
  cmd_.Qv().UserPowCorr = 1.0f;
  const bool ok = cmd_.SetPowCalFactor(kPowCalToMemory) == kCmdOk;
  if (ok) {
    asker.MessageBox(QString::fromLatin1(kPowCalRestored), TMsgType::Information, mbOK);
  } else {
    asker.MessageBox(QString::fromLatin1(kPowCalRestoreFailed), TMsgType::Error, mbOK);
  }
  return true;
}

void TPowCalModel::Cancel() { cmd_.Qv().UserPowCorr = float(OriPowCorr); }

QString TPowCalModel::MultText() const { return NumberText3(Lin ? LinMult : LogMult); }

QString TPowCalModel::CurrentText() const { return NumberText3(LinCalFact); }

QString TPowCalModel::NewText() const { return NumberText3(LinCalFact * LinMult); }

}  // namespace qz
