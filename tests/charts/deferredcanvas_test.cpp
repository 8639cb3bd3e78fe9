#include <gtest/gtest.h>

#include "charts/deferredcanvas.h"
#include "charts/dots.h"
#include "charts/recordingcanvas.h"

namespace qz {
namespace {

const TPen kXorRed{clRed, psSolid, 1, pmNotXor};
const TPen kXorBlue{clBlue, psSolid, 1, pmNotXor};
const TPen kCopyRed{clRed, psSolid, 1, pmCopy};
const TClip kBox{TClipKind::Rect, {0, 0, 100, 100}};
const TClip kRound{TClipKind::Ellipse, {0, 0, 100, 100}};

struct Rig {
  TRecordingCanvas target;
  TDeferredCanvas canvas{&target};
};

// Which not-xor drawings reach the target at the flush: a shape drawn an even number of times
// cancels only against the very same shape (same ends, pen, brush, clip and marker).
TEST(DeferredCanvasTest, OnlyTheVerySameShapeCancels) {
  struct Case {
    const char* name;
    void (*draw)(TDeferredCanvas&);
    size_t reaching;
  };
  const Case cases[] = {
      {"same line twice",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.Line({1, 2}, {30, 40});
         c.Line({1, 2}, {30, 40});
       },
       0},
      {"same line three times",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         for (int i = 0; i < 3; ++i) c.Line({1, 2}, {30, 40});
       },
       1},
      {"reversed line",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.Line({1, 2}, {30, 40});
         c.Line({30, 40}, {1, 2});
       },
       2},
      {"other pen colour",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.Line({1, 2}, {30, 40});
         c.Pen = kXorBlue;
         c.Line({1, 2}, {30, 40});
       },
       2},
      {"other clip",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.SetClip(kBox);
         c.Line({1, 2}, {30, 40});
         c.SetClip(kRound);
         c.Line({1, 2}, {30, 40});
       },
       2},
      {"moving marker over ten points",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.Brush = TBrush{clYellow, bsSolid};
         c.Marker(tvSquare, 2, {0, 0});
         for (int i = 1; i <= 10; ++i) {
           c.Marker(tvSquare, 2, {i - 1, i - 1});
           c.Marker(tvSquare, 2, {i, i});
         }
       },
       1},
      {"marker of another fill",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.Brush = TBrush{clYellow, bsSolid};
         c.Marker(tvSquare, 2, {5, 5});
         c.Brush = TBrush{clWhite, bsSolid};
         c.Marker(tvSquare, 2, {5, 5});
       },
       2},
      {"marker of another shape",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         c.Marker(tvSquare, 2, {5, 5});
         c.Marker(tvCircle, 2, {5, 5});
       },
       2},
      {"many markers of many looks",
       [](TDeferredCanvas& c) {
         c.Pen = kXorRed;
         for (int look = 0; look < 12; ++look) {
           c.Brush = TBrush{TColor(look), bsSolid};
           for (int i = 0; i < 5; ++i) c.Marker(tvSquare, 2, {i, look});
         }
         for (int look = 0; look < 12; ++look) {
           c.Brush = TBrush{TColor(look), bsSolid};
           for (int i = 0; i < 4; ++i) c.Marker(tvSquare, 2, {i, look});
         }
       },
       12},
      {"twenty looks in turn, three times",
       [](TDeferredCanvas& c) {
         // Lines and markers of twenty pen colours, the looks taken in turn as a chart's
         // traces take them: the shapes of each look meet their own twins only.
         for (int rep = 0; rep < 3; ++rep) {
           for (int i = 0; i < 20; ++i) {
             c.Pen = TPen{TColor(0x010203 * i), psSolid, 1, pmNotXor};
             c.Line({i, 0}, {i + 5, 9});
             c.Brush = TBrush{TColor(0x030201 * (i % 4)), bsSolid};
             c.Marker(tvSquare, 2, {7, 7});
           }
         }
       },
       40},
  };
  for (const Case& c : cases) {
    Rig rig;
    c.draw(rig.canvas);
    EXPECT_TRUE(rig.target.calls.empty()) << c.name << ": drawn before the flush";
    rig.canvas.Flush();
    EXPECT_EQ(rig.target.calls.size(), c.reaching) << c.name;
    EXPECT_EQ(rig.canvas.Held(), 0) << c.name;
  }
}

