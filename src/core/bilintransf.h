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
#include "core/smatrixalg.h"
#include "util/arrays.h"
#include "util/complex.h"
#include "util/smatrix.h"

namespace qz {

// The coefficient table, one entry per frequency, in file order.
struct TBilinStruct {
  TArrD ff;  // Hz
  TArrC aa, bb, cc;
};

// What reading an S-parameter file gave: the reader's message for the operator (the file's
// information, or why it was refused) and whether a table was read.
struct TSparLoad {
  bool valid = false;
  bool isError = false;  // the message reports a failure
  QString message;
};

// Which way the table is used. Apply: the measured Γ loads port 2 of the two-port and the
// input Γ is shown (a fixture added in front of the load). Remove: the measured Γ is seen at
// port 1 (towards the analyzer) and the Γ at port 2 is shown (a fixture taken out).
enum class TBilinDir { Apply = 0, Remove = 1 };

class TBilinTransf {
 public:
  TBilinStruct FBis;
  bool FEnabled = false;  // a table is loaded
  bool FActive = false;   // the operator has the transform switched on
  bool FSLoaded = false;  // the last file read succeeded
  QString Path = QStringLiteral("Spar.txt");
  TBilinDir Direction = TBilinDir::Apply;

  // Disables the transform; the table itself stays.
  void Clear();
  bool GetActive() const { return FEnabled && FActive; }
  // Switches the transform on only when a table is loaded.
  void SetActive(bool v) { FActive = FEnabled && v; }

  // The coefficients at frequency f (Hz); with an empty table those of a plain through line.
  TBilinCoefs CoefsAt(double f) const;
  complex TransformLoadToInput(const complex& g, double f) const;
  complex TransformInputToLoad(const complex& gin, double f) const;
  // The shown Γ of a measured one and back, in the chosen direction (Apply: load to input;
  // Remove: input to load).
  complex ToShown(const complex& measured, double f) const {
    return Direction == TBilinDir::Remove ? TransformInputToLoad(measured, f)
                                          : TransformLoadToInput(measured, f);
  }
  complex FromShown(const complex& shown, double f) const {
    return Direction == TBilinDir::Remove ? TransformLoadToInput(shown, f)
                                          : TransformInputToLoad(shown, f);
  }

  // Where the choice of a file starts: the last file, a bare name in the user folder.
  QString StartPath() const;
  // Reads the file at path (no questions asked). Sets Path to it and FSLoaded to the outcome;
  // the result carries the message to show.
  TSparLoad LoadSParams(const QString& path, TArrD& freqs, std::vector<TSmatrix>& matrices);
  // When the last read succeeded, fills the table from the matrices; then enables and activates
  // the transform exactly when it did.
  void SToBilinAll(const TArrD& freqs, const std::vector<TSmatrix>& matrices);
  // LoadSParams and SToBilinAll in one.
  TSparLoad LoadAndConvert(const QString& path);
  // The operator chose no file: the transform is disabled, its table stays.
  void LoadCancelled();

  // The table as text: inForm tells how the stored values are held, outForm how to show them
  // (TCfmt: 0 real and imaginary, 1 magnitude and radians, 2 magnitude and degrees).
  QString BiStructToStr(int inForm, int outForm, QChar decSep = QChar('.')) const;
};

// What the decoder applies: the analyzer's bilinear transform and plane extension.
class TDecodeTransforms : public TFrameTransforms {
 public:
  TDecodeTransforms(const TPlaneExt& pe, const TBilinTransf& bt) : pe_(pe), bt_(bt) {}
  bool BilinActive() const override { return bt_.GetActive(); }
  complex BilinToShown(const complex& rho, double freqHz) const override {
    return bt_.ToShown(rho, freqHz);
  }
  bool PlaneExtOn() const override { return pe_.Bexten; }
  double PlaneExtFactor() const override { return pe_.ExtFactor; }

 private:
  const TPlaneExt& pe_;
  const TBilinTransf& bt_;
};

}  // namespace qz
