#pragma once
// The small interfaces the measurement cycle talks through. The cycle itself knows no window:
// the frame window, the display windows, the results windows, data logging, the DDE item and
// the command layer each implement the part they own. Every call has a do-nothing default so
// that a part not yet present (or a test fake) only overrides what it cares about.

#include <QString>
#include <cstdint>

#include "core/onesweep.h"
#include "core/records.h"

namespace qz {

// Start/stop actions of the unit.
inline constexpr uint8_t kRunActStop = 0;
inline constexpr uint8_t kRunActRun = 1;
inline constexpr uint8_t kRunActSingleSeries = 3;
// Send/hush action that switches sending results on.
inline constexpr uint8_t kRunActSend = 1;

// The unit as the cycle sees it: the command layer's measured frame and the few commands a run
// sends. Commands go out with the frame time-out asked with -1, without waiting window and
// without retry question.
class TCycleUnit {
 public:
  virtual ~TCycleUnit() = default;
  // Receives the next frame into the analyzer state's frame buffer and decodes it into its
  // latest result; true when one arrived and the decoding accepted it.
  virtual bool Measure(uint16_t timeoutMs) = 0;
  virtual int32_t StartStop(uint8_t action, bool remember) {
    (void)action;
    (void)remember;
    return 0;
  }
  virtual int32_t SendHush(uint8_t action, bool remember) {
    (void)action;
    (void)remember;
    return 0;
  }
  // Stop Quzar: stop with the waiting window, remembered.
  virtual int32_t StopWithWait() { return 0; }
  // Clears the serial port's error state and discards its buffers (start of a run).
  virtual void ClearAndPurge() {}
  // Discards what the serial input holds (the signal came back after a low-signal pause).
  virtual void Purge() {}
  // The simulated unit starts counting its samples anew.
  virtual void ResetSampleCounter() {}
};

// Every display window together.
class TCycleDisplays {
 public:
  virtual ~TCycleDisplays() = default;
  // Empties the traces to draw; all also forgets the last drawn index.
  virtual void ResetTraces(bool all) { (void)all; }
  virtual void ForgetPreviousDrawing() {}
  virtual void KeepPreviousDrawing() {}
  // Clears the windows that are in clear-and-go mode.
  virtual void ClearDisplays() {}
  // Draws point `index` of the current sweep in every window.
  virtual void DrawPointAll(int32_t index) { (void)index; }
  virtual void FillSweepAll(const TOneSweep& swp) { (void)swp; }
  virtual void DrawSweepAll(const TOneSweep& swp) { (void)swp; }
  virtual void EraseMovingDots() {}
};

// The visible numeric results windows.
class TCycleResults {
 public:
  virtual ~TCycleResults() = default;
  virtual void ShowResult(const THresults& res) { (void)res; }
};

// Data logging.
class TCycleLogger {
 public:
  virtual ~TCycleLogger() = default;
  // Logging is armed (waits for the measurement to start).
  virtual bool Armed() const { return false; }
  // Logging is cancelled (a sampled run cannot be logged).
  virtual void Cancel() {}
  virtual void MeasurementStarted() {}
  // A record is due for every stored point (event logging or continuous sampling).
  virtual bool LoggingOn() const { return false; }
  // stamp: the frame's number and receive time (core/onesweep.h).
  virtual void WriteRecord(const THresults& res, const TSwpStamp& stamp) {
    (void)res;
    (void)stamp;
  }
  virtual void EventLoggingOff() {}
  // The run ends having accepted `frames` frames (told before EventLoggingOff).
  virtual void RunEnded(int64_t frames) { (void)frames; }
};

// The DDE item: publishes the result when the item is switched on and its timer has expired.
class TCyclePublisher {
 public:
  virtual ~TCyclePublisher() = default;
  virtual void PublishIfDue(const THresults& res) { (void)res; }
};

// The frame window's status bar: the message panel, the time-out panel and the samples
// progress bar.
class TCycleStatus {
 public:
  virtual ~TCycleStatus() = default;
  virtual void SetMessage(const QString& text) { (void)text; }
  virtual void SetTimeoutText(const QString& text) { (void)text; }
  virtual void SetProgressMax(int32_t max) { (void)max; }
  virtual void SetProgress(int32_t pos) { (void)pos; }
  // Red: a sample of the series was lost; otherwise the normal button face colour.
  virtual void SetProgressRed(bool red) { (void)red; }
};

// Controls that must not be used while a run is in progress. Windows register themselves with
// the cycle; at the start of a run they are told false, at its end true.
class TRunEnable {
 public:
  virtual ~TRunEnable() = default;
  virtual void EnableForRun(bool enabled) = 0;
};

// What the cycle needs from the frame window itself.
class TCycleHost {
 public:
  virtual ~TCycleHost() = default;
  // Hint of the Run/Pause command ("Start Quzar" or "Pause monitoring (Quzar remains
  // running)"); the tool button shows it followed by "|".
  virtual void SetRunHint(const QString& hint) { (void)hint; }
  virtual void SetRunButtonDown(bool down) { (void)down; }
  // The single-shot button is enabled and pressed.
  virtual bool SingleShotArmed() const { return false; }
  // Handles the pending window events once.
  virtual void Pump() {}
  // Called after every pass, before the cycle decides whether to pump and end (the frame
  // limits of runs without a window).
  virtual void PassDone() {}
};

}  // namespace qz
