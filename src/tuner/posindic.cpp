#include "tuner/posindic.h"

#include "util/asker.h"
#include "util/format.h"
#include "util/numutil.h"
#include "util/valueinput.h"

namespace qz {

namespace {
constexpr double kMmPerInch = 25.4;
// A step length that could not divide: the texts and entries then count whole steps as mm.
double UsableStep(double stepMm) { return stepMm > 0.0 ? stepMm : 1.0; }
}  // namespace

QString IndicName(TIndic ind) {
  switch (ind) {
    case kIndicInch:
      return QStringLiteral("inch");
    case kIndicSteps:
      return QStringLiteral("Steps");
    default:
      return QStringLiteral("mm");
  }
}

TIndic NextIndic(TIndic ind) { return ind >= kIndicSteps || ind < 0 ? kIndicMm : ind + 1; }

QString ShowIndic(int steps, TIndic ind, double stepMm, QChar decSep) {
  switch (ind) {
    case kIndicInch:
      return Format(QStringLiteral("%0.3f"), {steps * stepMm / kMmPerInch}, decSep);
    case kIndicSteps:
      return Format(QStringLiteral("%d"), {int64_t(steps)}, decSep);
    default:
      return Format(QStringLiteral("%0.2f"), {steps * stepMm}, decSep);
  }
}

QString StubPositionPrompt(int mo, TIndic ind) {
  QString word = QStringLiteral("mm ");
  if (ind == kIndicSteps) word = QStringLiteral("steps ");
  if (ind == kIndicInch) word = QStringLiteral("inch ");
  return Format(QStringLiteral("Set Motor %d to "), {int64_t(mo)}) + word;
}

int AskStubPosition(int mo, TIndic ind, int present, int maxSteps, double stepMm, TAsker& asker) {
  const QString prompt = StubPositionPrompt(mo, ind);
  const double step = UsableStep(stepMm);
  int steps = present;
  if (ind == kIndicSteps) {
    steps = AskIntegerInRange(prompt, present, 0, maxSteps, asker);
  } else {
    const bool inch = ind == kIndicInch;
    const double perUnit = inch ? step / kMmPerInch : step;
    const TAskedValue a =
        AskValueInRange(prompt, 0.0, maxSteps * perUnit, present * perUnit, asker);
    steps = RoundToInt32(inch ? a.value * kMmPerInch / step : a.value / step);
  }
  return ClampLowWins(int32_t(steps), 0, int32_t(maxSteps));
}

}  // namespace qz
