#include "app/ui/windowstart.h"

#include <QTimer>
#include <cstdio>

#include "app/scpiserver.h"
#include "app/simcore.h"
#include "app/ui/form1.h"
#include "util/asker.h"
#include "util/strtools.h"

namespace qz {

TWindowScpi::TWindowScpi(TForm1& form)
    : source_(std::make_unique<TScpiProgramSource>(form.Program())),
      server_(std::make_unique<TScpiServer>(form.Control(), source_->Source())) {}

// The server goes first: its clients read the source to the end.
TWindowScpi::~TWindowScpi() { server_.reset(); }

bool TWindowScpi::Listen(const QString& address, int port, QString& why) {
  return ListenAndTell(*server_, address, port, why);
}

void ShowStartupLinesOnceUp(TForm1& form, const QStringList& more) {
  const QStringList lines = form.Core().StartupLines() + more;
  if (lines.isEmpty()) return;
  for (const QString& l : lines) std::fprintf(stderr, "QzSim: %s\n", qPrintable(OneLine(l)));
  QTimer::singleShot(0, &form,
                     [lines] { Asker().ShowWarning(lines.join(QStringLiteral("\r\n"))); });
}

}  // namespace qz
