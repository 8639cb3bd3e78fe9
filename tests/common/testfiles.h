#pragma once
// Small file helpers shared by the tests.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace qz::testfiles {

// The whole file, or nothing when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// Writes the bytes as the whole file; the calling test fails when that is not possible.
inline void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace qz::testfiles
