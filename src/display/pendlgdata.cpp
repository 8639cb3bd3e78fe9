#include "display/pendlgdata.h"

namespace qz {

const QStringList& PenStyleNames() {
  static const QStringList names = {QStringLiteral("Solid"),      QStringLiteral("Dashed"),
                                    QStringLiteral("Dotted"),     QStringLiteral("DashDot"),
                                    QStringLiteral("DashDotDot"), QStringLiteral("None")};
  return names;
}

int32_t PenStyleRow(int32_t style, int32_t listed) {
  return style >= 0 && style < listed ? style : -1;
}

void TPenDlgData::SetVisible(bool on) {
  if (!on)
    PenBuf.Style = psClear;
  else if (PenBuf.Style == psClear)
    PenBuf.Style = psSolid;
}

void TPenDlgData::SetStyle(int32_t style) {
  if (style >= psSolid && style <= psClear) PenBuf.Style = style;
}

}  // namespace qz
