#pragma once
// The records every part of the program shares: the raw result frame, the decoded result, the
// unit's fixed description and measurement settings, the tuner motor state, the tuner
// description and the state the simulated unit, the tuner model and the command layer share.
//
// Index types of the unit (motors 1..3, channels 1..4, bus addresses 1..20) are kept 1-based
// through TIndexedArray, so "stub k" is written [k] everywhere.

#include <QString>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "util/complex.h"

namespace qz {

// A fixed-size array indexed Lo..Hi.
template <typename T, int Lo, int Hi>
struct TIndexedArray {
  static_assert(Hi >= Lo);
  static constexpr int Low = Lo;
  static constexpr int High = Hi;
  std::array<T, Hi - Lo + 1> v{};

  constexpr T& operator[](int i) {
    assert(i >= Lo && i <= Hi);
    return v[static_cast<std::size_t>(i - Lo)];
  }
  constexpr const T& operator[](int i) const {
    assert(i >= Lo && i <= Hi);
    return v[static_cast<std::size_t>(i - Lo)];
  }
  static constexpr int size() { return Hi - Lo + 1; }
  constexpr auto begin() { return v.begin(); }
  constexpr auto end() { return v.end(); }
  constexpr auto begin() const { return v.begin(); }
  constexpr auto end() const { return v.end(); }
  friend constexpr bool operator==(const TIndexedArray&, const TIndexedArray&) = default;
};

// ---- the raw result frame -------------------------------------------------------------------

// The longest frame the unit sends; stored sweeps keep frames in this form.
inline constexpr int kMobSize = 31;
using TMerObjekt = std::array<uint8_t, kMobSize>;

// ---- small shared types ---------------------------------------------------------------------

using TMotors = int;  // stub / motor index 1..3
inline constexpr int kMotFirst = 1;
inline constexpr int kMotLast = 3;
using TMotPos = TIndexedArray<int16_t, 1, 3>;  // motor steps
using TMotBool = TIndexedArray<bool, 1, 3>;
using TMotD = TIndexedArray<double, 1, 3>;

inline TMotPos MakeMotPos(int16_t p1, int16_t p2, int16_t p3) {
  TMotPos p;
  p[1] = p1;
  p[2] = p2;
  p[3] = p3;
  return p;
}

// Signal form the unit measures.
enum TWaveform : uint8_t { wfCW = 0, wfRectified = 1, wfPulsed = 2 };
// Trigger method: 0 free run, 1 triggered (2 is accepted by the unit's packed word).
using TTrgMethod = uint8_t;

using TRflKan = int;  // channel index 1..4
using TRflKanD = TIndexedArray<double, 1, 4>;

using TQvCanAddr = int;   // 1..20, address of a unit on a shared bus
using TQvCanCount = int;  // 0..20
inline constexpr int kQvCanMax = 20;
using TQvCanAddrArray = TIndexedArray<uint8_t, 1, 20>;
using TStatus = uint8_t;  // 0..1
using TStatusAll = TIndexedArray<TStatus, 1, 20>;

// Short strings of the unit's records hold at most this many characters.
inline constexpr int kShortStrLen = 32;
// Cuts a text to the length a short string of the unit can hold.
inline QString CutShortString(const QString& s, int maxLen = kShortStrLen) {
  return s.size() > maxLen ? s.left(maxLen) : s;
}

// ---- the decoded result ---------------------------------------------------------------------

struct THresults {
  uint8_t StatByte = 0;  // not written by decoding
  uint8_t ErrByte = 0;
  bool je_qv = false;      // measurement block present
  bool su_mot = false;     // motor block present
  bool je_jx = false;      // the extension word is a sample index
  bool je_prfl = false;    // the extension word is the reflected power mantissa
  bool QvInvalid = false;  // the measurement is invalid
  bool qv_ok = false;      // a valid measurement
  int32_t Fre = 0;         // frequency count, 10 Hz steps
  double LG = 0.0;         // guide wavelength, m; -1 at or below cut-off
  double FreD = 0.0;       // frequency, Hz
  complex Rho_m;           // measured reflection coefficient (tuner input)
  complex Rho_z;           // load reflection coefficient
  double Mag_m = 0.0, Pha_m = 0.0;
  double Mag_z = 0.0, Pha_z = 0.0;
  double Pinc = 0.0;  // W
  double Prfl = 0.0;  // W
  double Pabs = 0.0;  // W
  double Temp = 0.0;  // deg C
  bool PulsErr = false, Oflow = false, TooCold = false, TooHot = false, LowSignal = false,
       FreSubst = false;
  bool FrePast = false;
  int32_t jx = 0;  // sample index
  TRflKanD V;      // channel values; not written by decoding
};

// ---- the unit's description and settings ----------------------------------------------------

struct TFixPar {
  uint8_t MemVer = 129;
  QString Manuf = QStringLiteral("Vostrel");
  QString Nickname = QStringLiteral("Quzar");
  QString MdlNme = QStringLiteral("QZTU");
  QString IntMdl = QStringLiteral("QZTU");
  uint8_t ModelNo = 1;
  uint8_t ModifNo = 8;
  uint16_t SerNum = 0;
  int32_t WgA_um = 86360;
  int32_t WgB_um = 43180;
  int32_t FnominKHz = 2450000;
  uint8_t IsCoax = 0;
  uint8_t IsNuDaq_Dummy = 0;
  uint8_t IsTuner = 1;
  uint16_t Divider = 32;
  int32_t Fclk_Hz = 2000000;
  int16_t TmpMin = 5;
  int16_t TmpMax = 55;
  int32_t FmaxSmpl = 200000;
  uint8_t QzmModulBit = 14;
  uint8_t TrgDigIn = 1;
  uint8_t TempChnl = 4;
  uint8_t TempRng = 2;
};

// Voltage and temperature averaging counts (Vrpt, Trpt) the unit accepts.
inline constexpr int32_t kAvgCountMin = 1;
inline constexpr int32_t kAvgCountMax = 4095;

struct TVarPar {
  TWaveform Waveform = wfCW;
  uint16_t FdeltaMHz = 61;
  int32_t FsubstKHz = 2450000;
  uint8_t IsCntOn = 1;
  uint16_t Vrpt = 201;
  uint16_t Trpt = 8;
  uint16_t TrgMeth_AccLvl = 6425;  // packed, see the helpers below
  int32_t TcountCw = 20000;
  uint8_t MinMaxTrgLvl = 50;
  uint8_t AutoRun = 1;
  int32_t FsamplCw = 10000;
};

// The packed trigger word: bits 0..6 rectified accept level (%), bits 7..13 pulsed accept level
// (%), bits 14..15 trigger method. Setting a part limits it first (method 0..2, levels 0..100).
inline constexpr int kTrgMethMax = 2;
inline constexpr int kAccLvlMax = 100;
int TrgMethodOf(uint16_t packed);
int RectAccLvlOf(uint16_t packed);
int PulsAccLvlOf(uint16_t packed);
uint16_t WithTrgMethod(uint16_t packed, int method);
uint16_t WithRectAccLvl(uint16_t packed, int level);
uint16_t WithPulsAccLvl(uint16_t packed, int level);

struct TRectif {
  uint16_t RippleFreq = 50;
  uint16_t Periods = 1;
  uint16_t Nvzoriek = 201;
  int32_t Fvzork = -1;
  int32_t TcntUs = 2992;
  int32_t RplPeri_us = -1;
  bool Bsamples = false;
};

struct TPulsed {
  int32_t TsamplUs = 1000;
  uint16_t Nvzoriek = 201;
  int32_t Fvzork = -1;
  int32_t TcntUs = 32;
  uint16_t TmaxMs = 100;
  bool Bsamples = false;
};

// True when the unit sends the individual samples of a block for this waveform (rectified or
// pulsed with Bsamples on; never for CW).
bool BlockSamplingOn(int waveform, const TRectif& rectif, const TPulsed& pulsed);

// ---- the measurement and transmission timing (15 bytes on the wire) ----------------------------

using TRangeE = int8_t;   // ADC range -1 (automatic) .. 7
using TAkoMer = uint8_t;  // 0 "Off", 1 "On", 2 "On-Off"

struct TMeaStp {
  uint16_t OnPeriod_ms = 0;
  uint16_t OfsPeriod_s = 30;
  uint16_t FPeriod_ms = 0;
  uint16_t TPeriod_s = 30;
  uint16_t TxPeriod_ms = 1000;
  uint8_t TxMask = 7;
  TRangeE OnRnge = -1;
  TRangeE OfsRnge = 3;  // the highest of the acquisition card's four ranges
  bool OfsEqualOn = true;
  TAkoMer AkoOnOff = 2;
  friend bool operator==(const TMeaStp&, const TMeaStp&) = default;
};

inline constexpr int kMeaStpSize = 15;
using TMeaStpBytes = std::array<uint8_t, kMeaStpSize>;
// The packed little-endian form sent to and read from the unit.
TMeaStpBytes MeaStpToBytes(const TMeaStp& m);
TMeaStp MeaStpFromBytes(const TMeaStpBytes& b);

// ---- the tuner motor state (one record for the program) ----------------------------------------

// Motor error flags: bits 0..2 error of motor 1..3 (from the frames), bit 3 the last position
// reading failed (owned by the command layer).
inline constexpr uint8_t kMotErrMotorsMask = 0x07;
inline constexpr uint8_t kMotErrReadFail = 0x08;
// Motor error byte of a frame: bit 7 set means the positions are tune positions.
inline constexpr uint8_t kMotErrTunePos = 0x80;

// Defaults of the autotune parameters.
inline constexpr uint16_t kAtDefToler_mU = 25;
inline constexpr uint8_t kAtDefSkip = 1;
inline constexpr uint8_t kAtDefDelay5b = 0;
inline constexpr uint8_t kAtDefSmooth = 1;
inline constexpr bool kAtDefWaitRF = true;
inline constexpr uint16_t kAtDefTarg_mU = 0;
inline constexpr uint8_t kAtDefHystDg = 5;
inline constexpr uint16_t kAtDefMaxIter = 100;
inline constexpr uint16_t kAtDefBreakUp = 30;
inline constexpr uint16_t kAtDefMinStep = 2;

// Description defaults until a tuner description is read.
inline constexpr uint16_t kTuDefMaxSteps = 5000;
inline constexpr double kTuDefMmPerStep = 0.01;

// One record for the whole program, owned by the program core and shared by reference. Every
// field names its writers, in the order they write within one measurement pass (the frame read
// runs the simulated tuner, then the frame is decoded); operator commands of the command layer
// run between two passes. Everything else only reads the record. A new writer belongs in this
// list, or the value belongs in a record of its own.
struct TMotState {
  // Writers: 1. the simulated tuner (TTunerModel::TU_MdlDerivedData: the actual positions when
  // the description changes; TAutoTune::SolvePair: the positions a tune found); 2. the command
  // layer (TQzCmd::ResetStubs); the tuner windows for the move command (TTrgCmds::MoveStubs too).
  TMotPos TargPos;  // where the stubs are to go
  // Writers: 1. the simulated tuner (TTunerModel::TU_MdlDerivedData limits it to the travel;
  // TAutoTune::TunerStep: a simulated stub arrives at once); 2. the command layer's local
  // effects (TQzCmd::MoveStubs, TQzCmd::ResetStubs); 3. the decoder, from each frame's motor
  // block without the tune-position bit (DekodMerData); between passes, the tuner picture while
  // the operator drags a stub (TStubMotion::DragMove: the targets, moved at the release).
  TMotPos ActPos;  // where they are
  // Writers: the decoder (DekodMerData, tune-position bit); TTrgCmds::MeaTun after its tune.
  TMotPos TunePos;  // found by the unit's own autotune
  // Writers: 1. the command layer (TQzCmd::ReadMotStatus); 2. the decoder (DekodMerData).
  uint8_t MotStatus = 0;
  uint8_t MotError = 0;
  // Writers: 1. the command layer, bit 3 only (TQzCmd::WaitFrame clears it after a frame);
  // 2. the decoder, bits 0..2 only (DekodMerData).
  uint8_t ErrFlags = 0;  // kMotErrMotorsMask | kMotErrReadFail

