#include "app/helppages.h"

#include <QFileInfo>

#include "util/folders.h"

namespace qz {

namespace {

QString WithSlash(const QString& folder) {
  return folder.isEmpty() || folder.endsWith(QChar('/')) ? folder : folder + QChar('/');
}

QString OrIndex(const QString& folder, const QString& page) {
  const QString p = WithSlash(folder) + page;
  if (!page.isEmpty() && QFileInfo(p).isFile()) return p;
  return WithSlash(folder) + QString::fromLatin1(kHelpIndexPage);
}

}  // namespace

QString HelpFolder() { return ProgramDataFolder() + QStringLiteral("help/"); }

QString HelpPageForTopic(const QString& folder, int topic) {
  if (topic <= 0) return OrIndex(folder, QString());
  return OrIndex(folder,
                 QStringLiteral("topic_") + QString::number(topic) + QStringLiteral(".html"));
}

QString HelpPageForKeyword(const QString& folder, const QString& keyword) {
  // Letters and digits in lower case; every run of other characters becomes one '_'.
  QString slug;
  bool gap = false;
  for (const QChar c : keyword.trimmed()) {
    if (c.isLetterOrNumber() && c.unicode() < 128) {
      if (gap && !slug.isEmpty()) slug += QChar('_');
      slug += c.toLower();
      gap = false;
    } else {
      gap = true;
    }
  }
  if (slug.isEmpty()) return OrIndex(folder, QString());
  return OrIndex(folder, slug + QStringLiteral(".html"));
}

}  // namespace qz
