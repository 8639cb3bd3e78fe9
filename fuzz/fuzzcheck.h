#pragma once
// What the fuzz targets share: the input as bytes and text, and a check that stops the run with
// a readable reason (libFuzzer keeps the input that made it fail).

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace qz::fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Stops the run when the condition does not hold.
inline void Check(bool ok, const char* what, const QString& detail = QString()) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n%s\n", what, detail.toUtf8().constData());
  std::abort();
}

}  // namespace qz::fuzz
