#pragma once
// Golden files: bytes a writer must keep producing, held in tests/data. On a difference the
// fresh bytes are left in the temporary folder under the same name (for renewing the golden
// file after a deliberate change) and the first differing line is shown.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QList>
#include <QString>

#include "common/testfiles.h"

namespace qz::testing {

inline QString GoldenPath(const QString& name) {
  return QStringLiteral(QZ_TEST_DATA_DIR) + QLatin1Char('/') + name;
}

inline void ExpectGolden(const QByteArray& fresh, const QString& name) {
  const QByteArray golden = testing::ReadAll(GoldenPath(name));
  if (fresh == golden) return;
  const QString renew = QDir::temp().filePath(name);
  testing::WriteAll(renew, fresh);
  const QList<QByteArray> a = golden.split('\n');
  const QList<QByteArray> b = fresh.split('\n');
  qsizetype line = 0;
  while (line < a.size() && line < b.size() && a[line] == b[line]) ++line;
  ADD_FAILURE() << name.toStdString() << " differs at line " << line + 1 << ": golden \""
                << (line < a.size() ? a[line].trimmed().toStdString() : std::string("<end>"))
                << "\", written \""
                << (line < b.size() ? b[line].trimmed().toStdString() : std::string("<end>"))
                << "\" (" << golden.size() << " / " << fresh.size()
                << " bytes; the written file is " << renew.toStdString() << ")";
}

}  // namespace qz::testing
