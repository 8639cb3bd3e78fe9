// The live data item: its text, when it is published, the "Co&mmun" menu's captions and the
// setup keys.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "app/ddeitem.h"
#include "util/asker.h"
#include "util/clock.h"
#include "util/inifile.h"

namespace qz {
namespace {

THresults Result() {
  THresults r;
  r.je_qv = true;
  r.ErrByte = 2;
  r.FreD = 2.45e9;
  r.Mag_m = 0.1234;
  r.Pha_m = 45.26;
  r.Mag_z = 0.5;
  r.Pha_z = -90.0;
  r.Pinc = 1000.0;
  r.Prfl = 0.000123456;
  r.Temp = 25.0;
  return r;
}

TMotState Motors() {
  TMotState m;
  m.ActPos = MakeMotPos(100, 250, 0);
  m.MotStatus = 3;
  m.MotError = 0;
  return m;
}

TEST(BuildDdeString, FifteenValuesEachFollowedByTheDelimiter) {
  const THresults r = Result();
  const TMotState m = Motors();
  const QString tab = BuildDdeString(16, r, m, 0.01, ddTab);
  EXPECT_EQ(tab, QStringLiteral("16\t2\t2450.000\t0.123\t45.3\t0.500\t-90.0\t1000\t0.00012346\t"
                                "25.0\t1.00\t2.50\t0.00\t3\t0\t"));
  EXPECT_EQ(tab.count(QLatin1Char('\t')), 15);
  EXPECT_EQ(tab.split(QLatin1Char('\t'), Qt::SkipEmptyParts).size(), 15);

  const struct {
    TDdeDelim d;
    const char* sep;
  } delims[] = {{ddCrLf, "\r\n"}, {ddSpace, " "}, {ddSemicolon, ";"}, {9, "\r\n"}};
  for (const auto& c : delims) {
    QString expected = tab;
    expected.replace(QLatin1Char('\t'), QString::fromLatin1(c.sep));
    EXPECT_EQ(BuildDdeString(16, r, m, 0.01, c.d), expected) << "delimiter " << c.d;
  }
}

TEST(BuildDdeString, FiveSignificantDigitsRuleOnPowers) {
  const struct {
    double p;
    const char* text;
  } cases[] = {
      {0.0, "0"},           {1234.5, "1234.5"},        {99999.0, "99999"}, {123456.0, "1.2346E5"},
      {0.00001, "0.00001"}, {0.000001234, "1.234E-6"}, {0.5, "0.5"},       {-2.5, "-2.5"},
  };
  const TMotState m = Motors();
  for (const auto& c : cases) {
    THresults r = Result();
    r.Pinc = c.p;
    r.Prfl = c.p;
    const QStringList f = BuildDdeString(0, r, m, 0.01, ddSemicolon).split(QLatin1Char(';'));
    ASSERT_EQ(f.size(), 16);
    EXPECT_EQ(f[7], QString::fromLatin1(c.text)) << c.p;
    EXPECT_EQ(f[8], QString::fromLatin1(c.text)) << c.p;
  }
}

class DdeItemTest : public ::testing::Test {
 protected:
  TMerObjekt mob{};
  TMotState mot = Motors();
  TTunerDescr descr;
  ManualClock clock;
  TDdeItem item{mob, mot, descr, &clock};
  int published = 0;
  QString last;

