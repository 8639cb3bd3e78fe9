#pragma once
// Small file helpers shared by the tests.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <csignal>

namespace qz::testing {

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// Writes the bytes as the whole file; the calling test fails when that is not possible.
inline void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// Makes writes beyond `limit` bytes fail in this process while alive, as on a full disk (the
// tests run as root, so permissions cannot make a write fail).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = old_;
    l.rlim_cur = limit;
    ok_ = setrlimit(RLIMIT_FSIZE, &l) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool ok() const { return ok_; }

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = SIG_DFL;
  bool ok_ = false;
};

}  // namespace qz::testing