#include "charts/ui/imagecanvas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "charts/dots.h"
#include "util/numutil.h"
#include "util/ui/qcolor.h"

namespace qz {

namespace {
// Coordinates the painter handles exactly; chart pixels beyond this are off every image.
constexpr int32_t kSafe = 1 << 16;
// 96 dots per inch, so that point sizes give the same pixel sizes on every machine.
constexpr int kDotsPerMeter = 3780;

Qt::PenStyle QtPenStyle(int32_t style) {
  switch (style) {
    case psDash:
      return Qt::DashLine;
    case psDot:
      return Qt::DotLine;
    case psDashDot:
      return Qt::DashDotLine;
    case psDashDotDot:
      return Qt::DashDotDotLine;
    case psClear:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

QRect BoxRect(const TRectI& b) {
  // Right and bottom lie outside the shape; the painter's outline of a w x h rectangle covers
  // w + 1 pixels.
  return QRect(b.left, b.top, std::max(0, b.right - b.left - 1), std::max(0, b.bottom - b.top - 1));
}
}  // namespace

TImageCanvas::TImageCanvas(int32_t width, int32_t height) : palette_(QApplication::palette()) {
  Resize(width, height);
}

TImageCanvas::~TImageCanvas() {
  if (painter_) painter_->end();
}

void TImageCanvas::Resize(int32_t width, int32_t height, TColor fill) {
  if (painter_) painter_->end();
  painter_.reset();
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.setDevicePixelRatio(1.0);
  image_.setDotsPerMeterX(kDotsPerMeter);
  image_.setDotsPerMeterY(kDotsPerMeter);
  image_.fill(ColorOf(fill));
  Begin();
  dirty_ = image_.rect();
}

void TImageCanvas::CopyFrom(const QImage& source) {
  if (source.size() != image_.size() || source.format() != image_.format()) return;
  // Row by row into the buffer the painter draws on, so the painter stays bound to it.
  uchar* bits = const_cast<uchar*>(image_.constBits());
  const qsizetype n = std::min(image_.sizeInBytes(), source.sizeInBytes());
  std::copy(source.constBits(), source.constBits() + n, bits);
  dirty_ = image_.rect();
}

void TImageCanvas::Begin() {
  painter_ = std::make_unique<QPainter>(&image_);
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  appliedPen_ = TPen{0xFFFFFFFF, -1, -1, pmCopy};
  appliedBrush_ = TBrush{0xFFFFFFFF, -1};
  appliedMode_ = -1;
  SetClip(clip_);
}

QColor TImageCanvas::ColorOf(TColor c) const { return ToQColor(c, palette_); }

QFont TImageCanvas::QtFont() const {
  QFont f(Font.Name);
  f.setPointSize(std::max(1, Font.Size));
  f.setBold(Font.Bold);
  f.setItalic(Font.Italic);
  f.setUnderline(Font.Underline);
  return f;
}

int32_t TImageCanvas::TextWidth(const QString& text) const {
  return QFontMetrics(QtFont(), &image_).horizontalAdvance(text);
}

int32_t TImageCanvas::TextHeight(const QString&) const {
  return QFontMetrics(QtFont(), &image_).height();
}

QRect TImageCanvas::TakeDirty() {
  const QRect r = dirty_ & image_.rect();
  dirty_ = QRect();
  return r;
}

void TImageCanvas::Touch(const QRect& r) {
  const int32_t m = std::max(1, Pen.Width) + 1;
  dirty_ |= r.adjusted(-m, -m, m, m);
}

void TImageCanvas::ApplyMode() {
  const int32_t mode = Pen.Mode == pmNotXor ? 1 : 0;
  if (mode == appliedMode_) return;
  painter_->setCompositionMode(mode ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
  appliedMode_ = mode;
}

void TImageCanvas::ApplyPen(bool forFill) {
  ApplyMode();
  if (Pen == appliedPen_ && forFill == appliedForFill_) return;
  QPen p(ColorOf(Pen.Color));
  const int32_t width = std::max(1, Pen.Width);
  if (width == 1) {
    // Cosmetic one-pixel lines leave out their last pixel.
    p.setWidth(1);
    p.setCosmetic(true);
    p.setCapStyle(Qt::FlatCap);
    p.setStyle(QtPenStyle(Pen.Style));
  } else {
    // Dashes and dots exist only for one-pixel pens; wider pens draw solid.
    p.setWidth(width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    p.setStyle(Pen.Style == psClear ? Qt::NoPen : Qt::SolidLine);
  }
  painter_->setPen(p);
  appliedPen_ = Pen;
  appliedForFill_ = forFill;
}

void TImageCanvas::ApplyBrush() {
  if (Brush == appliedBrush_) return;
  if (Brush.Style == bsClear)
    painter_->setBrush(Qt::NoBrush);
  else
    painter_->setBrush(ColorOf(Brush.Color));
  appliedBrush_ = Brush;
}

bool TImageCanvas::Near(TPt p) {
  return p.x > -kSafe && p.x < kSafe && p.y > -kSafe && p.y < kSafe;
}

bool TImageCanvas::Tame(TPt& a, TPt& b) {
  if (Near(a) && Near(b)) return true;
  // Cut the line to the safe square (both ends computed the same way every time, so not-xor
  // removal of the same line stays exact).
  const double x0 = a.x, y0 = a.y, dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  double t0 = 0.0, t1 = 1.0;
  const double lim = kSafe - 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + lim, lim - x0, y0 + lim, lim - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, r);
    } else {
      t1 = std::min(t1, r);
    }
    if (t0 > t1) return false;
  }
  const TPt na{RoundToInt32(x0 + t0 * dx), RoundToInt32(y0 + t0 * dy)};
  const TPt nb{RoundToInt32(x0 + t1 * dx), RoundToInt32(y0 + t1 * dy)};
  a = na;
  b = nb;
  return true;
}

namespace {
// Dash patterns of one-pixel pens: lengths of drawn and left-out runs.
const std::vector<int32_t>& DashPattern(int32_t style) {
  static const std::vector<int32_t> solid{};
  static const std::vector<int32_t> dash{18, 6};
  static const std::vector<int32_t> dot{3, 3};
  static const std::vector<int32_t> dashDot{9, 6, 3, 6};
  static const std::vector<int32_t> dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case psDash:
      return dash;
    case psDot:
      return dot;
    case psDashDot:
      return dashDot;
    case psDashDotDot:
      return dashDotDot;
    default:
      return solid;
  }
}
bool PatternOn(const std::vector<int32_t>& pattern, int32_t phase) {
  if (pattern.empty()) return true;
  int32_t period = 0;
  for (int32_t v : pattern) period += v;
  int32_t p = phase % period;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (p < pattern[i]) return i % 2 == 0;
    p -= pattern[i];
  }
  return true;
}
}  // namespace

