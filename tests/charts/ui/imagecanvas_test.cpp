#include <gtest/gtest.h>

#include <QImage>

#include "charts/ui/imagecanvas.h"
#include "common/chartrig.h"

namespace qz {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;

QRgb At(const TImageCanvas& c, int x, int y) { return c.Image().pixel(x, y); }

// Pixels that differ from white.
int Inked(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != kWhite ? 1 : 0;
  return n;
}

TEST(ImageCanvasTest, OnePixelLineLeavesOutItsEndPixel) {
  struct Case {
    TPt a, b;
  };
  const Case cases[] = {{{2, 5}, {12, 5}},
                        {{5, 2}, {5, 12}},
                        {{2, 2}, {12, 12}},
                        {{12, 5}, {2, 5}},
                        {{3, 14}, {14, 3}}};
  for (const Case& c : cases) {
    TImageCanvas canvas(20, 20);
    canvas.Pen = TPen{clBlack, psSolid, 1, pmCopy};
    canvas.Line(c.a, c.b);
    EXPECT_EQ(At(canvas, c.a.x, c.a.y), 0xFF000000u) << c.a.x << "," << c.a.y;
    EXPECT_EQ(At(canvas, c.b.x, c.b.y), kWhite) << c.b.x << "," << c.b.y;
    const int len = std::max(std::abs(c.b.x - c.a.x), std::abs(c.b.y - c.a.y));
    EXPECT_EQ(Inked(canvas.Image()), len);
  }
}

TEST(ImageCanvasTest, NotXorSegmentsSharingAVertexLeaveNoHole) {
  const std::vector<TPt> pts{{2, 2}, {12, 2}, {12, 12}, {2, 17}};
  TImageCanvas copy(20, 20), poly(20, 20), lines(20, 20);
  copy.Pen = poly.Pen = lines.Pen = TPen{clBlack, psSolid, 1, pmCopy};
  copy.Polyline(pts);
  poly.Pen.Mode = lines.Pen.Mode = pmNotXor;
  poly.Polyline(pts);
  for (size_t i = 1; i < pts.size(); ++i) lines.Line(pts[i - 1], pts[i]);
  EXPECT_EQ(At(poly, 12, 2), 0xFF000000u);
  EXPECT_EQ(At(lines, 12, 12), 0xFF000000u);
  EXPECT_EQ(poly.Image(), copy.Image());
  EXPECT_EQ(lines.Image(), copy.Image());
}

// Every marker shape drawn once in not-xor over white equals the copy drawing (no hole where
// fill and outline meet), and drawn twice restores a patterned background exactly.
TEST(ImageCanvasTest, MarkersInNotXorAreExactAndReversible) {
  for (int32_t tvar = 0; tvar < kTvarCount; ++tvar) {
    for (int32_t s : {1, 2, 5}) {
      TImageCanvas copy(30, 30), nx(30, 30);
      for (TImageCanvas* c : {&copy, &nx}) {
        c->Pen = TPen{clBlue, psSolid, 1, pmCopy};
        c->Brush = TBrush{clYellow, bsSolid};
      }
      nx.Pen.Mode = pmNotXor;
      copy.Marker(tvar, s, {15, 15});
      nx.Marker(tvar, s, {15, 15});
      EXPECT_EQ(nx.Image(), copy.Image()) << tvar << " " << s;
      EXPECT_GT(Inked(copy.Image()), 0);

      TImageCanvas pattern(30, 30);
      for (int y = 0; y < 30; y += 3) pattern.FillRect({0, y, 30, y + 1}, 0x336699);
      const QImage before = pattern.Image().copy();
      pattern.Pen = TPen{clRed, psSolid, 2, pmNotXor};
      pattern.Brush = TBrush{clGreen, bsSolid};
      pattern.Marker(tvar, s, {15, 15});
      EXPECT_NE(pattern.Image(), before);
      pattern.Marker(tvar, s, {15, 15});
      EXPECT_EQ(pattern.Image(), before) << tvar << " " << s;
    }
  }
}

TEST(ImageCanvasTest, FilledShapesTwiceInNotXorRestoreTheImage) {
  TImageCanvas c(40, 40);
  for (int y = 0; y < 40; y += 4) c.FillRect({0, y, 40, y + 2}, 0x204080);
  const QImage before = c.Image().copy();
  c.Pen = TPen{clBlack, psSolid, 1, pmNotXor};
  c.Brush = TBrush{clFuchsia, bsSolid};
  for (int pass = 0; pass < 2; ++pass) {
    c.Rectangle({3, 3, 20, 15});
    c.Ellipse({10, 10, 35, 30});
    c.Polygon({{5, 30}, {20, 20}, {30, 38}});
  }
  EXPECT_EQ(c.Image(), before);
}

TEST(ImageCanvasTest, MarkersKeepToTheEllipseClip) {
  TImageCanvas c(40, 40);
  c.SetClip({TClipKind::Ellipse, {0, 0, 40, 40}});
  c.Pen = TPen{clBlack, psSolid, 1, pmCopy};
  c.Brush = TBrush{clBlack, bsSolid};
  c.Marker(tvSquare, 3, {2, 2});  // the corner lies outside the circle
  EXPECT_EQ(At(c, 0, 0), kWhite);
  EXPECT_EQ(At(c, 2, 2), kWhite);
  c.Marker(tvSquare, 3, {20, 20});
  EXPECT_EQ(At(c, 20, 20), 0xFF000000u);
}

TEST(ImageCanvasTest, PointsFarOutsideDoNotDisturbTheImage) {
  TImageCanvas c(40, 40);
  c.Pen = TPen{clBlack, psSolid, 1, pmNotXor};
  c.Line({-kPixelLimit, 20}, {20, 20});
  c.Line({-kPixelLimit, 20}, {20, 20});
  c.Marker(tvSquare, 2, {kPixelLimit, kPixelLimit});
  c.Polyline({{0, 0}, {kPixelLimit, -kPixelLimit}, {10, 10}});
  c.Polyline({{0, 0}, {kPixelLimit, -kPixelLimit}, {10, 10}});
  EXPECT_EQ(Inked(c.Image()), 0);
}

// ---- sweeps drawn point by point on a real image ---------------------------------------------

struct SweepRig {
  TImageCanvas canvas{400, 300};
  std::unique_ptr<TRaster> chart;
  TTraces list;

