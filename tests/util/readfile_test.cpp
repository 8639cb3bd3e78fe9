#include "util/readfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/readerrig.h"
#include "common/testfiles.h"
#include "util/firststart.h"
#include "util/inifile.h"
#include "util/strtools.h"

namespace qz {
namespace {

using testing::CheckReaderTable;
using testing::ReadAll;
using testing::ReaderOutcome;
using testing::WriteAll;

struct KindCase {
  TFileKind kind;
  int64_t limit;
  const char* limitText;
};

const KindCase kKinds[] = {
    {TFileKind::Setup, 16 << 20, "a setup file may have at most 16 MiB"},
    {TFileKind::SParams, 16 << 20, "an S-parameter file may have at most 16 MiB"},
    {TFileKind::Scenario, 16 << 20, "a scenario file may have at most 16 MiB"},
    {TFileKind::List, 4 << 20, "a list file may have at most 4 MiB"},
    {TFileKind::TunMem, 4 << 20, "a tuner memory file may have at most 4 MiB"},
    {TFileKind::PortConfig, 64 << 10, "a configuration file may have at most 64 KiB"},
    {TFileKind::Other, 64 << 20, "a file may have at most 64 MiB"},
};

TEST(ReadRegularFile, LimitsAndTheirTexts) {
  for (const KindCase& c : kKinds) {
    EXPECT_EQ(FileKindLimit(c.kind), c.limit) << c.limitText;
    EXPECT_EQ(TooLargeText(QStringLiteral("/x/a b"), c.kind),
              QStringLiteral("\"/x/a b\" is too large: ") + QString::fromLatin1(c.limitText));
    EXPECT_EQ(TooLargeToWriteText(QStringLiteral("/x/l.txt"), c.kind),
              QStringLiteral("\"/x/l.txt\" is not written: ") + QString::fromLatin1(c.limitText));
  }
}

TEST(ReadRegularFile, EveryKindOverTheSpecialInputs) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const KindCase& c : kKinds) {
    CheckReaderTable("ReadRegularFile", dir.filePath(QStringLiteral("in.dat")), c.limit,
                     c.limitText, [&](const QString& path) {
                       const TReadFileResult r = ReadRegularFile(path, c.kind);
                       return ReaderOutcome{r.ok(), r.reason};
                     });
  }
}

TEST(ReadRegularFile, ReadsExactlyUpToTheLimit) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("RS232.CFG"));
  const QByteArray full(64 * 1024, 'x');
  WriteAll(path, full);
  TReadFileResult r = ReadRegularFile(path, TFileKind::PortConfig);
  ASSERT_TRUE(r.ok()) << r.reason.toStdString();
  EXPECT_EQ(r.bytes, full);
  WriteAll(path, full + 'y');
  r = ReadRegularFile(path, TFileKind::PortConfig);
  EXPECT_EQ(r.status, TReadFileStatus::TooLarge);
  EXPECT_TRUE(r.bytes.isEmpty());
  EXPECT_EQ(r.cause, QStringLiteral("too large: a configuration file may have at most 64 KiB"));
  // Missing and unreadable are told apart from the refused kinds.
  r = ReadRegularFile(dir.filePath(QStringLiteral("none")), TFileKind::Setup);
  EXPECT_EQ(r.status, TReadFileStatus::Missing);
  const QString dangling = dir.filePath(QStringLiteral("dangling"));
  ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dangling));
  EXPECT_EQ(ReadRegularFile(dangling, TFileKind::Setup).status, TReadFileStatus::Missing);
  const TReadFileResult fifoProbe = [&] {
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    testing::MakeReaderInput(testing::ReaderInput::Fifo, fifo, 0);
    return ProbeRegularFile(fifo, TFileKind::Setup);
  }();
  EXPECT_EQ(fifoProbe.status, TReadFileStatus::NotRegularFile);
  EXPECT_EQ(fifoProbe.cause, QStringLiteral("not a regular file"));
}

TEST(IniFileReader, RefusesTheSpecialInputsAndReadsTheOthers) {
  QTemporaryDir dir;
  CheckReaderTable("IniFile::Reload", dir.filePath(QStringLiteral("QzSim0.ini")), 16 << 20,
                   "a setup file may have at most 16 MiB", [](const QString& path) {
                     IniFile ini(path);
                     // Empty and binary files read as before: no error, nothing usable.
                     return ReaderOutcome{ini.ErrorText().isEmpty(), ini.ErrorText()};
                   });
}