void TImageCanvas::PutPixel(int32_t x, int32_t y, QRgb rgb, bool notXor) {
  if (!InClip(x, y)) return;
  uchar* bits = const_cast<uchar*>(image_.constBits());
  QRgb& d = reinterpret_cast<QRgb*>(bits + qsizetype(y) * image_.bytesPerLine())[x];
  d = notXor ? (~(rgb ^ d)) | 0xFF000000u : rgb;
}

void TImageCanvas::ThinLine(TPt a, TPt b, int32_t& phase) {
  // Bresenham from a towards b; b itself is left out, so consecutive segments meet in exactly
  // one pixel whichever way they run.
  const QRgb rgb = ColorOf(Pen.Color).rgb() | 0xFF000000u;
  const bool notXor = Pen.Mode == pmNotXor;
  const std::vector<int32_t>& pattern = DashPattern(Pen.Style);
  int64_t x = a.x, y = a.y;
  const int64_t dx = std::llabs(int64_t(b.x) - a.x), dy = -std::llabs(int64_t(b.y) - a.y);
  const int32_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int64_t err = dx + dy;
  const int64_t steps = std::max(dx, -dy);
  for (int64_t i = 0; i < steps; ++i) {
    if (PatternOn(pattern, phase++)) PutPixel(int32_t(x), int32_t(y), rgb, notXor);
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void TImageCanvas::Line(TPt a, TPt b) {
  if (!Tame(a, b)) return;
  if (a == b || Pen.Style == psClear) return;  // a line up to but not including its start
  if (Pen.Width <= 1) {
    int32_t phase = 0;
    ThinLine(a, b, phase);
  } else {
    ApplyPen(false);
    painter_->drawLine(a.x, a.y, b.x, b.y);
  }
  Touch(QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)),
              QPoint(std::max(a.x, b.x), std::max(a.y, b.y))));
}

