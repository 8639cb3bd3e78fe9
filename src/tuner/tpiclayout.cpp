#include "tuner/tpiclayout.h"

#include <algorithm>

#include "tuner/stubrules.h"

namespace qz {

TTpicLayout BuildTpicLayout(int textH) {
  TTpicLayout l;
  const int lineH = std::max(12, textH + 4);
  const int btnH = lineH;
  const int btnW = kMotorWidth / 2;  // two buttons side by side over a housing

  // Above the guide: two rows of step buttons, then the housings with their number and text.
  const int btnY1 = 4;
  const int btnY2 = btnY1 + btnH + 1;
  const int motY = btnY2 + btnH + 3;
  const int motH = 2 * lineH + 2;
  const int guideY = motY + motH;

  // The row from the generator to the load.
  l.gen = QRect(5, guideY + 10, kGenWidth, kGuideHeight - 20);
  l.flng1 = QRect(l.gen.x() + kGenWidth - 2, guideY - 5, kFlangeWidth, kGuideHeight + 10);
  l.guide = QRect(l.flng1.x() + kFlangeWidth - 2, guideY, kGuideWidth, kGuideHeight);
  l.flng2 = QRect(l.guide.x() + kGuideWidth - 2, guideY - 5, kFlangeWidth, kGuideHeight + 10);
  l.load = QRect(l.flng2.x() + kFlangeWidth - 2, guideY + 10, kLoadWidth, kGuideHeight - 20);
  l.load_x0 = l.flng2.x() + kFlangeWidth / 2;

  const int centre = l.guide.x() + kGuideWidth / 2;
  for (int k = 0; k < 3; ++k) {
    const int c = centre + (k - 1) * kMotorPitch;
    const int mx = c - kMotorWidth / 2;
    l.mot[size_t(k)] = QRect(mx, motY, kMotorWidth, motH);
    l.motNo[size_t(k)] = QRect(mx + 2, motY + 1, kMotorWidth - 4, lineH);
    l.lbMotor[size_t(k)] = QRect(mx + 2, motY + 1 + lineH, kMotorWidth - 4, lineH);
    l.stubX[size_t(k)] = c - kStubWidth / 2;
    l.sbUp[size_t(k)] = QRect(mx, btnY1, btnW, btnH);
    l.sbDn[size_t(k)] = QRect(mx + kMotorWidth - btnW, btnY1, btnW, btnH);
    l.sbTop[size_t(k)] = QRect(mx, btnY2, btnW, btnH);
    l.sbBott[size_t(k)] = QRect(mx + kMotorWidth - btnW, btnY2, btnW, btnH);
  }
  l.pla1X = centre - kMotorPitch;
  l.tuneTime = QRect(5, btnY1, l.mot[0].x() - 5 - 3, btnH);
  // Right of motor 3, clear of the output flange.
  const int indicX = std::max(l.mot[2].right() + 4, l.flng2.right() + 3);
  l.indic = QRect(indicX, motY + 1 + lineH, l.load.right() - indicX + 1, lineH);

  l.motErr = QRect(l.guide.x(), guideY + kGuideHeight + 6, kGuideWidth, lineH);
  l.markerY = l.motErr.bottom() + 3;
  l.markerH = lineH + 4;
  l.symbolW = 12;
  l.extTextW = 60;
  l.client = QSize(l.load.x() + kLoadWidth + 5, l.markerY + l.markerH + 2);
  return l;
}

}  // namespace qz
