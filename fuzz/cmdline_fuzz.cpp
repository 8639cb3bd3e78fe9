// Arbitrary arguments (separated by zero bytes) as the program's command line: the parser never
// crashes, and a line it accepts has a non-negative number of passes.
#include <QStringList>

#include "app/cmdline.h"
#include "fuzzcheck.h"

using qz::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QStringList args{QStringLiteral("QzSim")};
  const QList<QByteArray> parts = qz::fuzz::Bytes(data, size).split('\0');
  for (const QByteArray& p : parts) args << QString::fromUtf8(p);
  const qz::CommandLine cl = qz::ParseCommandLine(args);
  Check(!cl.helpText.isEmpty() || !cl.help, "help asked for without a usage text");
  if (cl.error.isEmpty()) {
    Check(cl.passes >= 0, "a negative number of passes accepted");
  }
  return 0;
}
