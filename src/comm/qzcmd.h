#pragma once
// The command layer: every request the program makes of the unit goes through here (start and
// stop, send and hush, sampling, averaging, counter, frequency, measurement timing, autotune,
// stub moves, status reads, file transfer and the frame read). Each operation returns a result
// code, 0 for success, and callers keep their previous setting on any other code.
//
// No unit is attached: nothing is sent or received. Every operation applies its local effect to
// the analyzer state, the tuner motor state or the simulation state at once, so the rest of the
// program sees the new setting exactly as after the unit's acknowledgement, and the frame read
// asks the frame source (the simulation model) for the next frame. The wire form of each command
// is handed to an optional debug log.

#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "comm/daqdescr.h"
#include "comm/framesource.h"
#include "comm/wireforms.h"
#include "core/qvwin.h"
#include "core/records.h"
#include "util/asker.h"

namespace qz {

// Actions of start/stop and send/hush.
inline constexpr uint8_t kActStop = 0;   // send/hush: hush
inline constexpr uint8_t kActStart = 1;  // send/hush: send
inline constexpr uint8_t kActRemembered = 2;
inline constexpr uint8_t kActState3 = 3;  // start/stop: one series only

// Result codes of the layer.
inline constexpr int32_t kCmdOk = 0;
inline constexpr int32_t kCmdAborted = 3;  // the operator chose Abort in the retry box
// A start/stop or send/hush action outside 0..3.
inline constexpr int32_t kCmdBadAction = 9;
// Frequency parameter codes.
inline constexpr uint8_t kFreqDelta = 6;
inline constexpr uint8_t kFreqSubst = 7;
inline constexpr uint8_t kFreqSamplCw = 75;
// Autotune on/off argument that only asks for the state.
inline constexpr uint8_t kAtQuery = 2;
// The motor status every simulated motor read reports.
inline constexpr uint8_t kSimMotStatus = 119;
// The one unit of this program.
inline constexpr int kUnitAddr = 1;

// The reports of the start/stop and send/hush procedures.
extern const char* const kWaitStartStopAll;  // "Waiting for QUZARS to Start/Stop..."
extern const char* const kWaitStartStopOne;  // "Waiting for QUZAR to Start/Stop..."
extern const char* const kWaitSendHush;      // "Waiting for QUZARS to Send/Hush..."
extern const char* const kStopUnitFail;      // "QUZAR Stop command fail:\r\nOperation aborted"
// "QUZAR Start/Stop command fail." (or Send/Hush) with the list of possible causes.
QString RunStateFailText(bool sendHush);
// "QUZAR Start/Stop command OK" or "QUZAR Send/Hush command OK".
QString RunStateOkText(bool sendHush);

// The operations the windows and the setup reading call are virtual: tests stand in a layer
// that refuses or records them (one subclass shared by the tests).
class TQzCmd {
 public:
  // qv is the analyzer state (its motor state is the program's tuner motor state), sim the state
  // the simulated tuner shares with the layer. source may be given later.
  TQzCmd(TQvWin& qv, TSimState& sim, TFrameSource* source = nullptr);
  virtual ~TQzCmd() = default;
  TQzCmd(const TQzCmd&) = delete;
  TQzCmd& operator=(const TQzCmd&) = delete;

  // ---- wiring ----
  void SetFrameSource(TFrameSource* source) { source_ = source; }
  // The asker of the waiting window, the retry box and the notices; nullptr means the installed
  // one.
  void SetAsker(TAsker* asker) { asker_ = asker; }
  // Called with the counter state after each counter command (the results window's lamp).
  void SetCounterLamp(std::function<void(bool)> f) { counterLamp_ = std::move(f); }
  // Called when the measurement setup window should show the settings again.
  void SetMeaStpRefresh(std::function<void()> f) { meaStpRefresh_ = std::move(f); }
  // Receives the wire form of each command given (debug log only).
  void SetDebugLog(std::function<void(const QString&)> f) { debugLog_ = std::move(f); }
  // Tells whether a waiting window is already up (someone else's); without it only the layer's
  // own window counts.
  void SetWaitOpenQuery(std::function<bool()> f) { waitOpenQuery_ = std::move(f); }

  TQvWin& Qv() { return qv_; }
  TMotState& Mot() { return qv_.Mot(); }
  TSimState& Sim() { return sim_; }

