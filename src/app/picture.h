#pragma once
// Pictures of the main window or of the active chart: the picture type and area names shown in
// the File menu, how a chosen file name settles the picture type, the last name of each type,
// and Save Picture itself over an indexed image (the window grabs the pixels; everything from the
// save dialog on happens here, without a display).

#include <QString>
#include <array>
#include <cstdint>

#include "app/picencode.h"

namespace qz {

class TAsker;

// Picture types (`PicTyp`) and areas (`PicArea`).
// PNG (3) is written at full colour; the others hold the 16 colours.
enum TPicType : int32_t { kPicBmp = 0, kPicGif = 1, kPicJpeg = 2, kPicPng = 3 };
inline constexpr int32_t kPicTypeCount = 4;
enum TPicArea : int32_t { kPicAreaMain = 0, kPicAreaChart = 1 };

inline constexpr const char* kPictureFilter =
    "Bitmap file (*.bmp)|*.bmp|GIF file (*.gif)|*.gif|JPEG file (*.jpg)|*.jpg|PNG file "
    "(*.png)|*.png";
inline constexpr const char* kSavePictureTitle = "Save Picture";
inline constexpr int kJpegQuality = 90;
inline constexpr const char* kNothingToPicture = "Nothing to picture: the window is minimised";

// "BMP", "GIF", "JPEG", "PNG" and "Main", "Chart" (out-of-range values are limited).
QString PicTypeName(int32_t type);
QString PicAreaName(int32_t area);
// The file extension of a type, without the point: "bmp", "gif", "jpg", "png".
QString PicTypeExt(int32_t type);

// The File menu's captions as the menu opens.
QString PictureTypeCaption(int32_t type);  // "Picture type  (BMP)"
QString PictureAreaCaption(int32_t area);  // "Picture Area  (Main)"
QString SeparatorCaption(QChar separ);     // "Separator (Point)" or "Separator (Comma)"

// The type and final name of a chosen picture file. The extension is compared exactly (letter
// case counts): ".bmp", ".gif", ".jpg" and ".png" give their type and keep the name. Any other
// extension, or none, takes the type from the dialog's filter (1 BMP, 2 GIF, 3 JPEG, 4 PNG) and
// replaces the last suffix of the name by the type's extension.
struct TSettledPicture {
  int32_t type = kPicBmp;
  QString path;
  friend bool operator==(const TSettledPicture&, const TSettledPicture&) = default;
};
TSettledPicture SettlePicture(const QString& chosenPath, int filterIndex);

// The encoded file of a type: BMP, GIF and JPEG of the picture reduced to the 16 colours (with
// the background, 0xRRGGBB, kept exact: PaletteForBackground), PNG at full colour. False with the
// reason when the image cannot be encoded.
bool EncodePicture(const TTrueImage& img, int32_t type, QByteArray& out, QString& error,
                   std::optional<uint32_t> background = {});

// The last picture file of each type, for the run only.
class TPictureFiles {
 public:
  std::array<QString, kPicTypeCount> last = {QStringLiteral("1.bmp"), QStringLiteral("1.gif"),
                                             QStringLiteral("1.jpg"), QStringLiteral("1.png")};

  // Where the save dialog opens for a type: the folder of its last name (the per-user folder
  // when that name has none) and the name part.
  QString InitialPath(int32_t type, const QString& userFolder) const;

  // Save Picture: the dialog (filter index picTyp + 1), the type settled from the chosen name,
  // a question before a renamed file replaces another, then the encoded file written whole.
  // picTyp takes the settled type once the file is about to be written; the last name of the
  // type changes only when the file was written. True when a file was written.
  bool Save(const TTrueImage& img, int32_t& picTyp, TAsker& asker, const QString& userFolder,
            std::optional<uint32_t> background = {});
  // The path written by the last successful Save.
  QString lastWritten;
};

}  // namespace qz
