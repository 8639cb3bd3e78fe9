#include "util/fileops.h"

#include <gtest/gtest.h>

#include "common/specialfiles.h"
#include "common/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace qz {
namespace {

using testing::ReadAll;
using testing::WriteAll;

TEST(FileOps, SplitFileName) {
  struct Case {
    const char* name;
    const char* folder;
    const char* base;
    const char* ext;
  };
  const Case cases[] = {
      {"C:/data/run.1.txt", "C:/data/", "run.1", ".txt"},
      {"C:\\data\\run.1.txt", "C:/data/", "run.1", ".txt"},
      {"/home/op/QzSim0.ini", "/home/op/", "QzSim0", ".ini"},
      {"noext", "", "noext", ""},
      {"dir.d/noext", "dir.d/", "noext", ""},
      {"C:x.txt", "C:", "x", ".txt"},
      {"/x/", "/x/", "", ""},
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    const FileNameParts p = SplitFileName(c.name);
    EXPECT_EQ(p.folder, c.folder) << c.name;
    EXPECT_EQ(p.name, c.base) << c.name;
    EXPECT_EQ(p.ext, c.ext) << c.name;
  }
}

TEST(FileOps, ChangeExt) {
  EXPECT_EQ(ChangeExt("C:/data/run.1.txt", "bak"), "C:/data/run.1.bak");
  EXPECT_EQ(ChangeExt("C:\\data\\run.1.txt", "bak"), "C:/data/run.1.bak");
  EXPECT_EQ(ChangeExt("/a.b/run", "stp"), "/a.b/run.stp");
  EXPECT_EQ(ChangeExt("run.txt", ".bak"), "run.bak");
}

TEST(FileOps, BackupFileMovesTheFileAndReplacesAReadOnlyOldBackup) {
  QTemporaryDir dir;
  const QString name = dir.filePath("Qzm.cfg");
  const QString bak = dir.filePath("Qzm.bak");
  WriteAll(name, "new");
  WriteAll(bak, "old backup");
  ASSERT_TRUE(QFile::setPermissions(bak, QFile::ReadOwner | QFile::ReadUser));

  EXPECT_TRUE(BackupFile(name));
  EXPECT_FALSE(QFile::exists(name));
  EXPECT_EQ(ReadAll(bak), "new");
}

TEST(FileOps, BackupFileOfAMissingFileChangesNothing) {
  QTemporaryDir dir;
  const QString bak = dir.filePath("gone.bak");
  WriteAll(bak, "keep");
  EXPECT_FALSE(BackupFile(dir.filePath("gone.txt")));
  EXPECT_EQ(ReadAll(bak), "keep");
  EXPECT_FALSE(BackupFile(""));
}

TEST(FileOps, BackupFileOfABakFileLeavesItInPlace) {
  QTemporaryDir dir;
  const QString name = dir.filePath("setup.bak");
  WriteAll(name, "precious");
  EXPECT_FALSE(BackupFile(name));
  EXPECT_EQ(ReadAll(name), "precious");
}

// A FIFO under the backup name is no old backup: it stays, and so does the file.
TEST(FileOps, BackupFileNeverReplacesAFifoUnderTheBackupName) {
  QTemporaryDir dir;
  const QString name = dir.filePath("Qzm.cfg");
  WriteAll(name, "new");
  const QString bak = dir.filePath("Qzm.bak");
  ASSERT_EQ(::mkfifo(QFile::encodeName(bak).constData(), 0600), 0);
  EXPECT_FALSE(BackupFile(name));
  EXPECT_EQ(ReadAll(name), "new");
  EXPECT_EQ(testing::FileType(bak), unsigned(S_IFIFO));
}

TEST(FileOps, ForceDeleteAndClearReadOnly) {
  QTemporaryDir dir;
  const QString name = dir.filePath("ro.txt");
  WriteAll(name, "x");
  ASSERT_TRUE(QFile::setPermissions(name, QFile::ReadOwner | QFile::ReadGroup));
  EXPECT_EQ(FileInfo(name).attributes & kFileAttrReadOnly, kFileAttrReadOnly);
  EXPECT_TRUE(ClearReadOnly(name));
  // The write bit is added; the others stay.
  EXPECT_EQ(QFile::permissions(name) & (QFile::WriteOwner | QFile::ReadGroup),
            QFile::WriteOwner | QFile::ReadGroup);
  EXPECT_EQ(FileInfo(name).attributes & kFileAttrReadOnly, 0);
  EXPECT_FALSE(ClearReadOnly(dir.filePath("missing")));

  ASSERT_TRUE(QFile::setPermissions(name, QFile::ReadOwner));
  EXPECT_TRUE(ForceDelete(name));
  EXPECT_FALSE(QFile::exists(name));
  EXPECT_TRUE(ForceDelete(name));  // already gone
  EXPECT_FALSE(ForceDelete(dir.path()));
  EXPECT_TRUE(QDir(dir.path()).exists());
}

TEST(FileOps, FileInfo) {
  QTemporaryDir dir;
  EXPECT_EQ(FileInfo("").size, -1);
  EXPECT_EQ(FileSizeOf(""), -1);
  EXPECT_FALSE(FileDateTime("").isValid());
  EXPECT_EQ(FileSizeOf(dir.filePath("missing")), -1);
  EXPECT_EQ(FileSizeOf(dir.path()), -1);

  const QString name = dir.filePath("five.txt");
  WriteAll(name, "12345");
  const FileInfoRec r = FileInfo(name);
  EXPECT_EQ(r.size, 5);
  EXPECT_TRUE(r.modified.isValid());
  EXPECT_LE(qAbs(r.modified.secsTo(QDateTime::currentDateTime())), 60);
  EXPECT_EQ(FileDateTime(name), r.modified);
  EXPECT_EQ(FileSizeOf(dir.filePath("empty")), -1);
  WriteAll(dir.filePath("empty"), "");
  EXPECT_EQ(FileSizeOf(dir.filePath("empty")), 0);
}

}  // namespace
}  // namespace qz
