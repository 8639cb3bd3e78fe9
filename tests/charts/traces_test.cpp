#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "charts/drawattrib.h"
#include "charts/onetrace.h"
#include "charts/traces.h"
#include "util/inifile.h"

namespace qz {
namespace {

TEST(OneTraceTest, KeepsAtMost20001Points) {
  TOneTrace t;
  for (int i = 0; i < 20002; ++i) t.AddXY(i, 2.0 * i);
  EXPECT_EQ(t.GetCount(), 20001);
  EXPECT_EQ(t.GetX(20000), 20000.0);
  EXPECT_EQ(t.GetY(20000), 40000.0);
}

TEST(OneTraceTest, AccessPastTheCountGivesNothing) {
  TOneTrace t;
  t.AddXY(1.0, 2.0);
  EXPECT_EQ(t.GetX(0), 1.0);
  EXPECT_EQ(t.GetY(0), 2.0);
  EXPECT_FALSE(t.GetX(1).has_value());
  EXPECT_FALSE(t.GetY(1).has_value());
  EXPECT_FALSE(t.GetX(-1).has_value());
  EXPECT_FALSE(t.GetY(65535).has_value());
}

struct WidenCase {
  double v;
  double min;
  double max;
};

TEST(OneTraceTest, EqualValuesAreWidened) {
  const WidenCase cases[] = {{3, 1.5, 4.5}, {-2, -3, -1}, {0, -1, 1}, {1e-3, 0.5e-3, 1.5e-3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    TOneTrace t;
    for (int i = 0; i < 4; ++i) t.AddXY(c.v, c.v);
    const TExtent y = t.MinMaxY();
    EXPECT_DOUBLE_EQ(y.min, c.min);
    EXPECT_DOUBLE_EQ(y.max, c.max);
    EXPECT_EQ(y.iMin, 0);
    EXPECT_EQ(y.iMax, 0);
    const TExtent x = t.MinMaxX();
    EXPECT_DOUBLE_EQ(x.min, c.min);
    EXPECT_DOUBLE_EQ(x.max, c.max);
  }
}

TEST(OneTraceTest, FirstOccurrencesGiveTheIndexes) {
  TOneTrace t;
  const double ys[] = {4, 1, 7, 1, 7, 3};
  for (int i = 0; i < 6; ++i) t.AddXY(10 - i, ys[i]);
  const TExtent y = t.MinMaxY();
  EXPECT_EQ(y.min, 1);
  EXPECT_EQ(y.max, 7);
  EXPECT_EQ(y.iMin, 1);
  EXPECT_EQ(y.iMax, 2);
  const TExtent x = t.MinMaxX();
  EXPECT_EQ(x.min, 5);
  EXPECT_EQ(x.iMin, 5);
  EXPECT_EQ(x.max, 10);
  EXPECT_EQ(x.iMax, 0);
}

TEST(OneTraceTest, NoPointsGiveNoIndexes) {
  TOneTrace t;
  for (const TExtent& e : {t.MinMaxX(), t.MinMaxY(), t.MinMaxR()}) {
    EXPECT_EQ(e.iMin, -1);
    EXPECT_EQ(e.iMax, -1);
    EXPECT_FALSE(e.Found());
  }
}

TEST(OneTraceTest, DistanceExtentsAreNotWidened) {
  TOneTrace t;
  t.AddXY(3, 4);
  t.AddXY(0, 1);
  t.AddXY(-3, -4);
  t.AddXY(1, 0);
  const TExtent r = t.MinMaxR();
  EXPECT_DOUBLE_EQ(r.min, 1.0);
  EXPECT_DOUBLE_EQ(r.max, 5.0);
  EXPECT_EQ(r.iMin, 1);
  EXPECT_EQ(r.iMax, 0);

  TOneTrace same;
  same.AddXY(0, 2);
  same.AddXY(2, 0);
  const TExtent s = same.MinMaxR();
  EXPECT_DOUBLE_EQ(s.min, 2.0);
  EXPECT_DOUBLE_EQ(s.max, 2.0);
}

TEST(OneTraceTest, AssignCopiesTitlePointsAndAttributes) {
  TOneTrace a("A");
  a.AddXY(1, 2);
  a.Attr().LinePen.Color = 0x123456;
  a.Attr().Dots.Tvar = 7;
  TOneTrace b("B");
  b.AddXY(5, 5);
  b.AddXY(6, 6);
  b.Assign(a);
  EXPECT_EQ(b.Title, "A");
  EXPECT_EQ(b.GetCount(), 1);
  EXPECT_EQ(b.GetY(0), 2.0);
  EXPECT_EQ(b.Attr(), a.Attr());
}

TEST(DrawAttribTest, DefaultsKeepTheMarkerStyle) {
  TDrawAttrib a;
  EXPECT_TRUE(a.Visible);
  EXPECT_TRUE(a.LineVisible);
  EXPECT_EQ(a.LinePen, (TPen{0x0000FF, psSolid, 1, pmCopy}));
  EXPECT_EQ(a.Dots.Border, (TPen{0xFF0000, psSolid, 1, pmCopy}));
  EXPECT_EQ(a.Dots.Fill, (TBrush{0xFFFFFF, bsSolid}));
  EXPECT_EQ(a.Dots.Dsize, 2);
  EXPECT_FALSE(a.Dots.Visible);
  EXPECT_TRUE(a.Dots.Moving);
  EXPECT_FALSE(a.Dots.Kakaj);

  a.Visible = false;
  a.LineVisible = false;
  a.LinePen.Width = 7;
  a.Dots.Tvar = 9;
  a.Dots.Dsize = 5;
  a.Defaults();
  EXPECT_TRUE(a.Visible);
  EXPECT_TRUE(a.LineVisible);
  EXPECT_EQ(a.LinePen.Width, 1);
  EXPECT_EQ(a.Dots.Tvar, 9);
  EXPECT_EQ(a.Dots.Dsize, 5);
}

TEST(DotsTest, NextTvarCyclesThroughElevenShapes) {
  TDots d;
  d.Tvar = 9;
  EXPECT_EQ(d.NextTvar(), 10);
  d.Tvar = 10;
  EXPECT_EQ(d.NextTvar(), 0);
}

struct KeyCase {
  const char* key;
  const char* stored;
  int expected;
};

// Reads one stored key into default attributes and returns the field the key sets.
int ReadField(const char* key, const char* stored) {
  IniFile ini;
  ini.SetText(QByteArray("[Disp Trace_2]\r\n") + key + "=" + stored + "\r\n");
  TDrawAttrib a;
  a.ReadStp(ini, "Disp", 2);
  const QString k = key;
  if (k == "LinePStyle") return a.LinePen.Style;
  if (k == "LinePWidth") return a.LinePen.Width;
  if (k == "DotPStyle") return a.Dots.Border.Style;
  if (k == "DotPWidth") return a.Dots.Border.Width;
  if (k == "DotBStyle") return a.Dots.Fill.Style;
  if (k == "Tvar") return a.Dots.Tvar;
  if (k == "LineWidth") return a.Dots.LineWidth;
  if (k == "Size") return a.Dots.Dsize;
  if (k == "LinePColor") return int(a.LinePen.Color);
  if (k == "DotBColor") return int(a.Dots.Fill.Color);
  ADD_FAILURE() << "unknown key " << key;
  return 0;
}

TEST(DrawAttribTest, EachKeyHasItsOwnReadRule) {
  const KeyCase cases[] = {
      {"LinePStyle", "7", psSolid},
      {"LinePStyle", "3", psDashDot},
      {"LinePStyle", "5", psClear},
      {"LinePStyle", "-1", psSolid},
      {"LinePStyle", "0", psSolid},
      {"DotPStyle", "6", psSolid},
      {"DotPStyle", "1", psDash},
      {"LinePWidth", "0", 1},
      {"LinePWidth", "150", 100},
      {"LinePWidth", "37", 37},
      {"DotPWidth", "-4", 1},
      {"DotBStyle", "2", bsSolid},
      {"DotBStyle", "1", bsClear},
      {"DotBStyle", "-1", bsSolid},
      {"Tvar", "15", 10},
      {"Tvar", "-3", 0},
      {"Tvar", "8", 8},
      {"LineWidth", "0", 1},
      {"LineWidth", "101", 100},
      {"Size", "40", 11},
      {"Size", "0", 1},
      {"Size", "11", 11},
      {"LinePColor", "65280", 0x00FF00},
      {"DotBColor", "-16777211", int(0xFF000005u)},
      // An unreadable value keeps the present one (default size 2).
      {"Size", "big", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
    EXPECT_EQ(ReadField(c.key, c.stored), c.expected);
  }
}

TEST(DrawAttribTest, WritesTheKeysInOrderAndReadsThemBack) {
  TDrawAttrib a;
  a.Visible = false;
  a.LinePen = TPen{0x102030, psDash, 3, pmCopy};
  a.Dots.Tvar = 4;
  a.Dots.Visible = true;
  a.Dots.Moving = false;
  a.Dots.Kakaj = true;
  a.Dots.Border = TPen{clWindow, psDot, 2, pmCopy};
  a.Dots.Fill = TBrush{0x445566, bsClear};
  a.Dots.LineWidth = 4;
  a.Dots.Dsize = 6;
  IniFile ini;
  a.WriteStp(ini, "Main", 1);
  const QStringList keys = ini.ReadSection("Main Trace_1");
  const QStringList expected = {"TraceVisible", "LineVisible", "LinePColor",  "LinePStyle",
                                "LinePWidth",   "Tvar",        "DotsVisible", "Moving",
                                "Kakaj",        "DotPColor",   "DotPStyle",   "DotPWidth",
                                "DotBColor",    "DotBStyle",   "LineWidth",   "Size"};
  EXPECT_EQ(keys, expected);
  TDrawAttrib b;
  b.ReadStp(ini, "Main", 1);
  EXPECT_EQ(b, a);
}

TEST(TracesTest, PridajStopsAtTheMaximum) {
  TTraces list;
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(list.Pridaj(QString("T%1").arg(i), nullptr, 4));
  EXPECT_FALSE(list.Pridaj("T4", nullptr, 4));
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Trace(3)->Title, "T3");
}

TEST(TracesTest, PridajWithSourceCopiesItButKeepsTheEntryTitle) {
  TOneTrace src("Source");
  src.AddXY(1, 1);
  src.AddXY(2, 4);
  TTraces list;
  ASSERT_TRUE(list.Pridaj("Entry", &src, 4));
  EXPECT_EQ(list.EntryTitle(0), "Entry");
  EXPECT_EQ(list.Trace(0)->Title, "Source");
  EXPECT_EQ(list.Trace(0)->GetCount(), 2);
  src.AddXY(3, 9);  // the list holds its own copy
  EXPECT_EQ(list.Trace(0)->GetCount(), 2);
}

TEST(TracesTest, OdstranChecksTheIndex) {
  TTraces list;
  list.Pridaj("A", nullptr, 4);
  list.Pridaj("B", nullptr, 4);
  EXPECT_FALSE(list.Odstran(2));
  EXPECT_FALSE(list.Odstran(-1));
  EXPECT_TRUE(list.Odstran(0));
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.EntryTitle(0), "B");
  EXPECT_EQ(list.Trace(1), nullptr);
}

TEST(TracesTest, CountsAndEmptying) {
  TTraces list;
  EXPECT_EQ(list.MaxPoints(), -1);
  EXPECT_EQ(list.MaxPtsVisible(), -1);
  list.Pridaj("A", nullptr, 4);
  list.Pridaj("B", nullptr, 4);
  list.Pridaj("C", nullptr, 4);
  for (int i = 0; i < 5; ++i) list.Trace(0)->AddXY(i, i);
  for (int i = 0; i < 9; ++i) list.Trace(1)->AddXY(i, i);
  list.Trace(1)->Attr().Visible = false;
  list.Trace(1)->Attr().LinePen.Color = 0x42;
  EXPECT_EQ(list.MaxPoints(), 9);
  EXPECT_EQ(list.MaxPtsVisible(), 5);
  EXPECT_EQ(list.CountVisible(), 2);
  list.Vyprazdni();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.MaxPoints(), 0);
  EXPECT_EQ(list.Trace(1)->Attr().LinePen.Color, 0x42u);
  list.Trace(0)->Attr().Visible = false;
  list.Trace(2)->Attr().Visible = false;
  EXPECT_EQ(list.MaxPtsVisible(), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TracesTest, VisibleExtentsSkipHiddenAndEmptyTraces) {
  TTraces list;
  list.Pridaj("empty", nullptr, 4);
  EXPECT_FALSE(list.MinMaxYvisible().ok);
  EXPECT_FALSE(list.MinMaxXY().ok);

  list.Pridaj("hidden", nullptr, 4);
  list.Trace(1)->AddXY(-100, 100);
  list.Trace(1)->AddXY(100, -100);
  list.Trace(1)->Attr().Visible = false;
  EXPECT_FALSE(list.MinMaxYvisible().ok);

  list.Pridaj("a", nullptr, 4);
  list.Trace(2)->AddXY(1, 3);
  list.Trace(2)->AddXY(2, 3);  // y widened to 1.5 .. 4.5
  list.Pridaj("b", nullptr, 4);
  list.Trace(3)->AddXY(0.5, 2);
  list.Trace(3)->AddXY(1.5, 5);
  const TRange y = list.MinMaxYvisible();
  ASSERT_TRUE(y.ok);
  EXPECT_DOUBLE_EQ(y.min, 1.5);
  EXPECT_DOUBLE_EQ(y.max, 5);
  const TRangeXY xy = list.MinMaxXY();
  ASSERT_TRUE(xy.ok);
  EXPECT_DOUBLE_EQ(xy.minX, 0.5);
  EXPECT_DOUBLE_EQ(xy.maxX, 2);
  EXPECT_DOUBLE_EQ(xy.minY, 1.5);
  EXPECT_DOUBLE_EQ(xy.maxY, 5);
  const TRange r = list.MinMaxRvisible();
  ASSERT_TRUE(r.ok);
  EXPECT_DOUBLE_EQ(r.max, std::sqrt(1.5 * 1.5 + 25));
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST(DotsTest, MarkerShapesAroundThePoint) {
  const TPt p{50, 40};
  TMarkerGeometry g = MarkerGeometry(tvSquare, 2, p);
  EXPECT_EQ(g.kind, TMarkerGeometry::mkRect);
  EXPECT_EQ(g.box, (TRectI{48, 38, 53, 43}));
  g = MarkerGeometry(tvCircle, 3, p);
  EXPECT_EQ(g.kind, TMarkerGeometry::mkEllipse);
  EXPECT_EQ(g.box, (TRectI{47, 37, 54, 44}));

  const struct {
    int32_t tvar;
    std::vector<TPt> polygon;
  } polygons[] = {
      {tvTriangleUp, {{50, 37}, {47, 43}, {53, 43}}},
      {tvTriangleDown, {{50, 43}, {47, 37}, {53, 37}}},
      {tvTriangleAbove, {{50, 40}, {53, 34}, {47, 34}}},
      {tvTriangleBelow, {{50, 40}, {53, 46}, {47, 46}}},
      {tvDiamond, {{50, 37}, {53, 40}, {50, 43}, {47, 40}}},
  };
  for (const auto& c : polygons) {
    g = MarkerGeometry(c.tvar, 3, p);
    EXPECT_EQ(g.kind, TMarkerGeometry::mkPolygon) << c.tvar;
    EXPECT_EQ(g.polygon, c.polygon) << c.tvar;
  }

  g = MarkerGeometry(tvPlus, 3, p);
  EXPECT_EQ(g.lines, (std::vector<TSegment>{{47, 40, 53, 40}, {50, 37, 50, 40}, {50, 43, 50, 40}}));
  g = MarkerGeometry(tvCross, 3, p);
  EXPECT_EQ(g.lines, (std::vector<TSegment>{{47, 37, 53, 43}, {47, 43, 50, 40}, {53, 37, 50, 40}}));
  g = MarkerGeometry(tvAsterisk, 3, p);
  ASSERT_EQ(g.lines.size(), 7u);
  EXPECT_EQ(g.lines[3], (TSegment{48, 38, 50, 40}));
  EXPECT_EQ(g.lines[6], (TSegment{52, 42, 50, 40}));
  g = MarkerGeometry(tvPixel, 3, p);
  EXPECT_EQ(g.kind, TMarkerGeometry::mkPixel);
  EXPECT_EQ(g.pixel, p);
  // A shape beyond the table is drawn as the last one.
  EXPECT_EQ(MarkerGeometry(25, 3, p).kind, TMarkerGeometry::mkPixel);
}

}  // namespace
}  // namespace qz
