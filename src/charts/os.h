#pragma once
// Chart axes: round ends and divisions for a pixel span, the value-to-pixel mapping, the
// division labels placed so that they do not crowd each other, the title, and the tick or grid
// lines. The axes compute; a painter draws the segments and texts they hand out.

#include <QChar>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "charts/charttypes.h"
#include "charts/ossetup.h"
#include "charts/units.h"

namespace qz {

// Most divisions an axis holds, both ends included.
inline constexpr int32_t kMaxDivisions = 100;
// Pixels handed out for values that cannot be mapped (NaN, infinities) or lie far outside.
inline constexpr int32_t kPixelLimit = 2147483647;

class TOs {
 public:
  explicit TOs(const TOsData& settings);
  virtual ~TOs() = default;

  // Copies the settings in.
  void Nastav(const TOsData& settings) { Stp.Data = settings; }
  // Pixels of the range ends.
  void SetGlimits(int32_t start, int32_t stop) {
    Gstart = start;
    Gstop = stop;
  }

  // Span and tick edges from the chart rectangle, round ends, divisions and label placement.
  void FindParams(const TRectI& chart, const TTextMetrics& metrics);
  // Span and tick edges from the chart rectangle with fixed ends lo..hi and division step
  // (circular charts): a linear axis with grid lines, divisions and labels placed.
  void FindParamsFixed(const TRectI& chart, double lo, double hi, double step,
                       const TTextMetrics& metrics);
  // Round ends and mapping for the present span (the first steps of FindParams).
  void FindRange();
  // Mapping constants of the present MinLin..MaxLin onto Gstart..Gstop.
  void FindGtr();
  // Pixel of a value (of its log10 on a logarithmic axis: the caller passes the log10).
  int32_t Gtr(double v) const;
  void MakeLinDivisions();
  void MakeLogDivisions();
  // Which labels are shown; their positions. The first and the last are always shown.
  virtual void PlaceLabels(const TTextMetrics& metrics) = 0;
  // Position of the title.
  virtual void PlaceTitle(const TTextMetrics& metrics) = 0;
  // The tick marks (short ticks at both edges) or grid lines of every division.
  virtual std::vector<TSegment> Ticks() const = 0;
  // Every shown label and the title.
  std::vector<TPlacedText> Labels() const;
  // Ticks go in the frame colour with short ticks, in the grid colour as grid lines.
  bool TicksInFrameColor() const { return Stp.Data.Bshort; }

  void ClrGrBuf();
  void FillGrBuf() { g0 = g; }
  // Unit n of the quantity's table: its index, factor and text.
  void TreatUnit(int32_t n, const TUnits& units);
  // The requested range as text, "<min> to <max>".
  QString GetBoundsStr() const;

  TOsSetup Stp;
  QString Title;
  TPt NamePos;
  int32_t Gstart = 100;
  int32_t Gstop = 200;
  int32_t MinDiviPixels = 15;
  double Min = 0.0, Max = 1.0;        // rounded axis ends
  double Min1 = 0.0, Max1 = 1.0;      // first division above Min, last below Max
  double MinLin = 0.0, MaxLin = 1.0;  // range mapped onto the pixels (log10 on a log axis)
  double Gshift = 0.0;
  double Gmult = 1.0;
  double D = 1.0;  // division step of a linear axis
  int32_t Nd = 0;  // divisions, both ends included
  std::array<int32_t, kMaxDivisions> Dpos{};
  std::array<double, kMaxDivisions> Dval{};
  std::array<QString, kMaxDivisions> LblTxt;
  std::array<TPt, kMaxDivisions> LblPos{};
  std::array<bool, kMaxDivisions> LblShow{};
  // Labels the divisions themselves offer (on a logarithmic axis only some are); label
  // placement can hide an offered label but never shows one that was not offered.
  std::array<bool, kMaxDivisions> LblChosen{};
  int32_t Tick = 5;
  int32_t TickStart = 0;
  int32_t TickEnd = 0;
  int32_t NdivWanted = 10;
  // Decimal separator of the linear label texts.
  QChar DecSep = QChar('.');
  // Pixel coordinates of up to four traces on this axis: current and previous drawing.
  std::array<std::vector<int32_t>, 4> g;
  std::array<std::vector<int32_t>, 4> g0;

 protected:
  virtual void SetRect(const TRectI& chart) = 0;

  TRectI chart_;  // the chart rectangle of the last FindParams

 private:
  bool gtrFlat_ = false;  // every value maps to Gstart
};

class TOsX : public TOs {
 public:
  using TOs::TOs;
  void PlaceLabels(const TTextMetrics& metrics) override;
  void PlaceTitle(const TTextMetrics& metrics) override;
  std::vector<TSegment> Ticks() const override;

 protected:
  void SetRect(const TRectI& chart) override;
};

class TOsY : public TOs {
 public:
  using TOs::TOs;
  void PlaceLabels(const TTextMetrics& metrics) override;
  void PlaceTitle(const TTextMetrics& metrics) override;
  std::vector<TSegment> Ticks() const override;

 protected:
  void SetRect(const TRectI& chart) override;
};

// Titles of a rectangular chart: horizontal "<y name> vs <x name>" with " (<x unit>)" when the
// x axis has a unit; vertical: the y unit, or the y name when it has none.
void MakeRectAxisTitles(TOsX& ox, TOsY& oy);

}  // namespace qz
