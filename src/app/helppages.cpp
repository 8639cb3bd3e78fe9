#include "app/helppages.h"

#include <QDir>

#include "util/folders.h"

namespace qz {

namespace {

QString WithSlash(const QString& folder) {
  return folder.isEmpty() || folder.endsWith(QChar('/')) ? folder : folder + QChar('/');
}

}  // namespace

QString HelpFolder() { return ProgramDataFolder() + QStringLiteral("help/"); }

QString HelpPagePath(const QString& folder, const QString& page) {
  return WithSlash(folder) + page;
}

QString MissingHelpPageText(const QString& folder, const QString& page) {
  return QStringLiteral("The page \"%1\" is missing from %2.")
      .arg(page, QDir::toNativeSeparators(QDir::cleanPath(folder)));
}

}  // namespace qz