  // Autotune parameters. Writers: the analyzer's setup section (TQvWin::SetDefaults and
  // ReadStp: AtOn, Toler_mU, Targ_mU, Skip, Delay5b, Smooth, WaitRF, HystDg, SendTunePos);
  // SetAutotuneDefaults; the tuner picture's "AT" button (TTpic::AutoClick: AtOn, no command
  // is sent); the command layer (TQzCmd::AutotuneOnOff: AtOn, TQzCmd::SetSendTunePos: SendTunePos,
  // TQzCmd::SetHysteresis: HystDg); the single-shot window (TTrgCmds::SendTunePositions); the tuner
  // description (MaxIter, BreakUp, MinStep from its keys; MaxInsert_mm from its travel,
  // TTunerModel::TunerDescriptionChanged). The autotune itself only reads them.
  bool AtOn = false;
  uint16_t Toler_mU = kAtDefToler_mU;  // 0..1000
  uint8_t Skip = kAtDefSkip;           // skipped measurements 0..255
  uint8_t Delay5b = kAtDefDelay5b;     // tuning delay code 0..31
  uint8_t Smooth = kAtDefSmooth;       // smoothing count 1..255
  bool WaitRF = kAtDefWaitRF;          // wait for microwave power before tuning
  uint16_t Targ_mU = kAtDefTarg_mU;    // 0..1000
  uint16_t MaxIter = kAtDefMaxIter;
  uint16_t BreakUp = kAtDefBreakUp;
  uint16_t MinStep = kAtDefMinStep;                        // tenths of a motor step
  uint8_t HystDg = kAtDefHystDg;                           // degrees
  double MaxInsert_mm = kTuDefMaxSteps * kTuDefMmPerStep;  // full stub travel
  bool SendTunePos = false;
};

// Resets tolerance, skipped measurements, tuning delay, smoothing, wait-for-RF and target to
// their defaults; the on/off flag and the hysteresis (sent by a command of its own) stay.
void SetAutotuneDefaults(TMotState& m);

// ---- the tuner description (one record for the program) ----------------------------------------

struct TStubModel {
  int NH = 0;                                  // degree in the insertion, 0..9
  std::array<int, 10> NF{};                    // degree of each coefficient in the deviation
  std::array<std::array<double, 10>, 10> C{};  // C[i][j]
  friend bool operator==(const TStubModel&, const TStubModel&) = default;
};

// Cell types of the description.
inline constexpr uint8_t kCellWaveguide = 1;
inline constexpr uint8_t kCellCoax = 2;

// The data of a tuner as described by its maker. Its autotune limits (maximum iterations,
// break-up, minimum step) are kept in TMotState, the largest magnitude to tune and the operator's
// maximum insertion in TSimState, where the autotune reads them.
struct TTunerDescr {
  QString Manuf, Nick, Model, IntMdl;  // at most 32 characters
  uint8_t ModelNo = 0;
  uint8_t ModifNo = 0;
  uint16_t SerNum = 0;
  int32_t WgA_um = 86360;
  int32_t WgB_um = 43180;
  int32_t FnominKHz = 2450000;
  uint8_t CellType = kCellWaveguide;
  int32_t Ltot_um = 0;
  int32_t Lref_um = 0;
  TIndexedArray<int32_t, 1, 3> StubDist;
  int32_t StubDia_um = 0;
  int32_t StubRe_um = 0;
  int32_t StubZeroExt_um = 0;
  QString StubChokeInfo, AddInfo;  // at most 255 characters
  int32_t ShortWgA_um = 0;
  int32_t ShortWgB_um = 0;
  int32_t Ls_pH = 0;
  QString MotManuf, MotModel;  // at most 8 characters
  uint16_t MaxSteps = kTuDefMaxSteps;
  double MmPerStep = kTuDefMmPerStep;
  uint16_t MaxRstSteps = 6000;
  uint16_t InRate = 3000;
  uint16_t OutRate = 3000;
  uint16_t Ramp = 0;
  uint16_t MinRate = 500;
  uint16_t RstRate = 800;
  uint16_t RstAddIn = 5;
  uint16_t RstAddOut = 5;
  TIndexedArray<uint16_t, 1, 3> Nzero;
  TStubModel Par1, Par2;
  friend bool operator==(const TTunerDescr&, const TTunerDescr&) = default;
};

// ---- the simulation state shared by the model, the tuner and the command layer ------------------

// One record for the whole program, shared like the motor state. Writers of each field, in
// the order they write (the model's creation, then the command layer's operator commands,
// then the simulated tuner within a pass); everything else only reads.
struct TSimState {
  // Writers: the model's creation (InitModel); the autotune's burst count (TAutoTune::TunerStep).
  uint16_t NTunBurst = 1;  // tunes of the present burst
  // Writers: the model's creation (InitModel: cleared); the command layer (TQzCmd::SingleTune:
  // set, with TuStartPos) and the single-shot window (TTrgCmds::MeaTun: set); the autotune when
  // it carries the tune out (TAutoTune::TunerStep: cleared).
  bool Btune1 = false;         // a single tune is requested
  bool WasTune1Click = false;  // the tune time of the single tune is to be shown
  // Writer: the command layer (TQzCmd::SingleTune).
  TMotPos TuStartPos;  // positions when the single tune was requested
  // Writer: the model's creation (InitModel: cleared).
  bool MotRunning = false;
  bool GoDirect = false;
  // Writers: the model's creation and setup reading (InitModel, ReadStp: not set); the tuner
  // description (its maximum-insertion key; TTunerModel::ReadDescrLines: not set;
  // TTunerModel::TU_MdlDerivedData: the full travel when not set).
  double UserMax_mm = -1.0;  // operator's maximum insertion, mm; negative = not set
  // Writers: the model's creation (InitModel); the tuner description's key.
  uint16_t MaxMag_mU = 1000;  // largest reflection magnitude autotune tries to match
};

}  // namespace qz
