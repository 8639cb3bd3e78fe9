#pragma once
// The table every reader of outside files is tested over: a FIFO, a link to /dev/zero, a
// folder, a sparse file one byte over the reader's limit, an empty file and a binary file, each
// under the name the reader is given. The first four must be refused at once (a watchdog ends
// the test program after 10 s, so a reader that waits for a FIFO's writer or reads /dev/zero
// for ever fails instead of hanging the suite); the last two are read as before.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qz::testing {

enum class ReaderInput { Fifo, DevZeroLink, Folder, SparseOverLimit, Empty, Binary };

struct ReaderCase {
  ReaderInput input;
  const char* label;
  bool refused;          // must be refused (with its text)
  const char* textPart;  // a part of the refusal's text, for the refused ones
};

// The six inputs; `limitText` is the part of the too-large text naming the limit
// ("a setup file may have at most 16 MiB").
inline std::vector<ReaderCase> ReaderCases(const char* limitText) {
  return {{ReaderInput::Fifo, "FIFO", true, "is not a regular file"},
          {ReaderInput::DevZeroLink, "link to /dev/zero", true, "is not a regular file"},
          {ReaderInput::Folder, "folder", true, "is not a regular file"},
          {ReaderInput::SparseOverLimit, "sparse limit + 1 byte", true, limitText},
          {ReaderInput::Empty, "empty", false, ""},
          {ReaderInput::Binary, "binary", false, ""}};
}

// Every byte value a few times over: no reader takes it as its format, none may crash on it.
inline QByteArray BinaryBytes() {
  QByteArray b;
  for (int r = 0; r < 8; ++r)
    for (int i = 0; i < 256; ++i) b.append(char((i * 7 + r) & 0xFF));
  return b;
}

// Makes `path` the input (its folder must exist; whatever was there is removed first). False
// when the system does not allow it here.
inline bool MakeReaderInput(ReaderInput input, const QString& path, int64_t limit) {
  const QByteArray p = QFile::encodeName(path);
  QDir(path).removeRecursively();
  QFile::remove(path);
  switch (input) {
    case ReaderInput::Fifo:
      return ::mkfifo(p.constData(), 0600) == 0;
    case ReaderInput::DevZeroLink:
      return ::symlink("/dev/zero", p.constData()) == 0;
    case ReaderInput::Folder:
      return QDir().mkdir(path);
    case ReaderInput::SparseOverLimit: {
      const int fd = ::open(p.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0) return false;
      const bool ok = ::ftruncate(fd, off_t(limit + 1)) == 0;
      ::close(fd);
      return ok;
    }
    case ReaderInput::Empty:
    case ReaderInput::Binary: {
      QFile f(path);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
      if (input == ReaderInput::Binary) f.write(BinaryBytes());
      return true;
    }
  }
  return false;
}

// Ends the whole test program when it is still alive after `seconds`: a reader that hangs on a
// FIFO cannot be interrupted any other way.
class Watchdog {
 public:
  explicit Watchdog(const char* what, int seconds = 10) : what_(what) {
    thread_ = std::thread([this, seconds] {
      std::unique_lock<std::mutex> lock(m_);
      if (!cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
        std::fprintf(stderr, "watchdog: %s still running after %d s: the reader hangs\n", what_,
                     seconds);
        std::fflush(stderr);
        std::_Exit(3);
      }
    });
  }
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(m_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  const char* what_;
  std::mutex m_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

// What one reader made of one input: accepted, or refused with its message.
struct ReaderOutcome {
  bool ok = false;
  QString message;
};

// Runs `read` over every input at `path` and checks the verdicts.
inline void CheckReaderTable(const char* reader, const QString& path, int64_t limit,
                             const char* limitText,
                             const std::function<ReaderOutcome(const QString&)>& read) {
  for (const ReaderCase& c : ReaderCases(limitText)) {
    SCOPED_TRACE(std::string(reader) + " over " + c.label);
    ASSERT_TRUE(MakeReaderInput(c.input, path, limit)) << path.toStdString();
    ReaderOutcome out;
    {
      Watchdog dog(reader);
      out = read(path);
    }
    if (c.refused) {
      EXPECT_FALSE(out.ok);
      EXPECT_TRUE(out.message.contains(QString::fromLatin1(c.textPart)))
          << out.message.toStdString();
    } else {
      EXPECT_TRUE(out.ok) << out.message.toStdString();
    }
  }
  QDir(path).removeRecursively();
  QFile::remove(path);
}

}  // namespace qz::testing