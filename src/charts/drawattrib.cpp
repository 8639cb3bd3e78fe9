#include "charts/drawattrib.h"

#include <string>

#include "util/inifile.h"

namespace qz {

void TDrawAttrib::Defaults() {
  Visible = true;
  LineVisible = true;
  LinePen = TPen{clRed, psSolid, 1, pmCopy};
}

QString TDrawAttrib::SectionName(const QString& prefix, int32_t traceIndex) {
  return prefix + " Trace_" + QString::fromLatin1(std::to_string(traceIndex).c_str());
}

void TDrawAttrib::WriteStp(IniFile& ini, const QString& prefix, int32_t traceIndex) const {
  const QString sec = SectionName(prefix, traceIndex);
  ini.WriteBool(sec, "TraceVisible", Visible);
  ini.WriteBool(sec, "LineVisible", LineVisible);
  WritePenKeys(ini, sec, "Line", LinePen);
  Dots.WriteStp(ini, sec);
}

void TDrawAttrib::ReadStp(const IniFile& ini, const QString& prefix, int32_t traceIndex) {
  const QString sec = SectionName(prefix, traceIndex);
  Visible = ini.ReadBool(sec, "TraceVisible", Visible);
  LineVisible = ini.ReadBool(sec, "LineVisible", LineVisible);
  LinePen = ReadPenKeys(ini, sec, "Line", LinePen);
  Dots.ReadStp(ini, sec);
}

}  // namespace qz
