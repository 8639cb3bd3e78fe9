#pragma once
// The reflection-coefficient chart without its window: the chosen reflection coefficient and
// its field texts, the marker, the tuner's area borders (as fetched and in pixels) and the
// drawing of the chart on a canvas.
//
// The operator picks a load here by pointing at the chart or by typing magnitude and phase; the
// chosen value is not limited to the chart radius (a marker outside the chart is simply not
// seen).

#include <QString>
#include <array>
#include <cstdint>

#include "charts/canvas.h"
#include "display/rhomap.h"
#include "sim/rhoarea.h"
#include "util/complex.h"

namespace qz {

class TBilinTransf;
class TTunerModel;
struct TFixPar;

// The texts of the three fields.
struct TRhoFields {
  QString Mag;   // "%5.3f" of the magnitude
  QString Deg;   // "%6.1f" of the phase in degrees
  QString Vswr;  // "%6.2f" of the VSWR
  bool operator==(const TRhoFields&) const = default;
};
TRhoFields RhoFieldTexts(const complex& g);

// Captions of the area kinds and of the planes the areas are referred to.
QString AreaKindCaption(int kind);
QString AreaPlaneCaption(int plane);

// Marker half-size and the place of a marker that is not drawn.
inline constexpr int32_t kRhoBodSize = 3;
inline constexpr int32_t kRhoNoMarker = -100;

class TRhoPad {
 public:
  TRhoPad();

  TRhoMap Map;
  int RadiusIdx = 0;                         // "Polar Radius": 0 -> 1, 1 -> 0.5, 2 -> 0.25
  int AreaKind = kAreaNone;                  // "Show Area"
  int AreaPlane = kAreaOutput;               // "Refer Area to"
  TRhoArea RhoArea{};                        // the borders as fetched (reflection x 30000)
  std::array<TPt, 2 * kRhoAreaPts> Wmark{};  // the same in pixels
  int32_t x0 = kRhoNoMarker, y0 = kRhoNoMarker;
  int32_t BodSize = kRhoBodSize;
  bool Aktivny = false;
  double fMag = 0.0, fDeg = 0.0;
  complex MouseRho;
  TRhoFields Fields;
  // Texts on the chart with the areas: largest insertion, unit, frequency.
  QString MaxText, UnitText, FreqText;

  // The drawing area starts at `left`, `width` pixels wide; the grid and area pixels follow.
  void Layout(int32_t left, int32_t width);
  // A new chart radius: mapping, grid and area pixels.
  void SetRadius(int idx);

  // The chosen reflection coefficient; magnitude, phase and field texts follow it.
  void SetRho(const complex& g);
  // The reflection at a pixel of the chart.
  void PickAt(TPt p) { SetRho(Map.ToRho(p)); }
  // The typed magnitude and phase: a text that is not a number keeps the present value.
  void ReadFields(const QString& mag, const QString& deg);

  // The area borders of the present kind and plane at frequency f (Hz), and the chart texts.
  // Nothing is fetched with no area chosen. bitr is used for the "Transform" plane (may be null).
  void FetchAreas(TTunerModel& tuner, double fHz, const TBilinTransf* bitr, const TFixPar& fix);
  // The area borders in pixels for the present mapping.
  void AreaPixels();

  // Clear, forget the marker, grid, areas, marker at the chosen value.
  void Redraw(TCanvas& c);
  // Clear, grid, areas, marker at its last place.
  void Repaint(TCanvas& c);
  // Removes the marker from its last place and draws it at the chosen value.
  void MoveMarker(TCanvas& c);

 private:
  void Clear(TCanvas& c) const;
  void Grid(TCanvas& c) const;
  void Areas(TCanvas& c) const;
  void Square(TCanvas& c) const;
  int32_t side_ = 1;  // the drawing area's size
  int32_t left_ = 0;
};

}  // namespace qz
