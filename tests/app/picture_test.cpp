#include "app/picture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/arrange.h"
#include "app/picencode.h"
#include "util/asker.h"

namespace qz {
namespace {

// An image whose pixels run through the palette indices, so every colour and nibble position
// appears.
TIndexedImage Ramp(int32_t w, int32_t h) {
  TIndexedImage img;
  img.width = w;
  img.height = h;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) img.pixels.push_back(uint8_t((x + 3 * y) % 16));
  return img;
}

// The same ramp in the palette's own colours: reducing it to 16 colours gives the ramp back.
TTrueImage TrueRamp(int32_t w, int32_t h) {
  const TIndexedImage idx = Ramp(w, h);
  TTrueImage img;
  img.width = w;
  img.height = h;
  for (uint8_t i : idx.pixels) img.pixels.push_back(0xFF000000u | Palette16()[i]);
  return img;
}

uint32_t Le32(const QByteArray& b, int pos) {
  return uint32_t(uint8_t(b[pos])) | uint32_t(uint8_t(b[pos + 1])) << 8 |
         uint32_t(uint8_t(b[pos + 2])) << 16 | uint32_t(uint8_t(b[pos + 3])) << 24;
}
uint32_t Le16(const QByteArray& b, int pos) {
  return uint32_t(uint8_t(b[pos])) | uint32_t(uint8_t(b[pos + 1])) << 8;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SettlePicture, ExtensionComparedExactlyElseTheFilterDecides) {
  struct Case {
    const char* chosen;
    int filter;
    int32_t type;
    const char* path;
  } cases[] = {
      {"plot.BMP", 3, kPicJpeg, "plot.jpg"},
      {"plot.gif", 1, kPicGif, "plot.gif"},
      {"plot", 2, kPicGif, "plot.gif"},
      {"a.b.txt", 1, kPicBmp, "a.b.bmp"},
      {"/data/x.jpg", 1, kPicJpeg, "/data/x.jpg"},
      {"/data/x.bmp", 3, kPicBmp, "/data/x.bmp"},
      {"/data/x.Gif", 2, kPicGif, "/data/x.gif"},
      // A point in a folder name is no extension.
      {"/data.old/plot", 3, kPicJpeg, "/data.old/plot.jpg"},
      {"plot.", 1, kPicBmp, "plot.bmp"},
      // A filter index out of range is limited to the three types.
      {"plot", 0, kPicBmp, "plot.bmp"},
      {"plot", 9, kPicPng, "plot.png"},
      {"plot.png", 1, kPicPng, "plot.png"},
      {"plot.Png", 3, kPicJpeg, "plot.jpg"},
      {"plot", 4, kPicPng, "plot.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    EXPECT_EQ(SettlePicture(QString::fromUtf8(c.chosen), c.filter),
              (TSettledPicture{c.type, QString::fromUtf8(c.path)}));
  }
}

TEST(PictureCaptions, FileMenuCaptionsNameTheCurrentChoice) {
  EXPECT_EQ(PictureTypeCaption(kPicBmp), QStringLiteral("Picture type  (BMP)"));
  EXPECT_EQ(PictureTypeCaption(kPicGif), QStringLiteral("Picture type  (GIF)"));
  EXPECT_EQ(PictureTypeCaption(kPicJpeg), QStringLiteral("Picture type  (JPEG)"));
  EXPECT_EQ(PictureAreaCaption(kPicAreaMain), QStringLiteral("Picture Area  (Main)"));
  EXPECT_EQ(PictureAreaCaption(kPicAreaChart), QStringLiteral("Picture Area  (Chart)"));
  EXPECT_EQ(SeparatorCaption(QChar('.')), QStringLiteral("Separator (Point)"));
  EXPECT_EQ(SeparatorCaption(QChar(',')), QStringLiteral("Separator (Comma)"));
}

TEST(Quantise, NearestPaletteColourFirstWinsATie) {
  struct Case {
    uint32_t rgb;
    uint8_t index;
  } cases[] = {
      // The frame window's colour 10744749 (0x00BBGGRR) is RGB AD F3 A3: silver.
      {0xADF3A3, 7},
      {0x000000, 0},
      {0xFFFFFF, 15},
      {0x7F7F7F, 8},
      {0xFF0000, 9},
      {0x0000FE, 12},
      // 0x40 lies halfway between 00 and 80: black and maroon tie, black comes first.
      {0x400000, 0},
      // The top byte (alpha) does not count.
      {0xFF00FFFF, 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rgb);
    EXPECT_EQ(NearestPaletteIndex(c.rgb), c.index);
  }
  constexpr uint32_t kFrame = 10744749;  // 0x00BBGGRR
  EXPECT_EQ((kFrame & 0xFF) << 16 | (kFrame & 0xFF00) | (kFrame >> 16), 0xADF3A3u);
  // Rows are read `stride` pixels apart; what lies beyond the width is ignored.
  const uint32_t px[] = {0xFF000000, 0xFFFFFFFF, 0xFF123456, 0xFFFF0000, 0xFF0000FF, 0xFFABCDEF};
  const TIndexedImage img = Quantize16(px, 2, 2, 3);
  EXPECT_EQ(img.pixels, (std::vector<uint8_t>{0, 15, 9, 12}));
}

// A picture of the 16 standard colours, colour i on uses[i] pixels, and `bkg` pixels of the
// frame window's colour RGB(173, 243, 163).
std::vector<uint32_t> ColourCounts(const std::array<int, 16>& uses, int bkg) {
  std::vector<uint32_t> px;
  for (size_t i = 0; i < 16; ++i)
    px.insert(px.end(), size_t(uses[i]), 0xFF000000u | Palette16()[i]);
  px.insert(px.end(), size_t(bkg), 0xFFADF3A3u);
  return px;
}

TEST(PictureEncoders, TheBackgroundTakesTheEntryOfTheLeastUsedColour) {
  constexpr uint32_t kBkg = 0xADF3A3;
  std::array<int, 16> distinct{};
  for (size_t i = 0; i < 16; ++i) distinct[i] = 10 + int(i);
  distinct[5] = 3;  // purple is the least used
  std::array<int, 16> equal{};
  equal.fill(4);
  std::array<int, 16> unusedTwo = distinct;
  unusedTwo[2] = 0;
  unusedTwo[11] = 0;
  struct Case {
    const char* what;
    std::vector<uint32_t> px;
    uint32_t background;
    int replaced;  // -1: the standard palette
  };
  const std::vector<Case> cases{
      {"the least used", ColourCounts(distinct, 50), kBkg, 5},
      {"a tie: the last", ColourCounts(equal, 50), kBkg, 15},
      {"two unused: the last of them", ColourCounts(unusedTwo, 50), kBkg, 11},
      {"a standard background", ColourCounts(distinct, 0), 0xC0C0C0, -1},
      {"no background pixel", ColourCounts(distinct, 0), kBkg, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int32_t w = int32_t(c.px.size());
    TPalette16 expected = kStandardPalette16;
    if (c.replaced >= 0) expected[size_t(c.replaced)] = c.background;
    EXPECT_EQ(PaletteForBackground(c.px.data(), w, 1, w, c.background), expected);
  }
  // Quantised to it: every colour but the replaced one and the background exact; GIF and BMP
  // carry that palette.
  const std::vector<uint32_t> px = ColourCounts(distinct, 50);
  const TTrueImage img = TrueImageOf(px.data(), int32_t(px.size()), 1, int32_t(px.size()));
  const TIndexedImage q = Quantize16(img, kBkg);
  size_t lost = 0;
  for (size_t i = 0; i < px.size(); ++i) {
    const uint32_t shown = q.palette[q.pixels[i]];
    if (shown != (px[i] & 0xFFFFFF)) {
      ++lost;
      EXPECT_EQ(px[i] & 0xFFFFFF, Palette16()[5]);
    }
  }
  EXPECT_EQ(lost, 3u);
  QByteArray gif;
  QString err;
  ASSERT_TRUE(EncodeGif(q, gif, err)) << err.toStdString();
  TIndexedImage back;
  std::vector<uint32_t> colours;
  ASSERT_TRUE(DecodeGif(gif, back, colours, err)) << err.toStdString();
  EXPECT_EQ(back, q);
  EXPECT_EQ(colours.at(5), kBkg);
  const QByteArray bmp = EncodeBmp4(q);
  EXPECT_EQ(bmp.mid(54 + 4 * 5, 4), QByteArray("\xA3\xF3\xAD\x00", 4));
  // The JPEG shows the background within its loss.
  QByteArray jpeg;
  TRgbImage decoded;
  const std::vector<uint32_t> flat(64 * 64, 0xFFADF3A3u);
  const TIndexedImage square = Quantize16(TrueImageOf(flat.data(), 64, 64, 64), kBkg);
  ASSERT_TRUE(EncodeJpeg(square, 90, jpeg, err) && DecodeJpeg(jpeg, decoded, err));
  EXPECT_NEAR(decoded.rgb[3 * 2080], 173, 24);
  EXPECT_NEAR(decoded.rgb[3 * 2080 + 1], 243, 24);
  EXPECT_NEAR(decoded.rgb[3 * 2080 + 2], 163, 24);
}

TEST(PictureEncoders, BmpHasFourBitsPerPixelAndTheSixteenColourPalette) {
  for (int32_t w : {1, 2, 7, 8, 9, 33}) {
    SCOPED_TRACE(w);
    const int32_t h = 3;
    const QByteArray b = EncodeBmp4(Ramp(w, h));
    ASSERT_GE(b.size(), 118);
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    const uint32_t rowBytes = 4 * uint32_t((w + 7) / 8);
    EXPECT_EQ(Le32(b, 2), 118 + rowBytes * h);
    EXPECT_EQ(uint32_t(b.size()), 118 + rowBytes * h);
    EXPECT_EQ(Le32(b, 10), 118u);
    EXPECT_EQ(Le32(b, 18), uint32_t(w));
    EXPECT_EQ(Le32(b, 22), uint32_t(h));
    EXPECT_EQ(Le16(b, 28), 4u);
    EXPECT_EQ(Le32(b, 46), 16u);
  }
  // Palette entries are blue, green, red, 0: entry 9 is pure red.
  const QByteArray b = EncodeBmp4(Ramp(3, 2));
  EXPECT_EQ(b.mid(54 + 4 * 9, 4), QByteArray("\x00\x00\xFF\x00", 4));
  EXPECT_EQ(b.mid(54 + 4 * 7, 4), QByteArray("\xC0\xC0\xC0\x00", 4));
  // Bottom row first, left pixel in the high nibble: rows 0 1 2 and 3 4 5.
  EXPECT_EQ(b.mid(118, 8), QByteArray("\x34\x50\x00\x00\x01\x20\x00\x00", 8));
}

TEST(PictureEncoders, GifHasASixteenColourTableAndDecodesToTheSamePixels) {
  const TIndexedImage img = Ramp(37, 11);
  QByteArray gif;
  QString err;
  ASSERT_TRUE(EncodeGif(img, gif, err)) << err.toStdString();
  EXPECT_EQ(gif.left(4), QByteArray("GIF8"));
  // The logical screen's packed byte: a global table of 2^(3+1) = 16 entries.
  EXPECT_EQ(uint8_t(gif[10]) & 0x80, 0x80);
  EXPECT_EQ(uint8_t(gif[10]) & 0x07, 3);
  TIndexedImage back;
  std::vector<uint32_t> colours;
  ASSERT_TRUE(DecodeGif(gif, back, colours, err)) << err.toStdString();
  EXPECT_EQ(back, img);
  EXPECT_EQ(colours, std::vector<uint32_t>(Palette16().begin(), Palette16().end()));
}

TEST(PictureEncoders, JpegStartsWithTheMarkerAndDecodesToTheSameSize) {
  TIndexedImage red;
  red.width = 40;
  red.height = 17;
  red.pixels.assign(40 * 17, 9);
  QByteArray jpg;
  QString err;
  ASSERT_TRUE(EncodeJpeg(red, kJpegQuality, jpg, err)) << err.toStdString();
  EXPECT_EQ(jpg.left(2), QByteArray("\xFF\xD8", 2));
  TRgbImage back;
  ASSERT_TRUE(DecodeJpeg(jpg, back, err)) << err.toStdString();
  EXPECT_EQ(back.width, 40);
  EXPECT_EQ(back.height, 17);
  // A flat colour survives the compression within a few steps.
  EXPECT_NEAR(back.rgb[0], 255, 4);
  EXPECT_NEAR(back.rgb[1], 0, 4);
  EXPECT_NEAR(back.rgb[2], 0, 4);
  // A damaged file is refused with a reason, never a crash.
  EXPECT_FALSE(DecodeJpeg(jpg.left(20), back, err));
  EXPECT_FALSE(err.isEmpty());
}

uint32_t Be32(const QByteArray& b, qsizetype pos) {
  return uint32_t(uint8_t(b[pos])) << 24 | uint32_t(uint8_t(b[pos + 1])) << 16 |
         uint32_t(uint8_t(b[pos + 2])) << 8 | uint32_t(uint8_t(b[pos + 3]));
}

TEST(PictureEncoders, PngKeepsEveryColourAndItsChunksCarryTheirCrc) {
  // Colours far from the 16 of the palette must come back unchanged.
  TTrueImage img;
  img.width = 5;
  img.height = 3;
  for (int32_t i = 0; i < 15; ++i)
    img.pixels.push_back(0xFF000000u | uint32_t(0x123456 + i * 0x010203));
  QByteArray png;
  QString err;
  ASSERT_TRUE(EncodePng(img, png, err)) << err.toStdString();
  ASSERT_EQ(png.left(8), QByteArray("\x89PNG\r\n\x1A\n", 8));
  // IHDR: 13 bytes, width, height, 8 bits, colour type 2 (RGB), no interlace.
  EXPECT_EQ(Be32(png, 8), 13u);
  EXPECT_EQ(png.mid(12, 4), QByteArray("IHDR"));
  EXPECT_EQ(Be32(png, 16), 5u);
  EXPECT_EQ(Be32(png, 20), 3u);
  EXPECT_EQ(png.mid(24, 5), QByteArray("\x08\x02\x00\x00\x00", 5));
  // The standard's CRC check value, and the fixed CRC of every IEND chunk.
  EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(png.right(12), QByteArray("\x00\x00\x00\x00IEND\xAE\x42\x60\x82", 12));
  // Every chunk's CRC covers its type and data; IDAT inflates to the rows, each with filter 0.
  qsizetype pos = 8;
  QByteArray rows;
  while (pos + 12 <= png.size()) {
    const uint32_t len = Be32(png, pos);
    const QByteArray typed = png.mid(pos + 4, qsizetype(len) + 4);
    EXPECT_EQ(Be32(png, pos + 8 + qsizetype(len)), Crc32(typed)) << typed.left(4).toStdString();
    if (typed.startsWith("IDAT")) rows += typed.mid(4);
    pos += 12 + qsizetype(len);
  }
  EXPECT_EQ(pos, png.size());
  const QByteArray raw = qUncompress(QByteArray("\x00\x00\x00\x30", 4) + rows);
  ASSERT_EQ(raw.size(), 3 * (1 + 5 * 3));
  for (int32_t y = 0; y < 3; ++y) {
    EXPECT_EQ(raw[y * 16], '\0');
    for (int32_t x = 0; x < 5; ++x) {
      const uint32_t c = img.At(x, y);
      const qsizetype at = y * 16 + 1 + x * 3;
      EXPECT_EQ(uint8_t(raw[at]), (c >> 16) & 0xFF);
      EXPECT_EQ(uint8_t(raw[at + 1]), (c >> 8) & 0xFF);
      EXPECT_EQ(uint8_t(raw[at + 2]), c & 0xFF);
    }
  }
}

TEST(PictureEncoders, AnEmptyImageIsRefused) {
  const TTrueImage empty;
  QByteArray out;
  QString err;
  EXPECT_TRUE(EncodeBmp4(TIndexedImage{}).isEmpty());
  for (int32_t t : {kPicBmp, kPicGif, kPicJpeg, kPicPng}) {
    SCOPED_TRACE(t);
    err.clear();
    EXPECT_FALSE(EncodePicture(empty, t, out, err));
    EXPECT_FALSE(err.isEmpty());
  }
}

// Save Picture over a folder of its own with a scripted dialog.
class SavePicture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    asker.quiet = true;
  }
  QString In(const char* name) const { return QDir(dir.path()).filePath(QString::fromUtf8(name)); }
  bool Save(const QString& chosen, int filter) {
    asker.QueueFile(chosen);
    asker.QueueFilterIndex(filter);
    return files.Save(img, picTyp, asker, dir.path());
  }

