#pragma once
// The rectangular chart panel's logic: layout of the chart rectangle in the panel, the two axes,
// grid, limit line and frame, and the drawing of a trace list either all at once or point by
// point as measurements arrive. It draws on a canvas it does not own; the window that shows it
// keeps the image (charts/ui). Polar, Smith and VSWR charts derive from it.

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "charts/canvas.h"
#include "charts/limline.h"
#include "charts/os.h"
#include "charts/textbox.h"
#include "charts/traces.h"
#include "util/fontrec.h"

namespace qz {

// Clips: the whole panel, the chart rectangle, the ellipse inscribed in the chart rectangle.
enum TVport : int32_t { vpCely = 0, vpRaster = 1, vpSmith = 2 };
// The caption stands above the chart (its bottom at the anchor) or below it (its top there).
enum TCaptUpDn : int32_t { capTop = 0, capBott = 1 };

// The chart settings a raster is created with.
struct TRozne {
  TLimData Lim;
  int32_t Zoom = 0;
  QString CapText;
  bool CapVisible = false;
};

// A point in chart units (reflection coefficient plane or axis values).
struct TPtD {
  double x = 0.0;
  double y = 0.0;
};

inline constexpr int32_t kMaxZoom = 4;

class TRaster {
 public:
  TRaster(const TRozne& settings, const TOsData& ySettings, const TOsData& xSettings);
  virtual ~TRaster() = default;
  TRaster(const TRaster&) = delete;
  TRaster& operator=(const TRaster&) = delete;

  // ---- the chart kind's own steps -----------------------------------------------------------
  // Colours, persistence, font and trace clip to their defaults.
  virtual void SetDefaults();
  // Layout, axes, titles and (circular charts) the grid, for the present panel size.
  virtual void FindRasterParams();
  virtual void MakeAxisTitles();
  // Grid, limit line and frame (no traces).
  virtual void Draw();
  virtual void DrawLimitLine();
  // The chart rectangle from the panel size and the font.
  virtual void PageLayoutConstants();
  virtual TCaptUpDn CaptionSide() const { return capTop; }
  virtual bool IsCircular() const { return false; }
  // Every text the chart draws (axis labels and titles, shown circle labels) with the place its
  // letters take, as laid out by the last FindRasterParams.
  virtual std::vector<TTextBox> TextBoxes() const;

  // ---- panel --------------------------------------------------------------------------------
  void SetCanvas(TCanvas* canvas) { Canv = canvas; }
  void SetPanelSize(int32_t width, int32_t height);
  int32_t PanelWidth() const { return panelW_; }
  int32_t PanelHeight() const { return panelH_; }
  void AssignTraces(TTraces* list) { GTraces = list; }

  // The whole repaint: panel cleared, layout, grid, traces (a failure in the traces still leaves
  // the grid), drawing buffers set to what is now on the chart.
  void pBox1Paint();
  // The repaint in steps, for a window that keeps the grid layer: layout, then Draw (or the
  // kept layer), then DrawTraces.
  void PrepareRepaint();
  // PutTrace; false when drawing the traces failed. Afterwards the previous-drawing buffers hold
  // what was drawn and no moving marker is on the chart.
  bool DrawTraces();
  // Chart rectangle cleared, then the whole repaint.
  void Redraw();
  // The empty grid: panel cleared, layout, Draw; nothing of the traces left on the chart.
  void ClrRaster();
  // The whole panel in the panel colour; nothing of the traces left on the chart.
  void ClrPaintPnl();
  void SetVport(TVport kind);
  // Fills the whole panel (vpCely) or the chart rectangle with its frame (vpRaster, vpSmith)
  // in the panel colour.
  void ClrVport(TVport kind);
  TClip ClipOf(TVport kind) const;

  // ---- traces -------------------------------------------------------------------------------
  void PutTrace();
  // Replaces the previous drawing of every visible trace by its present points (not-xor).
  void MoveTrace(TTraces& list);
  // Point i has just arrived: the segment to it and its marker, removing the previous drawing
  // of that index when the chart does not persist.
  void MoveTraceSection(TTraces& list, int32_t i);
  // Removes the moving markers (not-xor).
  void EraseMovingDot(TTraces& list);
  // Forget every earlier drawing: empty previous buffers, no moving marker on the chart. For use
  // after anything that wiped the chart's pixels.
  void ForgetDrawn();
  void FindGtrXY();
  void ClrGrBufXY();
  void FillGrBufXY();
  // Pixel of point i of a trace (log10 of the value on a logarithmic axis).
  TPt PointPixel(const TOneTrace& trace, int32_t i) const;

  // One marker of shape and half-size at p.
  static void DotG(int32_t shape, int32_t size, TCanvas& canvas, TPt p);
  // The trace's marker pen (its border; solid of width LineWidth for the line shapes) and
  // marker brush.
  static void SetCanvForDots(TCanvas& canvas, const TOneTrace& trace);

  // ---- caption ------------------------------------------------------------------------------
  // Where the caption stands: horizontally the centre of the chart, vertically 4 pixels above
  // the chart (caption above) or below the horizontal title by the caption font size + 1.
  TPt CaptionAnchor(int32_t captionFontSize) const;

  // ---- fields -------------------------------------------------------------------------------
  bool Persist = false;
  TCanvas* Canv = nullptr;
  TOsX Ox;
  TOsY Oy;
  TLimLine LimLine;
  int32_t iZoom = 0;
  QString CapText;
  bool CapVisible = false;
  TPt LastPoint{-1, -1};
  TRectI ChartRect;
  TVport ClipPort = vpRaster;
  TVport Vport = vpCely;
  TColor FrmColor = clBlack;
  TColor GrdColor = 0xBCBCBC;
  TColor LblColor = clBlue;
  TColor PanelColor = clWindow;
  TFontRec Font;
  TPen PenBuf;
  TTraces* GTraces = nullptr;
  int32_t ChildPopupMenuX = 0;
  int32_t ChildPopupMenuY = 0;

 protected:
  // Recomputes the pixels of visible trace j (j < 4) from all its points.
  void FillTracePixels(const TOneTrace& trace, size_t j);
  // Pixels of trace j from one of the buffers, as points.
  std::vector<TPt> BufferPoints(size_t j, bool previous) const;
  // Line pen of a trace in the given mode.
  static TPen PenIn(TPen pen, TPenMode mode) {
    pen.Mode = mode;
    return pen;
  }
  void DrawFrame();
  // The vertical axis' labels stand clear of the horizontal axis' labels: where the two axes
  // meet at the chart's lower left corner, a vertical label centred on its division would reach
  // into the row of the horizontal labels (wide first labels, fonts of odd height). It rises to
  // stand on that row; a label it then covers is not shown (the top one always stays).
  void KeepCornerLabelsApart(const TTextMetrics& metrics);

  int32_t panelW_ = 330;
  int32_t panelH_ = 200;
  std::vector<TPt> scratch_;
};

}  // namespace qz
