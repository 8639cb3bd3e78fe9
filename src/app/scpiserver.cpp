#include "app/scpiserver.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>

#include "app/ddeitem.h"
#include "app/program.h"
#include "util/parse.h"

namespace qz {

struct TScpiServer::TClient {
  QTcpSocket* socket = nullptr;
  std::unique_ptr<TScpiSession> session;
  bool closed = false;
};

TScpiServer::TScpiServer(TControl& control, TScpiSource source, QObject* parent)
    : QObject(parent), control_(control), source_(std::move(source)) {
  server_ = new QTcpServer(this);
  poll_ = new QTimer(this);
  // *OPC? and *WAI wait for the run: they are looked at once a millisecond while one waits.
  poll_->setInterval(1);
  connect(server_, &QTcpServer::newConnection, this, [this] { Accept(); });
  connect(poll_, &QTimer::timeout, this, [this] { Poll(); });
}

TScpiServer::~TScpiServer() {
  poll_->stop();
  for (const std::unique_ptr<TClient>& c : clients_) {
    if (c->closed) continue;
    QObject::disconnect(c->socket, nullptr, this, nullptr);
    c->socket->flush();
    if (c->socket->bytesToWrite() > 0) c->socket->waitForBytesWritten(1000);
    c->socket->disconnectFromHost();
  }
}

bool TScpiServer::Listen(const QString& address, int port) {
  if (!server_->listen(QHostAddress(address), quint16(port))) {
    error_ = server_->errorString();
    return false;
  }
  return true;
}

QString TScpiServer::Address() const {
  const QHostAddress a = server_->serverAddress();
  const QString host =
      a.protocol() == QAbstractSocket::IPv6Protocol ? "[" + a.toString() + "]" : a.toString();
  return host + QChar(':') + QString::number(server_->serverPort());
}

int TScpiServer::Clients() const {
  int n = 0;
  for (const std::unique_ptr<TClient>& c : clients_) n += c->closed ? 0 : 1;
  return n;
}

void TScpiServer::Accept() {
  while (server_->hasPendingConnections()) {
    QTcpSocket* s = server_->nextPendingConnection();
    if (Clients() >= kScpiMaxClients) {
      s->disconnectFromHost();
      s->deleteLater();
      continue;
    }
    auto c = std::make_unique<TClient>();
    TClient* cp = c.get();
    c->socket = s;
    // What the program has not taken stays in the system's buffers, which stop the sender.
    s->setReadBufferSize(kScpiMaxQueuedInput);
    c->session = std::make_unique<TScpiSession>(control_, source_);
    c->session->Send = [s](const QByteArray& b) { s->write(b); };
    c->session->CanSend = [s] { return s->bytesToWrite() < kScpiMaxUnread; };
    connect(s, &QTcpSocket::readyRead, this, [this, cp] { ReadFrom(*cp); });
    connect(s, &QTcpSocket::bytesWritten, this, [this, cp] { Serve(*cp); });
    connect(s, &QTcpSocket::disconnected, this, [this, cp] {
      cp->closed = true;
      QTimer::singleShot(0, this, [this] { Tidy(); });
    });
    clients_.push_back(std::move(c));
    ReadFrom(*cp);
  }
}

void TScpiServer::ReadFrom(TClient& c) {
  if (c.closed) return;
  while (c.socket->bytesAvailable() > 0 && c.session->QueuedBytes() < kScpiMaxQueuedInput) {
    c.session->Feed(c.socket->read(16 * 1024));
    if (c.closed) return;
  }
  if (c.session->Waiting() && !poll_->isActive()) poll_->start();
}

void TScpiServer::Serve(TClient& c) {
  if (c.closed) return;
  c.session->Process();
  ReadFrom(c);
}

void TScpiServer::Poll() {
  bool waiting = false;
  for (size_t i = 0; i < clients_.size(); ++i) {
    TClient& c = *clients_[i];
    if (c.closed) continue;
    if (c.session->Waiting()) {
      waiting = true;
      continue;
    }
    Serve(c);
    waiting = waiting || (!c.closed && c.session->Waiting());
  }
  if (!waiting) poll_->stop();
  Tidy();
}

void TScpiServer::Tidy() {
  // A session still carrying out a line (a command that handles events) goes later.
  for (auto it = clients_.begin(); it != clients_.end();) {
    if ((*it)->closed && !(*it)->session->Processing()) {
      (*it)->socket->deleteLater();
      it = clients_.erase(it);
    } else {
      ++it;
    }
  }
}

bool ListenAndTell(TScpiServer& server, const QString& address, int port, QString& error) {
  if (!server.Listen(address, port)) {
    error = QStringLiteral("The instrument socket cannot listen on %1:%2: %3")
                .arg(address)
                .arg(port)
                .arg(server.ErrorText());
    return false;
  }
  std::printf("SCPI %s\n", qPrintable(server.Address()));
  std::fflush(stdout);
  if (!QHostAddress(address).isLoopback()) {
    std::fprintf(stderr,
                 "QzSim: the instrument socket %s can be reached from other computers and asks "
                 "no password.\n",
                 qPrintable(server.Address()));
    std::fflush(stderr);
  }
  return true;
}

// ---- the program's latest frame -------------------------------------------------------------

TScpiProgramSource::TScpiProgramSource(TProgram& program) : program_(program) {}

std::optional<TScpiMeasured> TScpiProgramSource::Latest() const {
  const TSimCore& core = program_.Core;
  const TQvWin& qv = core.Qv;
  const double mmPerStep = core.Descr.MmPerStep;
  std::optional<TResultRecord> record = LatestResultRecord(qv, mmPerStep);
  if (!record) return std::nullopt;
  TScpiMeasured m;
  m.record = std::move(*record);
  // The item of that frame, decoded again from its bytes as its record is (the latest result
  // may meanwhile hold another frame's values: the end of a run draws the oldest point again).
  THresults res;
  TMotState mot = qv.Mot();
  (void)qv.DekodStored(qv.LastAcceptedFrame(), res, mot);
  QString item = BuildDdeString(qv.LastAcceptedFrame()[0], res, mot, mmPerStep, ddTab);
  item.chop(1);
  m.item = item.replace(QChar('\t'), QChar(','));
  return m;
}

}  // namespace qz
