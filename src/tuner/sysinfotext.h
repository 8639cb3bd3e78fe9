#pragma once
// The texts of the system information window: the identity of the analyzer and of the tuner,
// the motor data, the autotune parameters and the lengths of the tuner sketch. Row captions are
// fixed; each function gives the value column, row by row.

#include <QString>
#include <QStringList>
#include <array>

#include "core/records.h"

namespace qz {

class TTunerModel;

// The system information window's setup section.
inline constexpr const char* kTuStpSection = "TuStpFrm";

// Rows of the "Autotune" page, in order.
enum TAtRow : int {
  atrTarget = 0,
  atrToler,
  atrSkip,
  atrSmooth,
  atrWaitRF,
  atrDelay,
  atrHyst,
  atrMaxMag,
  atrDefaults,
  kAtRowCount
};
// Rows of the "Motors" page; only the travel row can be edited.
enum TMotRow : int { mrStepSize = 0, mrMaxSteps, mrInRate, mrOutRate, mrTravelTime, kMotRowCount };
inline constexpr int kIdentRowCount = 7;

// The captions of the pages' first column.
const QStringList& IdentityCaptions();
const QStringList& MotorCaptions();
const QStringList& AutotuneCaptions();

// "86.36 mm x 43.18 mm", or for a coaxial line (the analyzer's flag decides for both pages)
// "Coaxial " + B + " mm/" + A + " mm"; A and B in micrometres.
QString WaveguideText(int32_t a_um, int32_t b_um, bool coax);
// The nominal frequency in kHz as a frequency text with a blank ("2.45 GHz"), in 64 bits so
// frequencies above 2.147 GHz x 10 do not overflow.
QString NominalFreqText(int32_t kHz);

// The value columns.
QStringList QuzarIdentityTexts(const TFixPar& fix);
QStringList TunerIdentityTexts(const TTunerDescr& d, bool coax);
// From the working data: step length, working maximum, rates.
QStringList MotorTexts(const TTunerModel& m);
QStringList AutotuneTexts(const TMotState& mot, const TSimState& sim);
// "5  (87 mU)": degrees and the same angle as milli-units of reflection magnitude.
QString HysteresisText(uint8_t hystDg);

// The six lengths of the sketch, mm: D1, D2, D3 (from each stub to the output flange), the total
// length, Lcal and the travel.
enum TSketchLabel : int { slD1 = 0, slD2, slD3, slLtotal, slLcal, slHmax, kSketchLabelCount };
std::array<QString, kSketchLabelCount> SketchLabels(const TTunerModel& m);

}  // namespace qz
