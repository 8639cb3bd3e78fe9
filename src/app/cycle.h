#pragma once
// The measurement cycle: the run loop of the frame window. Run/Pause starts it; each pass
// fetches one frame from the unit, decodes it into the analyzer state's result, hands it to the
// DDE item, the numeric results windows, the current sweep, the display windows and data
// logging, and keeps the status bar up to date. Between passes the host pumps the window events,
// so every other command of the program runs inside the loop; the run-control flags of the
// analyzer state end it.
//
// The cycle knows no window: it talks to the rest of the program through the interfaces of
// app/cycleports.h.

#include <QString>
#include <cstdint>
#include <vector>

#include "app/cycleports.h"

namespace qz {

class TQvWin;
class TAsker;

// Texts of the cycle.
extern const char* const kHintStartQuzar;     // "Start Quzar"
extern const char* const kHintPauseMonitor;   // "Pause monitoring (Quzar remains running)"
extern const char* const kMsgLowSignal;       // "Low Signal"
extern const char* const kMsgComTimeout;      // "COM Timeout"
extern const char* const kMsgNoTrigger;       // "No Trigger"
extern const char* const kMsgStopOk;          // "Quzar Stop OK"
extern const char* const kMsgLogWithSamples;  // data logging cancelled for a sampled run
inline constexpr int kStopOkNoticeMs = 500;
// In a sampled series the events are also pumped every this many passes.
inline constexpr int64_t kPumpEveryPasses = 5000;
// Where a pass may pump the events, it does so once this much time has passed on the program
// clock since the last pump (the first pass of a run always pumps).
inline constexpr int64_t kPumpIntervalNs = 1000000;

// The text of the time-out panel: "Tmout = %d ms".
QString TimeoutPanelText(uint16_t ms);

struct TCyclePorts {
  TCycleUnit* unit = nullptr;  // required
  TCycleDisplays* displays = nullptr;
  TCycleResults* results = nullptr;
  TCycleLogger* logger = nullptr;
  TCyclePublisher* publisher = nullptr;
  TCycleStatus* status = nullptr;
  TCycleHost* host = nullptr;
  TAsker* asker = nullptr;  // nullptr: the program's installed asker
};

class TCycle {
 public:
  TCycle(TQvWin& qv, const TCyclePorts& ports);
  TCycle(const TCycle&) = delete;
  TCycle& operator=(const TCycle&) = delete;

  // Replaces the ports (a part created after the cycle plugs itself in). Not during a run.
  void SetPorts(const TCyclePorts& ports);
  const TCyclePorts& Ports() const { return ports_; }
  // Windows whose controls are disabled during a run (not owned; in call order).
  void AddRunEnable(TRunEnable* e);
  void RemoveRunEnable(TRunEnable* e);

  // Run/Pause: starts a run, or, while one is in progress, asks it to end. Starting runs the
  // whole cycle and returns when it has ended.
  void miSweepClick();
  // Stop Quzar: ends a run at once (after the current pass) and stops the unit.
  void QvStop1Click();
  // Finish Sweep: a requested end waits until the current sweep is complete.
  void miFinishSwpClick() { finishSwp_ = !finishSwp_; }
  bool FinishSweep() const { return finishSwp_; }
  void SetFinishSweep(bool on) { finishSwp_ = on; }
  // The frame window is closing: the run ends after the current pass, whatever Finish Sweep
  // says, and nothing more is pumped.
  void RequestClose();
  bool CloseRequested() const { return closeRequested_; }

  bool IsSweeping() const { return Sweeping; }

  // Fields of the frame window the cycle reads.
  bool SuspOnLow = false;  // frames with low signal are neither stored nor drawn
  int32_t n_pretrg = 0;    // pre-trigger points shown before the trigger of a series

  // Counters of the present (or last) run.
  int64_t Passes() const { return passes_; }
  int64_t AcceptedFrames() const { return accepted_; }
  // The run is a series of individual samples (rectified or pulsed with samples sent).
  bool SampledRun() const { return sampled_; }
  // The least time between two pumps (kPumpIntervalNs; tests that count pumps by pass set 0).
  void SetPumpIntervalNs(int64_t ns) { pumpIntervalNs_ = ns; }

 private:
  void Run();
  void StartRun();
  // One pass, in its steps.
  void OnePass();
  // Reads and decodes a frame; true when one was received and accepted.
  bool FetchFrame();
  // The live data item and the numeric results windows.
  void PublishAndShow();
  // The rules of a series of samples and of the first frame of a run; false when the frame is
  // not part of the series.
  bool SeriesRules();
  // Appends the frame to the sweep, draws and logs it.
  void StoreAndDraw();
  // "Low Signal" shown or cleared.
  void SignalMessage();
  // "COM Timeout" or "No Trigger".
  void LinkMessages();
  // Whether the loop may end or pump events, and whether it ends.
  void StopTest(bool noFrame);
  void EndRun();
  void ShowMessage(const char* text, bool& shownFlag);
  void ClearLowSignal();
  void ClearMessages();
  TAsker& Ask() const;

  TQvWin& qv_;
  TCyclePorts ports_;
  std::vector<TRunEnable*> enables_;
  TCycleDisplays noDisplays_;
  TCycleResults noResults_;
  TCycleLogger noLogger_;
  TCyclePublisher noPublisher_;
  TCycleStatus noStatus_;
  TCycleHost noHost_;

  bool Sweeping = false;
  bool finishSwp_ = false;
  bool closeRequested_ = false;

  // Per-run state.
  bool sampled_ = false;
  int64_t passes_ = 0;
  int64_t accepted_ = 0;
  int64_t pumpIntervalNs_ = kPumpIntervalNs;
  int64_t lastPumpNs_ = 0;
  bool pumped_ = false;     // this run has pumped
  int64_t frameUtcMs_ = 0;  // receive time of the frame of this pass (run clock)
  TSwpStamp stamp_;         // stamp of the frame of this pass once accepted
  bool waitFirst_ = true;
  bool firstSmpl_ = false;
  bool lastSmpl_ = false;
  bool notSmpl_ = true;
  bool swpDone_ = false;
  int32_t smplCount_ = -1;
  bool lowShown_ = false;
  bool comShown_ = false;
  bool trgShown_ = false;
};

}  // namespace qz
