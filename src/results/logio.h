#pragma once
// Where a log goes: the log file is created (or emptied) when it is prepared and every later
// write appends to it. An append never creates a missing file: a log whose file has gone must
// not start again without its comment and header. A failed append leaves the file as it was
// before the write as far as the system allows, so the file holds only whole lines.
//
// The repetition timer of timed logging, behind an interface so that tests can tick it by hand.

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <functional>

namespace qz {

struct TLogIoResult {
  bool ok = false;
  QString reason;  // the system's reason when not ok
};

class TLogSink {
 public:
  virtual ~TLogSink() = default;
  // Creates the file empty (an existing file is emptied).
  virtual TLogIoResult Create(const QString& path) = 0;
  // Appends the bytes to the existing file in one checked write; on failure the file is cut
  // back to its size before the write (a failed cut is tolerated).
  virtual TLogIoResult Append(const QString& path, const QByteArray& bytes) = 0;
};

// The real files.
class TLogFileSink : public TLogSink {
 public:
  TLogIoResult Create(const QString& path) override;
  TLogIoResult Append(const QString& path, const QByteArray& bytes) override;
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
