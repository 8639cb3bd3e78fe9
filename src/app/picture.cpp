#include "app/picture.h"

#include <QDir>
#include <QFileInfo>

#include "util/asker.h"
#include "util/atomicfile.h"
#include "util/numutil.h"

namespace qz {

namespace {
int32_t TypeIndex(int32_t type) { return ClampLowWins(type, int32_t(kPicBmp), int32_t(kPicPng)); }
}  // namespace

QString PicTypeName(int32_t type) {
  static const char* const names[] = {"BMP", "GIF", "JPEG", "PNG"};
  return QString::fromLatin1(names[TypeIndex(type)]);
}

QString PicAreaName(int32_t area) {
  return ClampLowWins(area, int32_t(kPicAreaMain), int32_t(kPicAreaChart)) == kPicAreaMain
             ? QStringLiteral("Main")
             : QStringLiteral("Chart");
}

QString PicTypeExt(int32_t type) {
  static const char* const ext[] = {"bmp", "gif", "jpg", "png"};
  return QString::fromLatin1(ext[TypeIndex(type)]);
}

QString PictureTypeCaption(int32_t type) {
  return QStringLiteral("Picture type  (") + PicTypeName(type) + QChar(')');
}

QString PictureAreaCaption(int32_t area) {
  return QStringLiteral("Picture Area  (") + PicAreaName(area) + QChar(')');
}

QString SeparatorCaption(QChar separ) {
  return separ == QChar(',') ? QStringLiteral("Separator (Comma)")
                             : QStringLiteral("Separator (Point)");
}

TSettledPicture SettlePicture(const QString& chosenPath, int filterIndex) {
  // The name part only: a point in a folder name is no extension.
  const qsizetype slash = chosenPath.lastIndexOf(QChar('/'));
  const QString folder = chosenPath.left(slash + 1);
  const QString name = chosenPath.mid(slash + 1);
  const qsizetype dot = name.lastIndexOf(QChar('.'));
  const QString ext = dot >= 0 ? name.mid(dot) : QString();
  for (int32_t t = kPicBmp; t <= kPicPng; ++t) {
    if (ext == QChar('.') + PicTypeExt(t)) return {t, chosenPath};
  }
  const int32_t t = ClampLowWins(int32_t(filterIndex), 1, kPicTypeCount) - 1;
  const QString base = dot >= 0 ? name.left(dot) : name;
  return {t, folder + base + QChar('.') + PicTypeExt(t)};
}

bool EncodePicture(const TTrueImage& img, int32_t type, QByteArray& out, QString& error,
                   std::optional<uint32_t> background) {
  if (TypeIndex(type) == kPicPng) return EncodePng(img, out, error);
  const TIndexedImage indexed = Quantize16(img, background);
  switch (TypeIndex(type)) {
    case kPicGif:
      return EncodeGif(indexed, out, error);
    case kPicJpeg:
      return EncodeJpeg(indexed, kJpegQuality, out, error);
    default:
      out = EncodeBmp4(indexed);
      if (out.isEmpty()) error = QStringLiteral("The picture is empty.");
      return !out.isEmpty();
  }
}

QString TPictureFiles::InitialPath(int32_t type, const QString& userFolder) const {
  const QString& name = last[size_t(TypeIndex(type))];
  const qsizetype slash = name.lastIndexOf(QChar('/'));
  if (slash >= 0) return name;
  return QDir(userFolder).filePath(name);
}

bool TPictureFiles::Save(const TTrueImage& img, int32_t& picTyp, TAsker& asker,
                         const QString& userFolder, std::optional<uint32_t> background) {
  if (img.Empty()) {
    asker.ShowWarning(QString::fromLatin1(kNothingToPicture));
    return false;
  }
  const int32_t type = TypeIndex(picTyp);
  int filterIndex = type + 1;
  const QString chosen = asker.SaveFileNameIndexed(
      QString::fromLatin1(kSavePictureTitle), InitialPath(type, userFolder),
      QString::fromLatin1(kPictureFilter), PicTypeExt(type), filterIndex, true);
  if (chosen.isEmpty()) return false;
  const TSettledPicture s = SettlePicture(chosen, filterIndex);
  // The dialog asked about the chosen name only: a renamed file must not replace another one
  // unasked.
  if (s.path != chosen && QFileInfo::exists(s.path) &&
      !asker.Confirm(s.path + QStringLiteral(" already exists. Replace it")))
    return false;
  picTyp = s.type;
  QByteArray bytes;
  QString reason;
  if (!EncodePicture(img, s.type, bytes, reason, background)) {
    asker.ShowError(QStringLiteral("Cannot write file \"%1\".\r\n%2").arg(s.path, reason));
    return false;
  }
  const AtomicWriteResult w = WriteFileAtomic(s.path, bytes);
  if (!w.ok()) {
    asker.ShowError(QStringLiteral("Cannot write file \"%1\".\r\n%2").arg(s.path, w.reason));
    return false;
  }
  last[size_t(s.type)] = s.path;
  lastWritten = s.path;
  return true;
}

}  // namespace qz
