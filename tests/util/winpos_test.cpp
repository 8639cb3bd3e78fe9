#include "util/winpos.h"

#include <gtest/gtest.h>

#include "util/inifile.h"

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
