#include "charts/recordingcanvas.h"

namespace qz {

TCanvasCall& TRecordingCanvas::Add(TCanvasCall::Op op) {
  TCanvasCall c;
  c.op = op;
  c.pen = Pen;
  c.brush = Brush;
  c.font = Font;
  c.clip = clip_;
  calls.push_back(std::move(c));
  return calls.back();
}

void TRecordingCanvas::Line(TPt a, TPt b) { Add(TCanvasCall::Line).pts = {a, b}; }
void TRecordingCanvas::Polyline(const std::vector<TPt>& pts) {
  Add(TCanvasCall::Polyline).pts = pts;
}
void TRecordingCanvas::Rectangle(const TRectI& box) { Add(TCanvasCall::Rectangle).box = box; }
void TRecordingCanvas::Ellipse(const TRectI& box) { Add(TCanvasCall::Ellipse).box = box; }
void TRecordingCanvas::Polygon(const std::vector<TPt>& pts) { Add(TCanvasCall::Polygon).pts = pts; }
void TRecordingCanvas::Pixel(TPt p, TColor color) {
  TCanvasCall& c = Add(TCanvasCall::Pixel);
  c.pts = {p};
  c.color = color;
}
void TRecordingCanvas::Text(TPt topLeft, const QString& text) { TextRotated(topLeft, text, 0.0); }
void TRecordingCanvas::TextRotated(TPt topLeft, const QString& text, double degrees) {
  TCanvasCall& c = Add(TCanvasCall::Text);
  c.pts = {topLeft};
  c.text = text;
  c.degrees = degrees;
}
void TRecordingCanvas::FillRect(const TRectI& box, TColor color) {
  TCanvasCall& c = Add(TCanvasCall::Fill);
  c.box = box;
  c.color = color;
}
void TRecordingCanvas::Marker(int32_t tvar, int32_t s, TPt p) {
  TCanvasCall& c = Add(TCanvasCall::Marker);
  c.pts = {p};
  c.tvar = tvar;
  c.size = s;
}

std::vector<TCanvasCall> TRecordingCanvas::Of(TCanvasCall::Op op) const {
  std::vector<TCanvasCall> out;
  for (const TCanvasCall& c : calls)
    if (c.op == op) out.push_back(c);
  return out;
}

std::vector<QString> TRecordingCanvas::Texts() const {
  std::vector<QString> out;
  for (const TCanvasCall& c : calls)
    if (c.op == TCanvasCall::Text) out.push_back(c.text);
  return out;
}

}  // namespace qz
