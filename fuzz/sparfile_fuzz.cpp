// Arbitrary bytes as an S-parameter file: the reader must never crash, read out of bounds or
// hand back a table whose lists disagree.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/bilintransf.h"
#include "core/sparfile.h"
#include "core/texttokens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const qz::TSparFileResult r = qz::ParseSparLines(qz::SplitTextLines(bytes));
  if (r.freqs.size() != r.matrices.size()) std::abort();
  if (r.valid == r.isError || r.message.isEmpty()) std::abort();
  if (!r.valid && !r.freqs.empty()) std::abort();
  if (r.valid) {
    qz::TBilinTransf bt;
    bt.FSLoaded = true;
    bt.SToBilinAll(r.freqs, r.matrices);
    for (double f : {-1.0, 0.0, r.freqs.front(), r.freqs.back() * 0.5, 1e12}) {
      (void)bt.TransformLoadToInput(qz::complex(0.3, -0.2), f);
      (void)bt.TransformInputToLoad(qz::complex(0.3, -0.2), f);
    }
    (void)bt.BiStructToStr(0, 2);
  }
  return 0;
}
