#include "util/winpos.h"

#include <gtest/gtest.h>

#include "util/inifile.h"

#include <algorithm>
#include <vector>

namespace qz {
namespace {

TEST(WinPos, ToolWindowPositionStaysOnScreen) {
  struct Case {
    int left, top;
    int expLeft, expTop;
  };
  // Screen 1920 x 1080, margin 50: left 0..1870, top 0..1030.
  const Case cases[] = {
      {100, 200, 100, 200},     {-5, -1, 0, 0},           {1870, 1030, 1870, 1030},
      {1871, 1031, 1870, 1030}, {5000, 5000, 1870, 1030}, {INT32_MIN, INT32_MAX, 0, 1030},
  };
  for (const Case& c : cases) {
    const WindowPos r = LimitWindowPos({c.left, c.top, 33, 44}, 1920, 1080, kToolWindowMargin);
    EXPECT_EQ(r.left, c.expLeft) << c.left;
    EXPECT_EQ(r.top, c.expTop) << c.top;
    EXPECT_EQ(r.width, 33);  // sizes are left alone without limits
    EXPECT_EQ(r.height, 44);
  }
}

TEST(WinPos, FrameWindowSizeLimits) {
  struct Case {
    WindowPos in;
    WindowPos expected;
  };
  // Screen 1280 x 1024, margin 10: width 400..1270, height 350..1014.
  const Case cases[] = {
      {{0, 0, 100, 100}, {0, 0, 400, 350}},
      {{10, 20, 800, 600}, {10, 20, 800, 600}},
      {{1300, 1100, 5000, 5000}, {1270, 1014, 1270, 1014}},
  };
  for (const Case& c : cases) {
    const WindowPos r =
        LimitWindowPos(c.in, 1280, 1024, kFrameWindowMargin, kFrameWindowSizeLimits);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
  }
  // A screen smaller than the minimum size: the minimum wins, positions go to 0.
  const WindowPos tiny = LimitWindowPos({30, 30, 100, 100}, 300, 200, 10, kFrameWindowSizeLimits);
  EXPECT_EQ(tiny.width, 400);
  EXPECT_EQ(tiny.height, 350);
  // No screen at all (size 0): nothing negative.
  const WindowPos none = LimitWindowPos({30, 30, 0, 0}, 0, 0, kToolWindowMargin);
  EXPECT_EQ(none.left, 0);
  EXPECT_EQ(none.top, 0);
}

TEST(WinPos, ReadWindowPosFromSetup) {
  IniFile ini;
  ini.SetText("[QuzarForm]\r\nTop=5\r\nLeft=abc\r\nWidth=100\r\n[TrgForm]\r\ntop=9999\r\n");
  const WindowPos current{7, 8, 900, 700};
  const WindowPos frame = ReadWindowPos(ini, "QuzarForm", current, 1920, 1080, kFrameWindowMargin,
                                        kFrameWindowSizeLimits);
  EXPECT_EQ(frame.top, 5);
  EXPECT_EQ(frame.left, 7);      // unreadable: current
  EXPECT_EQ(frame.width, 400);   // "Width" of 100 opens the window 400 wide
  EXPECT_EQ(frame.height, 700);  // missing: current
  const WindowPos tool = ReadWindowPos(ini, "TRGFORM", current, 1920, 1080, kToolWindowMargin);
  EXPECT_EQ(tool.top, 1030);
  EXPECT_EQ(tool.left, 7);
  EXPECT_EQ(tool.width, 900);
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// One window closed and opened again: its client area written as a place through a frame of
// 20 pixels title and 1 pixel border, read back, and laid out by the same frame.
WindowPos Cycle(const WindowPos& client, const TPlaceRule& rule, IniFile& ini) {
  constexpr TFrameMargins kFrame{1, 20, 1, 1};
  WritePlace(ini, QStringLiteral("W"), PlaceOfClient(client, kFrame, true), rule);
  const TWindowPlace read = ReadPlace(ini, QStringLiteral("W"), TWindowPlace{}, rule, 1280, 1024);
  return ClientOfPlace(read, kFrame);
}

// Rules of the shapes the windows keep (each window's own rule lives in its folder and is
// checked there): position and size; the scenario generator's limits; position, height and
// visibility.
constexpr TPlaceRule kSizedRule{pkTop | pkLeft | pkWidth | pkHeight, kToolWindowMargin, 0, 0,
                                kToolWindowMargin};
constexpr TPlaceRule kGeneratorRule{pkTop | pkLeft | pkWidth | pkHeight, kToolWindowMargin, 640,
                                    250, 100};
constexpr TPlaceRule kHeightRule{pkVisible | pkTop | pkLeft | pkHeight, kToolWindowMargin, 0, 0,
                                 kToolWindowMargin};
// A display window inside the MDI area: position and outer size as stored.
constexpr TPlaceRule kMdiChildRule{pkTop | pkLeft | pkWidth | pkHeight, 0, 0, 0, 0, false};

TEST(WindowPlace, TenRestartsOfEveryWindowKeepItsPlace) {
  struct Case {
    const char* window;
    TPlaceRule rule;
    WindowPos client;  // where the window's client area is the first time
  };
  const Case cases[] = {
      {"frame", kFramePlaceRule, {51, 121, 900, 700}},
      {"tool", kToolPlaceRule, {301, 220, 320, 281}},
      {"reflection chart", kSizedRule, {11, 30, 500, 400}},
      {"scenario generator", kGeneratorRule, {101, 60, 700, 300}},
      {"scenario", kHeightRule, {1, 20, 400, 600}},
  };
  for (const Case& c : cases) {
    IniFile ini;
    WindowPos client = c.client;
    for (int i = 0; i < 10; ++i) {
      client = Cycle(client, c.rule, ini);
      EXPECT_EQ(client.left, c.client.left) << c.window << " restart " << i;
      EXPECT_EQ(client.top, c.client.top) << c.window << " restart " << i;
      if (c.rule.keys & pkWidth) {
        EXPECT_EQ(client.width, c.client.width) << c.window;
      }
      if (c.rule.keys & pkHeight) {
        EXPECT_EQ(client.height, c.client.height) << c.window;
      }
    }
    // The setup holds the outer frame's corner, one border left and one title bar up.
    EXPECT_EQ(ini.ReadInteger("W", "Left", -1), c.client.left - 1) << c.window;
    EXPECT_EQ(ini.ReadInteger("W", "Top", -1), c.client.top - 20) << c.window;
  }
}

TEST(WindowPlace, EachWindowWritesOnlyItsOwnKeys) {
  struct Case {
    const char* window;
    TPlaceRule rule;
    QStringList keys;
  };
  const Case cases[] = {
      {"results, logging, model", kToolPlaceRule, {"Visible", "Top", "Left"}},
      {"frame", kFramePlaceRule, {"Top", "Left", "Width", "Height"}},
      {"reflection chart", kSizedRule, {"Top", "Left", "Width", "Height"}},
      {"scenario generator", kGeneratorRule, {"Top", "Left", "Width", "Height"}},
      {"scenario", kHeightRule, {"Visible", "Top", "Left", "Height"}},
      {"display window", kMdiChildRule, {"Top", "Left", "Width", "Height"}},
  };
  for (const Case& c : cases) {
    IniFile ini;
    WritePlace(ini, QStringLiteral("W"), TWindowPlace{10, 20, 300, 400, true}, c.rule);
    EXPECT_EQ(ini.ReadSection(QStringLiteral("W")), c.keys) << c.window;
    // Keys the window does not keep are not read either: they leave the present value.
    ini.WriteInteger(QStringLiteral("W"), QStringLiteral("Width"), 777);
    ini.WriteInteger(QStringLiteral("W"), QStringLiteral("Height"), 666);
    ini.WriteBool(QStringLiteral("W"), QStringLiteral("Visible"), false);
    const TWindowPlace cur{0, 0, 55, 66, true};
    const TWindowPlace p = ReadPlace(ini, QStringLiteral("W"), cur, c.rule, 1280, 1024);
    EXPECT_EQ(p.width, (c.rule.keys & pkWidth) ? std::max(777, c.rule.minWidth) : 55) << c.window;
    EXPECT_EQ(p.height, (c.rule.keys & pkHeight) ? 666 : 66) << c.window;
    EXPECT_EQ(p.visible, !(c.rule.keys & pkVisible)) << c.window;
  }
}

TEST(WindowPlace, ReadPlacesAreLimitedByEachWindowsRule) {
  struct Case {
    const char* window;
    TPlaceRule rule;
    const char* text;
    TWindowPlace expected;
  };
  // Screen 1280 x 1024; the present place is {5, 6, 300, 200, false}.
  const Case cases[] = {
      // The frame: position 0 .. size - 10, width 400 .., height 350 ..
      {"frame small",
       kFramePlaceRule,
       "Top=-5\nLeft=99999\nWidth=100\nHeight=100",
       {1270, 0, 400, 350, false}},
      {"frame large",
       kFramePlaceRule,
       "Top=2000\nLeft=-1\nWidth=5000\nHeight=5000",
       {0, 1014, 1270, 1014, false}},
      // Tool windows: position 0 .. size - 50, sizes untouched.
      {"tool",
       kToolPlaceRule,
       "Top=1000\nLeft=1250\nWidth=5\nVisible=1",
       {1230, 974, 300, 200, true}},
      // The scenario generator: width 640 .. size - 100, height 250 .. size - 100.
      {"generator small", kGeneratorRule, "Width=10\nHeight=10", {5, 6, 640, 250, false}},
      {"generator large", kGeneratorRule, "Width=9000\nHeight=9000", {5, 6, 1180, 924, false}},
      // The reflection chart: sizes 0 .. size - 50.
      {"chart", kSizedRule, "Width=-3\nHeight=2000", {5, 6, 0, 974, false}},
      // Missing or unreadable keys keep the present values.
      {"unreadable", kFramePlaceRule, "Top=x\nWidth=", {5, 6, 400, 350, false}},
      // A child of an MDI area: read as stored, off the screen and negative alike.
      {"MDI child",
       kMdiChildRule,
       "Top=-40\nLeft=99999\nWidth=-3\nHeight=5000\nVisible=1",
       {99999, -40, -3, 5000, false}},
      {"MDI child unreadable", kMdiChildRule, "Top=x\nLeft=\nHeight=9e9", {5, 6, 300, 200, false}},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.SetText(QByteArray("[W]\n") + c.text + "\n");
    const TWindowPlace p = ReadPlace(ini, QStringLiteral("W"), TWindowPlace{5, 6, 300, 200, false},
                                     c.rule, 1280, 1024);
    EXPECT_EQ(p, c.expected) << c.window << ": " << p.left << "," << p.top << " " << p.width << "x"
                             << p.height;
  }
}

TEST(WindowPlace, DefaultToolPlacesAreDistinctAndBelowTheAnchor) {
  const WindowPos area{0, 0, 1280, 1024};
  const WindowPos anchor{10, 90, 0, 0};
  std::vector<std::pair<int, int>> seen;
  for (int n = 0; n < 6; ++n) {
    const WindowPos p = DefaultToolPosition(n, anchor, area);
    EXPECT_GE(p.top, anchor.top) << n;
    EXPECT_GE(p.left, anchor.left) << n;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), std::make_pair(p.left, p.top)), 0) << n;
    seen.emplace_back(p.left, p.top);
  }
  // A cascade that would run off a small area starts again at the anchor.
  const WindowPos small{0, 0, 200, 200};
  for (int n = 0; n < 20; ++n) {
    const WindowPos p = DefaultToolPosition(n, WindowPos{0, 100, 0, 0}, small);
    EXPECT_LE(p.top, 150) << n;
  }
}