// A held shape reaches the target with the pen, brush and clip it was drawn with, whatever the
// canvas was set to afterwards.
TEST(DeferredCanvasTest, HeldShapesKeepTheirLook) {
  Rig rig;
  rig.canvas.SetClip(kRound);
  rig.canvas.Pen = kXorBlue;
  rig.canvas.Brush = TBrush{clYellow, bsSolid};
  rig.canvas.Marker(tvDiamond, 3, {7, 8});
  rig.canvas.Pen = kXorRed;
  rig.canvas.SetClip(kBox);
  rig.canvas.Line({1, 1}, {9, 9});
  rig.canvas.Pen = TPen{};
  rig.canvas.Brush = TBrush{};
  rig.canvas.SetClip(TClip{});
  rig.canvas.Flush();
  ASSERT_EQ(rig.target.calls.size(), 2u);
  const auto markers = rig.target.Of(TCanvasCall::Marker);
  const auto lines = rig.target.Of(TCanvasCall::Line);
  ASSERT_EQ(markers.size(), 1u);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(markers[0].pen, kXorBlue);
  EXPECT_EQ(markers[0].brush, (TBrush{clYellow, bsSolid}));
  EXPECT_EQ(markers[0].clip, kRound);
  EXPECT_EQ(markers[0].tvar, tvDiamond);
  EXPECT_EQ(markers[0].size, 3);
  EXPECT_EQ(markers[0].pts, (std::vector<TPt>{TPt{7, 8}}));
  EXPECT_EQ(lines[0].pen, kXorRed);
  EXPECT_EQ(lines[0].clip, kBox);
  EXPECT_EQ(lines[0].pts, (std::vector<TPt>{{1, 1}, {9, 9}}));
  // The target's own state is given back after the flush.
  EXPECT_EQ(rig.target.Clip(), TClip{});
}

// Any other drawing first lets the held shapes through, then goes through itself, in the look
// the canvas has now: the order of copy drawing and not-xor drawing is kept.
TEST(DeferredCanvasTest, OtherDrawingGoesThroughAfterWhatIsHeld) {
  struct Case {
    const char* name;
    void (*draw)(TDeferredCanvas&);
    TCanvasCall::Op op;
  };
  const Case cases[] = {
      {"copy line",
       [](TDeferredCanvas& c) {
         c.Line({0, 0}, {5, 5});
       },
       TCanvasCall::Line},
      {"copy marker",
       [](TDeferredCanvas& c) {
         c.Marker(tvSquare, 2, {3, 3});
       },
       TCanvasCall::Marker},
      {"pixel",
       [](TDeferredCanvas& c) {
         c.Pixel({3, 3}, clRed);
       },
       TCanvasCall::Pixel},
      {"polyline",
       [](TDeferredCanvas& c) {
         c.Polyline({{0, 0}, {4, 4}, {8, 0}});
       },
       TCanvasCall::Polyline},
      {"fill",
       [](TDeferredCanvas& c) {
         c.FillRect({0, 0, 10, 10}, clWhite);
       },
       TCanvasCall::Fill},
      {"text",
       [](TDeferredCanvas& c) {
         c.Text({0, 0}, "R=1");
       },
       TCanvasCall::Text},
      {"rectangle",
       [](TDeferredCanvas& c) {
         c.Rectangle({0, 0, 10, 10});
       },
       TCanvasCall::Rectangle},
      {"ellipse",
       [](TDeferredCanvas& c) {
         c.Ellipse({0, 0, 10, 10});
       },
       TCanvasCall::Ellipse},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.canvas.Pen = kXorRed;
    rig.canvas.Line({20, 20}, {40, 40});
    rig.canvas.Pen = kCopyRed;
    rig.canvas.SetClip(kBox);
    c.draw(rig.canvas);
    ASSERT_EQ(rig.target.calls.size(), 2u) << c.name;
    EXPECT_EQ(rig.target.calls[0].op, TCanvasCall::Line) << c.name;
    EXPECT_EQ(rig.target.calls[0].pen, kXorRed) << c.name;
    EXPECT_EQ(rig.target.calls[0].clip, TClip{}) << c.name;
    EXPECT_EQ(rig.target.calls[1].op, c.op) << c.name;
    EXPECT_EQ(rig.target.calls[1].pen, kCopyRed) << c.name;
    EXPECT_EQ(rig.target.calls[1].clip, kBox) << c.name;
    EXPECT_EQ(rig.canvas.Held(), 0) << c.name;
  }
}