TEST(IniFileReader, SaveOverTheLimitIsRefusedAndTheOldFileStays) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("big.stp"));
  WriteAll(path, "[QuzarForm]\r\nTop=1\r\n");
  IniFile ini(path);
  ini.WriteString(QStringLiteral("QuzarForm"), QStringLiteral("Huge"),
                  QString(16 * 1024 * 1024, QLatin1Char('v')));
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_EQ(
      ini.ErrorText(),
      QStringLiteral("\"%1\" is not written: a setup file may have at most 16 MiB").arg(path));
  EXPECT_EQ(ReadAll(path), QByteArray("[QuzarForm]\r\nTop=1\r\n"));
}

// Only blanks and tabs are trimmed from written values and names; a no-break space is text
// (a file name may begin with one) and comes back after a save and a load, from a file in
// UTF-8 as from one in Latin-1.
TEST(IniFileReader, NoBreakSpaceSurvivesSaveAndLoad) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("nbsp.stp"));
  const QString name = QChar(0x00A0) + QStringLiteral("run.log");
  struct Case {
    const char* label;
    QByteArray fileBytes;  // empty: the value is written through WriteString
  };
  const Case cases[] = {{"written", {}},
                        {"UTF-8 file", QByteArray("[LogForm]\r\nLogFileName=\xC2\xA0run.log\r\n")},
                        {"Latin-1 file", QByteArray("[LogForm]\r\nLogFileName=\xA0run.log\r\n")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    QFile::remove(path);
    if (!c.fileBytes.isEmpty()) WriteAll(path, c.fileBytes);
    {
      IniFile ini(path);
      if (c.fileBytes.isEmpty())
        ini.WriteString(QStringLiteral("LogForm"), QStringLiteral("LogFileName"), name);
      EXPECT_EQ(ini.ReadString(QStringLiteral("LogForm"), QStringLiteral("LogFileName"), {}), name);
      // Written again through WriteString, as the log window's WriteStp does.
      ini.WriteString(QStringLiteral("LogForm"), QStringLiteral("LogFileName"),
                      ini.ReadString(QStringLiteral("LogForm"), QStringLiteral("LogFileName"), {}));
      ini.WriteString(QStringLiteral("LogForm"), QChar(0x00A0) + QStringLiteral("Key"),
                      QStringLiteral("v"));
      ASSERT_TRUE(ini.SaveAs(path));
    }
    IniFile back(path);
    EXPECT_EQ(back.ReadString(QStringLiteral("LogForm"), QStringLiteral("LogFileName"), {}), name);
    EXPECT_EQ(back.ReadSection(QStringLiteral("LogForm")).value(1),
              QChar(0x00A0) + QStringLiteral("Key"));
  }
  // Blanks and tabs around a value are still not kept, since the reader drops them.
  IniFile ini;
  ini.WriteString(QStringLiteral("S"), QStringLiteral(" \tK\t "), QStringLiteral("\t v \t"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("K"), {}), QStringLiteral("v"));
}

TEST(FirstStartCopies, NewFilesOfTheUserAndNoSpecialFileCopied) {
  QTemporaryDir dir;
  const QString data = dir.filePath(QStringLiteral("data"));
  const QString user = dir.filePath(QStringLiteral("user"));
  ASSERT_TRUE(QDir().mkpath(data));
  ASSERT_TRUE(QDir().mkpath(user));
  WriteAll(data + QStringLiteral("/QzSim0.ini"), "[QuzarForm]\r\n");
  ASSERT_TRUE(QFile::setPermissions(data + QStringLiteral("/QzSim0.ini"),
                                    QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
  ASSERT_TRUE(testing::MakeReaderInput(testing::ReaderInput::Fifo,
                                       data + QStringLiteral("/QzSim1.ini"), 0));
  ASSERT_TRUE(testing::MakeReaderInput(testing::ReaderInput::DevZeroLink,
                                       data + QStringLiteral("/TuZero.mem"), 0));
  WriteAll(data + QStringLiteral("/TuOne.mem"), "mem");
  const mode_t oldMask = ::umask(077);
  int copied = 0;
  {
    testing::Watchdog dog("CopyDefaultFiles");
    copied = CopyDefaultFiles(data, user + QLatin1Char('/'));
  }
  ::umask(oldMask);
  EXPECT_EQ(copied, 2);
  EXPECT_EQ(ReadAll(user + QStringLiteral("/QzSim0.ini")), QByteArray("[QuzarForm]\r\n"));
  EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("/QzSim1.ini")));
  EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("/TunMem/TuZero.mem")));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(user + QStringLiteral("/QzSim0.ini")).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(QFile::encodeName(user + QStringLiteral("/TunMem/TuOne.mem")).constData(), &st),
            0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(OneLine, LineBreakRunsBecomeOneBlank) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"plain", "plain"},
               {"a\r\nb", "a b"},
               {"a\n\n\r\r\nb", "a b"},
               {"\r\nlead", " lead"},
               {"trail\n", "trail "},
               {"a \r\n b", "a   b"},
               {"", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(OneLine(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

}  // namespace
}  // namespace qz
