#include "util/atomicfile.h"

#include "common/specialfiles.h"
#include "common/testfiles.h"
#include "util/inifile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>

namespace qz {
namespace {

using testing::ReadAll;

TEST(AtomicFile, WritesNewAndReplacesOld) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.txt");
  ASSERT_TRUE(WriteFileAtomic(path, QByteArray(5000, 'o')).ok());
  const AtomicWriteResult r = WriteFileAtomic(path, "new\r\n");
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.reason.isEmpty());
  EXPECT_EQ(ReadAll(path), QByteArray("new\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

TEST(AtomicFile, MissingFolderIsAnOpenFailure) {
  QTemporaryDir dir;
  const QString path = dir.filePath("missing/a.txt");
  const AtomicWriteResult r = WriteFileAtomic(path, "x");
  EXPECT_EQ(r.status, AtomicWriteStatus::OpenFailed);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_FALSE(QFile::exists(path));
}

// A write cut short (here by a file size limit, as by a full disk) keeps the old file whole and
// leaves no temporary file behind.
TEST(AtomicFile, ShortWriteKeepsOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.txt");
  ASSERT_TRUE(WriteFileAtomic(path, "old contents").ok());

  AtomicWriteResult r;
  {
    testing::FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.ok());
    r = WriteFileAtomic(path, QByteArray(100000, 'n'));
  }

  EXPECT_EQ(r.status, AtomicWriteStatus::WriteFailed);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

// A save never replaces what is not a regular file: it is refused with the one message and the
// path stays what it was (a FIFO a FIFO, a folder a folder, the device untouched).
TEST(AtomicFile, RefusesEveryTargetThatIsNoRegularFile) {
  for (const testing::SpecialPath& sp : testing::SpecialPaths()) {
    SCOPED_TRACE(sp.label);
    QTemporaryDir dir;
    const QString path = testing::MakeSpecial(sp.kind, dir.path());
    if (path.isEmpty()) continue;
    const unsigned before = testing::FileType(path);
    const AtomicWriteResult r = WriteFileAtomic(path, "must not land\r\n");
    EXPECT_EQ(r.status, AtomicWriteStatus::NotRegularFile);
    EXPECT_EQ(r.reason, "\"" + path + "\" is not a regular file");
    EXPECT_EQ(testing::FileType(path), before);
    EXPECT_TRUE(QFileInfo(path).isSymLink() == (sp.kind == testing::SpecialKind::LinkToFifo));
    // No temporary file is left behind either.
    EXPECT_TRUE(QDir(dir.path())
                    .entryList({"*.qzpart"}, QDir::Files | QDir::Hidden | QDir::System)
                    .isEmpty());
  }
}

// A link to a regular file stays a link; the file it names gets the new bytes and keeps its
// permissions.
TEST(AtomicFile, FollowsALinkAndKeepsPermissions) {
  QTemporaryDir dir;
  const QString real = dir.filePath("real.stp");
  const QString link = dir.filePath("link.stp");
  testing::WriteAll(real, "old");
  ASSERT_TRUE(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
  ASSERT_TRUE(QFile::link(real, link));
  ASSERT_TRUE(WriteFileAtomic(link, "new").ok());
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(ReadAll(real), QByteArray("new"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Temporary names belong to one target: "run.txt" never takes those of "run.txt.bak" or "run".
TEST(AtomicFile, TemporaryNamesAreRecognisedPerTarget) {
  const struct {
    const char* name;
    const char* target;
    bool mine;
  } cases[] = {
      {".run.txt.a1b2c3.qzpart", "/x/run.txt", true},
      {".run.txt.a1b2c3.qzpart", "run.txt", true},
      {".run.txt.bak.a1b2c3.qzpart", "/x/run.txt", false},
      {".run.txt.a1b2c3.qzpart", "/x/run", false},
      {".run.txt.a1b2c.qzpart", "/x/run.txt", false},
      {".run.txt.a1b2c3.qzpar", "/x/run.txt", false},
      {"run.txt.a1b2c3.qzpart", "/x/run.txt", false},
      {".run.txt.a1.b2c.qzpart", "/x/run.txt", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsAtomicTempOf(c.name, c.target), c.mine) << c.name << " / " << c.target;
  EXPECT_TRUE(IsAtomicTempOf(AtomicTempName("/x/run.txt", "zz9zz9"), "run.txt"));
}

// A leftover of an interrupted save of the same target goes at the next save; those of other
// targets, and one a running save still holds locked, stay.
TEST(AtomicFile, NextSaveRemovesLeftoverOfTheSameTargetOnly) {
  QTemporaryDir dir;
  const QString target = dir.filePath("run.txt");
  const QString leftover = dir.filePath(".run.txt.k3j2h1.qzpart");
  const QString busy = dir.filePath(".run.txt.busy01.qzpart");
  const QString other = dir.filePath(".run.txt.bak.k3j2h1.qzpart");
  for (const QString& p : {leftover, busy, other}) testing::WriteAll(p, "partial");
  const int lockFd = ::open(QFile::encodeName(busy).constData(), O_RDONLY);
  ASSERT_GE(lockFd, 0);
  ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);

  ASSERT_TRUE(WriteFileAtomic(target, "whole").ok());
  ::close(lockFd);
  EXPECT_FALSE(QFile::exists(leftover));
  EXPECT_TRUE(QFile::exists(busy));
  EXPECT_TRUE(QFile::exists(other));
  EXPECT_EQ(ReadAll(target), QByteArray("whole"));
}

// A setup saved onto a FIFO is refused with the same message; the FIFO stays.
TEST(AtomicFile, SetupSaveOntoAFifoIsRefused) {
  QTemporaryDir dir;
  const QString path = testing::MakeSpecial(testing::SpecialKind::Fifo, dir.path());
  ASSERT_FALSE(path.isEmpty());
  IniFile ini;
  ini.SetText(QByteArray("[LogForm]\r\nMaxSamples=5\r\n"));
  EXPECT_FALSE(ini.SaveAs(path));
  EXPECT_EQ(ini.ErrorText(), "\"" + path + "\" is not a regular file");
  EXPECT_EQ(testing::FileType(path), unsigned(S_IFIFO));
}

}  // namespace
}  // namespace qz
