#include "app/ui/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>

namespace qz {

namespace {
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");

QString WithSlash(const QString& f) {
  return f.isEmpty() || f.endsWith(QChar('/')) ? f : f + QChar('/');
}
}  // namespace

QString AlreadyRunningText(const QString& title) {
  return title + QStringLiteral(" is already running!!!");
}

QString NotFoundText(const QString& title) {
  return QStringLiteral("Application ") + title + QStringLiteral(" not found");
}

QString LockUnavailableText(const QString& path, const QString& reason) {
  return QStringLiteral(
             "The single-instance lock \"%1\" cannot be taken (%2); a second window is not kept "
             "out.")
      .arg(path, reason);
}

QString InstanceRuntimeFolder(const QString& userFolder) {
  // The session's private runtime folder (owned by the user, mode 0700). Without one the
  // per-user folder holds the lock and the socket: never a shared folder such as /tmp.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QFileInfo(runtime).isDir() && QFileInfo(runtime).isWritable())
    return WithSlash(runtime);
  return WithSlash(userFolder);
}

TSingleInstance::TSingleInstance(const QString& userFolder, const QString& runtimeFolder,
                                 QObject* parent)
    : QObject(parent) {
  const QString canonical = QFileInfo(userFolder).canonicalFilePath();
  const QString key = QString::fromLatin1(
      QCryptographicHash::hash(
          (canonical.isEmpty() ? QDir::cleanPath(QDir(userFolder).absolutePath()) : canonical)
              .toUtf8(),
          QCryptographicHash::Sha1)
          .toHex()
          .left(16));
  const QString folder =
      runtimeFolder.isEmpty() ? InstanceRuntimeFolder(userFolder) : WithSlash(runtimeFolder);
  lockPath_ = folder + QStringLiteral("QzSim-") + key + QStringLiteral(".lock");
  serverName_ = folder + QStringLiteral("QzSim-") + key + QStringLiteral(".socket");
}

TSingleInstance::~TSingleInstance() { Release(); }

void TSingleInstance::Release() {
  if (server_) {
    server_->close();
    delete server_;
    server_ = nullptr;
  }
  if (fd_ >= 0) {
    ::close(fd_);  // the kernel drops the lock with the descriptor
    fd_ = -1;
  }
}

TInstanceLock TSingleInstance::Acquire() {
  if (fd_ >= 0) return TInstanceLock::Taken;
  reason_.clear();
  const QByteArray name = QFile::encodeName(lockPath_);
  // Never through a link, never waiting (a FIFO of the name), never becoming the terminal.
  const int fd = ::open(name.constData(),
                        O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
  if (fd < 0) {
    reason_ = qt_error_string(errno);
    return TInstanceLock::Unavailable;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    reason_ = QStringLiteral("not a regular file");
    ::close(fd);
    return TInstanceLock::Unavailable;
  }
  int rc = 0;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return TInstanceLock::Held;
    reason_ = qt_error_string(err);
    return TInstanceLock::Unavailable;
  }
  fd_ = fd;
  server_ = new QLocalServer(this);
  // A socket left by a program that died would block the name; only the lock's holder
  // removes it.
  QLocalServer::removeServer(serverName_);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(serverName_);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
      connect(s, &QLocalSocket::readyRead, this, [this, s] {
        if (s->readAll().startsWith(kRaiseRequest.trimmed()) && OnRaise) OnRaise();
        s->disconnectFromServer();
      });
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    }
  });
  return TInstanceLock::Taken;
}

bool TSingleInstance::RaiseRunning(int timeoutMs) {
  QLocalSocket s;
  s.connectToServer(serverName_);
  if (!s.waitForConnected(timeoutMs)) return false;
  s.write(kRaiseRequest);
  const bool ok = s.waitForBytesWritten(timeoutMs);
  s.disconnectFromServer();
  return ok;
}

}  // namespace qz
