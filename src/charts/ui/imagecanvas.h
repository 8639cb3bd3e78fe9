#pragma once
// The canvas over a retained image: what a chart draws stays in the image, and the window only
// copies the image to the screen. Antialiasing is off so that not-xor drawing of the same shape
// twice restores every pixel. Point markers are rendered once per look into a small sprite and
// applied pixel by pixel, so a filled marker touches each pixel exactly once (an outline drawn
// over a fill would invert its border twice in not-xor mode) and live drawing stays cheap.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QRegion>
#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "charts/canvas.h"

namespace qz {

class TImageCanvas : public TCanvas {
 public:
  explicit TImageCanvas(int32_t width = 1, int32_t height = 1);
  ~TImageCanvas() override;
  TImageCanvas(const TImageCanvas&) = delete;
  TImageCanvas& operator=(const TImageCanvas&) = delete;

  // A new image of the given size, filled with `fill`; the drawing state is kept.
  void Resize(int32_t width, int32_t height, TColor fill = clWhite);
  // Replaces the image's pixels by `source` (same size), as when a cached layer is reused.
  void CopyFrom(const QImage& source);
  const QImage& Image() const { return image_; }
  int32_t Width() const { return image_.width(); }
  int32_t Height() const { return image_.height(); }
  // The colours of system colours.
  void SetPalette(const QPalette& palette) { palette_ = palette; }

  // Pixels touched since the last TakeDirty (united bounds, clipped to the image).
  QRect TakeDirty();

  int32_t TextWidth(const QString& text) const override;
  int32_t TextHeight(const QString& text) const override;

  void Line(TPt a, TPt b) override;
  void Polyline(const std::vector<TPt>& pts) override;
  void Rectangle(const TRectI& box) override;
  void Ellipse(const TRectI& box) override;
  void Polygon(const std::vector<TPt>& pts) override;
  void Pixel(TPt p, TColor color) override;
  void Text(TPt topLeft, const QString& text) override;
  void TextRotated(TPt topLeft, const QString& text, double degrees) override;
  void FillRect(const TRectI& box, TColor color) override;
  void SetClip(const TClip& clip) override;
  TClip Clip() const override { return clip_; }
  void Marker(int32_t tvar, int32_t s, TPt p) override;

  QColor ColorOf(TColor c) const;
  QFont QtFont() const;

 private:
  struct Sprite {
    // Offsets from the marker's point and the colours of its pixels.
    std::vector<std::tuple<int32_t, int32_t, QRgb>> pixels;
    QRect bounds;  // relative to the point
  };
  using SpriteKey = std::tuple<int32_t, int32_t, TColor, int32_t, int32_t, TColor, int32_t>;

  void Begin();
  // A one-pixel line from a up to but not including b, pixel by pixel in the pen's colour, mode
  // and dash pattern; `phase` carries the pattern along a polyline.
  void ThinLine(TPt a, TPt b, int32_t& phase);
  void PutPixel(int32_t x, int32_t y, QRgb rgb, bool notXor);
  void ApplyPen(bool forFill);
  void ApplyBrush();
  void ApplyMode();
  void Touch(const QRect& r);
  bool InClip(int32_t x, int32_t y) const;
  const Sprite& SpriteFor(int32_t tvar, int32_t s);
  // Pixels far outside every image (unmappable values) are brought into a range the painter
  // takes; a line keeps its direction. False when nothing of the line is near the image.
  static bool Tame(TPt& a, TPt& b);
  static bool Near(TPt p);

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  // What the painter was last set to, so that repeated calls do not rebuild Qt pens.
  TPen appliedPen_{0xFFFFFFFF, -1, -1, pmCopy};
  bool appliedForFill_ = false;
  TBrush appliedBrush_{0xFFFFFFFF, -1};
  int32_t appliedMode_ = -1;
  QPalette palette_;
  TClip clip_;
  QRect clipRect_;  // the clip's bounding rectangle (the image when there is none)
  std::vector<std::pair<int32_t, int32_t>> clipSpans_;  // per row of clipRect_ for an ellipse
  QRect dirty_;
  std::map<SpriteKey, Sprite> sprites_;
};

}  // namespace qz
