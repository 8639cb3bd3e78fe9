// Arbitrary bytes as a scenario file: the reader never crashes, a refused file yields no page,
// every page holds at most 2048 rows, and a file that was read is written so that it reads back
// to the same pages and the same bytes (load, save, load, save gives the first save again).
#include "fuzzcheck.h"
#include "tuner/scefile.h"

using qz::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qz::TSceReadResult first = qz::ReadSceBytes(qz::fuzz::Bytes(data, size));
  if (!first.ok) {
    Check(first.pages.empty(), "pages of a refused file");
    Check(!first.errors.isEmpty(), "a refused file without a message");
    return 0;
  }
  qz::TSceBook book;
  book.Info = first.info;
  for (const qz::TScePage& p : first.pages) {
    Check(p.LastRow() <= qz::kSceMaxRows, "a page beyond 2048 rows", p.Name);
    book.AddPage(p);
  }
  const QByteArray saved = qz::SceFileBytes(book);
  const qz::TSceReadResult second = qz::ReadSceBytes(saved);
  Check(second.ok, "a saved book does not read back", second.errors.join(QLatin1Char('\n')));
  qz::TSceBook again;
  again.Info = second.info;
  for (const qz::TScePage& p : second.pages) again.AddPage(p);
  Check(qz::SceFileBytes(again) == saved, "a second save differs", QString::fromUtf8(saved));
  // Pages with rows come back with every row (names may have been trimmed).
  size_t withRows = 0;
  for (const qz::TScePage& p : first.pages) {
    if (p.LastRow() == 0) continue;
    Check(withRows < second.pages.size(), "a page with rows was lost", p.Name);
    Check(second.pages[withRows].Rows() == p.Rows(), "rows changed by a save", p.Name);
    ++withRows;
  }
  return 0;
}