// The store never holds more than its limit: beyond it, what is held goes to the target at once.
TEST(DeferredCanvasTest, AFullStoreIsFlushedOnTheWay) {
  TRecordingCanvas target;
  TDeferredCanvas canvas(&target, 100);
  canvas.Pen = kXorRed;
  for (int i = 0; i < 1000; ++i) {
    canvas.Line({i, 0}, {i, 50});
    EXPECT_LT(canvas.Held(), 100);
  }
  canvas.Flush();
  EXPECT_EQ(target.calls.size(), 1000u);
}

// Lines that do not cancel are soon drawn at once instead of held; lines that do are held.
TEST(DeferredCanvasTest, LinesAreHeldOnlyWhileTheyCancel) {
  TRecordingCanvas target;
  TDeferredCanvas canvas(&target);
  canvas.Pen = kXorRed;
  // A long sweep: every segment new.
  for (int i = 0; i < 300; ++i) canvas.Line({i, 0}, {i + 1, 1});
  canvas.Flush();
  EXPECT_EQ(target.calls.size(), 300u);
  canvas.Line({500, 0}, {501, 1});
  EXPECT_EQ(target.calls.size(), 301u) << "drawn at once";
  EXPECT_EQ(canvas.Held(), 0);

  // Short sweeps: segments drawn and removed again. After a while they are held again and,
  // since they cancel, stay held.
  for (int k = 0; k < 5000; ++k) canvas.Line({k % 20, 5}, {k % 20 + 1, 6});
  canvas.Flush();
  target.calls.clear();
  for (int k = 0; k < 400; ++k) canvas.Line({k % 20, 5}, {k % 20 + 1, 6});
  EXPECT_TRUE(target.calls.empty());
  canvas.Flush();
  EXPECT_TRUE(target.calls.empty()) << "400 drawings of 20 segments, each an even number of times";
}

