#pragma once
// One running program per per-user folder. The first program holds a lock file in the folder
// and listens on a local socket named after the folder; a second start finds the lock taken,
// asks the running program to bring its window to the front and ends without touching any file.
// Different profile folders are different instances.

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace qz {

// "QzSim is already running!!!"
QString AlreadyRunningText(const QString& title);
// "Application QzSim not found": the folder is locked but no running program answered.
QString NotFoundText(const QString& title);

class TSingleInstance : public QObject {
  Q_OBJECT
 public:
  // userFolder: the per-user folder (with '/').
  explicit TSingleInstance(const QString& userFolder, QObject* parent = nullptr);
  ~TSingleInstance() override;

  // Takes the lock; false when another program holds it.
  bool Acquire();
  // Stops answering and gives the lock back (the program ends); a later start is the first.
  void Release();
  // Asks the running program to show its window; false when it does not answer.
  bool RaiseRunning(int timeoutMs = 1000);

  // Called in the running program when a second start asks for its window.
  std::function<void()> OnRaise;

  QString LockPath() const { return lock_.fileName(); }
  QString ServerName() const { return serverName_; }

 private:
  QLockFile lock_;
  QString serverName_;
  QLocalServer* server_ = nullptr;
};

}  // namespace qz
