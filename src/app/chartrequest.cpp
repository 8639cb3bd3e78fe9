#include "app/chartrequest.h"

#include "app/picture.h"
#include "display/disptypes.h"
#include "util/atomicfile.h"
#include "util/parse.h"
#include "util/strtools.h"

namespace qz {

namespace {

constexpr int kCodeWrite = 1;
constexpr int kCodeRequest = 2;

// A text given by the user, quoted in a reason: control characters (a line break in a name)
// would break the reason's one line and are shown as "?".
QString Shown(QString text) {
  for (QChar& c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QChar('?');
  return text;
}

// Side i of "WIDTHxHEIGHT" split at the "x": a whole number, and exactly two sides.
bool ReadSide(const QStringList& sides, qsizetype i, int64_t& value) {
  if (sides.size() != 2) return false;
  const std::optional<int64_t> v = ParseInt64(sides[i]);
  if (!v) return false;
  value = *v;
  return true;
}

}  // namespace

QStringList ChartTypeNames() {
  QStringList names;
  for (int32_t t : OfferedTypes()) names << DispTypeInfo(t).caption.toLower();
  return names;
}

bool ChartTypeByName(const QString& name, int32_t& type) {
  for (int32_t t : OfferedTypes()) {
    if (DispTypeInfo(t).caption.compare(name, Qt::CaseInsensitive) == 0) {
      type = t;
      return true;
    }
  }
  return false;
}

QString UnknownChartTypeText(const QString& name) {
  return QStringLiteral("Unknown chart type \"%1\": use one of %2.")
      .arg(Shown(name), ChartTypeNames().join(QStringLiteral(", ")));
}

bool CheckChartSize(int64_t width, int64_t height, QString& error) {
  if (width >= kChartMinSide && width <= kChartMaxSide && height >= kChartMinSide &&
      height <= kChartMaxSide)
    return true;
  error = QStringLiteral("The chart size %1x%2 is outside %3 to %4 pixels a side.")
              .arg(width)
              .arg(height)
              .arg(kChartMinSide)
              .arg(kChartMaxSide);
  return false;
}

bool ParseChartOption(const QString& text, TChartRequest& req, QString& error) {
  const qsizetype colon = text.indexOf(QChar(':'));
  const QString name = colon < 0 ? text : text.left(colon);
  TChartRequest s;
  if (!ChartTypeByName(name, s.type)) {
    error = UnknownChartTypeText(name);
    return false;
  }
  if (colon >= 0) {
    const QString size = text.mid(colon + 1);
    const QStringList wh = size.split(QChar('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    int64_t w = 0, h = 0;
    if (!ReadSide(wh, 0, w) || !ReadSide(wh, 1, h)) {
      error = QStringLiteral("The chart size \"%1\" is not WIDTHxHEIGHT (for example 800x600).")
                  .arg(Shown(size));
      return false;
    }
    if (!CheckChartSize(w, h, error)) return false;
    s.width = int32_t(w);
    s.height = int32_t(h);
  }
  req = s;
  return true;
}

TChartFormat ChartFormatOf(const QString& path) {
  const QString name = path.mid(path.lastIndexOf(QChar('/')) + 1);
  const qsizetype dot = name.lastIndexOf(QChar('.'));
  if (dot < 0) return TChartFormat::Unknown;
  const QString ext = name.mid(dot + 1).toLower();
  if (ext == QLatin1String("png")) return TChartFormat::Png;
  if (ext == QLatin1String("bmp")) return TChartFormat::Bmp;
  if (ext == QLatin1String("gif")) return TChartFormat::Gif;
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return TChartFormat::Jpeg;
  return TChartFormat::Unknown;
}

QString UnknownChartFormatText(const QString& path) {
  return QStringLiteral("The chart file \"%1\" needs the extension .png, .bmp, .gif or .jpg.")
      .arg(Shown(path));
}

TChartResult CheckChartRequest(const QString& typeName, int64_t width, int64_t height,
                               const QString& path, int32_t& type) {
  TChartResult r;
  r.code = kCodeRequest;
  int32_t t = 0;
  if (!ChartTypeByName(typeName, t)) {
    r.error = UnknownChartTypeText(typeName);
    return r;
  }
  if (!CheckChartSize(width, height, r.error)) return r;
  if (ChartFormatOf(path) == TChartFormat::Unknown) {
    r.error = UnknownChartFormatText(path);
    return r;
  }
  type = t;
  return {};
}

TChartResult WriteChartFile(const TTrueImage& img, const QString& path) {
  TChartResult r;
  int32_t picType = kPicPng;
  switch (ChartFormatOf(path)) {
    case TChartFormat::Png:
      picType = kPicPng;
      break;
    case TChartFormat::Bmp:
      picType = kPicBmp;
      break;
    case TChartFormat::Gif:
      picType = kPicGif;
      break;
    case TChartFormat::Jpeg:
      picType = kPicJpeg;
      break;
    case TChartFormat::Unknown:
      r.code = kCodeRequest;
      r.error = UnknownChartFormatText(path);
      return r;
  }
  QByteArray bytes;
  QString reason;
  if (!EncodePicture(img, picType, bytes, reason)) {
    r.code = kCodeWrite;
    r.error = QStringLiteral("Cannot write file \"%1\": %2").arg(Shown(path), OneLine(reason));
    return r;
  }
  const AtomicWriteResult w = WriteFileAtomic(path, bytes);
  if (!w.ok()) {
    r.code = kCodeWrite;
    r.error = QStringLiteral("Cannot write file \"%1\": %2").arg(Shown(path), OneLine(w.reason));
  }
  return r;
}

TChartResult ChartRequestOf(const QString& typeName, uint32_t width, uint32_t height,
                            const QString& path, TChartRequest& req) {
  const int64_t w = width == 0 ? kChartDefaultWidth : int64_t(width);
  const int64_t h = height == 0 ? kChartDefaultHeight : int64_t(height);
  int32_t type = 0;
  const TChartResult check = CheckChartRequest(typeName, w, h, path, type);
  if (!check.ok()) return check;
  req.type = type;
  req.width = int32_t(w);
  req.height = int32_t(h);
  return {};
}

}  // namespace qz