// Shapes are held with their corners in 16 bits: corners at the ends of that range come back
// exactly; a corner beyond it sends the shape to the target at once (in its own look), which
// leaves the same pixels since not-xor drawings may be applied in any order.
TEST(DeferredCanvasTest, ShapesFarOutsideThePanelGoThroughAtOnce) {
  struct Case {
    const char* name;
    TPt a, b;
    bool marker;
    bool held;
  };
  const Case cases[] = {
      {"line at the range's ends", {-32768, 32767}, {32767, -32768}, false, true},
      {"line one pixel beyond", {0, 0}, {32768, 5}, false, false},
      {"line one pixel below", {-32769, 0}, {5, 5}, false, false},
      {"line at the pixel limit", {0, 2147483647}, {-2147483647, 0}, false, false},
      {"marker at the range's end", {-32768, 32767}, {}, true, true},
      // The newest marker of a look waits apart from the store, corners unpacked.
      {"marker beyond", {40000, 10}, {}, true, true},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.canvas.Pen = kXorBlue;
    rig.canvas.Brush = TBrush{clYellow, bsSolid};
    rig.canvas.SetClip(kRound);
    // Twice, the second time with a moving marker's older twin waiting: either way a held pair
    // cancels and a far pair reaches the target twice.
    for (int k = 0; k < 2; ++k) {
      if (c.marker)
        rig.canvas.Marker(tvCircle, 3, c.a);
      else
        rig.canvas.Line(c.a, c.b);
      EXPECT_EQ(rig.target.calls.size(), c.held ? 0u : size_t(k + 1)) << c.name;
    }
    rig.canvas.Flush();
    EXPECT_EQ(rig.target.calls.size(), c.held ? 0u : 2u) << c.name;
    // Once: the held shape reaches the target at the flush, with its exact corners.
    rig.target.calls.clear();
    if (c.marker)
      rig.canvas.Marker(tvCircle, 3, c.a);
    else
      rig.canvas.Line(c.a, c.b);
    rig.canvas.Pen = TPen{};
    rig.canvas.SetClip(TClip{});
    rig.canvas.Flush();
    ASSERT_EQ(rig.target.calls.size(), 1u) << c.name;
    const TCanvasCall& call = rig.target.calls[0];
    EXPECT_EQ(call.pen, kXorBlue) << c.name;
    EXPECT_EQ(call.clip, kRound) << c.name;
    EXPECT_EQ(call.pts, (c.marker ? std::vector<TPt>{c.a} : std::vector<TPt>{c.a, c.b})) << c.name;
    EXPECT_EQ(rig.canvas.Held(), 0) << c.name;
  }
  // A moving marker that leaves a far point: the far marker cannot join the store and goes
  // through at once; its removal later does the same, so the pair still cancels on the image.
  Rig rig;
  rig.canvas.Pen = kXorRed;
  rig.canvas.Marker(tvSquare, 2, {50000, 5});
  rig.canvas.Marker(tvSquare, 2, {10, 5});
  ASSERT_EQ(rig.target.calls.size(), 1u);
  EXPECT_EQ(rig.target.calls[0].pts, (std::vector<TPt>{TPt{50000, 5}}));
  rig.canvas.Marker(tvSquare, 2, {50000, 5});
  EXPECT_EQ(rig.target.calls.size(), 2u);
  rig.canvas.Flush();
  ASSERT_EQ(rig.target.calls.size(), 3u);
  EXPECT_EQ(rig.target.calls[2].pts, (std::vector<TPt>{TPt{10, 5}}));
}

TEST(DeferredCanvasTest, DiscardForgetsWhatIsHeld) {
  Rig rig;
  rig.canvas.Pen = kXorRed;
  for (int i = 0; i < 50; ++i) rig.canvas.Line({i, 0}, {i, 9});
  rig.canvas.Marker(tvSquare, 2, {1, 1});
  EXPECT_EQ(rig.canvas.Held(), 51);
  rig.canvas.Discard();
  rig.canvas.Flush();
  EXPECT_TRUE(rig.target.calls.empty());
}

// Many shapes added and removed in a mixed order (the hash store moves shapes when one leaves):
// what reaches the target is exactly the set drawn an odd number of times.
TEST(DeferredCanvasTest, MixedAddsAndRemovalsLeaveTheOddOnes) {
  Rig rig;
  rig.canvas.Pen = kXorRed;
  std::vector<int> times(600, 0);
  uint32_t seed = 12345;
  for (int k = 0; k < 20000; ++k) {
    seed = seed * 1103515245u + 12345u;
    const int i = int((seed >> 8) % times.size());
    ++times[size_t(i)];
    rig.canvas.Line({i % 40, i / 40}, {i % 40 + 3, i / 40 + 1});
  }
  rig.canvas.Flush();
  std::vector<int> reached(times.size(), 0);
  for (const TCanvasCall& call : rig.target.calls) {
    const int i = call.pts[0].x + 40 * call.pts[0].y;
    ++reached[size_t(i)];
  }
  for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(reached[i], times[i] % 2) << i;
}

}  // namespace
}  // namespace qz
