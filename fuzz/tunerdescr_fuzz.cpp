// Arbitrary bytes as a setup file holding tuner description lines: every line is applied without a
// crash, the description stays usable (finite numbers), and once written it reads back to the
// same description (write, read, write gives the same text).
#include <QStringList>
#include <cmath>

#include "core/records.h"
#include "fuzzcheck.h"
#include "sim/tunerdescr.h"
#include "util/inifile.h"

using qz::fuzz::Check;

namespace {

QByteArray Written(const qz::TTunerDescr& d, const qz::TMotState& mot, const qz::TSimState& sim) {
  qz::IniFile ini;
  qz::WriteTunerDescr(ini, QStringLiteral("Model"), d, mot, sim);
  return ini.Text();
}

void ReadInto(const QStringList& lines, qz::TTunerDescr& d, qz::TMotState& mot,
              qz::TSimState& sim) {
  const qz::TTunerRecords r{d, mot, sim};
  for (const QString& line : lines) (void)qz::TU_MdlAnalyzLine(line, r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The lines as the program reads them from a setup file: through the INI reader.
  qz::IniFile input;
  input.SetText(qz::fuzz::Bytes(data, size));
  const QStringList lines = input.Lines();
  qz::TTunerDescr d = qz::DefaultTunerDescr();
  qz::TMotState mot;
  qz::TSimState sim;
  ReadInto(lines, d, mot, sim);
  Check(std::isfinite(d.MmPerStep), "steps per millimetre not finite");

  const QByteArray once = Written(d, mot, sim);
  qz::IniFile ini;
  ini.SetText(once);
  qz::TTunerDescr d2 = qz::DefaultTunerDescr();
  qz::TMotState mot2;
  qz::TSimState sim2;
  ReadInto(ini.Lines(), d2, mot2, sim2);
  const QByteArray twice = Written(d2, mot2, sim2);
  Check(once == twice, "the written description does not read back",
        QString::fromUtf8(once) + QStringLiteral("\n---\n") + QString::fromUtf8(twice));
  return 0;
}
