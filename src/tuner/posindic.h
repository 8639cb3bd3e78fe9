#pragma once
// Stub positions as the operator reads and types them: millimetres, inches or motor steps. The
// tuner picture and the single-shot commands window share these texts and the typed entry.

#include <QString>

namespace qz {

class TAsker;

// The position unit: 0 millimetres, 1 inches, 2 motor steps.
using TIndic = int;
inline constexpr TIndic kIndicMm = 0;
inline constexpr TIndic kIndicInch = 1;
inline constexpr TIndic kIndicSteps = 2;

// "mm", "inch" or "Steps".
QString IndicName(TIndic ind);
// The next unit when the unit box is clicked: mm, inch, Steps, mm...
TIndic NextIndic(TIndic ind);
// steps at stepMm millimetres per step: "%0.2f" mm, "%0.3f" inches, or the whole steps; decSep is
// the program's decimal point.
QString ShowIndic(int steps, TIndic ind, double stepMm, QChar decSep = QChar('.'));

// The prompt of the typed entry for motor mo (1..3): "Set Motor 2 to mm " and the like.
QString StubPositionPrompt(int mo, TIndic ind);
// Asks the position of motor mo in the unit ind (the range 0 .. maximum of travel in that unit,
// starting from the present position) and gives it back in steps, rounded half to even and
// limited to the travel. Cancel gives the present position.
int AskStubPosition(int mo, TIndic ind, int present, int maxSteps, double stepMm, TAsker& asker);

}  // namespace qz
