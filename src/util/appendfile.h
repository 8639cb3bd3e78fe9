#pragma once
// Appending to a file that the program has created before (a data log, the output files of a
// measured scenario play): the one way the program adds to a file instead of replacing it
// through the atomic writer.
//
// - An append never creates a missing file: a file that has gone (deleted before or during the
//   writing) must not start again without its comment and header; the failure says so
//   (error ENOENT).
// - Only a regular file is appended to: a path that is now a folder, a device, a FIFO or a
//   socket is refused without writing (and a FIFO is never waited on).
// - Whole lines: the bytes are written so that a killed program leaves only whole lines (see
//   LinesUpToPageEnd); a failed write is cut back to the size before it, so a full disk leaves
//   the file as it was.
// - Nothing waits in a buffer: every append reaches the system before it returns.

#include <QByteArray>
#include <QString>

namespace qz {

struct TAppendResult {
  bool ok = false;
  int error = 0;            // the system's error number when not ok (ENOENT: the file is gone)
  QString reason;           // the system's reason when not ok
  bool notRegular = false;  // refused: the path exists and is no regular file
};

// How much of text[0..size) one write takes at file offset `offset`. The system copies a write
// page by page and a killed program stops between two pages, so a write ends at the last line
// end before the next page boundary; a line that straddles the boundary goes alone. A killed
// program thus leaves whole lines, as when every line had a write of its own.
qsizetype LinesUpToPageEnd(const char* text, qsizetype size, qint64 offset);

// A file kept open between appends (one at a time), for files written at every measurement.
class TAppendFile {
 public:
  TAppendFile() = default;
  ~TAppendFile();
  TAppendFile(const TAppendFile&) = delete;
  TAppendFile& operator=(const TAppendFile&) = delete;

  // Appends the bytes to the existing file at path; the file is opened at the first append
  // (or when another path is named) and stays open. A file deleted while it is open is
  // reported (ENOENT) rather than written on into a file nobody can find, and closed.
  TAppendResult Append(const QString& path, const QByteArray& bytes);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // The path of the open file (empty when none is open).
  const QString& Path() const { return path_; }
  // How often (milliseconds of the monotonic clock) an append looks whether the open file has
  // been deleted; asking the system at every append would cost as much as the write itself.
  // 0: at every append.
  void SetGoneCheckIntervalMs(int ms) { goneCheckMs_ = ms; }

 private:
  TAppendResult Open(const QString& path);
  bool Gone();

  int fd_ = -1;
  QString path_;     // the file fd_ belongs to
  qint64 size_ = 0;  // its size after the last whole write
  int goneCheckMs_ = 200;
  qint64 nextGoneCheckMs_ = 0;
};

// One append with the file opened and closed around it, for files written now and then.
TAppendResult AppendToFile(const QString& path, const QByteArray& bytes);

}  // namespace qz
