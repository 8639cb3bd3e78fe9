#include "app/ui/windowstart.h"

#include "app/scpiserver.h"
#include "app/ui/form1.h"

namespace qz {

TWindowScpi::TWindowScpi(TForm1& form)
    : source_(std::make_unique<TScpiProgramSource>(form.Program())),
      server_(std::make_unique<TScpiServer>(form.Control(), source_->Source())) {}

// The server goes first: its clients read the source to the end.
TWindowScpi::~TWindowScpi() { server_.reset(); }

bool TWindowScpi::Listen(const QString& address, int port, QString& why) {
  return ListenAndTell(*server_, address, port, why);
}

}  // namespace qz