  QTemporaryDir dir;
  TScriptedAsker asker;
  TPictureFiles files;
  TTrueImage img = TrueRamp(20, 10);
  int32_t picTyp = kPicBmp;
};

TEST_F(SavePicture, TheSettledTypeIsWrittenAndBecomesThePictureType) {
  struct Case {
    int32_t startType;
    const char* chosen;
    int filter;
    const char* written;
    int32_t type;
    QByteArray magic;
  } cases[] = {
      {kPicBmp, "a.gif", 1, "a.gif", kPicGif, "GIF8"},
      {kPicGif, "b.BMP", 3, "b.jpg", kPicJpeg, QByteArray("\xFF\xD8", 2)},
      {kPicJpeg, "c", 1, "c.bmp", kPicBmp, "BM"},
      {kPicBmp, "d.jpg", 2, "d.jpg", kPicJpeg, QByteArray("\xFF\xD8", 2)},
      // PNG: by its extension whatever the filter, or by the fourth filter.
      {kPicBmp, "e.png", 1, "e.png", kPicPng, QByteArray("\x89PNG", 4)},
      {kPicPng, "f.PNG", 4, "f.png", kPicPng, QByteArray("\x89PNG", 4)},
      {kPicPng, "g", 4, "g.png", kPicPng, QByteArray("\x89PNG", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    picTyp = c.startType;
    ASSERT_TRUE(Save(In(c.chosen), c.filter));
    EXPECT_EQ(picTyp, c.type);
    EXPECT_EQ(ReadAll(In(c.written)).left(c.magic.size()), c.magic);
    EXPECT_EQ(files.last[size_t(c.type)], In(c.written));
    // The dialog opened with the filter of the type in force.
    EXPECT_EQ(asker.log.back().number, c.startType + 1);
  }
  // The renamed choice was not written under its own name.
  EXPECT_FALSE(QFile::exists(In("b.BMP")));
}

TEST_F(SavePicture, TheDialogStartsAtTheLastNameOfTheType) {
  picTyp = kPicGif;
  asker.QueueFile(QString());  // cancelled: nothing happens
  EXPECT_FALSE(files.Save(img, picTyp, asker, dir.path()));
  ASSERT_EQ(asker.Records(TAskRecord::SaveFile).size(), 1u);
  const TAskRecord first = asker.Records(TAskRecord::SaveFile)[0];
  EXPECT_EQ(first.text, In("1.gif"));
  EXPECT_EQ(first.caption, QStringLiteral("Save Picture"));
  EXPECT_EQ(first.extra, QString::fromLatin1(kPictureFilter));
  EXPECT_EQ(picTyp, kPicGif);

  QDir(dir.path()).mkdir(QStringLiteral("sub"));
  ASSERT_TRUE(Save(In("sub/p.gif"), 2));
  asker.QueueFile(QString());
  files.Save(img, picTyp, asker, dir.path());
  EXPECT_EQ(asker.Records(TAskRecord::SaveFile).back().text, In("sub/p.gif"));
  // The other types still start at their first names.
  EXPECT_EQ(files.InitialPath(kPicJpeg, dir.path()), In("1.jpg"));
}

TEST_F(SavePicture, ARenamedFileReplacesAnotherOnlyAfterYes) {
  QFile old(In("plot.jpg"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old picture");
  old.close();

  asker.QueueButton(mbNo);
  EXPECT_FALSE(Save(In("plot.BMP"), 3));
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, In("plot.jpg") + QStringLiteral(" already exists. Replace it"));
  EXPECT_EQ(msgs[0].buttons, TMsgButtons(mbYes | mbNo));
  EXPECT_EQ(ReadAll(In("plot.jpg")), QByteArray("old picture"));
  EXPECT_EQ(picTyp, kPicBmp);
  EXPECT_EQ(files.last[kPicJpeg], QStringLiteral("1.jpg"));

  asker.QueueButton(mbYes);
  EXPECT_TRUE(Save(In("plot.BMP"), 3));
  EXPECT_EQ(ReadAll(In("plot.jpg")).left(2), QByteArray("\xFF\xD8", 2));
  EXPECT_EQ(picTyp, kPicJpeg);

  // A name kept as chosen was already asked about by the dialog: no second question.
  const size_t asked = asker.Records(TAskRecord::Message).size();
  EXPECT_TRUE(Save(In("plot.jpg"), 3));
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), asked);
}

TEST_F(SavePicture, AFailedWriteNamesTheFileAndKeepsTheLastName) {
  ASSERT_TRUE(Save(In("good.gif"), 2));
  const QString bad = In("missing/folder/x.gif");
  EXPECT_FALSE(Save(bad, 2));
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].type, TMsgType::Error);
  EXPECT_TRUE(msgs[0].text.startsWith(QStringLiteral("Cannot write file \"") + bad + "\".\r\n"));
  EXPECT_GT(msgs[0].text.size(), (QStringLiteral("Cannot write file \"") + bad + "\".\r\n").size());
  EXPECT_EQ(files.last[kPicGif], In("good.gif"));
}

