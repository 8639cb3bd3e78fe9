#pragma once
// What the analyzer state needs from the rest of the program to bring the unit in line with
// settings just read from a setup file. The command layer sends the commands; the measurement
// setup window refreshes itself; the autotune parameters window sends the tuner's settings.
// Each operation reports its own failure through the command layer, and the sequence goes on
// with the next setting, so one refused command does not leave the others unsent.

#include <cstdint>

#include "core/records.h"

namespace qz {

class TUnitSync {
 public:
  virtual ~TUnitSync() = default;

  // Stops the unit's measurement.
  virtual void StopUnit() = 0;
  // Sends the waveform settings (the analyzer state's waveform and its sampling record).
  virtual void SendWaveform() = 0;
  // Sends the frequency tolerance (MHz).
  virtual void SendFreqTolerance(uint16_t fdeltaMHz) = 0;
  // Sends the counting time (µs) with the counter state.
  virtual void SendCounter(int32_t tcountUs, uint8_t isCntOn) = 0;
  // Sends the substitute frequency (kHz).
  virtual void SendSubstFreq(int32_t fsubstKHz) = 0;
  // Sends the CW sampling frequency (Hz).
  virtual void SendFsamplCw(int32_t fsamplHz) = 0;
  // Sends the voltage and temperature averaging counts.
  virtual void SendAveraging(uint16_t vrpt, uint16_t trpt) = 0;
  // Sends the CW measurement and transmission timing.
  virtual void SendMeaStp(const TMeaStp& mstp) = 0;
  // Refreshes the measurement setup window when it is shown.
  virtual void RefreshMeaStpWindow() = 0;
  // Sends the period at which the unit sends motor data (ms).
  virtual void SendMotRefresh(uint16_t ms) = 0;
  // Sends the autotune parameters of the tuner motor state.
  virtual void SendAutotuneParams() = 0;
  // Switches the unit's autotune on or off.
  virtual void SendAutotuneOnOff(bool on) = 0;
  // Tells the unit whether to send its tune positions.
  virtual void SendTunePosState(bool on) = 0;
  // Sends the autotune hysteresis (degrees).
  virtual void SendHysteresis(uint8_t hystDg) = 0;
};

}  // namespace qz
