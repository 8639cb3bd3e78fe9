#pragma once
// The persistent settings of one chart axis.

#include <QString>
#include <cstdint>

namespace qz {

struct TOsData {
  double MinDflt = 0.0;  // default range, set by the display that owns the chart
  double MaxDflt = 1.0;
  double MinAsk = 0.0;  // range requested by the operator or by autoscaling
  double MaxAsk = 1.0;
  double LastMin = 0.0;  // the requested range when the axis was created or read
  double LastMax = 1.0;
  bool UseDflt = false;  // use the default range instead of the requested one
  QString Meno;          // quantity name
  QString Jedn;          // unit text, empty when none
  int32_t Nunit = 0;     // chosen unit in the quantity's unit table, 0..3
  double Nasob = 1.0;    // conversion factor of the chosen unit
  bool Bcele = true;     // ends rounded outward to whole divisions
  bool Blin = true;      // linear; otherwise logarithmic (decimal)
  bool Bfine = false;    // logarithmic with divisions at 2..9 of each decade
  bool Bshort = false;   // short ticks at both edges instead of grid lines

  bool operator==(const TOsData&) const = default;
};

}  // namespace qz
