// The key table of a setup section: whole-record round trips, limits on reading, defaults of
// missing and unreadable keys, and the written text.
#include "util/stpkeys.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qz
