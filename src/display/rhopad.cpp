#include "display/rhopad.h"

#include <vector>

#include "core/records.h"
#include "sim/tunermodel.h"
#include "util/colors.h"
#include "util/format.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/parse.h"
#include "util/unitconv.h"

namespace qz {

namespace {

// Room between the chart's texts and the edge of the drawing area.
constexpr int32_t kTextMargin = 3;

TFontRec ChartFont(TColor color, bool bold) {
  TFontRec f;
  f.Color = color;
  f.Bold = bold;
  return f;
}

}  // namespace

TRhoFields RhoFieldTexts(const complex& g) {
  const double m = CAbs(g);
  return TRhoFields{Format(QStringLiteral("%5.3f"), {m}),
                    Format(QStringLiteral("%6.1f"), {CArgDeg(g)}),
                    Format(QStringLiteral("%6.2f"), {RhoToSwr(m)})};
}

QString AreaKindCaption(int kind) {
  switch (kind) {
    case kAreaRealizable:
      return QStringLiteral("Realizable");
    case kAreaMatchable:
      return QStringLiteral("Matchable");
    default:
      return QStringLiteral("None");
  }
}

QString AreaPlaneCaption(int plane) {
  switch (plane) {
    case kAreaStub3:
      return QStringLiteral("Stub 3");
    case kAreaStub1:
      return QStringLiteral("Stub 1");
    case kAreaCal:
      return QStringLiteral("Cal");
    case kAreaTransform:
      return QStringLiteral("Transform");
    default:
      return QStringLiteral("Output");
  }
}

TRhoPad::TRhoPad() {
  Layout(0, 301);
  SetRho(complex());
}

void TRhoPad::Layout(int32_t left, int32_t width) {
  left_ = left;
  side_ = width;
  Map.Layout(left, width);
  SetRadius(RadiusIdx);
}

void TRhoPad::SetRadius(int idx) {
  RadiusIdx = idx < 0 || idx >= kRhoRadiusCount ? 0 : idx;
  Map.Scale(RhoRadius(RadiusIdx));
  AreaPixels();
}

void TRhoPad::SetRho(const complex& g) {
  MouseRho = g;
  fMag = CAbs(g);
  fDeg = CArgDeg(g);
  Fields = RhoFieldTexts(g);
}

void TRhoPad::ReadFields(const QString& mag, const QString& deg) {
  if (const auto m = ParseDouble(mag, true)) fMag = *m;
  if (const auto d = ParseDouble(deg, true)) fDeg = *d;
  const double keepMag = fMag, keepDeg = fDeg;
  SetRho(CPolarDeg(fMag, fDeg));
  // The values typed stay the present ones (a negative magnitude reads back as its phase turned).
  fMag = keepMag;
  fDeg = keepDeg;
}

void TRhoPad::FetchAreas(TTunerModel& tuner, double fHz, const TBilinTransf* bitr,
                         const TFixPar& fix) {
  MaxText = Format(QStringLiteral("%0.2f mm"), {tuner.Sim().UserMax_mm});
  UnitText = Format(QStringLiteral("%s V%d.%d/%d"),
                    {fix.IntMdl, int(fix.ModelNo), int(fix.ModifNo), int(fix.SerNum)});
  FreqText = FreqCountToText(HzToFreqCount(fHz), true);
  if (AreaKind == kAreaNone) return;
  GetRhoArea(tuner, fHz, AreaKind, AreaPlane, AreaPlane == kAreaTransform ? bitr : nullptr,
             RhoArea);
  AreaPixels();
}

void TRhoPad::AreaPixels() {
  for (std::size_t i = 0; i < RhoArea.size(); ++i)
    Wmark[i] = Map.ToPixel(complex(RhoArea[i].re / kRhoAreaScale, RhoArea[i].im / kRhoAreaScale));
}

void TRhoPad::Clear(TCanvas& c) const {
  c.SetClip(TClip{});
  c.FillRect(TRectI{left_, 0, left_ + side_, side_}, clWhite);
}

void TRhoPad::Grid(TCanvas& c) const {
  c.Brush = TBrush{clWhite, bsClear};
  c.Pen = TPen{kRhoGridGrey, psSolid, 1, pmCopy};
  for (std::size_t k = 0; k + 1 < Map.Kr.size(); ++k) c.Ellipse(Map.Kr[k]);
  for (const TSegment& s : Map.Li) c.Line(TPt{s.x1, s.y1}, TPt{s.x2, s.y2});
  c.Pen.Color = clBlack;
  c.Ellipse(Map.Kr.back());
}

void TRhoPad::Areas(TCanvas& c) const {
  if (AreaKind == kAreaNone) return;
  c.Brush = TBrush{clWhite, bsClear};
  const TColor colors[2] = {clBlue, clFuchsia};
  for (int p = 0; p < 2; ++p) {
    c.Pen = TPen{colors[p], psSolid, 2, pmCopy};
    const auto first = Wmark.begin() + p * kRhoAreaPts;
    c.Polygon(std::vector<TPt>(first, first + kRhoAreaPts));
  }
  const int32_t top = kTextMargin;
  const int32_t left = Map.X1 + kTextMargin;
  const int32_t right = Map.X2 - kTextMargin;
  c.Font = ChartFont(clBlue, true);
  const QString t12 = QStringLiteral("1 + 2");
  c.Text(TPt{left, top}, t12);
  c.Font = ChartFont(clFuchsia, true);
  c.Text(TPt{left, top + c.TextHeight(t12)}, QStringLiteral("2 + 3"));
  c.Font = ChartFont(clBlack, false);
  c.Text(TPt{right - c.TextWidth(MaxText), top}, MaxText);
  const int32_t bottom = side_ - kTextMargin;
  c.Text(TPt{left, bottom - c.TextHeight(UnitText)}, UnitText);
  c.Text(TPt{right - c.TextWidth(FreqText), bottom - c.TextHeight(FreqText)}, FreqText);
}

void TRhoPad::Square(TCanvas& c) const {
  if (x0 == kRhoNoMarker && y0 == kRhoNoMarker) return;
  // A marker wholly outside the drawing area is not drawn (and its box cannot overflow).
  const int64_t l = int64_t(x0) - BodSize, t = int64_t(y0) - BodSize;
  const int64_t r = int64_t(x0) + BodSize + 1, b = int64_t(y0) + BodSize + 1;
  if (r <= left_ || l >= int64_t(left_) + side_ || b <= 0 || t >= side_) return;
  c.Brush = TBrush{clWhite, bsClear};
  c.Pen = TPen{clBlack, psSolid, 1, pmNotXor};
  c.Rectangle(TRectI{int32_t(l), int32_t(t), int32_t(r), int32_t(b)});
  c.Pen.Mode = pmCopy;
}

void TRhoPad::Redraw(TCanvas& c) {
  Clear(c);
  x0 = y0 = kRhoNoMarker;
  Grid(c);
  Areas(c);
  MoveMarker(c);
}

void TRhoPad::Repaint(TCanvas& c) {
  Clear(c);
  Grid(c);
  Areas(c);
  Square(c);
}

void TRhoPad::MoveMarker(TCanvas& c) {
  Square(c);
  const TPt p = Map.ToPixel(MouseRho);
  x0 = p.x;
  y0 = p.y;
  Square(c);
}

}  // namespace qz
