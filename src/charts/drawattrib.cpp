#include "charts/drawattrib.h"

#include <string>

#include "util/inifile.h"
#include "util/stpkeys.h"

namespace qz {

void TDrawAttrib::Defaults() {
  Visible = true;
  LineVisible = true;
  LinePen = TPen{clRed, psSolid, 1, pmCopy};
}

QString TDrawAttrib::SectionName(const QString& prefix, int32_t traceIndex) {
  return prefix + " Trace_" + QString::fromLatin1(std::to_string(traceIndex).c_str());
}

const TStpKeys<TDrawAttrib>& TDrawAttrib::Keys() {
  static const TStpKeys<TDrawAttrib> keys = TStpKeys<TDrawAttrib>()
                                                .Bool("TraceVisible", &TDrawAttrib::Visible)
                                                .Bool("LineVisible", &TDrawAttrib::LineVisible)
                                                .Group("Line", PenKeys(), &TDrawAttrib::LinePen)
                                                .Group("", TDots::Keys(), &TDrawAttrib::Dots);
  return keys;
}

void TDrawAttrib::WriteStp(IniFile& ini, const QString& prefix, int32_t traceIndex) const {
  Keys().Write(*this, ini, SectionName(prefix, traceIndex));
}

void TDrawAttrib::ReadStp(const IniFile& ini, const QString& prefix, int32_t traceIndex) {
  Keys().Read(*this, ini, SectionName(prefix, traceIndex));
}

}  // namespace qz
