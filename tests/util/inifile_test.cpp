#include "util/inifile.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include "common/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <limits>

namespace qz {
namespace {

using testing::FileSizeLimit;
using testing::ReadAll;
using testing::WriteAll;

TEST(IniFile, SectionsAndKeysMatchInAnyLetterCase) {
  IniFile ini;
  ini.SetText("[QvTuStp1]\r\nRect_Acc_Lvl=7\r\n");
  EXPECT_EQ(ini.ReadInteger("QVTUSTP1", "RECT_ACC_LVL", 0), 7);
  EXPECT_EQ(ini.ReadInteger("qvtustp1", "rect_acc_lvl", 0), 7);
  EXPECT_TRUE(ini.SectionExists("qvTUstp1"));
  EXPECT_TRUE(ini.ValueExists("QvTuStp1", "rect_ACC_lvl"));
  EXPECT_FALSE(ini.ValueExists("QvTuStp1", "Other"));

  // Writing under another letter case replaces the value in place, with the file's spelling.
  ini.WriteInteger("QVTUSTP1", "rect_acc_lvl", 9);
  EXPECT_EQ(ini.ReadSections(), QStringList{"QvTuStp1"});
  EXPECT_EQ(ini.ReadSection("qvtustp1"), QStringList{"Rect_Acc_Lvl"});
  EXPECT_EQ(ini.ReadInteger("QvTuStp1", "Rect_Acc_Lvl", 0), 9);

  ini.DeleteKey("QVTUSTP1", "RECT_ACC_LVL");
  EXPECT_FALSE(ini.ValueExists("QvTuStp1", "Rect_Acc_Lvl"));
  ini.EraseSection("qvtustp1");
  EXPECT_FALSE(ini.SectionExists("QvTuStp1"));
}

TEST(IniFile, FileOrderIsKeptAfterARewrite) {
  QTemporaryDir dir;
  const QString path = dir.filePath("order.ini");
  WriteAll(path, "[Zeta]\r\nc=1\r\na=2\r\nb=3\r\n\r\n[Alpha]\r\nz=1\r\ny=2\r\n");
  {
    IniFile ini(path);
    ini.WriteInteger("zeta", "A", 20);  // existing key keeps its place
    ini.WriteInteger("Alpha", "x", 3);  // a new key goes to the end of its section
    ini.WriteInteger("Mid", "k", 1);    // a new section goes to the end of the file
    ASSERT_TRUE(ini.UpdateFile());
  }
  IniFile again(path);
  EXPECT_EQ(again.ReadSections(), (QStringList{"Zeta", "Alpha", "Mid"}));
  EXPECT_EQ(again.ReadSection("Zeta"), (QStringList{"c", "a", "b"}));
  EXPECT_EQ(again.ReadSection("Alpha"), (QStringList{"z", "y", "x"}));
  EXPECT_EQ(again.ReadInteger("Zeta", "a", 0), 20);
  // An erased section written again goes to the end.
  again.EraseSection("ZETA");
  again.WriteInteger("Zeta", "c", 1);
  EXPECT_EQ(again.ReadSections(), (QStringList{"Alpha", "Mid", "Zeta"}));
}

TEST(IniFile, ValuesAreRaw) {
  QTemporaryDir dir;
  const QString path = dir.filePath("raw.ini");
  const QStringList values = {"run 1, 2; x\\y",    "\"quoted\"",     "a=b",
                              "C:\\data\\run.txt", "#not a comment", "100%"};
  {
    IniFile ini(path);
    for (int i = 0; i < values.size(); ++i) ini.WriteString("S", QString("k%1").arg(i), values[i]);
    for (int i = 0; i < values.size(); ++i)
      EXPECT_EQ(ini.ReadString("S", QString("k%1").arg(i), ""), values[i]);
    ASSERT_TRUE(ini.UpdateFile());
  }
  IniFile again(path);
  for (int i = 0; i < values.size(); ++i) {
    EXPECT_EQ(again.ReadString("S", QString("k%1").arg(i), "?"), values[i]) << i;
  }
  // The file holds key=value without blanks.
  EXPECT_TRUE(ReadAll(path).contains("k0=run 1, 2; x\\y\r\n"));
}

TEST(IniFile, NumericReadsFallBackToTheDefault) {
  struct Case {
    const char* text;
    bool intOk;
    int32_t intValue;
    bool floatOk;
    double floatValue;
  };
  const Case cases[] = {
      {"nan", false, 0, false, 0},
      {"inf", false, 0, false, 0},
      {"1e999", false, 0, false, 0},
      {"12abc", false, 0, false, 0},
      {"3000000000", false, 0, true, 3e9},
      {"-2147483648", true, INT32_MIN, true, -2147483648.0},
      {"2147483647", true, INT32_MAX, true, 2147483647.0},
      {"2147483648", false, 0, true, 2147483648.0},
      {"0x10", false, 0, false, 0},
      {"12", true, 12, true, 12},
      {"-7", true, -7, true, -7},
      {"2.5", false, 0, true, 2.5},
      {"2,5", false, 0, false, 0},
      {"1e3", false, 0, true, 1000},
      {"", false, 0, false, 0},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.SetText(QByteArray("[S]\r\nv=") + c.text + "\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "v", 4242), c.intOk ? c.intValue : 4242) << c.text;
    EXPECT_EQ(ini.ReadFloat("S", "v", -1.5), c.floatOk ? c.floatValue : -1.5) << c.text;
  }
  IniFile ini;
  EXPECT_EQ(ini.ReadInteger("S", "missing", 5), 5);
  EXPECT_EQ(ini.ReadFloat("S", "missing", 0.25), 0.25);
  EXPECT_EQ(ini.ReadString("S", "missing", "dflt"), "dflt");
}

TEST(IniFile, BooleanReads) {
  struct Case {
    const char* text;
    bool def;
    bool expected;
  };
  const Case cases[] = {
      {"1", false, true},   {"0", true, false},    {"2", false, true},     {"-1", false, true},
      {"0.0", true, false}, {"yes", false, false}, {"true", false, false}, {"true", true, true},
      {"", true, true},     {"", false, false},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.SetText(QByteArray("[S]\nb=") + c.text + "\n");
    EXPECT_EQ(ini.ReadBool("S", "b", c.def), c.expected) << c.text << " def " << c.def;
  }
  IniFile ini;
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  EXPECT_EQ(ini.SectionLines("S"), (QStringList{"t=1", "f=0"}));
}

TEST(IniFile, DoublesReadBackExactly) {
  const double values[] = {
      0.1,  1.0 / 3.0, 2.45e9, -1e-300, 123456789.123456789, 5e-324, 1.7976931348623157e308,
      -0.0, 42.0};
  for (double v : values) {
    IniFile ini;
    ini.WriteFloat("S", "d", v);
    const QString text = ini.ReadString("S", "d", "");
    EXPECT_FALSE(text.contains(',')) << text.toStdString();
    IniFile back;
    back.SetText(ini.Text());
    EXPECT_EQ(back.ReadFloat("S", "d", 999.0), v) << text.toStdString();
  }
  EXPECT_EQ(IniFile::FloatText(0.1), "0.1");
  EXPECT_EQ(IniFile::FloatText(2.45e9), "2450000000");
  EXPECT_EQ(IniFile::FloatText(-0.5), "-0.5");
  EXPECT_EQ(IniFile::FloatText(1e-20), "1e-20");
  EXPECT_EQ(IniFile::FloatText(1e300), "1e+300");
  EXPECT_EQ(IniFile::FloatText(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(IniFile::FloatText(INFINITY), "0");
}

TEST(IniFile, LineBreaksInWrittenValuesCannotStartASection) {
  QTemporaryDir dir;
  const QString path = dir.filePath("evil.ini");
  {
    IniFile ini(path);
    ini.WriteString("Good", "Comment", "first\r\n[Evil]\r\nx=1");
    ini.WriteString("Good\n[Evil2]", "k\r\nEvil=3", "v");
    ASSERT_TRUE(ini.UpdateFile());
  }
  IniFile again(path);
  EXPECT_FALSE(again.SectionExists("Evil"));
  EXPECT_FALSE(again.SectionExists("Evil2"));
  EXPECT_EQ(again.ReadSections().size(), 2);
  EXPECT_EQ(again.ReadString("Good", "Comment", ""), "first[Evil]x=1");
  EXPECT_FALSE(again.ValueExists("Good", "x"));
}

TEST(IniFile, LineEndsByteOrderMarkAndLatin1AreRead) {
  const QByteArray lf = "[Sec]\nName=Abc\nNum=12\n\n[Two]\nX=1.5\n";
  QByteArray crlf = lf;
  crlf.replace("\n", "\r\n");
  const QByteArray bom = QByteArray("\xEF\xBB\xBF") + crlf;
  for (const QByteArray& bytes : {lf, crlf, bom}) {
    IniFile ini;
    ini.SetText(bytes);
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Sec", "Two"}));
    EXPECT_EQ(ini.ReadString("Sec", "Name", ""), "Abc");
    EXPECT_EQ(ini.ReadInteger("Sec", "Num", 0), 12);
    EXPECT_EQ(ini.ReadFloat("Two", "X", 0), 1.5);
    EXPECT_EQ(ini.Text(), crlf);
  }
  // Latin-1 bytes ("Müller" with 0xFC) and UTF-8 text both come back as the same characters.
  IniFile latin;
  latin.SetText("[S]\r\nName=M\xFCller\r\n");
  EXPECT_EQ(latin.ReadString("S", "Name", ""), QString::fromUtf8("M\xC3\xBCller"));
  IniFile utf8;
  utf8.SetText("[S]\r\nName=M\xC3\xBCller\r\n");
  EXPECT_EQ(utf8.ReadString("S", "Name", ""), QString::fromUtf8("M\xC3\xBCller"));
}

TEST(IniFile, WrittenFileHasCrLfAndNoByteOrderMark) {
  QTemporaryDir dir;
  const QString path = dir.filePath("new.ini");
  IniFile ini(path);
  ini.WriteString("A", "k", QString::fromUtf8("\xC3\xBC"));
  ini.WriteInteger("B", "n", -5);
  ASSERT_TRUE(ini.UpdateFile());
  const QByteArray bytes = ReadAll(path);
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_EQ(bytes, "[A]\r\nk=\xC3\xBC\r\n\r\n[B]\r\nn=-5\r\n");
  EXPECT_EQ(ini.Lines(), (QStringList{"[A]", QString::fromUtf8("k=\xC3\xBC"), "", "[B]", "n=-5"}));
  EXPECT_FALSE(ini.Modified());
}

TEST(IniFile, CommentsAndUnknownSectionsSurviveARewrite) {
  IniFile ini;
  ini.SetText("; made by hand\r\n[A]\r\nk=1\r\n[Other]\r\nx=y\r\n");
  ini.WriteInteger("A", "k", 2);
  const QByteArray text = ini.Text();
  EXPECT_TRUE(text.contains("; made by hand")) << text.constData();
  EXPECT_TRUE(text.contains("[Other]\r\nx=y\r\n")) << text.constData();
}

TEST(IniFile, FailedSaveLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("QzSim0.ini");
  const QByteArray old = "[QuzarForm]\r\nTop=10\r\n";
  WriteAll(path, old);

  IniFile ini(path);
  for (int i = 0; i < 200; ++i) ini.WriteString("Big", QString("Key%1").arg(i), QString(40, 'x'));
  bool saved = true;
  {
    FileSizeLimit limit(512);
    ASSERT_TRUE(limit.ok());
    saved = ini.UpdateFile();
  }
  EXPECT_FALSE(saved);
  EXPECT_FALSE(ini.ErrorText().isEmpty());
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ReadAll(path), old);
  // No temporary file is left behind.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"QzSim0.ini"});

  // Without the limit the same save succeeds.
  EXPECT_TRUE(ini.UpdateFile());
  IniFile again(path);
  EXPECT_EQ(again.ReadInteger("QuzarForm", "Top", 0), 10);
  EXPECT_EQ(again.ReadSection("Big").size(), 200);
}

TEST(IniFile, SaveIntoAMissingFolderFails) {
  QTemporaryDir dir;
  IniFile ini(dir.filePath("no/such/folder/x.ini"));
  ini.WriteInteger("A", "b", 1);
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_FALSE(ini.ErrorText().isEmpty());
  IniFile unnamed;
  unnamed.WriteInteger("A", "b", 1);
  EXPECT_FALSE(unnamed.UpdateFile());
}

TEST(IniFile, SaveAsWritesACopyAndReloadDropsChanges) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.ini");
  WriteAll(path, "[A]\nk=1\n");
  IniFile ini(path);
  ini.WriteInteger("A", "k", 2);
  ASSERT_TRUE(ini.SaveAs(dir.filePath("b.ini")));
  EXPECT_EQ(ReadAll(dir.filePath("b.ini")), "[A]\r\nk=2\r\n");
  EXPECT_EQ(ReadAll(path), "[A]\nk=1\n");
  ASSERT_TRUE(ini.Reload());
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// Damaged headers: a name never holds a line break, a header that is not closed is no section
// and is gone after a save, and further load-save cycles give the same bytes as the first save.
TEST(IniFile, DamagedSectionHeadersAreDroppedAndSavesAreStable) {
  struct Case {
    const char* text;
    QStringList sections;  // expected after the load
  };
  const Case cases[] = {
      {"[Model\nDutType=2", {""}},
      {"[Q\r1=", {""}},
      {"[Model]\r\nA=1\r\n[Model\r\nDutType=2\r\n", {"Model"}},
      {"[Model]\nA=1\n[Tail\n", {"Model"}},
      {"[Model\r\n[Real]\r\nK=3\r\n", {"Real"}},
      {"; note\r\n[Open\r\n; second\r\n[S]\r\nk=1\r\n", {"S"}},
      {"[ A\r\nB ]\r\nk=1\r\n", {""}},
      {"[\r\n]\r\nk=1\r\n", {""}},
      {"[X]\rk=1\r[Y\rz=2\r", {"X"}},
      {"[]\r\nk=1\r\n[ ]\r\n[S]\r\nj=2\r\n", {"S"}},
      {"\r\n; first\r\n[S]\r\nk=1\r\n", {"S"}},
  };
  // A NUL byte inside a name or value is no text: it is dropped when read, and a value set with
  // one is written without it, so a write and a read give the same value.
  {
    IniFile ini;
    ini.SetText(QByteArray("[S]\r\nk=a\0b\r\n", 12));
    EXPECT_EQ(ini.ReadString("S", "k", ""), QStringLiteral("ab"));
    ini.WriteString("S", "v", QStringLiteral("x") + QChar(0) + QStringLiteral("y"));
    IniFile again;
    again.SetText(ini.Text());
    EXPECT_EQ(again.ReadString("S", "v", ""), QStringLiteral("xy"));
    EXPECT_EQ(again.ReadString("S", "k", ""), QStringLiteral("ab"));
    // NULs before an unclosed header do not make it a section that swallows the next lines.
    IniFile lead;
    lead.SetText(QByteArray("\0\0[Model\r\nk=1\r\n[S]\r\nj=2\r\n", 25));
    EXPECT_EQ(lead.ReadSections(), QStringList({"", "S"}));
    // A byte-order mark inside the text is dropped like a NUL, so saves stay stable.
    IniFile bom;
    bom.SetText(
        "[Model\r\n\xEF\xBB\xBF"
        "DutType=2\r\n");
    EXPECT_EQ(bom.ReadSection(""), QStringList({"DutType"}));
    IniFile bomAgain;
    bomAgain.SetText(bom.Text());
    EXPECT_EQ(bomAgain.Text(), bom.Text());
    // Other control characters (a tab excepted) go the same way, read or written.
    IniFile ctl;
    ctl.SetText("[S]\r\nk=0\x0c\r\nt=a\tb\r\n");
    EXPECT_EQ(ctl.ReadString("S", "k", ""), QStringLiteral("0"));
    EXPECT_EQ(ctl.ReadString("S", "t", ""), QStringLiteral("a\tb"));
    ctl.WriteString("S", "w", QStringLiteral("x\x01y\x1fz"));
    IniFile ctlAgain;
    ctlAgain.SetText(ctl.Text());
    EXPECT_EQ(ctlAgain.ReadString("S", "w", ""), QStringLiteral("xyz"));
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromLatin1(c.text).toHtmlEscaped().toStdString());
    IniFile ini;
    ini.SetText(c.text);
    for (const QString& s : ini.ReadSections()) {
      EXPECT_FALSE(s.contains('\r') || s.contains('\n')) << s.toStdString();
      EXPECT_FALSE(s.contains('[')) << s.toStdString();
      for (const QString& k : ini.ReadSection(s)) {
        EXPECT_FALSE(k.contains('\r') || k.contains('\n') || k.contains('[')) << k.toStdString();
      }
    }
    QStringList names = ini.ReadSections();
    names.removeAll(QString());
    QStringList want = c.sections;
    want.removeAll(QString());
    EXPECT_EQ(names, want);
    const QByteArray first = ini.Text();
    EXPECT_FALSE(first.contains('[') && !first.contains(']')) << first.toStdString();
    QByteArray last = first;
    for (int cycle = 0; cycle < 3; ++cycle) {
      IniFile again;
      again.SetText(last);
      last = again.Text();
      EXPECT_EQ(last, first) << "cycle " << cycle;
    }
  }
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// Any text at all: after one load and save, further cycles give the same bytes, and no name
// holds a line break or an opening bracket of a header.
TEST(IniFile, ArbitraryTextIsStableAfterTheFirstSave) {
  const char alphabet[] = "[]=;#\r\n \taB1\\\"";
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int n = 0; n < 5000; ++n) {
    QByteArray text;
    const int len = int(next() % 64);
    for (int i = 0; i < len; ++i) text.append(alphabet[next() % (sizeof alphabet - 1)]);
    SCOPED_TRACE(text.toPercentEncoding().toStdString());
    IniFile a;
    a.SetText(text);
    for (const QString& s : a.ReadSections()) {
      EXPECT_FALSE(s.contains('\r') || s.contains('\n'));
      for (const QString& k : a.ReadSection(s)) EXPECT_FALSE(k.contains('\r') || k.contains('\n'));
    }
    const QByteArray first = a.Text();
    IniFile b;
    b.SetText(first);
    const QByteArray second = b.Text();
    ASSERT_EQ(second, first);
    IniFile c;
    c.SetText(second);
    ASSERT_EQ(c.Text(), first);
  }
}

}  // namespace
}  // namespace qz
