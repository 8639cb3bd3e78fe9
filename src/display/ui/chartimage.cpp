#include "display/ui/chartimage.h"

#include <QPainter>
#include <algorithm>

#include "charts/labelplace.h"
#include "charts/ui/imagecanvas.h"
#include "display/displayops.h"
#include "display/displdefaults.h"
#include "display/disptypes.h"

namespace qz {

namespace {

// The chart as the display operations see a window: input values, nothing to show on screen.
class TPictureView : public TDisplayView {
 public:
  explicit TPictureView(TDispl& d) : d_(d) {}
  TDispl& Displ() override { return d_; }
  bool ShowLoad() const override { return false; }
  bool ClearAndGo() const override { return true; }
  void ChartChanged() override {}
  void RepaintAll() override {}

 private:
  TDispl& d_;
};

// The caption in the chart caption's own style, centred on its anchor.
void DrawCaption(TImageCanvas& canvas, const TRaster& raster, const QString& text) {
  // The caption's font: 8 points, red.
  const TFontRec font;
  canvas.Font = font;
  canvas.SetClip(TClip{});
  const int32_t w = canvas.TextWidth(text);
  const int32_t h = std::max(13, canvas.TextHeight(text));
  const TPt at = CaptTopLeft(raster.CaptionAnchor(font.Size), raster.CaptionSide(), w, h);
  // A caption below a small chart would be cut by the picture's bottom edge: it stays inside.
  const int32_t top = std::max(0, std::min(at.y, canvas.Height() - h - 1));
  canvas.Text(TPt{std::max(1, at.x), top}, text);
}

// The moving marker on the newest point of each trace, as a window shows it while the sweep
// grows: a sweep of one repeated value, which draws no line, still shows where it lies.
void DrawNewestMarkers(TRaster& r, const TTraces& traces, TCanvas& canvas) {
  r.SetVport(r.ClipPort);
  for (int32_t j = 0; j < traces.Count(); ++j) {
    const TOneTrace* t = traces.Trace(j);
    const TDrawAttrib& a = t->Attr();
    if (!a.Visible || !a.Dots.Moving || a.Dots.Visible || t->GetCount() == 0) continue;
    TRaster::SetCanvForDots(canvas, *t);
    canvas.Pen.Mode = pmCopy;
    TRaster::DotG(a.Dots.Tvar, a.Dots.Dsize, canvas, r.PointPixel(*t, t->GetCount() - 1));
  }
}

}  // namespace

QImage RenderSweepChart(const TQvWin& qv, int32_t type, int32_t width, int32_t height,
                        bool bilinActive) {
  const int32_t t = OfferedTypeOrFirst(type);
  TDisplayDefaults defaults;
  TImageCanvas canvas(width, height);
  TDispl displ(defaults.Depot, t, &canvas);
  displ.SetTypXY(XTypeOf(t), t, defaults.Atr);
  // The point axis follows the sweep's length, as in a window after the frame window's refresh.
  displ.ZmenOsX(qv.LastSwp.Nwanted());
  TPictureView view(displ);
  TDisplayOps(qv).FillTracesAll(view, qv.LastSwp);

  TRaster& r = *displ.Grf;
  canvas.Resize(width, height, r.PanelColor);
  r.SetCanvas(&canvas);
  r.SetPanelSize(width, height);
  r.ClrVport(vpCely);
  r.PrepareRepaint();
  r.Draw();
  r.DrawTraces();
  DrawNewestMarkers(r, displ.TracesToDraw, canvas);
  DrawCaption(canvas, r, DisplayCaption(t, false, true, bilinActive));

  // The legend where a new window shows it: at the top, right-aligned.
  TImageCanvas legend;
  const int32_t lw = LegendWidth(legend, displ.TracesToDraw);
  int32_t visible = 0;
  for (int32_t j = 0; j < displ.TracesToDraw.Count(); ++j)
    if (displ.TracesToDraw.Trace(j)->Attr().Visible) ++visible;
  const int32_t lh = LegendGeometry(visible).height;
  QImage out = canvas.Image().copy();
  if (visible > 0 && lw > 0 && lh > 0) {
    legend.Resize(lw, lh);
    DrawLegend(legend, displ.TracesToDraw, r.PanelColor, lw - 1);
    QPainter p(&out);
    p.drawImage(std::max(1, width - lw - 2), 1, legend.Image());
  }
  r.SetCanvas(nullptr);
  return out.convertToFormat(QImage::Format_RGB32);
}

}  // namespace qz
