#pragma once
// The polar chart: concentric circles and diagonal spokes around the origin of the reflection
// coefficient plane; base of the Smith and VSWR charts, which share its square layout, circle
// list and circle labels.

#include <QString>
#include <array>
#include <cstdint>

#include "charts/raster.h"

namespace qz {

inline constexpr int32_t kMaxCircles = 20;
inline constexpr int32_t kMaxCircLines = 8;

// Circles by their bounding boxes (right and bottom outside), and the circle labels.
struct TKruz {
  std::array<TPt, kMaxCircles> TL{};
  std::array<TPt, kMaxCircles> BR{};
  std::array<TPt, kMaxCircles> LblPos{};
  std::array<QString, kMaxCircles> LblTxt;
  std::array<bool, kMaxCircles> LblShow{};
};

// Straight lines of the grid, each from Zac up to but not including Kon.
struct TLi {
  std::array<TPt, kMaxCircLines> Zac{};
  std::array<TPt, kMaxCircLines> Kon{};
};

// The text the labels "To Load" of the VSWR chart carry: it is the one label drawn turned.
inline const QString kToLoad = QStringLiteral("To Load");

class TCircRaster : public TRaster {
 public:
  TCircRaster(const TRozne& settings, const TOsData& ySettings, const TOsData& xSettings);

  void SetDefaults() override;
  void FindRasterParams() override;
  void MakeAxisTitles() override;
  void Draw() override;
  void DrawLimitLine() override;
  void PageLayoutConstants() override;
  bool IsCircular() const override { return true; }
  std::vector<TTextBox> TextBoxes() const override;

  // The outer radius R of the chart.
  virtual void FindRpolar();
  // Circles and lines of the grid.
  virtual void Kruznice();
  virtual void BuildGrid();

  // A circle of radius r around c (chart units) in the pen, brush clear.
  void Circ(const TPen& pen, double r, TPtD c);
  // Its bounding box in pixels (right and bottom outside), computed without overflow.
  TRectI SetCircG(double r, TPtD c) const;
  // Pixel of a point in chart units.
  TPt PixelOf(TPtD p) const { return TPt{Ox.Gtr(p.x), Oy.Gtr(p.y)}; }
  // The shown circle labels in the circle label colour.
  void DrawCircleLabels();
  // The place circle label i takes ("To Load" turned).
  TTextBox LabelBox(int32_t i) const;

  double Rpolar = 1.0;
  int32_t NcircWanted = 6;
  TKruz Kr;
  int32_t Nk = 0;
  int32_t Nlbl = 0;
  TLi Li;
  int32_t Nli = 0;
  TColor CircLblColor = clBlue;

 protected:
  // Appends a circle by its box, a line, a label; ignored when the table is full.
  void AddCircle(const TRectI& box);
  void AddLine(TPt from, TPt to);
  void AddLabel(const QString& text, TPt pos);
  void AddOuterCircle();
  void DrawCircles(int32_t clippedUpTo);
  // The chart draws its axes' labels and titles (the polar chart; not the Smith and VSWR charts).
  virtual bool AxesDrawn() const { return true; }
  // A circle label that would cover a text shown before it (the axes' texts, then the labels in
  // their order) is not shown.
  void DropCoveringLabels();
};

// Outer radius taken from a setup: limited to 1e-6 .. 1e6, anything unreadable is 1.
double LimitPolarRadius(double r);

}  // namespace qz
