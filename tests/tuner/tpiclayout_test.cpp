// The tuner picture's geometry and its setup section.
#include <gtest/gtest.h>

#include "tuner/tpiclayout.h"
#include "tuner/tpicstp.h"
#include "util/inifile.h"

namespace qz {
namespace {

TEST(TpicLayout, RowOfPartsWithTheirWidthsAndOverlaps) {
  const TTpicLayout l = BuildTpicLayout();
  EXPECT_EQ(l.gen.x(), 5);
  EXPECT_EQ(l.gen.width(), 33);
  // Each part overlaps its left neighbour by 2 pixels.
  EXPECT_EQ(l.flng1.x(), l.gen.x() + 33 - 2);
  EXPECT_EQ(l.guide.x(), l.flng1.x() + 7 - 2);
  EXPECT_EQ(l.flng2.x(), l.guide.x() + 171 - 2);
  EXPECT_EQ(l.load.x(), l.flng2.x() + 7 - 2);
  EXPECT_EQ(l.guide.size(), QSize(171, 60));
  EXPECT_EQ(l.load_x0, 213);
  EXPECT_EQ(l.client.width(), 265);
  // Motor and stub 2 centred on the guide, 1 and 3 52 pixels to each side.
  const int centre = l.guide.x() + 171 / 2;
  for (int k = 0; k < 3; ++k) {
    const int c = centre + (k - 1) * 52;
    EXPECT_EQ(l.mot[size_t(k)].x(), c - 23) << k;
    EXPECT_EQ(l.mot[size_t(k)].width(), 47) << k;
    EXPECT_EQ(l.stubX[size_t(k)], c - 11) << k;
    EXPECT_EQ(l.mot[size_t(k)].bottom() + 1, l.guide.y()) << k;  // housings sit on the guide
  }
  EXPECT_EQ(l.pla1X, centre - 52);
  // The client ends 2 pixels below the extension text, whatever the font.
  for (int h : {10, 14, 20}) {
    const TTpicLayout f = BuildTpicLayout(h);
    EXPECT_EQ(f.client.height(), f.markerY + f.markerH + 2) << h;
    EXPECT_EQ(f.client.width(), 265) << h;
    EXPECT_LT(f.indic.right(), f.client.width()) << h;
  }
}

TEST(TpicStp, SectionRoundTripAndReadLimits) {
  IniFile ini;
  TWindowPlace place{120, 80, 0, 0, true};
  const TTpicStp stp{1, 0x00336699};
  WriteTpicStp(ini, place, stp);
  TWindowPlace p2;
  TTpicStp s2;
  ReadTpicStp(ini, p2, s2, 1280, 1024);
  EXPECT_EQ(s2, stp);
  EXPECT_EQ(p2.left, 120);
  EXPECT_EQ(p2.top, 80);
  EXPECT_TRUE(p2.visible);

  const QString s = QString::fromLatin1(kTpicSection);
  struct Case {
    const char* key;
    const char* value;
    int top, left, indic;
  } cases[] = {{"Top", "-20", 0, 120, 1},
               {"Indic", "7", 80, 120, 2},
               {"Indic", "-1", 80, 120, 0},
               {"Left", "5000", 80, 1230, 1},
               {"Indic", "x", 80, 120, 0}};
  for (const Case& c : cases) {
    IniFile bad;
    WriteTpicStp(bad, place, stp);
    bad.WriteString(s, QString::fromLatin1(c.key), QString::fromLatin1(c.value));
    TWindowPlace p3;
    TTpicStp s3;
    ReadTpicStp(bad, p3, s3, 1280, 1024);
    EXPECT_EQ(p3.top, c.top) << c.key << "=" << c.value;
    EXPECT_EQ(p3.left, c.left) << c.key << "=" << c.value;
    EXPECT_EQ(s3.Indic, c.indic) << c.key << "=" << c.value;
  }
}

}  // namespace
}  // namespace qz
