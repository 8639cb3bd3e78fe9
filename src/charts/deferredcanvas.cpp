#include "charts/deferredcanvas.h"

#include <algorithm>

namespace qz {

TDeferredCanvas::TDeferredCanvas(TCanvas* target, int32_t limit)
    : target_(target), limit_(std::max(1, limit)) {}

void TDeferredCanvas::SetTarget(TCanvas* target) {
  if (target == target_) return;
  Flush();
  target_ = target;
}

int32_t TDeferredCanvas::StyleOf(bool marker, int32_t tvar, int32_t size) {
  if (!marker) tvar = size = 0;
  const TBrush brush = marker ? Brush : TBrush{};
  auto same = [&](const Style& st) {
    return st.pen == Pen && st.marker == marker && st.tvar == tvar && st.size == size &&
           st.brush == brush && st.clip == clip_;
  };
  // Removal and drawing of a shape come in pairs of the same look: try the last one first.
  if (size_t(lastStyle_) < styles_.size() && same(styles_[size_t(lastStyle_)])) return lastStyle_;
  // A chart uses a handful of looks (one line and one marker per trace): a short search.
  for (size_t i = 0; i < styles_.size(); ++i) {
    if (same(styles_[i])) return lastStyle_ = int32_t(i);
  }
  styles_.push_back(Style{marker, tvar, size, Pen, brush, clip_});
  inSlots_.push_back(0);
  return lastStyle_ = int32_t(styles_.size() - 1);
}

uint32_t TDeferredCanvas::HashOf(const Shape& s) {
  uint64_t h = (uint64_t(uint32_t(s.a.x)) << 32 | uint32_t(s.a.y)) * 0x9E3779B97F4A7C15ull;
  h ^= (uint64_t(uint32_t(s.b.x)) << 32 | uint32_t(s.b.y)) + 0x632BE59BD9B4E019ull + (h << 6) +
       (h >> 2);
  h = (h ^ uint64_t(uint32_t(s.style))) * 0xBF58476D1CE4E5B9ull;
  return uint32_t(h >> 32) ^ uint32_t(h);
}

void TDeferredCanvas::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& o : old) {
    if (o.shape.style < 0) continue;
    size_t i = o.hash & mask;
    while (slots_[i].shape.style >= 0) i = (i + 1) & mask;
    slots_[i] = o;
  }
}

void TDeferredCanvas::Toggle(const Shape& s) {
  if (size_t(count_ + 1) * 2 > slots_.size()) Grow();
  const uint32_t h = HashOf(s);
  const size_t mask = slots_.size() - 1;
  size_t i = h & mask;
  while (slots_[i].shape.style >= 0) {
    if (slots_[i].hash == h && slots_[i].shape == s) {
      // Drawn twice: nothing of it stays. Close the gap so that every later shape of the same
      // run stays reachable from its home slot.
      --inSlots_[size_t(s.style)];
      slots_[i].shape.style = -1;
      --count_;
      size_t gap = i;
      for (size_t j = (i + 1) & mask; slots_[j].shape.style >= 0; j = (j + 1) & mask) {
        const size_t home = slots_[j].hash & mask;
        // j stays where it is when its home lies cyclically in (gap, j].
        const bool stays = gap <= j ? (home > gap && home <= j) : (home > gap || home <= j);
        if (stays) continue;
        slots_[gap] = slots_[j];
        slots_[j].shape.style = -1;
        gap = j;
      }
      return;
    }
    i = (i + 1) & mask;
  }
  slots_[i].shape = s;
  slots_[i].hash = h;
  ++inSlots_[size_t(s.style)];
  ++count_;
}

void TDeferredCanvas::ToggleMarker(const Shape& s) {
  // A marker may wait here only while no shape of its look is in the slots: then it cannot be
  // held twice, and the look-up is saved.
  Shape* free = nullptr;
  for (Shape& r : recent_) {
    if (r.style == s.style) {
      if (r == s) {
        r.style = -1;
        --count_;
        return;
      }
      // The older marker of this look joins the rest, and so does this one.
      const Shape older = r;
      r.style = -1;
      --count_;
      Toggle(older);
      Toggle(s);
      return;
    }
    if (r.style < 0 && !free) free = &r;
  }
  if (free && inSlots_[size_t(s.style)] == 0) {
    *free = s;
    ++count_;
    return;
  }
  Toggle(s);
}

void TDeferredCanvas::Draw(const Shape& s) {
  const Style& st = styles_[size_t(s.style)];
  target_->Pen = st.pen;
  if (!(target_->Clip() == st.clip)) target_->SetClip(st.clip);
  if (st.marker) {
    target_->Brush = st.brush;
    target_->Marker(st.tvar, st.size, s.a);
  } else {
    target_->Line(s.a, s.b);
  }
}

