#include "util/strtools.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(StrTools, BoolCharAndTextToBool) {
  EXPECT_EQ(BoolChar(true), QChar('T'));
  EXPECT_EQ(BoolChar(false), QChar('F'));
  struct Case {
    const char* s;
    bool b;
  } cases[] = {{"1", true},   {"T", true},   {"true", true}, {"y", true},
               {"Yes", true}, {"0", false},  {"F", false},   {"", false},
               {"N", false},  {" T", false}, {"2", false},   {"x1", false}};
  for (const Case& c : cases) EXPECT_EQ(TextToBool(QString::fromLatin1(c.s)), c.b) << c.s;
}

TEST(StrTools, CutAtTakesTheFirstFieldAndTrimsTheRest) {
  struct Case {
    const char* s;
    char sep;
    const char* field;
    const char* rest;
  } cases[] = {
      {"  abc, def ", ',', "abc", "def"},
      {"a\tb c", ' ', "a", "b c"},    // a tab separates like a blank
      {"a b\tc", '\t', "a", "b\tc"},  // and a blank like a tab
      {"abc", ',', "abc", ""},
      {"   ", ',', "", ""},
      {",x", ',', "", "x"},
      {"a,,b", ',', "a", ",b"},
      {"a b", ',', "a b", ""},  // a blank is no comma
  };
  for (const Case& c : cases) {
    QString s = QString::fromLatin1(c.s);
    EXPECT_EQ(CutAt(s, QLatin1Char(c.sep)), QString::fromLatin1(c.field)) << c.s;
    EXPECT_EQ(s, QString::fromLatin1(c.rest)) << c.s;
  }
  QString s = QStringLiteral("Hello world  again");
  EXPECT_EQ(CutWord(s), QStringLiteral("Hello"));
  EXPECT_EQ(s, QStringLiteral("world  again"));
}

TEST(StrTools, SplitKeyValue) {
  struct Case {
    const char* s;
    const char* key;
    const char* rest;
  } cases[] = {
      {"Key = value ; comment", "Key ", "value"},
      {"novalue", "", "novalue"},
      {"a=b=c", "a", "b=c"},
      {"k=", "k", ""},
      {" k = v;x;y", " k ", "v"},
      {"no value ; x", "", "no value ; x"},
  };
  for (const Case& c : cases) {
    QString s = QString::fromLatin1(c.s);
    EXPECT_EQ(SplitKeyValue(s), QString::fromLatin1(c.key)) << c.s;
    EXPECT_EQ(s, QString::fromLatin1(c.rest)) << c.s;
  }
}

TEST(StrTools, PrefixedIntegers) {
  struct Case {
    const char* s;
    int lo, hi;
    bool ok;
    int value;
  } cases[] = {
      {"Mot12", 0, 20, true, 12}, {"Mot21", 0, 20, false, 0},
      {"Motx", 0, 20, false, 0},  {"Mot", 0, 20, false, 0},
      {"Mot-3", -5, 5, true, -3}, {"XYZ5", 0, 9, true, 5},  // only the length of the prefix counts
  };
  for (const Case& c : cases) {
    int v = 0;
    EXPECT_EQ(PrefixedInt(QString::fromLatin1(c.s), QStringLiteral("Mot"), c.lo, c.hi, &v), c.ok)
        << c.s;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.s;
    }
  }

  struct Pair {
    const char* s;
    bool ok;
    int a, b;
  } pairs[] = {
      {"P3_7", true, 3, 7},    {"P12_34", true, 12, 34}, {"P3_", false, 0, 0},
      {"P37", false, 0, 0},    {"P77_7", false, 0, 0},   {"P3_x", false, 0, 0},
      {"P3_100", false, 0, 0}, {"P_12", false, 0, 0},
  };
  for (const Pair& p : pairs) {
    int a = 0, b = 0;
    EXPECT_EQ(PrefixedIntPair(QString::fromLatin1(p.s), QStringLiteral("P"), 0, 50, 0, 99, &a, &b),
              p.ok)
        << p.s;
    if (p.ok) {
      EXPECT_EQ(a, p.a) << p.s;
      EXPECT_EQ(b, p.b) << p.s;
    }
  }
}

TEST(StrTools, GroupDigitsFromTheRight) {
  struct Case {
    const char* s;
    int n;
    const char* want;
  } cases[] = {
      {"1234567", 3, "1 234 567"}, {"123456", 3, "123 456"}, {"12", 3, "12"},    {"", 3, ""},
      {"1234", 1, "1 2 3 4"},      {"abc", 0, "abc"},        {"abc", -2, "abc"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GroupDigits(QString::fromLatin1(c.s), c.n), QString::fromLatin1(c.want)) << c.s;
  }
}

TEST(StrTools, BlanksPaddingAndLines) {
  EXPECT_EQ(RemoveBlanks(QStringLiteral(" a b  c ")), QStringLiteral("abc"));
  EXPECT_EQ(PadText(QStringLiteral("7"), 3, QLatin1Char('0'), true), QStringLiteral("007"));
  EXPECT_EQ(PadText(QStringLiteral("ab"), 4, QLatin1Char('.'), false), QStringLiteral("ab.."));
  EXPECT_EQ(PadText(QStringLiteral("abcdef"), 3, QLatin1Char('0'), true), QStringLiteral("abcdef"));

  QString msg;
  AppendLine(msg, QStringLiteral("x"));
  EXPECT_EQ(msg, QStringLiteral("x"));
  AppendLine(msg, QString());
  EXPECT_EQ(msg, QStringLiteral("x"));
  AppendLine(msg, QStringLiteral("y"));
  EXPECT_EQ(msg, QStringLiteral("x\n\ry"));  // line feed before carriage return
}

}  // namespace
}  // namespace qz