  void SetUp() override {
    item.OnPublish = [this] {
      ++published;
      last = item.DdeStr();
    };
  }
};

TEST_F(DdeItemTest, FirstAcceptedFramePublishedEvenWithLongWait) {
  item.On = true;
  item.DdeWait_ms = 10000;
  item.DdeDelim = ddTab;
  mob[0] = 0x21;
  item.PublishIfDue(Result());
  EXPECT_EQ(published, 1);
  EXPECT_TRUE(item.DdeStr().startsWith(QStringLiteral("33\t2\t")));
  EXPECT_EQ(item.DdeStr(), last);
  // Within the interval nothing changes.
  THresults r2 = Result();
  r2.ErrByte = 7;
  clock.AdvanceMs(9999);
  item.PublishIfDue(r2);
  EXPECT_EQ(published, 1);
  EXPECT_TRUE(item.DdeStr().startsWith(QStringLiteral("33\t2\t")));
  clock.AdvanceMs(1);
  item.PublishIfDue(r2);
  EXPECT_EQ(published, 2);
  EXPECT_TRUE(item.DdeStr().startsWith(QStringLiteral("33\t7\t")));
}

TEST_F(DdeItemTest, WaitZeroPublishesEveryFrame) {
  item.On = true;
  item.DdeWait_ms = 0;
  for (int i = 0; i < 5; ++i) item.PublishIfDue(Result());
  EXPECT_EQ(published, 5);
}

// The text is built when it is read, yet it is the text of the publication: what changes
// afterwards (the frame buffer, the stubs, the scale, the delimiter) waits for the next one.
TEST_F(DdeItemTest, TheTextIsThePublicationsEvenWhenReadAfterTheSourcesChanged) {
  item.On = true;
  item.DdeWait_ms = 0;
  item.DdeDelim = ddTab;
  descr.MmPerStep = 0.01;
  mob[0] = 16;
  item.PublishIfDue(Result());
  mob[0] = 99;
  mot.ActPos = MakeMotPos(7, 7, 7);
  mot.MotStatus = 9;
  descr.MmPerStep = 1.0;
  item.DdeDelim = ddSemicolon;
  const QString first = QStringLiteral(
      "16\t2\t2450.000\t0.123\t45.3\t0.500\t-90.0\t1000\t0.00012346\t25.0\t"
      "1.00\t2.50\t0.00\t3\t0\t");
  EXPECT_EQ(item.DdeStr(), first);
  EXPECT_EQ(item.DdeStr(), first);  // read again: the same text
  // The next frame takes everything as it is now.
  THresults r = Result();
  r.ErrByte = 5;
  item.PublishIfDue(r);
  EXPECT_EQ(item.DdeStr(),
            QStringLiteral("99;5;2450.000;0.123;45.3;0.500;-90.0;1000;0.00012346;25.0;7.00;7.00;"
                           "7.00;9;0;"));
}

// At DDE Wait 0 every frame's text is the item's at once; a longer wait set afterwards counts
// from the first publication after it; a wait shortened to 0 while a longer one runs lets that
// one run out first.
TEST_F(DdeItemTest, WaitChangesBetweenZeroAndLongerTakeEffectAtTheNextPublication) {
  item.On = true;
  item.DdeDelim = ddSemicolon;
  auto frame = [&](int err) {
    THresults r = Result();
    r.ErrByte = uint8_t(err);
    item.PublishIfDue(r);
    return item.DdeStr().section(QLatin1Char(';'), 1, 1).toInt();
  };
  const struct {
    int32_t wait;   // set before the frame
    int advanceMs;  // the clock moves before the frame
    int err;        // the frame's error byte
    int shown;      // the item's error byte after it
  } steps[] = {
      {0, 0, 1, 1},      {0, 0, 2, 2},        {0, 1, 3, 3},     // every frame
      {1000, 0, 4, 4},   {1000, 999, 5, 4},   {1000, 1, 6, 6},  // the first at once, then 1 s
      {0, 1000, 7, 7},   {0, 0, 8, 8},                          // 1 s ran out: every frame
      {5000, 0, 9, 9},   {5000, 10, 10, 9},   {0, 10, 11, 9},   // 0 while 5 s run
      {0, 4980, 12, 12}, {0, 0, 13, 13},                        // they ran out: every frame
      {1000, 0, 14, 14}, {1000, 500, 15, 14}, {1000, 500, 16, 16},
  };
  int n = 0;
  for (const auto& s : steps) {
    item.DdeWait_ms = s.wait;
    clock.AdvanceMs(uint32_t(s.advanceMs));
    EXPECT_EQ(frame(s.err), s.shown) << "step " << n;
    ++n;
  }
  EXPECT_EQ(published, 12);
}

TEST_F(DdeItemTest, SwitchedOffPublishesNothing) {
  item.DdeWait_ms = 0;
  item.PublishIfDue(Result());
  EXPECT_EQ(published, 0);
  EXPECT_TRUE(item.DdeStr().isEmpty());
}

TEST_F(DdeItemTest, StubPositionsUseTheTunerScale) {
  item.On = true;
  descr.MmPerStep = 0.025;
  item.DdeDelim = ddSemicolon;
  item.PublishIfDue(Result());
  const QStringList f = item.DdeStr().split(QLatin1Char(';'));
  ASSERT_EQ(f.size(), 16);
  EXPECT_EQ(f[10], QStringLiteral("2.50"));
  EXPECT_EQ(f[11], QStringLiteral("6.25"));
  EXPECT_EQ(f[12], QStringLiteral("0.00"));
}

TEST_F(DdeItemTest, MenuCaptionsAndEnabling) {
  EXPECT_EQ(item.ServerCaption(), QStringLiteral("DDE Server  (OFF)"));
  EXPECT_EQ(item.DelimCaption(), QStringLiteral("Delimiter  (CRLF)"));
  EXPECT_EQ(item.WaitCaption(), QStringLiteral("DDE Wait  (10000 ms)"));
  EXPECT_FALSE(item.SubItemsEnabled());
  item.ToggleServer();
  EXPECT_EQ(item.ServerCaption(), QStringLiteral("DDE Server  (ON)"));
  EXPECT_TRUE(item.SubItemsEnabled());
  const char* names[] = {"Delimiter  (CRLF)", "Delimiter  (Tab)", "Delimiter  (Space)",
                         "Delimiter  (;)"};
  for (int d = 0; d < kDdeDelimCount; ++d) {
    item.SetDelim(d);
    EXPECT_EQ(item.DelimCaption(), QString::fromLatin1(names[d]));
  }
  item.SetDelim(4);
  EXPECT_EQ(item.DdeDelim, ddSemicolon);
}

TEST_F(DdeItemTest, WaitIsAskedWithinItsLimits) {
  const struct {
    const char* answer;
    bool ok;
    int32_t expected;
  } cases[] = {{"250", true, 250},
               {"20000", true, 10000},
               {"-5", true, 0},
               {"x", true, 10000},
               {"300", false, 10000}};
  for (const auto& c : cases) {
    TScriptedAsker asker;
    asker.quiet = true;
    if (c.ok)
      asker.QueueText(QString::fromLatin1(c.answer));
    else
      asker.QueueCancel();
    item.DdeWait_ms = 10000;
    item.AskWait(asker);
    EXPECT_EQ(item.DdeWait_ms, c.expected) << c.answer;
    ASSERT_FALSE(asker.log.empty());
    EXPECT_TRUE(asker.log.front().text.contains(QStringLiteral("DDE messaging period (ms)")))
        << asker.log.front().text.toStdString();
  }
}

TEST_F(DdeItemTest, SetupKeysRoundTripAndAreLimited) {
  QTemporaryDir dir;
  IniFile ini(dir.filePath(QStringLiteral("s.ini")));
  item.On = true;
  item.DdeDelim = ddSpace;
  item.DdeWait_ms = 250;
  item.WriteStp(ini, QStringLiteral("QuzarForm"));
  EXPECT_EQ(ini.ReadString("QuzarForm", "miDdeOn", ""), QStringLiteral("1"));
  EXPECT_EQ(ini.ReadString("QuzarForm", "DdeDelim", ""), QStringLiteral("2"));
  EXPECT_EQ(ini.ReadString("QuzarForm", "DdeWait_ms", ""), QStringLiteral("250"));

  TDdeItem other(mob, mot, descr, &clock);
  other.ReadStp(ini, QStringLiteral("QuzarForm"));
  EXPECT_TRUE(other.On);
  EXPECT_EQ(other.DdeDelim, ddSpace);
  EXPECT_EQ(other.DdeWait_ms, 250);

  ini.WriteString("QuzarForm", "DdeDelim", "7");
  ini.WriteString("QuzarForm", "DdeWait_ms", "-3");
  other.ReadStp(ini, QStringLiteral("QuzarForm"));
  EXPECT_EQ(other.DdeDelim, ddSemicolon);
  EXPECT_EQ(other.DdeWait_ms, 0);
  // Missing keys: the switch and delimiter stay, the interval takes its default.
  IniFile empty(dir.filePath(QStringLiteral("e.ini")));
  other.ReadStp(empty, QStringLiteral("QuzarForm"));
  EXPECT_TRUE(other.On);
  EXPECT_EQ(other.DdeDelim, ddSemicolon);
  EXPECT_EQ(other.DdeWait_ms, 10000);
}

TEST(DdeStp, WholeRecordRoundTrip) {
  TDdeStp a;
  a.On = true;
  a.DdeDelim = ddTab;
  a.DdeWait_ms = 0;
  IniFile ini;
  a.WriteStp(ini, QStringLiteral("QuzarForm"));
  EXPECT_EQ(ini.Text(), QByteArray("[QuzarForm]\r\nmiDdeOn=1\r\nDdeDelim=1\r\nDdeWait_ms=0\r\n"));
  TDdeStp b;
  b.ReadStp(ini, QStringLiteral("QuzarForm"));
  EXPECT_EQ(b, a);
}

}  // namespace
}  // namespace qz