void TImageCanvas::Polyline(const std::vector<TPt>& pts) {
  if (pts.size() < 2) return;
  const bool allNear = std::all_of(pts.begin(), pts.end(), [](const TPt& p) { return Near(p); });
  if (!allNear) {
    for (size_t i = 1; i < pts.size(); ++i) Line(pts[i - 1], pts[i]);
    return;
  }
  int32_t l = pts[0].x, r = l, t = pts[0].y, bt = t;
  for (const TPt& p : pts) {
    l = std::min(l, p.x);
    r = std::max(r, p.x);
    t = std::min(t, p.y);
    bt = std::max(bt, p.y);
  }
  if (Pen.Width <= 1) {
    if (Pen.Style == psClear) return;
    int32_t phase = 0;
    for (size_t i = 1; i < pts.size(); ++i) ThinLine(pts[i - 1], pts[i], phase);
    Touch(QRect(QPoint(l, t), QPoint(r, bt)));
    return;
  }
  ApplyPen(false);
  QPolygon poly(int(pts.size()));
  for (size_t i = 0; i < pts.size(); ++i) {
    poly.setPoint(int(i), pts[i].x, pts[i].y);
  }
  painter_->drawPolyline(poly);
  Touch(QRect(QPoint(l, t), QPoint(r, bt)));
}

void TImageCanvas::Rectangle(const TRectI& box) {
  TPt a{box.left, box.top}, b{box.right, box.bottom};
  if (!Near(a) || !Near(b)) return;
  ApplyPen(true);
  ApplyBrush();
  painter_->drawRect(BoxRect(box));
  Touch(QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)));
}

void TImageCanvas::Ellipse(const TRectI& box) {
  TPt a{box.left, box.top}, b{box.right, box.bottom};
  if (!Near(a) || !Near(b)) return;
  ApplyPen(true);
  ApplyBrush();
  painter_->drawEllipse(BoxRect(box));
  Touch(QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)));
}

void TImageCanvas::Polygon(const std::vector<TPt>& pts) {
  if (pts.empty()) return;
  if (!std::all_of(pts.begin(), pts.end(), [](const TPt& p) { return Near(p); })) return;
  ApplyPen(true);
  ApplyBrush();
  QPolygon poly(int(pts.size()));
  for (size_t i = 0; i < pts.size(); ++i) poly.setPoint(int(i), pts[i].x, pts[i].y);
  painter_->drawPolygon(poly);
  Touch(poly.boundingRect());
}

bool TImageCanvas::InClip(int32_t x, int32_t y) const {
  if (!clipRect_.contains(x, y)) return false;
  if (clip_.kind != TClipKind::Ellipse) return true;
  const size_t row = size_t(y - clipRect_.top());
  if (row >= clipSpans_.size()) return false;
  return x >= clipSpans_[row].first && x <= clipSpans_[row].second;
}

void TImageCanvas::Pixel(TPt p, TColor color) {
  if (!InClip(p.x, p.y)) return;
  PutPixel(p.x, p.y, ColorOf(color).rgb() | 0xFF000000u, false);
  Touch(QRect(p.x, p.y, 1, 1));
}

void TImageCanvas::Text(TPt topLeft, const QString& text) { TextRotated(topLeft, text, 0.0); }

void TImageCanvas::TextRotated(TPt topLeft, const QString& text, double degrees) {
  if (text.isEmpty() || !Near(topLeft)) return;
  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->setPen(ColorOf(Font.Color));
  const QFont f = QtFont();
  painter_->setFont(f);
  const QFontMetrics fm(f, &image_);
  painter_->translate(topLeft.x, topLeft.y);
  // The chart's angles count counter-clockwise; the painter's turn clockwise on screen.
  if (degrees != 0.0) painter_->rotate(-degrees);
  painter_->drawText(0, fm.ascent(), text);
  painter_->restore();
  appliedMode_ = -1;
  appliedPen_ = TPen{0xFFFFFFFF, -1, -1, pmCopy};
  const int32_t w = fm.horizontalAdvance(text), h = fm.height();
  const int32_t reach = degrees != 0.0 ? w + h : 0;
  Touch(QRect(topLeft.x - reach, topLeft.y - reach, w + 2 * reach, h + 2 * reach));
}

