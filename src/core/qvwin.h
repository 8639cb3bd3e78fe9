#pragma once
// The analyzer state: the one object that knows the unit. It holds the unit's description and
// measurement settings, the frame buffer and the latest decoded result, the current sweep, the
// plane extension and the bilinear transform, and the flags that run the measurement cycle. It
// also plans the unit's sampling, computes the frame time-out and keeps its own section of the
// setup file.

#include <QString>
#include <cstdint>

#include "core/bilintransf.h"
#include "core/onesweep.h"
#include "core/planeext.h"
#include "core/records.h"
#include "core/sampling.h"
#include "core/unitsync.h"

namespace qz {

class IniFile;

// Limits of the analyzer's own settings.
inline constexpr int32_t kPtsPerSwpMin = 1;
inline constexpr int32_t kPtsPerSwpMax = 20001;
inline constexpr int32_t kPtsPerSwpDef = 101;
inline constexpr uint16_t kMotRefreshMinMs = 100;
inline constexpr uint16_t kMotRefreshDefMs = 1000;
inline constexpr uint16_t kContMeaToutInitMs = 2000;
inline constexpr double kTuneTimeInitMs = 1000.0;
inline constexpr double kPlaneExtMaxMm = 1000000.0;
// Server versions above this know the measurement timing and hysteresis commands.
inline constexpr uint16_t kSrvVerMeaStp = 35;
// The frame time-out asked with this value also waits for the individual samples of a block.
inline constexpr int32_t kToutForCycle = -1;

// The name of the analyzer's setup section for a unit (the first unit is 1).
QString QvSetupSection(int unitIndex);

// The cut-off frequency (Hz) of the unit's waveguide, c / 2a; 0 for a coaxial line.
double CutoffFrequency(const TFixPar& fix);

class TQvWin {
 public:
  // mot is the program's tuner motor state: decoding writes it, the setup section keeps its
  // autotune settings and the frame time-out follows its autotune flag.
  explicit TQvWin(TMotState& mot);
  TQvWin(const TQvWin&) = delete;
  TQvWin& operator=(const TQvWin&) = delete;

  TFixPar FixPar;
  TVarPar VarPar;
  uint16_t MotRefreshMs = kMotRefreshDefMs;  // ms, 100..65535
  bool PcComErr = false;                     // the command layer reports a time-out
  TPlaneExt PlaneExt;
  TMerObjekt Mob{};  // the frame being received
  uint16_t Nmo = 0;  // decoding cursor
  THresults Res;     // the latest decoded result
  TOneSweep LastSwp;
  bool Skonci = false, MaKoncit = false, MozeKoncit = false, ImmedStop = false;
  int32_t PtsPerSwp = kPtsPerSwpDef;  // 1..20001
  TPulsed Pulsed;
  TRectif Rectif;
  TTrgMethod TrgMethod = 0;                   // 0 free run, 1 triggered
  double f_cutoff = 0.0;                      // Hz
  uint16_t ContMeaTout = kContMeaToutInitMs;  // ms
  float UserPowCorr = 1.0f;
  uint16_t SrvVerNum = 0;
  QString SrvInfo = QStringLiteral("Simulated");
  TMeaStp MstpCW;
  TBilinTransf BiTr;

  // Duration of the last tune (ms); the tuner model updates it and the frame time-out waits for
  // it.
  double TuneTimeMs = kTuneTimeInitMs;

  // The stamp of the frame in Mob, accepted now (the cycle and the scenario play take one for
  // every frame they accept, stored or not): the next number of the program-wide count, the
  // receive time utcMs of the run clock and the run in progress. The frame and its stamp are
  // kept as the last accepted ones.
  TSwpStamp StampAccepted(int64_t utcMs) {
    lastAccepted_ = Mob;
    lastStamp_ = TSwpStamp{++framesAccepted_, utcMs, currentRun_};
    return lastStamp_;
  }
  // Frames accepted since the program started (the number of the last stamp).
  int64_t FramesAccepted() const { return framesAccepted_; }
  // The last accepted frame and its stamp (a stamp of frame 0 before the first one).
  const TMerObjekt& LastAcceptedFrame() const { return lastAccepted_; }
  const TSwpStamp& LastAcceptedStamp() const { return lastStamp_; }

  // Measurement runs: a run begins with the next number (from 1) and ends; frames accepted in
  // between carry its number. CurrentRun() is 0 outside a run.
  uint32_t BeginRun() { return currentRun_ = ++runsBegun_; }
  void EndRun() { currentRun_ = 0; }
  uint32_t CurrentRun() const { return currentRun_; }
  uint32_t RunsBegun() const { return runsBegun_; }

  TMotState& Mot() { return mot_; }
  const TMotState& Mot() const { return mot_; }

  // Resets the description and settings to the unit's defaults.
  void SetDefaults();

  // Decodes a frame (the own buffer Mob or a stored one) into res with the object's cut-off,
  // plane extension and bilinear transform; writes the tuner motor state and Nmo.
  bool DekodMerData(const TMerObjekt& frame, THresults& res);
  // Decodes a stored frame for a chart refill: the same transforms, but the motor block goes to
  // a scratch motor state and the cursor stays, so refilling never moves the shown stubs back
  // to an old frame's positions.
  bool DekodStored(const TMerObjekt& frame, THresults& res) const;
  // The same into the given motor state (which starts as the caller has it), for a reader that
  // wants the stubs and motor bytes a stored frame gives.
  bool DekodStored(const TMerObjekt& frame, THresults& res, TMotState& mot) const;

  // The shortest counting time (µs) giving full frequency accuracy.
  int32_t GetTcountMinRecommended_us() const;

  // The sampling planner over the object's own records (see core/sampling.h).
  int PlanSampling(int waveform, int32_t* maxSamples = nullptr);
  int32_t GetMaxSamples() const;
  // Plans the sampling of the given waveform (nothing for CW); 1 or 2 when the sample count or
  // frequency had to be changed, else 0.
  int DeriveSampling(int waveform);

  // The frame time-out (ms) for the present settings. kToutForCycle asks for the measurement
  // cycle's value, which also allows for the individual samples of a block.
  uint16_t FrameTimeoutMs(int32_t asked) const;

  // Writes the setup section of the unit; info is the setup's comment.
  void WriteStp(int unitIndex, IniFile& setup, const QString& info) const;
  // Reads the setup section of the unit, limiting every value to its range, and, when sync is
  // given, brings the unit in line with the settings read. Returns the setup's comment.
  QString ReadStp(int unitIndex, const IniFile& setup, TUnitSync* sync);
  // Sends every setting to the unit, in the order the unit needs them.
  void BringUnitInLine(TUnitSync& sync);

 private:
  TMotState& mot_;
  int64_t framesAccepted_ = 0;
  TMerObjekt lastAccepted_{};
  TSwpStamp lastStamp_;
  uint32_t runsBegun_ = 0;
  uint32_t currentRun_ = 0;
};

}  // namespace qz
