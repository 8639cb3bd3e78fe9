// Arbitrary arguments (separated by zero bytes) as the program's command line: the parser never
// crashes, a line it accepts has a non-negative number of passes, and a chart it accepts has an
// offered type, a size within the limits and a file of a known format. The first argument is
// also read alone as a chart's TYPE[:WIDTHxHEIGHT].
#include <QStringList>

#include "app/chartrequest.h"
#include "app/cmdline.h"
#include "display/disptypes.h"
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
    if (cl.chart) {
      Check(qz::IsOfferedType(cl.chartRequest.type), "a chart of no offered type accepted");
      QString why;
      Check(qz::CheckChartSize(cl.chartRequest.width, cl.chartRequest.height, why),
            "a chart size beyond the limits accepted");
      Check(qz::ChartFormatOf(cl.saveChartFile) != qz::TChartFormat::Unknown,
            "a chart file of no known format accepted");
    }
  }
  qz::TChartRequest req{-7, -1, -1};
  QString error;
  const bool ok = qz::ParseChartOption(args.value(1), req, error);
  Check(ok == error.isEmpty(), "a chart req refused without a reason, or read with one");
  Check(!error.contains(QChar('\n')), "a chart req's reason spans lines");
  if (ok) {
    Check(qz::IsOfferedType(req.type), "a chart req of no offered type read");
    Check(req.width >= qz::kChartMinSide && req.width <= qz::kChartMaxSide &&
              req.height >= qz::kChartMinSide && req.height <= qz::kChartMaxSide,
          "a chart req's size beyond the limits read");
  } else {
    Check(req == qz::TChartRequest{-7, -1, -1}, "a refused chart req changed the result");
  }
  return 0;
}
