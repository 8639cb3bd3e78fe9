// Appends to files the program made before: whole lines, never a new file, never anything but a
// regular file, and a failed write leaves the file as it was.
#include "util/appendfile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>

#include "common/specialfiles.h"
#include "common/testfiles.h"
#include "util/fileops.h"

namespace qz {
namespace {

using testing::ReadAll;
using testing::WriteAll;

// Each way of appending (kept open, opened per append) gives the same file.
TEST(AppendFile, BothWaysAppendToTheExistingFileOnly) {
  struct Way {
    const char* name;
    std::function<TAppendResult(const QString&, const QByteArray&)> append;
  };
  TAppendFile kept;
  const Way ways[] = {
      {"kept open", [&](const QString& p, const QByteArray& b) { return kept.Append(p, b); }},
      {"per append", [](const QString& p, const QByteArray& b) { return AppendToFile(p, b); }},
  };
  for (const Way& w : ways) {
    SCOPED_TRACE(w.name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    WriteAll(path, "head\r\n");
    EXPECT_TRUE(w.append(path, "a\r\n").ok);
    EXPECT_TRUE(w.append(path, "b\r\nc\r\n").ok);
    EXPECT_TRUE(w.append(path, QByteArray()).ok);
    EXPECT_EQ(ReadAll(path), QByteArray("head\r\na\r\nb\r\nc\r\n"));
    // A missing file is not made: the failure says the file is gone.
    const QString missing = dir.filePath(QStringLiteral("none.txt"));
    const TAppendResult r = w.append(missing, "x\r\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_FALSE(r.reason.isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
    kept.Close();
  }
}

TEST(AppendFile, SpecialFilesAreRefusedAndLeftAlone) {
  for (const testing::SpecialPath& sp : testing::SpecialPaths()) {
    SCOPED_TRACE(sp.label);
    QTemporaryDir dir;
    const QString path = testing::MakeSpecial(sp.kind, dir.path());
    if (path.isEmpty()) continue;
    const unsigned type = testing::FileType(path);
    TAppendFile f;
    // A FIFO without a reader must not block the caller: the call returns at once.
    const TAppendResult r = f.Append(path, "x\r\n");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.notRegular);
    EXPECT_EQ(r.reason, NotRegularFileText(path));
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(testing::FileType(path), type);
  }
}

TEST(AppendFile, AFileDeletedWhileOpenIsReportedAndNotWrittenOn) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  WriteAll(path, QByteArray());
  TAppendFile f;
  f.SetGoneCheckIntervalMs(0);
  ASSERT_TRUE(f.Append(path, "1\r\n").ok);
  EXPECT_TRUE(f.IsOpen());
  EXPECT_EQ(f.Path(), path);
  ASSERT_TRUE(QFile::remove(path));
  const TAppendResult r = f.Append(path, "2\r\n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, ENOENT);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(QFile::exists(path));
}

// A write the disk cannot take is cut back: the file keeps exactly its lines from before.
TEST(AppendFile, AFailedWriteLeavesTheFileAsItWas) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("full.txt"));
  const QByteArray before(3000, 'a');
  WriteAll(path, before + "\r\n");
  TAppendFile f;
  {
    testing::FileSizeLimit limit(5000);
    if (!limit.ok()) GTEST_SKIP() << "the file size limit cannot be set";
    QByteArray lines;
    for (int i = 0; i < 100; ++i) lines += QByteArray(40, char('0' + i % 10)) + "\r\n";
    const TAppendResult r = f.Append(path, lines);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error, 0);
    EXPECT_FALSE(r.reason.isEmpty());
  }
  EXPECT_EQ(ReadAll(path), before + "\r\n");
  // The next append, with room again, continues after the old end.
  EXPECT_TRUE(f.Append(path, "z\r\n").ok);
  EXPECT_EQ(ReadAll(path), before + "\r\nz\r\n");
}

}  // namespace
}  // namespace qz
