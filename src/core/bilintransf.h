#pragma once
// Bilinear transform: the measured reflection coefficient is taken as the load of a two-port
// [S11 S12; S21 S22] given per frequency by an S-parameter text file, and replaced by the
// reflection coefficient seen at the two-port's input:
//   Gin = (a G + b) / (1 + c G),  a = S12 S21 - S11 S22,  b = S11,  c = -S22
// and back: G = (Gin - b) / (a - c Gin). Between table frequencies the coefficients are
// interpolated linearly (file order); outside the table the nearest end entry is used.

#include <QChar>
#include <QString>
#include <vector>

#include "core/frame.h"
#include "core/planeext.h"
#include "util/arrays.h"
#include "util/asker.h"
#include "util/complex.h"
#include "util/smatrix.h"

namespace qz {

// The coefficient table, one entry per frequency, in file order.
struct TBilinStruct {
  TArrD ff;  // Hz
  TArrC aa, bb, cc;
};

// The coefficients of one S-matrix.
struct TBilinCoefs {
  complex a = complex(1.0);
  complex b;
  complex c;
};
TBilinCoefs SToBilin(const TSmatrix& s);

// Texts of the file choice.
extern const char* const kSparOpenTitle;   // "Load Text File of S-Parameters"
extern const char* const kSparOpenFilter;  // "Text file (*.txt)|*.txt|Any file (*.*)|*.*"

class TBilinTransf {
 public:
  TBilinStruct FBis;
  bool FEnabled = false;  // a table is loaded
  bool FActive = false;   // the operator has the transform switched on
  bool FSLoaded = false;  // the last file read succeeded
  QString Path = QStringLiteral("Spar.txt");

  // Disables the transform; the table itself stays.
  void Clear();
  bool GetActive() const { return FEnabled && FActive; }
  // Switches the transform on only when a table is loaded.
  void SetActive(bool v) { FActive = FEnabled && v; }

  // The coefficients at frequency f (Hz); with an empty table those of a plain through line.
  TBilinCoefs CoefsAt(double f) const;
  complex TransformLoadToInput(const complex& g, double f) const;
  complex TransformInputToLoad(const complex& gin, double f) const;

  // Asks for a file (starting at startPath; a bare name starts in the user folder) and reads
  // it, showing the reader's message. Sets Path to the chosen file and FSLoaded to the outcome.
  // A cancelled choice leaves FSLoaded false.
  void LoadSParams(const QString& startPath, TArrD& freqs, std::vector<TSmatrix>& matrices,
                   TAsker& asker = Asker());
  // When the last read succeeded, fills the table from the matrices; then enables and activates
  // the transform exactly when it did.
  void SToBilinAll(const TArrD& freqs, const std::vector<TSmatrix>& matrices);
  void LoadAndConvert(const QString& startPath, TAsker& asker = Asker());

  // The table as text: inForm tells how the stored values are held, outForm how to show them
  // (TCfmt: 0 real and imaginary, 1 magnitude and radians, 2 magnitude and degrees).
  QString BiStructToStr(int inForm, int outForm, QChar decSep = QChar('.')) const;
};

// What the decoder applies: the analyzer's bilinear transform and plane extension.
class TDecodeTransforms : public TFrameTransforms {
 public:
  TDecodeTransforms(const TPlaneExt& pe, const TBilinTransf& bt) : pe_(pe), bt_(bt) {}
  bool BilinActive() const override { return bt_.GetActive(); }
  complex BilinLoadToInput(const complex& rho, double freqHz) const override {
    return bt_.TransformLoadToInput(rho, freqHz);
  }
  bool PlaneExtOn() const override { return pe_.Bexten; }
  double PlaneExtFactor() const override { return pe_.ExtFactor; }

 private:
  const TPlaneExt& pe_;
  const TBilinTransf& bt_;
};

}  // namespace qz
