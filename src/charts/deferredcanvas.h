#pragma once
// A canvas in front of another that holds back not-xor lines and markers until Flush. Not-xor
// drawing turns each pixel it covers by a fixed amount that depends only on the shape, the pen,
// the brush and the clip, so such drawings can be applied in any order, and a shape drawn twice
// leaves no trace at all. Live drawing of a chart draws every segment and moving marker twice
// (once to show it, once to remove it when the next sweep or point replaces it), so most of what
// arrives between two screen updates cancels out here and never touches the image. Every other
// drawing (copy mode, texts, fills, pixels) first flushes what is held and then goes through at
// once, so the image after a flush is exactly the image point-by-point drawing gives.
//
// What is held is bounded: shapes that cancel leave the store, and when it holds more than its
// limit it is flushed at once, so memory and the work of one flush stay bounded whatever the
// number of points that arrive before the next screen update. Lines that mostly do not cancel
// (sweeps longer than the time between two updates) are drawn at once instead of held, which is
// exact as well, since not-xor drawings may be applied in any order; so are shapes with a corner
// far outside every panel (beyond ±32,767 pixels), which keeps the store's slots small.

#include <array>
#include <cstdint>
#include <vector>

#include "charts/canvas.h"

namespace qz {

class TDeferredCanvas : public TCanvas {
 public:
  // Draws onto `target` (not owned); `limit` is the most shapes held before a flush is forced.
  explicit TDeferredCanvas(TCanvas* target = nullptr, int32_t limit = 16384);

  void SetTarget(TCanvas* target);
  TCanvas* Target() const { return target_; }

  // Draws what is held onto the target.
  void Flush();
  // Forgets what is held: for use when the target's pixels are all replaced before anyone sees
  // them (a whole new render), so drawing them would be wasted.
  void Discard();
  // Shapes held at present.
  int32_t Held() const { return count_; }
  // Shapes handed to the target by the flushes so far (what cancelled is not counted).
  int64_t Flushed() const { return flushed_; }

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
  void SetClip(const TClip& clip) override { clip_ = clip; }
  TClip Clip() const override { return clip_; }
  void Marker(int32_t tvar, int32_t s, TPt p) override;

 private:
  // Everything but the place that a held shape's pixels depend on.
  struct Style {
    bool marker = false;
    int32_t tvar = 0, size = 0;
    TPen pen;
    TBrush brush;  // markers only
    TClip clip;
    bool operator==(const Style&) const = default;
  };
  // One held not-xor shape: a line's ends, or a marker's point in a.
  struct Shape {
    TPt a, b;
    int32_t style = -1;
    bool operator==(const Shape&) const = default;
  };
  // A held shape in the store: the ends packed as four 16-bit values, so that a slot takes 16
  // bytes and a store of two sweeps stays within the processor's nearest cache.
  static constexpr uint16_t kFreeSlot = 0xFFFF;
  struct Slot {
    uint64_t ends = 0;
    uint32_t hash = 0;
    uint16_t style = kFreeSlot;
    uint16_t unused = 0;
  };
  // The moving marker of a trace is removed at the next point: the newest marker of each look
  // waits here, so that the pair cancels without a look-up.
  static constexpr int32_t kRecent = 8;

  int32_t StyleOf(bool marker, int32_t tvar, int32_t size);
  // The shape's ends packed for a slot; false when a corner does not fit 16 bits.
  static bool Pack(const Shape& s, uint64_t& ends);
  static Shape Unpack(const Slot& slot);
  // Adds the shape, or removes it when it is already held (the two drawings cancel); a shape
  // that cannot be packed is drawn at once.
  void Toggle(const Shape& s);
  void ToggleMarker(const Shape& s);
  void Grow();
  // The target takes this canvas's pen, brush and clip.
  void Sync();
  // Flush, then the target takes this canvas's pen, brush, font and clip.
  void Pass();
  // The shape drawn on the target in its own look.
  void Draw(const Shape& s);

  TCanvas* target_ = nullptr;
  int32_t limit_;
  std::vector<Style> styles_;
  std::vector<int32_t> inSlots_;  // per look: how many of its shapes are in slots_
  // The last line look and the last marker look: a point's drawings alternate between them.
  int32_t lastLine_ = -1, lastMarker_ = -1;
  // The last look found per pen colour (hashed): the traces of a chart differ in colour, so the
  // look of the next trace is found without a search.
  std::array<int32_t, 16> hints_{};
  // Whether not-xor lines are held, judged from how many of them cancelled.
  static constexpr int64_t kLinesJudged = 256;
  static constexpr int64_t kLinesDirect = 4096;
  bool holdLines_ = true;
  int64_t lineToggles_ = 0, lineCancels_ = 0, linesDirect_ = 0;
  std::vector<Slot> slots_;  // open addressing, linear probing, size a power of two
  std::array<Shape, kRecent> recent_{};
  int32_t count_ = 0;  // held shapes, in slots_ and recent_
  int64_t flushed_ = 0;
  TClip clip_;
};

}  // namespace qz