  // ---- remembered run and send states (per unit address 1..20) ----
  uint8_t RunState(int addr) const;
  uint8_t SendState(int addr) const;
  const TStatusAll& RunStates() const { return runStat_; }
  const TStatusAll& SendStates() const { return sendStat_; }
  // All 20 run and send states := value (start-up sets them to 1).
  void SetAllStates(uint8_t value);
  // The states read from the setup file.
  void SetStates(const TStatusAll& run, const TStatusAll& send);

  // ---- reports ----
  // The common report of a named operation's outcome. Shows nothing in this program, whatever
  // the code.
  virtual void ShowCmdResult(const QString& name, int32_t code);
  // The waiting window is wanted: showWait is set, individual samples of a block are sent for
  // the current waveform (never in CW) and no waiting window is up already.
  bool WaitWanted(bool showWait) const;
  // Lets the measurement setup window show the settings in force.
  void RefreshMeaStpWindow() {
    if (meaStpRefresh_) meaStpRefresh_();
  }

  // ---- run control ----
  // The single-unit start/stop: waiting window as WaitWanted, no retry box; the failure code
  // goes back to the caller.
  virtual int32_t StartStop(bool showWait, uint8_t action, int32_t timeoutMs, bool remember);
  // Start/stop of all units with the retry box on failure (3 when the operator aborts).
  virtual int32_t StartStopAll(bool showWait, uint8_t action, int32_t timeoutMs, bool remember);
  // Send/hush of all units with the retry box; does nothing and returns 0 for a server version
  // 1..34, which does not know the command.
  virtual int32_t SendHush(bool showWait, uint8_t action, int32_t timeoutMs, bool remember);
  // One unit's own start/stop and send/hush, without waiting window or retry box.
  virtual int32_t UnitStartStop(int addr, uint8_t action, int32_t timeoutMs, bool remember);
  virtual int32_t UnitSendHush(int addr, uint8_t action, int32_t timeoutMs, bool remember);
  // Stops all units with the waiting window; on failure shows kStopUnitFail and returns false.
  // The stop is not remembered, so a later "as remembered" restarts the unit.
  virtual bool StopUnit();
  // Reads the run and send states of the unit; the outputs stay as they are.
  virtual int32_t ReadRunStates(uint8_t& run, uint8_t& send);

  // ---- frames ----
  // Asks the frame source for the next frame into the analyzer's frame buffer, with the
  // averaging count Vrpt. False only when no frame source is attached.
  bool ReadFrame(int32_t timeoutMs);
  // The one path of a measured frame: ReadFrame, then the frame decoded into the analyzer's
  // latest result (Qv().Res). True when a frame arrived and the decoding accepted it; without a
  // frame source nothing is decoded and the latest result stays as it was.
  bool Measure(int32_t timeoutMs);
  // Waits for a frame of the kind (1..3): clears the motor error flag "Read Stub Position Fail".
  int32_t WaitFrame(int kind, int32_t timeoutMs);
  // A command by code byte (with an optional text); reply, when given, is left empty.
  virtual int32_t SendCmd(uint8_t code, const QString& text, int waitKind, int32_t timeoutMs,
                          QString* reply = nullptr);
  // The same with the unit stopped and hushed around it.
  virtual int32_t SendCmdStopped(uint8_t code, const QString& text, int waitKind, int32_t timeoutMs,
                                 QString* reply = nullptr);
  // Other reads and sets by code byte: nothing, except that code 66 clears its outputs.
  virtual int32_t CodeRead(uint8_t code, std::span<uint8_t> outputs);

  // ---- measurement settings ----
  // Plans the sampling of the present waveform and sends it; the current sweep's capacity
  // follows the sweep-capacity rule.
  virtual int32_t SetSampling();
  // Switches to the waveform of vp and stores it in the analyzer's settings; the current
  // sweep's capacity follows the new waveform's settings.
  virtual int32_t SwitchWaveform(const TVarPar& vp, bool showWait, int32_t timeoutMs);
  // Vrpt and Trpt (each limited to 1..4095).
  virtual int32_t SetAveraging(int32_t vrpt, int32_t trpt);
  // TcountCw and IsCntOn; the counter lamp follows.
  virtual int32_t SetCounter(int32_t tcountUs, uint8_t isCntOn);
  // Code 6 the frequency tolerance (MHz), 7 the substitute frequency (kHz, limited to the
  // nominal frequency +- the tolerance), 75 the CW sampling frequency (Hz, limited to
  // 10..FmaxSmpl); any other code changes nothing.
  virtual int32_t SetFreqParam(uint8_t code, int32_t value);
  virtual int32_t SetMeaStp(const TMeaStp& m);
  virtual int32_t ReadMeaStp();
  virtual int32_t SetMotRefresh(uint16_t periodMs);
  virtual int32_t SetPowCalFactor(uint8_t flag);
  // Frequency-only measurement on or off; confirmed receives the state the unit is in.
  virtual int32_t SetFreqOnly(bool on, bool& confirmed);
  // The measurement-output switch of the unit (start-up).
  int32_t SetMeasOutput(uint8_t value);

