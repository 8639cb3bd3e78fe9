#pragma once
// One decoded result with round values, shared by the tests of the results texts and windows:
// 2450 MHz, 0.25 at 30° at the input, 0.75 at −60° at the load, 1 kW incident, 62.5 W reflected,
// 937.5 W absorbed, 30 °C, error byte 5.

#include "core/records.h"

namespace qz::testing {

inline THresults SampleResult() {
  THresults r;
  r.je_qv = true;
  r.FreD = 2.45e9;
  r.Mag_m = 0.25;
  r.Pha_m = 30.0;
  r.Mag_z = 0.75;
  r.Pha_z = -60.0;
  r.Pinc = 1000.0;
  r.Prfl = 62.5;
  r.Pabs = 937.5;
  r.Temp = 30.0;
  r.ErrByte = 5;
  return r;
}

}  // namespace qz::testing