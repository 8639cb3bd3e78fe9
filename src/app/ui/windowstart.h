#pragma once
// What the window program adds once its frame window has started: the instrument socket the
// command line asks for, over the window's remote control. A socket that cannot listen is a
// start-up line (app/ui/startupbox.h): the window runs on without it.

#include <QString>
#include <QStringList>
#include <memory>

namespace qz {

class TForm1;
class TScpiProgramSource;
class TScpiServer;

class TWindowScpi {
 public:
  explicit TWindowScpi(TForm1& form);
  ~TWindowScpi();
  TWindowScpi(const TWindowScpi&) = delete;
  TWindowScpi& operator=(const TWindowScpi&) = delete;

  // Listens on address:port and tells it on stdout ("SCPI ADDRESS:PORT"); false with the line
  // that says why it cannot.
  bool Listen(const QString& address, int port, QString& why);
  TScpiServer& Server() { return *server_; }

 private:
  std::unique_ptr<TScpiProgramSource> source_;
  std::unique_ptr<TScpiServer> server_;
};

}  // namespace qz
