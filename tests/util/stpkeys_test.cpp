// The key table of a setup section: whole-record round trips, limits on reading, defaults of
// missing and unreadable keys, and the written text.
#include "util/stpkeys.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace qz {
namespace {

struct TSub {
  QString Info = QStringLiteral("none");
  friend bool operator==(const TSub&, const TSub&) = default;
};

struct TRec {
  int32_t Points = 101;
  uint8_t Code = 7;
  double Gain = 1.5;
  bool Visible = false;
  uint32_t Colour = 0xFF00000C;  // a system colour
  TSub Sub;
  friend bool operator==(const TRec&, const TRec&) = default;
};

const TStpKeys<TRec>& Keys() {
  static const TStpKeys<TRec> keys =
      TStpKeys<TRec>()
          .Int("Points", &TRec::Points, 1, 20001)
          .Int("Code", &TRec::Code, 0, 9, 3)
          .Float("Gain", &TRec::Gain, 0.0, 10.0)
          .Bool("Visible", &TRec::Visible)
          .Colour("BkgColor", &TRec::Colour)
          .Text(
              "Info", [](TRec& r) -> QString& { return r.Sub.Info; }, QStringLiteral("?"));
  return keys;
}

TEST(StpKeys, WholeRecordRoundTripAndWrittenText) {
  TRec r;
  r.Points = 20001;
  r.Code = 9;
  r.Gain = 0.1;
  r.Visible = true;
  r.Colour = 0x00123456;
  r.Sub.Info = QStringLiteral("a;b,c");
  IniFile ini;
  Keys().Write(r, ini, QStringLiteral("Rec"));
  EXPECT_EQ(ini.Text(), QByteArray("[Rec]\r\nPoints=20001\r\nCode=9\r\nGain=0.1\r\nVisible=1\r\n"
                                   "BkgColor=1193046\r\nInfo=a;b,c\r\n"));
  TRec back;
  Keys().Read(back, ini, QStringLiteral("rec"));
  EXPECT_EQ(back, r);

  // The defaults of a fresh record come back as they were, the system colour in signed form.
  IniFile fresh;
  Keys().Write(TRec{}, fresh, QStringLiteral("Rec"));
  EXPECT_EQ(fresh.ReadString(QStringLiteral("Rec"), QStringLiteral("BkgColor"), {}),
            QStringLiteral("-16777204"));
  TRec other = r;
  Keys().Read(other, fresh, QStringLiteral("Rec"));
  EXPECT_EQ(other, TRec{});
  EXPECT_EQ(Keys().Names(), (QStringList{"Points", "Code", "Gain", "Visible", "BkgColor", "Info"}));
}

TEST(StpKeys, ReadingLimitsAndDefaults) {
  struct Case {
    const char* text;
    TRec expected;
  };
  // Start: a record that differs from the defaults everywhere.
  TRec start;
  start.Points = 500;
  start.Code = 5;
  start.Gain = 2.0;
  start.Visible = true;
  start.Colour = 0x000000FF;
  start.Sub.Info = QStringLiteral("kept");
  auto with = [&](auto change) {
    TRec r = start;
    change(r);
    return r;
  };
  const Case cases[] = {
      // Missing keys: the present value stays, except where the table names a default.
      {"[Rec]\r\n", with([](TRec& r) {
         r.Code = 3;
         r.Sub.Info = QStringLiteral("?");
       })},
      // Out of range: limited.
      {"[Rec]\r\nPoints=0\r\nCode=12\r\nGain=-4\r\nInfo=x\r\n", with([](TRec& r) {
         r.Points = 1;
         r.Code = 9;
         r.Gain = 0.0;
         r.Sub.Info = QStringLiteral("x");
       })},
      {"[Rec]\r\nPoints=999999\r\nGain=1e300\r\nInfo=\r\n", with([](TRec& r) {
         r.Points = 20001;
         r.Code = 3;
         r.Gain = 10.0;
         r.Sub.Info = QString();
       })},
      // Not a number: as if missing.
      {"[Rec]\r\nPoints=12a\r\nCode=x\r\nGain=nan\r\nVisible=yes\r\nBkgColor=red\r\nInfo=y\r\n",
       with([](TRec& r) {
         r.Code = 3;
         r.Sub.Info = QStringLiteral("y");
       })},
      // Colours in either form; beyond 32 bits is not a colour.
      {"[Rec]\r\nBkgColor=4278190092\r\nCode=1\r\nInfo=z\r\n", with([](TRec& r) {
         r.Colour = 0xFF00000C;
         r.Code = 1;
         r.Sub.Info = QStringLiteral("z");
       })},
      {"[Rec]\r\nBkgColor=4294967296\r\nCode=1\r\nInfo=z\r\n", with([](TRec& r) {
         r.Code = 1;
         r.Sub.Info = QStringLiteral("z");
       })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    IniFile ini;
    ini.SetText(c.text);
    TRec r = start;
    Keys().Read(r, ini, QStringLiteral("Rec"));
    EXPECT_EQ(r.Points, c.expected.Points);
    EXPECT_EQ(r.Code, c.expected.Code);
    EXPECT_EQ(r.Gain, c.expected.Gain);
    EXPECT_EQ(r.Visible, c.expected.Visible);
    EXPECT_EQ(r.Colour, c.expected.Colour);
    EXPECT_EQ(r.Sub.Info, c.expected.Sub.Info);
  }
}

// Crossed limits of a damaged table: the lower bound wins. A key written only is not read.
TEST(StpKeys, CrossedLimitsAndWrittenOnlyKeys) {
  const TStpKeys<TRec> keys = TStpKeys<TRec>()
                                  .Int("Points", &TRec::Points, 50, 10)
                                  .Float("Gain", &TRec::Gain, 3.0, 1.0)
                                  .Bool("Visible", &TRec::Visible)
                                  .WrittenOnly();
  IniFile ini;
  ini.SetText("[R]\r\nPoints=20\r\nGain=2\r\nVisible=1\r\n");
  TRec r;
  keys.Read(r, ini, QStringLiteral("R"));
  EXPECT_EQ(r.Points, 50);
  EXPECT_EQ(r.Gain, 3.0);
  EXPECT_FALSE(r.Visible);
  IniFile out;
  keys.Write(r, out, QStringLiteral("R"));
  EXPECT_EQ(out.ReadSection(QStringLiteral("R")), (QStringList{"Points", "Gain", "Visible"}));
}

// Records made of parts: a prefixed group, an indexed group, indexed sub-sections, a condition
// and a value derived after reading.
struct TPart {
  int32_t Style = 0;
  uint32_t Colour = 0;
  friend bool operator==(const TPart&, const TPart&) = default;
};

int32_t StyleRule(int32_t stored) { return stored >= 1 && stored <= 5 ? stored : 0; }
double HalfRule(const QString& raw, double present) {
  bool ok = false;
  const double v = raw.toDouble(&ok);
  return ok ? v / 2 : present;
}
QString TwiceText(double v) { return QString::number(v * 2); }

const TStpKeys<TPart>& PartKeys() {
  static const TStpKeys<TPart> keys =
      TStpKeys<TPart>()
          .IntRule("Style", &TPart::Style, StyleRule)
          .Colour("Color", &TPart::Colour, std::nullopt, TColourRead::SignedOnly);
  return keys;
}

struct TWhole {
  int32_t State = 0;
  int32_t Top = 10;
  TPart Line;
  std::array<int32_t, 3> Dist{1, 2, 3};
  std::array<TPart, 2> Traces;
  double Half = 1.0;
  int32_t Derived = 0;
  QString Custom = QStringLiteral("c");
  friend bool operator==(const TWhole&, const TWhole&) = default;
};

const TStpKeys<TWhole>& WholeKeys() {
  static const TStpKeys<int32_t> one = TStpKeys<int32_t>().Int(
      "", [](int32_t& v) -> int32_t& { return v; }, 0, 100);
  static const TStpKeys<TWhole> keys =
      TStpKeys<TWhole>()
          .Int("State", &TWhole::State, 0, 2)
          .Int("Top", &TWhole::Top, -100, 100)
          .WrittenWhen([](const TWhole& w) { return w.State == 0; })
          .Group(QStringLiteral("Line"), PartKeys(), &TWhole::Line)
          .Each(QStringLiteral("Dist"), {1, 2, 3}, one,
                [](TWhole& w, int i) -> int32_t& { return w.Dist[size_t(i - 1)]; })
          .FloatForm("Half", &TWhole::Half, TwiceText, HalfRule)
          .OnRead([](TWhole& w) { w.Derived = w.State * 10; })
          .CustomKey(
              "Cu",
              [](const TWhole& w, IniFile& ini, const QString& s, const QString& key) {
                ini.WriteString(s, key, w.Custom + QStringLiteral("!"));
              },
              [](TWhole& w, const IniFile& ini, const QString& s, const QString& key) {
                w.Custom = ini.ReadString(s, key, w.Custom + QStringLiteral("!")).chopped(1);
              })
          .Section(QStringLiteral(" Trace_"), {0, 1}, PartKeys(),
                   [](TWhole& w, int i) -> TPart& { return w.Traces[size_t(i)]; })
          .When([](const TWhole& w) { return w.State != 2; });
  return keys;
}

TEST(StpKeys, PartsAreWrittenInTheirPlacesAndReadBack) {
  TWhole w;
  w.Line = {3, 0xFF000005};
  w.Dist = {7, 8, 9};
  w.Traces = {TPart{2, 0x102030}, TPart{4, 5}};
  w.Half = 2.5;
  w.Custom = QStringLiteral("x");
  IniFile ini;
  WholeKeys().Write(w, ini, QStringLiteral("W"), QStringLiteral("P"));
  EXPECT_EQ(ini.Text(), QByteArray("[W]\r\nPState=0\r\nPTop=10\r\nPLineStyle=3\r\n"
                                   "PLineColor=-16777211\r\nPDist1=7\r\nPDist2=8\r\nPDist3=9\r\n"
                                   "PHalf=5\r\nPCu=x!\r\n\r\n[W Trace_0]\r\nStyle=2\r\n"
                                   "Color=1056816\r\n\r\n[W Trace_1]\r\nStyle=4\r\nColor=5\r\n"));
  TWhole back;
  back.Dist = {0, 0, 0};
  WholeKeys().Read(back, ini, QStringLiteral("W"), QStringLiteral("P"));
  EXPECT_EQ(back, w);
  EXPECT_EQ(WholeKeys().Names(), (QStringList{"State", "Top", "LineStyle", "LineColor", "Dist1",
                                              "Dist2", "Dist3", "Half", "Cu"}));

  // Out of the normal state the place is not written; in state 2 the traces are neither
  // written nor read. The derived value follows what was read.
  w.State = 2;
  IniFile two;
  WholeKeys().Write(w, two, QStringLiteral("W"));
  EXPECT_FALSE(two.ValueExists(QStringLiteral("W"), QStringLiteral("Top")));
  EXPECT_FALSE(two.SectionExists(QStringLiteral("W Trace_0")));
  two.SetText("[W]\r\nState=2\r\nTop=-5\r\n[W Trace_0]\r\nStyle=5\r\n");
  TWhole r;
  WholeKeys().Read(r, two, QStringLiteral("W"));
  EXPECT_EQ(r.Top, -5);
  EXPECT_EQ(r.Derived, 20);
  EXPECT_EQ(r.Traces[0], TPart{});
}

TEST(StpKeys, RulesOfThePartsOnReading) {
  struct Case {
    const char* text;
    TPart line;
    int32_t dist1;
    double half;
  };
  const Case cases[] = {
      // A style outside its values reads as the first; unreadable keeps the present value.
      {"[W]\r\nLineStyle=9\r\nDist1=200\r\nHalf=x\r\n", {0, 0}, 100, 1.0},
      {"[W]\r\nLineStyle=x\r\nDist1=-3\r\nHalf=7\r\n", {0, 0}, 0, 3.5},
      // The signed-only colour keeps the present value on the unsigned form.
      {"[W]\r\nLineColor=4278190092\r\n", {0, 0}, 1, 1.0},
      {"[W]\r\nLineColor=-16777204\r\nLineStyle=5\r\n", {5, 0xFF00000C}, 1, 1.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    IniFile ini;
    ini.SetText(c.text);
    TWhole w;
    WholeKeys().Read(w, ini, QStringLiteral("W"));
    EXPECT_EQ(w.Line, c.line);
    EXPECT_EQ(w.Dist[0], c.dist1);
    EXPECT_EQ(w.Half, c.half);
  }
}

// A missing or unreadable key of a rule keeps the present value as the rule reads it.
TEST(StpKeys, ARuleKeyWithoutATextPassesThePresentValueThroughTheRule) {
  const TStpKeys<TPart> keys = TStpKeys<TPart>().IntRule("Style", &TPart::Style, StyleRule);
  const TStpKeys<TPart> withDefault =
      TStpKeys<TPart>().IntRule("Style", &TPart::Style, StyleRule, 4);
  struct Case {
    const char* text;
    int32_t present, plain, defaulted;
  };
  const Case cases[] = {
      {"[P]\r\n", 3, 3, 4},
      {"[P]\r\n", 9, 0, 4},
      {"[P]\r\nStyle=x\r\n", 9, 0, 4},
      {"[P]\r\nStyle=2\r\n", 9, 2, 2},
      {"[P]\r\nStyle=7\r\n", 3, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    IniFile ini;
    ini.SetText(c.text);
    TPart a{c.present, 0}, b{c.present, 0};
    keys.Read(a, ini, QStringLiteral("P"));
    withDefault.Read(b, ini, QStringLiteral("P"));
    EXPECT_EQ(a.Style, c.plain);
    EXPECT_EQ(b.Style, c.defaulted);
  }
}

// One key's text is what the whole table writes for it, for keys of every kind; a name the
// table has not, or does not write for the record, has none.
TEST(StpKeys, OneKeysTextIsWhatTheTableWritesForIt) {
  TWhole w;
  w.Top = -7;
  w.Line = {3, 0xFF000005};
  w.Dist = {7, 8, 9};
  w.Half = 2.5;
  w.Custom = QStringLiteral("x");
  struct Case {
    const char* name;
    std::optional<QString> text;
  };
  const Case cases[] = {
      {"State", QStringLiteral("0")},
      {"Top", QStringLiteral("-7")},
      {"LineStyle", QStringLiteral("3")},
      {"LineColor", QStringLiteral("-16777211")},
      {"Dist1", QStringLiteral("7")},
      {"Dist3", QStringLiteral("9")},
      {"Half", QStringLiteral("5")},
      {"Cu", QStringLiteral("x!")},
      // Names of sub-sections, or none of the table's.
      {"Style", std::nullopt},
      {"Line", std::nullopt},
      {"Dist", std::nullopt},
      {"top", std::nullopt},
      {"", std::nullopt},
  };
  IniFile saved;
  WholeKeys().Write(w, saved, QStringLiteral("W"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString name = QString::fromLatin1(c.name);
    EXPECT_EQ(WholeKeys().TextOf(w, name), c.text);
    if (c.text) {
      EXPECT_EQ(saved.ReadString(QStringLiteral("W"), name, {}), *c.text);
    }
  }
  // Out of the normal state the place is not written, so it has no text.
  w.State = 1;
  EXPECT_EQ(WholeKeys().TextOf(w, QStringLiteral("Top")), std::nullopt);
  EXPECT_EQ(WholeKeys().TextOf(w, QStringLiteral("State")), QStringLiteral("1"));
}

}  // namespace
}  // namespace qz
