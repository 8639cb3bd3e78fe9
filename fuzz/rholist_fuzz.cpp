// Arbitrary bytes as a reflection-coefficient list, every question answered OK: the reader must
// never crash, never stop reading, and hand back only sets that hold records.
#include <cstddef>
#include <cstdint>

#include "core/texttokens.h"
#include "fuzzcheck.h"
#include "tuner/rholist.h"
#include "util/asker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QStringList lines = qz::SplitTextLines(qz::fuzz::Bytes(data, size));
  qz::TScriptedAsker asker;
  asker.quiet = true;
  for (qsizetype i = 0; i <= lines.size(); ++i) asker.QueueButton(qz::mbOK);
  const qz::TRhoListRead r = qz::ReadRhoList(lines, asker);
  qz::fuzz::Check(!r.aborted, "OK answers never abort");
  qz::fuzz::Check(r.tooShort == (lines.size() < 2), "too short exactly below 2 lines");
  for (const qz::TRhoSet& s : r.sets) {
    qz::fuzz::Check(!s.recs.empty(), "a set holds records");
    qz::fuzz::Check(qz::RowRecords(s.recs, true).size() >= 1, "the last record always stays");
  }
  return 0;
}
