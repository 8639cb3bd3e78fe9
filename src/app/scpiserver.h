#pragma once
// The instrument socket: a TCP server for lab scripts speaking SCPI (one line a message, LF or
// CR LF), each client with a session of its own over the one remote control. It asks for no
// password: it listens on 127.0.0.1 unless the command line names another address. At most
// kScpiMaxClients clients; a further one is closed at once. A client that does not read its
// answers holds at most kScpiMaxUnread bytes of them; then its input waits (and, the socket's
// own buffer full, the sender). Only SYSTem:QUIT ends the program; a client that goes leaves
// it running.

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "app/cycleports.h"
#include "app/scpitree.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace qz {

class TProgram;

inline constexpr int kScpiMaxClients = 8;
inline constexpr qint64 kScpiMaxUnread = 1024 * 1024;
// Received bytes a client may have waiting before its socket is no longer read.
inline constexpr qint64 kScpiMaxQueuedInput = 64 * 1024;

class TScpiServer : public QObject {
 public:
  TScpiServer(TControl& control, TScpiSource source, QObject* parent = nullptr);
  // The answers already given reach their clients before the sockets close.
  ~TScpiServer() override;
  TScpiServer(const TScpiServer&) = delete;
  TScpiServer& operator=(const TScpiServer&) = delete;

  // False with the reason in ErrorText (a taken port, an address of no interface).
  bool Listen(const QString& address, int port);
  const QString& ErrorText() const { return error_; }
  // "127.0.0.1:5025" once listening.
  QString Address() const;
  int Clients() const;

 private:
  struct TClient;
  void Accept();
  void ReadFrom(TClient& c);
  void Serve(TClient& c);
  void Tidy();
  void Poll();

  TControl& control_;
  TScpiSource source_;
  QTcpServer* server_ = nullptr;
  QTimer* poll_ = nullptr;
  std::vector<std::unique_ptr<TClient>> clients_;
  QString error_;
};

// Listens as the command line asks and tells it: "SCPI 127.0.0.1:5025" on stdout, and on
// stderr a warning for an address other computers reach. False with the reason.
bool ListenAndTell(TScpiServer& server, const QString& address, int port, QString& error);

// The program's latest accepted frame as the socket reads it (the record the bus's GetResult
// gives, and the item of that frame).
class TScpiProgramSource {
 public:
  explicit TScpiProgramSource(TProgram& program);
  TScpiProgramSource(const TScpiProgramSource&) = delete;
  TScpiProgramSource& operator=(const TScpiProgramSource&) = delete;

  std::optional<TScpiMeasured> Latest() const;
  TScpiSource Source() {
    return [this] { return Latest(); };
  }

 private:
  TProgram& program_;
};

}  // namespace qz
