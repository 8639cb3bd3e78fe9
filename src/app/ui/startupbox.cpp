#include "app/ui/startupbox.h"

#include <QTimer>
#include <cstdio>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "util/asker.h"
#include "util/strtools.h"

namespace qz {

QStringList StartupBoxLines(TForm1& form, const QStringList& more) {
  return form.Core().StartupLines() + more;
}

void ShowStartupLinesOnceUp(TForm1& form, const QStringList& more) {
  const QStringList lines = StartupBoxLines(form, more);
  if (lines.isEmpty()) return;
  for (const QString& l : lines) std::fprintf(stderr, "QzSim: %s\n", qPrintable(OneLine(l)));
  QTimer::singleShot(0, &form,
                     [lines] { Asker().ShowWarning(lines.join(QStringLiteral("\r\n"))); });
}

}  // namespace qz
