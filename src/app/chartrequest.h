#pragma once
// Charts saved without a window (the command line's --chart and the control interface): the
// display types by name, the picture's size, the file format by the file's extension, and the
// writing of the encoded picture. The chart itself is rendered by the display layer.

#include <QString>
#include <QStringList>
#include <cstdint>

#include "app/picencode.h"

namespace qz {

inline constexpr int32_t kChartDefaultWidth = 800;
inline constexpr int32_t kChartDefaultHeight = 600;
// Smaller charts leave no room for the axes; 4096 a side covers the largest screens, and larger
// pictures would take a gigabyte of memory while they are encoded.
inline constexpr int32_t kChartMinSide = 64;
inline constexpr int32_t kChartMaxSide = 4096;

enum class TChartFormat { Unknown, Png, Bmp, Gif, Jpeg };

struct TChartRequest {
  int32_t type = 0;  // display type (TDispInterv)
  int32_t width = kChartDefaultWidth;
  int32_t height = kChartDefaultHeight;
  friend bool operator==(const TChartRequest&, const TChartRequest&) = default;
};

// The outcome of a chart save, with the program's exit codes: 0 written, 1 the file could not
// be written (or the chart drawn), 2 an unknown type, size or extension. error is one line.
struct TChartResult {
  int code = 0;
  QString error;
  bool ok() const { return code == 0; }
};

// The names of the offered display types in menu order: the window captions in lower case
// ("mag", "logmag", ... "freq").
QStringList ChartTypeNames();
// The display type of a name (letter case ignored); false for a name of no offered type.
bool ChartTypeByName(const QString& name, int32_t& type);
// The reason given for a name of no offered type; it lists the names.
QString UnknownChartTypeText(const QString& name);
// "TYPE" or "TYPE:WIDTHxHEIGHT"; false with a one-line reason.
bool ParseChartOption(const QString& text, TChartRequest& req, QString& error);
// Both sides within kChartMinSide .. kChartMaxSide; false with a one-line reason.
bool CheckChartSize(int64_t width, int64_t height, QString& error);
// The format of a file by its extension (letter case ignored): .png, .bmp, .gif, .jpg, .jpeg.
TChartFormat ChartFormatOf(const QString& path);
// The reason given for a file of no known format.
QString UnknownChartFormatText(const QString& path);
// Checks type name, size and file name before anything is drawn (code 2 when one is wrong).
TChartResult CheckChartRequest(const QString& typeName, int64_t width, int64_t height,
                               const QString& path, int32_t& type);
// The same for a request by name and size as the control interface makes it: a side given as 0
// takes its default (800 wide, 600 high). On success `req` holds the type and size to draw.
TChartResult ChartRequestOf(const QString& typeName, uint32_t width, uint32_t height,
                            const QString& path, TChartRequest& req);
// Encodes the picture in the format of its file's extension (PNG at full colour, the others in
// the 16 colours of pictures) and writes it whole; an old file of that name stays as it was
// when anything fails.
TChartResult WriteChartFile(const TTrueImage& img, const QString& path);

}  // namespace qz
