#pragma once
// The parameter commands of the Quzar and Tuner menus and of the signal tool bar. Every command
// asks a value preset with the current one and limited to its range, stores it in the analyzer
// state, sends it through the command layer and puts the old value back when sending fails. An
// unchanged value sends nothing, so program and unit never disagree and nothing goes out for
// nothing.
//
// The frame window is reached through a small port (blank the displays, refresh their x axes,
// the signal tool bar, the tuner picture's buttons); the headless program uses the port's empty
// defaults.

#include <QString>
#include <cstdint>

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "util/asker.h"

namespace qz {

// Titles the command layer reports results under.
extern const char* const kTitleWaveform;       // "Waveform"
extern const char* const kTitleCountTime;      // "Count Time"
extern const char* const kTitleSampleCount;    // "Sample Count"
extern const char* const kTitleVoltAveraging;  // "Voltage Averaging"
extern const char* const kTitleSamplingTime;   // "Sampling Time"
extern const char* const kTitleTriggerLevel;   // "Trigger Level"
extern const char* const kTitleFreeRun;        // "Free Run"
extern const char* const kTitleSamplesOnOff;   // "Send Samples ON/OFF"
extern const char* const kTitleFreqToler;      // "Set Frequency Tolerance"
extern const char* const kTitleSubstFreq;      // "Set Substitute Frequency"
extern const char* const kTitleFreqOnly;       // "Set Frequency Profile Measurement"
extern const char* const kTitleMotRefresh;     // "Motors Refresh Period"
extern const char* const kTitleAutotune;       // "Autotune ON/OFF"

// Messages.
extern const char* const kNoDataYet;        // "No data available: make measurement first"
extern const char* const kSubstReenter;     // "Error: Bad input or out of bounds.\r\nPlease ..."
extern const char* const kFsamplCancelled;  // "Input incorrect or out of bounds - operation ..."
extern const char* const kFreqOnlyAdvice;   // the advice shown when frequency-only goes on

// The sampling-frequency tool button's caption before the first waveform send.
extern const char* const kSamplFreqCaptionDefault;  // "200.000 kHz"

// What the signal tool bar shows for a waveform, its individual-samples flag and the trigger
// method.
struct TSignalBarState {
  bool cwDown = false, rectDown = false, pulsDown = false;
  bool samplesDown = false, samplesEnabled = false;
  bool singleShotEnabled = false;
  bool preEnabled = false;
  bool trgLevelEnabled = false;
  bool freeRunEnabled = false, freeRunDown = false;
  bool samplTimeEnabled = false;
  bool freqOnlyEnabled = false;
  bool pointsEnabled = false;
  bool progressVisible = false;  // the samples progress bar (reset to 0 whenever shown)

  bool operator==(const TSignalBarState&) const = default;
};
TSignalBarState SignalBarState(int waveform, bool bsamples, int trgMethod);

// The individual-samples mode of the two buttons: 0 none, 1 continuous, 2 single shot.
int SamplesMode(bool samplesDown, bool singleShotDown);

// Items of the Quzar menu as shown when it opens.
struct TQuzarMenuState {
  QString planeExt, points, countTime, freqToler, counter, powCal, substFreq;
  bool pointsEnabled = false;
  bool counterChecked = false;
  bool transformChecked = false;
};
TQuzarMenuState QuzarMenuState(const TQvWin& qv, const QString& planeExtText, bool transformActive);

// Items of the Tuner menu as shown when it opens.
struct TTunerMenuState {
  QString autotune, active, toler, target, smooth, delay, waitRf, skip, motRefresh, hysteresis;
  bool autotuneChecked = false;
  bool activeChecked = false;
};
TTunerMenuState TunerMenuState(const TQvWin& qv);

// The question of "Count Time" for the present waveform. For a rectified waveform it first
// stores the ripple period (µs) in the rectified record.
QString CountTimePrompt(TQvWin& qv);

// The wait window of a waveform send: its caption ("" for the default) for a time-out in ms, and
// its text for a title.
QString WaveformWaitCaption(int32_t timeoutMs);
QString WaveformWaitText(const QString& title);

// What the parameter commands need of the frame window.
class TParamPort {
 public:
  virtual ~TParamPort() = default;
  virtual void BlankAll() {}
  virtual void RefreshXaxis() {}
  virtual void ShowSamplFreq(const QString& caption) { (void)caption; }
  virtual void UpdateSignalBar(const TSignalBarState& s) { (void)s; }
  virtual void SetSingleShotDown(bool down) { (void)down; }
  virtual void SetFreeRunDown(bool down) { (void)down; }
  virtual void SetFreqOnlyDown(bool down) { (void)down; }
  virtual void SetAutotuneButton(bool on) { (void)on; }
  virtual void RedrawStubs() {}
};

class TParamCmds {
 public:
  // nPretrg is the cycle's pre-trigger point count; asker nullptr means the installed one; port
  // nullptr means no window.
  TParamCmds(TQvWin& qv, TQzCmd& cmd, int32_t& nPretrg, TParamPort* port = nullptr,
             TAsker* asker = nullptr);

  // Sends the waveform settings: the wait window (when showWait) with the time-out in whole
  // seconds, the trigger method into the packed trigger word, the layer's sampling send and its
  // report under title, then on success the sampling-frequency caption, Blank All, the signal
  // tool bar and the x axes. timeoutMs -1 takes the measurement cycle's frame time-out. Returns
  // the layer's result (0 success).
  int32_t SendWaveform(int32_t timeoutMs, bool showWait, bool report, const QString& title);

  // ---- Quzar menu ----
  // The sampling setup dialog was accepted: the settings go out as after a waveform change.
  int32_t SamplingSetupAccepted();
  void PointsPerSweep();
  void Counter();
  void CountTime();
  void FreqToler();
  void SubstFreq();
  void SuspendOnLow(bool& suspOnLow) { suspOnLow = !suspOnLow; }

  // ---- signal tool bar ----
  void SamplingTime();
  void SampleCount();
  void PreTrigger();
  void TriggerLevel();
  void FreeRun();
  // "CW", rectified, pulsed: waveform 0, 1 or 2.
  void SetWaveform(int waveform);
  // The sampling-frequency button (CW only).
  void SamplingFreq();
  // The frequency-only button pressed (on) or released; returns the state the unit confirms.
  bool FreqOnly(bool on);
  // "Show individual samples" or single shot clicked, with both buttons' states after the click.
  void Samples(bool samplesDown, bool singleShotDown);

  // ---- Tuner menu ----
  void Home();
  void MotorsRefresh();
  void AutotuneActive();

  // The frame window's port (nullptr: none).
  void SetPort(TParamPort* port) { port_ = port; }

  // The caption of the sampling-frequency button for the present settings.
  QString SamplFreqCaption() const;
  TSignalBarState BarState() const;
  void UpdateSignalBar();

 private:
  TAsker& Ask() const { return asker_ ? *asker_ : Asker(); }
  TParamPort& Port() const { return port_ ? *port_ : noPort_; }
  bool& CurBsamples();
  // The sequence after a waveform or sampling change: Blank All, an empty sweep, in CW the
  // averaging counts and CW rate, the counter, then the waveform settings. Stops at the first
  // failure with its code.
  int32_t ApplySampling();

  TQvWin& qv_;
  TQzCmd& cmd_;
  int32_t& nPretrg_;
  TParamPort* port_;
  TAsker* asker_;
  mutable TParamPort noPort_;
};

}  // namespace qz