void TDeferredCanvas::Flush() {
  // Lines are worth holding while a good share of them cancels (sweeps shorter than the time
  // between two flushes); long sweeps' lines are drawn at once, and now and then held again to
  // see whether that has changed.
  if (lineToggles_ >= kLinesJudged) {
    holdLines_ = lineCancels_ * 4 >= lineToggles_;
    lineToggles_ = lineCancels_ = 0;
  }
  if (count_ == 0 || !target_) {
    if (count_ == 0) {
      styles_.clear();
      inSlots_.clear();
    }
    return;
  }
  const TPen pen = target_->Pen;
  const TBrush brush = target_->Brush;
  const TClip clip = target_->Clip();
  for (Shape& r : recent_) {
    if (r.style < 0) continue;
    Draw(r);
    r.style = -1;
    ++flushed_;
  }
  for (Slot& slot : slots_) {
    if (slot.shape.style < 0) continue;
    Draw(slot.shape);
    slot.shape.style = -1;
    ++flushed_;
  }
  count_ = 0;
  styles_.clear();
  inSlots_.clear();
  target_->Pen = pen;
  target_->Brush = brush;
  if (!(target_->Clip() == clip)) target_->SetClip(clip);
}

void TDeferredCanvas::Discard() {
  if (count_ != 0) {
    for (Shape& r : recent_) r.style = -1;
    for (Slot& slot : slots_) slot.shape.style = -1;
    count_ = 0;
  }
  styles_.clear();
  inSlots_.clear();
}

void TDeferredCanvas::Sync() {
  target_->Pen = Pen;
  target_->Brush = Brush;
  if (!(target_->Clip() == clip_)) target_->SetClip(clip_);
}

void TDeferredCanvas::Pass() {
  Flush();
  target_->Pen = Pen;
  target_->Brush = Brush;
  target_->Font = Font;
  if (!(target_->Clip() == clip_)) target_->SetClip(clip_);
}

int32_t TDeferredCanvas::TextWidth(const QString& text) const {
  if (!target_) return 0;
  target_->Font = Font;
  return target_->TextWidth(text);
}

int32_t TDeferredCanvas::TextHeight(const QString& text) const {
  if (!target_) return 0;
  target_->Font = Font;
  return target_->TextHeight(text);
}

void TDeferredCanvas::Line(TPt a, TPt b) {
  if (!target_) return;
  if (Pen.Mode == pmNotXor) {
    if (!holdLines_) {
      // Not-xor drawing in any order gives the same pixels: drawn now, it needs no flush.
      Sync();
      target_->Line(a, b);
      if (++linesDirect_ >= kLinesDirect) {
        holdLines_ = true;
        linesDirect_ = 0;
      }
      return;
    }
    const int32_t before = count_;
    Toggle(Shape{a, b, StyleOf(false, 0, 0)});
    ++lineToggles_;
    if (count_ < before) ++lineCancels_;
    if (count_ >= limit_) Flush();
    return;
  }
  Pass();
  target_->Line(a, b);
}

void TDeferredCanvas::Marker(int32_t tvar, int32_t size, TPt p) {
  if (!target_) return;
  if (Pen.Mode == pmNotXor) {
    ToggleMarker(Shape{p, TPt{}, StyleOf(true, tvar, size)});
    if (count_ >= limit_) Flush();
    return;
  }
  Pass();
  target_->Marker(tvar, size, p);
}

void TDeferredCanvas::Polyline(const std::vector<TPt>& pts) {
  if (!target_) return;
  Pass();
  target_->Polyline(pts);
}

void TDeferredCanvas::Rectangle(const TRectI& box) {
  if (!target_) return;
  Pass();
  target_->Rectangle(box);
}

void TDeferredCanvas::Ellipse(const TRectI& box) {
  if (!target_) return;
  Pass();
  target_->Ellipse(box);
}

void TDeferredCanvas::Polygon(const std::vector<TPt>& pts) {
  if (!target_) return;
  Pass();
  target_->Polygon(pts);
}

void TDeferredCanvas::Pixel(TPt p, TColor color) {
  if (!target_) return;
  Pass();
  target_->Pixel(p, color);
}

void TDeferredCanvas::Text(TPt topLeft, const QString& text) {
  if (!target_) return;
  Pass();
  target_->Text(topLeft, text);
}

void TDeferredCanvas::TextRotated(TPt topLeft, const QString& text, double degrees) {
  if (!target_) return;
  Pass();
  target_->TextRotated(topLeft, text, degrees);
}

void TDeferredCanvas::FillRect(const TRectI& box, TColor color) {
  if (!target_) return;
  Pass();
  target_->FillRect(box, color);
}

}  // namespace qz