TEST(WindowPlace, AFrameIsBroughtInsideTheAvailableArea) {
  struct Case {
    WindowPos frame, area, expected;
  };
  const Case cases[] = {
      // A title bar above the screen comes down to the area's top.
      {{0, -20, 800, 600}, {0, 0, 1280, 1024}, {0, 0, 800, 600}},
      // A panel at the top: the area starts lower.
      {{10, 0, 800, 600}, {0, 30, 1280, 994}, {10, 30, 800, 600}},
      // Too large: shrunk to the area.
      {{-5, -5, 3000, 3000}, {0, 30, 1280, 994}, {0, 30, 1280, 994}},
      // Beyond the right and bottom edges: moved back.
      {{1000, 900, 400, 300}, {0, 0, 1280, 1024}, {880, 724, 400, 300}},
  };
  for (const Case& c : cases) {
    const WindowPos r = FitIntoArea(c.frame, c.area);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.width, c.expected.width);
    EXPECT_EQ(r.height, c.expected.height);
  }
}

TEST(WindowPlace, AWindowOpensBesideTheAskingOneInsideTheArea) {
  struct Case {
    const char* where;
    WindowPos asking;
    int width, height;
    WindowPos expected;
  };
  const WindowPos area{0, 0, 1280, 1000};
  const Case cases[] = {
      {"right of it", {100, 200, 300, 400}, 500, 300, {400, 200, 500, 300}},
      {"right of it, just fitting", {100, 0, 680, 400}, 500, 300, {780, 0, 500, 300}},
      {"left of it", {700, 50, 300, 300}, 650, 300, {50, 50, 650, 300}},
      {"at the right edge, over it", {300, 50, 600, 300}, 700, 300, {580, 50, 700, 300}},
      {"wider than the area", {300, 50, 600, 300}, 1500, 300, {0, 50, 1500, 300}},
      {"lifted to end inside", {100, 900, 300, 90}, 400, 380, {400, 620, 400, 380}},
      {"never above the top", {100, 900, 300, 90}, 400, 1200, {400, 0, 400, 1200}},
  };
  for (const Case& c : cases) {
    const WindowPos p = BesidePosition(c.asking, c.width, c.height, area);
    EXPECT_EQ(p.left, c.expected.left) << c.where;
    EXPECT_EQ(p.top, c.expected.top) << c.where;
    EXPECT_EQ(p.width, c.width) << c.where;
    EXPECT_EQ(p.height, c.height) << c.where;
  }
  // An area that does not start at the origin (a panel at the top).
  const WindowPos p = BesidePosition({0, 0, 200, 100}, 300, 200, {0, 40, 1280, 960});
  EXPECT_EQ(p.left, 200);
  EXPECT_EQ(p.top, 40);
}

}  // namespace
}  // namespace qz