void TImageCanvas::FillRect(const TRectI& box, TColor color) {
  const QRect r(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
  painter_->save();
  painter_->setClipping(false);
  painter_->setCompositionMode(QPainter::CompositionMode_Source);
  painter_->fillRect(r, ColorOf(color));
  painter_->restore();
  appliedMode_ = -1;
  Touch(r);
}

void TImageCanvas::SetClip(const TClip& clip) {
  clip_ = clip;
  clipSpans_.clear();
  if (clip.kind == TClipKind::None) {
    painter_->setClipping(false);
    clipRect_ = image_.rect();
    return;
  }
  const QRect r(QPoint(clip.box.left, clip.box.top),
                QPoint(clip.box.right - 1, clip.box.bottom - 1));
  if (clip.kind == TClipKind::Rect) {
    painter_->setClipRect(r);
    clipRect_ = r & image_.rect();
    return;
  }
  const QRegion region(r, QRegion::Ellipse);
  painter_->setClipRegion(region);
  clipRect_ = region.boundingRect() & image_.rect();
  // The same region row by row, for the markers applied pixel by pixel.
  clipSpans_.assign(size_t(std::max(0, clipRect_.height())), {1, 0});
  for (const QRect& part : region) {
    for (int y = part.top(); y <= part.bottom(); ++y) {
      const int row = y - clipRect_.top();
      if (row < 0 || row >= int(clipSpans_.size())) continue;
      auto& span = clipSpans_[size_t(row)];
      if (span.first > span.second) {
        span = {part.left(), part.right()};
      } else {
        span.first = std::min(span.first, part.left());
        span.second = std::max(span.second, part.right());
      }
    }
  }
}

const TImageCanvas::Sprite& TImageCanvas::SpriteFor(int32_t tvar, int32_t s) {
  const SpriteKey key{tvar, s, Pen.Color, Pen.Style, Pen.Width, Brush.Color, Brush.Style};
  auto it = sprites_.find(key);
  if (it != sprites_.end()) return it->second;
  const int32_t reach = 2 * std::max(0, s) + std::max(1, Pen.Width) + 2;
  const int32_t size = 2 * reach + 1;
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  {
    // The marker drawn once in copy mode through a canvas on the sprite image.
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(ColorOf(Pen.Color));
    const int32_t width = std::max(1, Pen.Width);
    if (width == 1) {
      pen.setCosmetic(true);
      pen.setCapStyle(Qt::FlatCap);
      pen.setStyle(QtPenStyle(Pen.Style));
    } else {
      pen.setWidth(width);
      pen.setCapStyle(Qt::RoundCap);
      pen.setStyle(Pen.Style == psClear ? Qt::NoPen : Qt::SolidLine);
    }
    p.setPen(pen);
    p.setBrush(Brush.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(ColorOf(Brush.Color)));
    const TMarkerGeometry g = MarkerGeometry(tvar, s, TPt{reach, reach});
    switch (g.kind) {
      case TMarkerGeometry::mkRect:
        p.drawRect(BoxRect(g.box));
        break;
      case TMarkerGeometry::mkEllipse:
        p.drawEllipse(BoxRect(g.box));
        break;
      case TMarkerGeometry::mkPolygon: {
        QPolygon poly;
        for (const TPt& q : g.polygon) poly << QPoint(q.x, q.y);
        p.drawPolygon(poly);
        break;
      }
      case TMarkerGeometry::mkLines:
        for (const TSegment& l : g.lines)
          if (l.x1 != l.x2 || l.y1 != l.y2) p.drawLine(l.x1, l.y1, l.x2, l.y2);
        break;
      case TMarkerGeometry::mkPixel:
        img.setPixel(reach, reach, ColorOf(Pen.Color).rgb());
        break;
    }
  }
  Sprite sp;
  for (int32_t y = 0; y < size; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int32_t x = 0; x < size; ++x) {
      if (qAlpha(line[x]) == 0) continue;
      sp.pixels.emplace_back(x - reach, y - reach, line[x] | 0xFF000000u);
      sp.bounds |= QRect(x - reach, y - reach, 1, 1);
    }
  }
  return sprites_.emplace(key, std::move(sp)).first->second;
}

void TImageCanvas::Marker(int32_t tvar, int32_t s, TPt p) {
  if (!Near(p)) return;
  const Sprite& sp = SpriteFor(tvar, s);
  const QRect area = sp.bounds.translated(p.x, p.y);
  if (!area.intersects(clipRect_)) return;
  const bool notXor = Pen.Mode == pmNotXor;
  uchar* bits = const_cast<uchar*>(image_.constBits());
  const qsizetype bpl = image_.bytesPerLine();
  const bool whole = clipRect_.contains(area) && clip_.kind != TClipKind::Ellipse;
  for (const auto& [dx, dy, rgb] : sp.pixels) {
    const int32_t x = p.x + dx, y = p.y + dy;
    if (!whole && !InClip(x, y)) continue;
    QRgb& d = reinterpret_cast<QRgb*>(bits + qsizetype(y) * bpl)[x];
    d = notXor ? (~(rgb ^ d)) | 0xFF000000u : rgb;
  }
  dirty_ |= area;
}

}  // namespace qz
