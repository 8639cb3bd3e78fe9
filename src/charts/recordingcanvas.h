#pragma once
// A canvas that records every call with the pen, brush, font and clip in force, so that tests
// can check what a chart draws without pixels. Texts measure 7 pixels per character and 13
// pixels per line unless told otherwise.

#include <QString>
#include <cstdint>
#include <vector>

#include "charts/canvas.h"

namespace qz {

struct TCanvasCall {
  enum Op { Line, Polyline, Rectangle, Ellipse, Polygon, Pixel, Text, Fill, Marker };
  Op op = Line;
  std::vector<TPt> pts;  // Line: both ends; Polyline, Polygon: the points; Pixel, Text: one
  TRectI box;            // Rectangle, Ellipse, Fill
  QString text;
  double degrees = 0.0;  // Text: rotation
  TColor color = 0;      // Pixel, Fill
  int32_t tvar = 0;      // Marker: shape and half-size
  int32_t size = 0;
  TPen pen;
  TBrush brush;
  TFontRec font;
  TClip clip;
};

class TRecordingCanvas : public TCanvas {
 public:
  TRecordingCanvas(int32_t charWidth = 7, int32_t lineHeight = 13)
      : charWidth_(charWidth), lineHeight_(lineHeight) {}

  int32_t TextWidth(const QString& text) const override {
    return charWidth_ * int32_t(text.size());
  }
  int32_t TextHeight(const QString&) const override { return lineHeight_; }

  void Line(TPt a, TPt b) override;
  void Polyline(const std::vector<TPt>& pts) override;
  void Rectangle(const TRectI& box) override;
  void Ellipse(const TRectI& box) override;
  void Polygon(const std::vector<TPt>& pts) override;
  void Pixel(TPt p, TColor color) override;
  void Text(TPt topLeft, const QString& text) override;
  void TextRotated(TPt topLeft, const QString& text, double degrees) override;
  void FillRect(const TRectI& box, TColor color) override;
  void SetClip(const TClip& clip) override { clip_ = clip; }
  TClip Clip() const override { return clip_; }
  void Marker(int32_t tvar, int32_t s, TPt p) override;

  // Calls of one kind, in order.
  std::vector<TCanvasCall> Of(TCanvasCall::Op op) const;
  // The texts drawn, in order.
  std::vector<QString> Texts() const;
  void Reset() { calls.clear(); }

  std::vector<TCanvasCall> calls;

 private:
  TCanvasCall& Add(TCanvasCall::Op op);

  int32_t charWidth_;
  int32_t lineHeight_;
  TClip clip_;
};

}  // namespace qz
