#include "util/atomicfile.h"

#include "common/testfiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

namespace qz {
namespace {

using testfiles::ReadAll;

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
    testfiles::FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.ok());
    r = WriteFileAtomic(path, QByteArray(100000, 'n'));
  }

  EXPECT_EQ(r.status, AtomicWriteStatus::WriteFailed);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

}  // namespace
}  // namespace qz
