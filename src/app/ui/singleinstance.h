#pragma once
// One running window program per per-user folder. The first program holds an advisory lock
// (flock) on "QzSim-<hash>.lock" and listens on the local socket "QzSim-<hash>.socket", both in
// the user's private runtime folder ($XDG_RUNTIME_DIR, per machine and per user); the hash is of
// the per-user folder's canonical path, so different profile folders are different instances.
// Without a runtime folder both live in the per-user folder itself.
//
// The kernel drops the lock together with the process that held it, however the program ended
// (a crash, SIGKILL, a power cut), so what the lock file holds never matters and a dead program
// never keeps the next start out. A second start finds the lock held, asks the running program
// to bring its window to the front and ends without touching any file.

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace qz {

// "QzSim is already running!!!"
QString AlreadyRunningText(const QString& title);
// "Application QzSim not found": the folder is locked but no running program answered.
QString NotFoundText(const QString& title);
// "The single-instance lock \"<path>\" cannot be taken (<reason>); a second window is not kept
// out."
QString LockUnavailableText(const QString& path, const QString& reason);

enum class TInstanceLock {
  Taken,        // this program is the first: it holds the lock and answers later starts
  Held,         // another program holds it
  Unavailable,  // the lock cannot be had at all (folder unwritable, a folder of its name, ...)
};

class TSingleInstance : public QObject {
  Q_OBJECT
 public:
  // userFolder: the per-user folder (with '/'). runtimeFolder: where the lock and the socket
  // live; empty: the runtime folder of the session, or the per-user folder without one.
  explicit TSingleInstance(const QString& userFolder, const QString& runtimeFolder = QString(),
                           QObject* parent = nullptr);
  ~TSingleInstance() override;

  // Tries to take the lock without waiting.
  TInstanceLock Acquire();
  // Why the lock could not be had (after Unavailable).
  const QString& Reason() const { return reason_; }
  // Stops answering and gives the lock back (the program ends); a later start is the first.
  void Release();
  // Asks the running program to show its window; false when it does not answer in time.
  bool RaiseRunning(int timeoutMs = 1000);

  // Called in the running program when a second start asks for its window.
  std::function<void()> OnRaise;

  const QString& LockPath() const { return lockPath_; }
  const QString& ServerName() const { return serverName_; }

 private:
  QString lockPath_;
  QString serverName_;
  QString reason_;
  int fd_ = -1;
  QLocalServer* server_ = nullptr;
};

// The folder the lock and socket of a per-user folder go to: the session's runtime folder, or
// the per-user folder when there is none.
QString InstanceRuntimeFolder(const QString& userFolder);

}  // namespace qz
