#pragma once
// Where a log goes: the log file is created (or emptied) when it is prepared; the first append
// opens it and keeps it open while the log runs, every later record is written through to the
// system at once (nothing waits in a buffer, so a killed program loses no record), and the
// file is closed when the log ends. An append never creates a missing file: a log whose file
// has gone (deleted before or while logging) must not start again without its comment and
// header, and is reported at the record that finds it gone. A failed append leaves the file as
// it was before the write as far as the system allows, so the file holds only whole lines.
//
// A log is a file: a path that exists as a folder, a device, a FIFO or a socket is refused when
// the log is prepared and nothing at that path is touched.
//
// The repetition timer of timed logging, behind an interface so that tests can tick it by hand.

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "util/appendfile.h"

namespace qz {

struct TLogIoResult {
  bool ok = false;
  QString reason;           // the system's reason when not ok
  bool notRegular = false;  // refused: the path exists and is no regular file
  // The tag (as handed to Queue) of the record that failed, which may be one handed over
  // earlier; -1 when the failure is that of this call's text and it carried no tag.
  int64_t failedTag = -1;
};

class TLogSink {
 public:
  virtual ~TLogSink() = default;
  // Creates the file empty (an existing file is emptied).
  virtual TLogIoResult Create(const QString& path) = 0;
  // Appends the bytes to the existing file in one checked write; on failure the file is cut
  // back to its size before the write (a failed cut is tolerated).
  virtual TLogIoResult Append(const QString& path, const QByteArray& bytes) = 0;
  // The log has ended: a file kept open is closed.
  virtual void Close() {}

  // A record of a running log, tagged so that a failure found later can name it. A sink that
  // writes at once appends it here; one that writes on its own thread returns at once and
  // reports a failure at the next Queue, Drain or Poll (records after a failed one are not
  // written).
  virtual TLogIoResult Queue(const QString& path, const QByteArray& bytes, int64_t tag) {
    (void)tag;
    return Append(path, bytes);
  }
  // Waits until every record handed over is in the file; returns a failure among them (once).
  virtual TLogIoResult Drain() { return TLogIoResult{true, {}, false, -1}; }
  // A failure of a record handed over earlier, without waiting (once); ok when none is known.
  virtual TLogIoResult Poll() { return TLogIoResult{true, {}, false, -1}; }
};

// The real files, one kept open at a time (util/appendfile).
class TLogFileSink : public TLogSink {
 public:
  TLogIoResult Create(const QString& path) override;
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override;
  void Close() override { file_.Close(); }
  // A file is open for appending.
  bool IsOpen() const { return file_.IsOpen(); }
  // How often (milliseconds of the monotonic clock) an append looks whether the open file has
  // been deleted; asking the system at every record would cost as much as the write itself.
  // 0: at every append.
  void SetGoneCheckIntervalMs(int ms) { file_.SetGoneCheckIntervalMs(ms); }

 private:
  TAppendFile file_;
};

class TLogTimer {
 public:
  virtual ~TLogTimer() = default;
  // The function called on every tick.
  virtual void SetOnTick(std::function<void()> onTick) = 0;
  // (Re)starts the timer with the interval.
  virtual void Start(int ms) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
};

// A window timer of the precise kind, so long repetition times do not drift by the coarse
// timer's slack.
class TQtLogTimer : public TLogTimer {
 public:
  TQtLogTimer();
  void SetOnTick(std::function<void()> onTick) override;
  void Start(int ms) override;
  void Stop() override;
  bool Active() const override;

 private:
  QTimer timer_;
  std::function<void()> onTick_;
};

}  // namespace qz
