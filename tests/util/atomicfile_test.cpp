#include "util/atomicfile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

namespace qz {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

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

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const AtomicWriteResult r = WriteFileAtomic(path, QByteArray(100000, 'n'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(r.status, AtomicWriteStatus::WriteFailed);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

}  // namespace
}  // namespace qz
