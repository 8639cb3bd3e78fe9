#pragma once
// The drawing attributes of a trace: whether it is drawn, its line pen and its markers.

#include <QString>
#include <cstdint>

#include "charts/dots.h"
#include "charts/pen.h"

namespace qz {

class IniFile;

class TDrawAttrib {
 public:
  TDrawAttrib() { Defaults(); }

  // Resets Visible, LineVisible and LinePen; the marker style keeps its own values.
  void Defaults();
  // All fields, the marker style included.
  void Assign(const TDrawAttrib& source) { *this = source; }

  // The section of trace n of a chart: prefix + " Trace_" + n.
  static QString SectionName(const QString& prefix, int32_t traceIndex);
  void WriteStp(IniFile& ini, const QString& prefix, int32_t traceIndex) const;
  void ReadStp(const IniFile& ini, const QString& prefix, int32_t traceIndex);
  // The keys of one trace's section, for records holding traces.
  static const TStpKeys<TDrawAttrib>& Keys();

  bool operator==(const TDrawAttrib&) const = default;

  bool Visible = true;      // takes part in drawing and in the visible extents
  bool LineVisible = true;  // consecutive points are joined
  TPen LinePen;
  TDots Dots;
};

}  // namespace qz