  explicit SweepRig(bool persist, bool markers = true) {
    TRozne s;
    s.Lim.St = psClear;
    chart = testing::MakeChart(testing::ChartKind::Rect, canvas, 400, 300, s,
                               testing::AxisRange(0, 1), testing::AxisRange(0, 1));
    chart->Ox.Stp.Data.Bshort = chart->Oy.Stp.Data.Bshort = true;
    chart->Persist = persist;
    chart->PanelColor = clWhite;
    testing::FillTraces(list, {{}});
    list.Trace(0)->Attr().Dots.Visible = markers;
    list.Trace(0)->Attr().Dots.Moving = !markers;
    chart->AssignTraces(&list);
    chart->pBox1Paint();
  }
  void Draw(const testing::PointList& pts, int32_t from = 0) {
    for (int32_t i = from; i < int32_t(pts.size()); ++i) {
      list.Trace(0)->AddXY(pts[size_t(i)].first, pts[size_t(i)].second);
      chart->MoveTraceSection(list, i);
    }
  }
  void NextSweep() {
    chart->FillGrBufXY();
    list.Vyprazdni();
  }
};

const testing::PointList kA = testing::Sweep(40, 0.1, 0.2, 0.9, 0.4);
const testing::PointList kB = testing::Sweep(40, 0.1, 0.7, 0.9, 0.9);

TEST(SweepPixelTest, WithoutPersistTheSecondSweepReplacesTheFirst) {
  SweepRig ab(false), b(false);
  ab.Draw(kA);
  ab.NextSweep();
  ab.Draw(kB);
  b.Draw(kB);
  EXPECT_EQ(ab.canvas.Image(), b.canvas.Image());
}

TEST(SweepPixelTest, WithPersistBothSweepsStay) {
  SweepRig ab(true), a(true), b(true);
  ab.Draw(kA);
  ab.NextSweep();
  ab.Draw(kB);
  a.Draw(kA);
  b.Draw(kB);
  const QImage& img = ab.canvas.Image();
  int checked = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QRgb pa = a.canvas.Image().pixel(x, y), pb = b.canvas.Image().pixel(x, y);
      if (pb != kWhite) {
        EXPECT_EQ(img.pixel(x, y), pb);
        ++checked;
      } else if (pa != kWhite) {
        EXPECT_EQ(img.pixel(x, y), pa);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 100);
}

// A repaint draws in copy mode, so markers drawn over the line would differ in colour from
// not-xor ones; the comparison uses the line and the moving marker only.
TEST(SweepPixelTest, RepaintDuringTheSecondSweepLeavesNoGhost) {
  SweepRig ab(false, false), b(false, false);
  ab.Draw(kA);
  ab.NextSweep();
  const testing::PointList half(kB.begin(), kB.begin() + 20);
  ab.Draw(half);
  ab.chart->pBox1Paint();
  ab.Draw(kB, 20);
  b.Draw(kB);
  EXPECT_EQ(ab.canvas.Image(), b.canvas.Image());
}

}  // namespace
}  // namespace qz