TEST_F(SavePicture, AnEmptyPictureIsReportedAndNothingIsAsked) {
  img = {};
  EXPECT_FALSE(files.Save(img, picTyp, asker, dir.path()));
  EXPECT_TRUE(asker.Records(TAskRecord::SaveFile).empty());
  ASSERT_EQ(asker.Records(TAskRecord::Message).size(), 1u);
  EXPECT_EQ(asker.Records(TAskRecord::Message)[0].text,
            QStringLiteral("Nothing to picture: the window is minimised"));
}

// Every rectangle inside the area and no two overlapping.
void ExpectTiled(const std::vector<QRect>& r, QSize area, size_t n) {
  ASSERT_EQ(r.size(), n);
  const QRect all(QPoint(0, 0), area);
  for (size_t i = 0; i < r.size(); ++i) {
    EXPECT_TRUE(all.contains(r[i])) << i;
    for (size_t j = i + 1; j < r.size(); ++j) EXPECT_FALSE(r[i].intersects(r[j])) << i << j;
  }
}

TEST(Arrange, TilesShareTheAreaAndTheLastTakesTheRemainder) {
  const QSize area(500, 301);
  const std::vector<QRect> h = TileHorizontal(area, 3);
  ExpectTiled(h, area, 3);
  EXPECT_EQ(h[0], QRect(0, 0, 500, 100));
  EXPECT_EQ(h[1], QRect(0, 100, 500, 100));
  EXPECT_EQ(h[2], QRect(0, 200, 500, 101));
  const std::vector<QRect> v = TileVertical(area, 3);
  ExpectTiled(v, area, 3);
  EXPECT_EQ(v[0], QRect(0, 0, 166, 301));
  EXPECT_EQ(v[2], QRect(332, 0, 168, 301));
  EXPECT_TRUE(TileHorizontal(area, 0).empty());
  EXPECT_EQ(TileVertical(area, 1), std::vector<QRect>{QRect(0, 0, 500, 301)});
}