  // ---- tuner ----
  // 0 or 1 switches autotune; kAtQuery (or any other value) leaves the flag alone.
  virtual int32_t AutotuneOnOff(uint8_t value);
  virtual int32_t ReadAutotuneState();
  virtual int32_t SetAutotuneParams();
  virtual int32_t ReadAutotuneParams();
  // Requests one tune from the present positions; the simulated tuner carries it out with the
  // next frame.
  virtual int32_t SingleTune();
  // Actual positions := target positions.
  virtual int32_t MoveStubs();
  // Target and actual positions := 0.
  virtual int32_t ResetStubs();
  // Motor status := 119, motor error byte := 0.
  virtual int32_t ReadMotStatus();
  // Whether the unit sends its tune positions with the results.
  virtual int32_t SetSendTunePos(bool on);
  virtual int32_t SetHysteresis(uint8_t hystDg);
  virtual int32_t TuneStartStop(uint8_t n);
  virtual int32_t TunerReadOut();
  // The tuner-output switch of the unit (start-up).
  int32_t SetTunerOutput();

  // ---- unit and server ----
  virtual int32_t Ping(uint8_t address);
  virtual int32_t ServerControl(uint8_t subCode);
  // One card "Simulated" with the ranges "5 mV", "50 mV", "500 mV", "5 V".
  virtual int32_t ReadCardDescr();
  // Channel in use, range 3, allowed ranges 0..3.
  virtual int32_t ReadChanSetup();
  // The version stays unknown (0): false.
  bool ReadServerVersion();
  // True with an empty message.
  bool ConnectionCheck(QString& message);

  // ---- start-up and file transfer ----
  // Opens the connection; reason receives the cause of a failure.
  int32_t OpenConnection(QString& reason);
  // Initialises the units: stops them and switches their sending off, then takes the run and
  // send states from bits 0 and 1 of AutoRun. 0 success, 1 failure, 2 fatal failure; message
  // receives the first unit's message.
  int32_t InitUnits(QString& message);
  int32_t ReadUnitMemory();
  int32_t ReadTunerMemory();
  // Sends a local file to the unit, which keeps it in the per-user folder's "SimUnit/"
  // (TSimUnitFiles): 0, 48 when the local file cannot be read, 10 when the unit's disk cannot
  // hold it, or another code of the table.
  virtual int32_t SendFile(const QString& localPath, const QString& unitPath);
  // Receives a file the unit keeps: 0, or 43 ("File not found in server system") when it holds
  // none of that name; a failed receive leaves the local file as it was.
  virtual int32_t ReceiveFile(const QString& unitPath, const QString& localPath);

  // ---- what the reads deliver ----
  TDaqDescr DaqDescr;
  TChanSetup ChanSetup;
  bool FreqOnly = false;

 protected:
  // The unit's part of a start/stop (sendHush false) or send/hush; 0 success. Nothing can fail
  // without a unit; a test may stand in a unit that refuses.
  virtual int32_t UnitRunOperation(bool sendHush, int addr, uint8_t action);

 private:
  TAsker& Ask() const { return asker_ ? *asker_ : Asker(); }
  void Log(const TWire& w) const;
  // Stop and hush before a parameter command, restore both after it (wire forms only).
  void BeginParamCmd();
  void EndParamCmd();
  int32_t RunStateProcedure(bool sendHush, bool allUnits, bool withRetry, bool showWait,
                            uint8_t action, bool remember);
  int32_t UnitOp(bool sendHush, int addr, uint8_t action, bool remember);

  TQvWin& qv_;
  TSimState& sim_;
  TFrameSource* source_ = nullptr;
  TAsker* asker_ = nullptr;
  std::function<void(bool)> counterLamp_;
  std::function<void()> meaStpRefresh_;
  std::function<void(const QString&)> debugLog_;
  std::function<bool()> waitOpenQuery_;
  bool waitShown_ = false;
  TStatusAll runStat_;
  TStatusAll sendStat_;
  std::vector<int> units_{kUnitAddr};
};

}  // namespace qz
