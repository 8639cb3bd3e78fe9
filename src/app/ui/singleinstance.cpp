#include "app/ui/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace qz {

namespace {
const QByteArray kRaiseRequest = QByteArrayLiteral("raise\n");
}

QString AlreadyRunningText(const QString& title) {
  return title + QStringLiteral(" is already running!!!");
}

QString NotFoundText(const QString& title) {
  return QStringLiteral("Application ") + title + QStringLiteral(" not found");
}

static QString LockFileName(const QString& userFolder) {
  QString f = userFolder;
  if (!f.isEmpty() && !f.endsWith(QChar('/'))) f += QChar('/');
  return f + QStringLiteral("QzSim.lock");
}

TSingleInstance::TSingleInstance(const QString& userFolder, QObject* parent)
    : QObject(parent), lock_(LockFileName(userFolder)) {
  // Only a lock whose program has died counts as stale, however old it is.
  lock_.setStaleLockTime(0);
  const QByteArray key =
      QCryptographicHash::hash(QDir::cleanPath(QDir(userFolder).absolutePath()).toUtf8(),
                               QCryptographicHash::Sha1)
          .toHex()
          .left(16);
  serverName_ = QStringLiteral("QzSim-") + QString::fromLatin1(key);
}

TSingleInstance::~TSingleInstance() { Release(); }

void TSingleInstance::Release() {
  if (server_) server_->close();
  lock_.unlock();
}

bool TSingleInstance::Acquire() {
  if (!lock_.tryLock(0)) return false;
  server_ = new QLocalServer(this);
  // A socket left by a program that died would block the name.
  QLocalServer::removeServer(serverName_);
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
  return true;
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
