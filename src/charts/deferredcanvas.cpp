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
  int32_t& last = marker ? lastMarker_ : lastLine_;
  if (size_t(last) < styles_.size() && same(styles_[size_t(last)])) return last;
  int32_t& hint = hints_[((uint32_t(Pen.Color) * 0x9E3779B1u) >> 29) * 2 + (marker ? 1 : 0)];
  if (size_t(hint) < styles_.size() && same(styles_[size_t(hint)])) return last = hint;
  // A chart uses a handful of looks (one line and one marker per trace): a short search.
  for (size_t i = 0; i < styles_.size(); ++i) {
    if (same(styles_[i])) return last = hint = int32_t(i);
  }
  styles_.push_back(Style{marker, tvar, size, Pen, brush, clip_});
  inSlots_.push_back(0);
  return last = hint = int32_t(styles_.size() - 1);
}

bool TDeferredCanvas::Pack(const Shape& s, uint64_t& ends) {
  auto fits = [](int32_t v) { return v >= -32768 && v <= 32767; };
  if (!fits(s.a.x) || !fits(s.a.y) || !fits(s.b.x) || !fits(s.b.y)) return false;
  if (s.style < 0 || s.style >= kFreeSlot) return false;
  ends = uint64_t(uint16_t(s.a.x)) | uint64_t(uint16_t(s.a.y)) << 16 |
         uint64_t(uint16_t(s.b.x)) << 32 | uint64_t(uint16_t(s.b.y)) << 48;
  return true;
}

TDeferredCanvas::Shape TDeferredCanvas::Unpack(const Slot& slot) {
  auto at = [&](int shift) { return int32_t(int16_t(uint16_t(slot.ends >> shift))); };
  return Shape{TPt{at(0), at(16)}, TPt{at(32), at(48)}, int32_t(slot.style)};
}

namespace {

uint32_t HashOf(uint64_t ends, uint16_t style) {
  uint64_t h = (ends ^ (uint64_t(style) << 29)) * 0x9E3779B97F4A7C15ull;
  h ^= h >> 31;
  h *= 0xBF58476D1CE4E5B9ull;
  return uint32_t(h >> 32);
}

}  // namespace

void TDeferredCanvas::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& o : old) {
    if (o.style == kFreeSlot) continue;
    size_t i = o.hash & mask;
    while (slots_[i].style != kFreeSlot) i = (i + 1) & mask;
    slots_[i] = o;
  }
}

void TDeferredCanvas::Toggle(const Shape& s) {
  uint64_t ends = 0;
  if (!Pack(s, ends)) {
    Draw(s);  // in its own look (an older marker joining the store may come here too)
    return;
  }
  if (size_t(count_ + 1) * 2 > slots_.size()) Grow();
  const uint16_t style = uint16_t(s.style);
  const uint32_t h = HashOf(ends, style);
  const size_t mask = slots_.size() - 1;
  size_t i = h & mask;
  while (slots_[i].style != kFreeSlot) {
    if (slots_[i].ends == ends && slots_[i].style == style) {
      // Drawn twice: nothing of it stays. Close the gap so that every later shape of the same
      // run stays reachable from its home slot.
      --inSlots_[style];
      slots_[i].style = kFreeSlot;
      --count_;
      size_t gap = i;
      for (size_t j = (i + 1) & mask; slots_[j].style != kFreeSlot; j = (j + 1) & mask) {
        const size_t home = slots_[j].hash & mask;
        // j stays where it is when its home lies cyclically in (gap, j].
        const bool stays = gap <= j ? (home > gap && home <= j) : (home > gap || home <= j);
        if (stays) continue;
        slots_[gap] = slots_[j];
        slots_[j].style = kFreeSlot;
        gap = j;
      }
      return;
    }
    i = (i + 1) & mask;
  }
  slots_[i].ends = ends;
  slots_[i].hash = h;
  slots_[i].style = style;
  ++inSlots_[style];
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
    if (slot.style == kFreeSlot) continue;
    Draw(Unpack(slot));
    slot.style = kFreeSlot;
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
    for (Slot& slot : slots_) slot.style = kFreeSlot;
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