// Tiles of a 1590 x 881 display area for windows whose least size is a 330 x 220 client with a
// frame of 8 + 8 by 30 + 8 pixels: strips while they stay that large, else a grid of
// ceil(sqrt(n)) columns; expected places written out by hand.
TEST(Arrange, TilesAreStripsWhileTheyHoldANewWindowThenAGrid) {
  const QSize area(1590, 881);
  const QSize frame(16, 38);
  const QSize least = QSize(330, 220) + frame;
  struct Case {
    const char* what;
    bool horiz;
    int n;
    std::vector<QRect> expected;  // empty: only the grid's general checks
  };
  // 11 windows in 4 columns by 3 rows: 397 x 293 cells, the last column 399, the last row 295.
  auto cell = [](int col, int row) {
    return QRect(397 * col, 293 * row, col == 3 ? 399 : 397, row == 2 ? 295 : 293);
  };
  std::vector<QRect> rowsFirst, colsFirst;
  for (int i = 0; i < 11; ++i) rowsFirst.push_back(cell(i % 4, i / 4));
  for (int i = 0; i < 11; ++i) colsFirst.push_back(cell(i / 3, i % 3));
  const std::vector<Case> cases{
      {"3 strips",
       true,
       3,
       {QRect(0, 0, 1590, 293), QRect(0, 293, 1590, 293), QRect(0, 586, 1590, 295)}},
      {"4 windows do not fit 220 high strips",
       true,
       4,
       {QRect(0, 0, 795, 440), QRect(795, 0, 795, 440), QRect(0, 440, 795, 441),
        QRect(795, 440, 795, 441)}},
      {"11 row by row", true, 11, rowsFirst},
      {"4 columns",
       false,
       4,
       {QRect(0, 0, 397, 881), QRect(397, 0, 397, 881), QRect(794, 0, 397, 881),
        QRect(1191, 0, 399, 881)}},
      {"5 windows: 3 by 2 column by column",
       false,
       5,
       {QRect(0, 0, 530, 440), QRect(0, 440, 530, 441), QRect(530, 0, 530, 440),
        QRect(530, 440, 530, 441), QRect(1060, 0, 530, 440)}},
      {"11 column by column", false, 11, colsFirst},
  };
  for (const Case& c : cases) {
    const std::vector<QRect> r =
        c.horiz ? TileHorizontal(area, c.n, least) : TileVertical(area, c.n, least);
    ExpectTiled(r, area, size_t(c.n));
    EXPECT_EQ(r, c.expected) << c.what;
    for (const QRect& q : r) {
      EXPECT_GE(q.width() - frame.width(), 330) << c.what;
      EXPECT_GE(q.height() - frame.height(), 220) << c.what;
    }
  }
  // An area too small for the grid: no window below its least size (they overlap).
  for (const QRect& q : TileHorizontal(QSize(500, 400), 11, least)) {
    EXPECT_GE(q.width(), least.width());
    EXPECT_GE(q.height(), least.height());
  }
}

TEST(Arrange, IconsLineUpAlongTheBottomFromTheLeft) {
  const QSize area(250, 200);
  const std::vector<QRect> r = IconPlaces(area, QSize(100, 30), 3);
  ExpectTiled(r, area, 3);
  EXPECT_EQ(r[0], QRect(0, 170, 100, 30));
  EXPECT_EQ(r[1], QRect(100, 170, 100, 30));
  EXPECT_EQ(r[2], QRect(0, 140, 100, 30));
}

TEST(Arrange, NormalPlaceAndThePlanOfEachArrangement) {
  EXPECT_EQ(NormalChildRect(QSize(800, 600)), QRect(0, 0, 770, 570));
  EXPECT_EQ(NormalChildRect(QSize(20, 40)), QRect(0, 0, 1, 10));
  EXPECT_EQ(ArrangePlan(0), (TArrangePlan{false, false}));
  EXPECT_EQ(ArrangePlan(1), (TArrangePlan{true, false}));
  EXPECT_EQ(ArrangePlan(2), (TArrangePlan{false, true}));
  EXPECT_EQ(ArrangePlan(3), (TArrangePlan{true, true}));
}

}  // namespace
}  // namespace qz
