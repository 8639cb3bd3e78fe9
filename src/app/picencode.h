#pragma once
// Pictures of the program's windows: the quantiser to the fixed 16-colour palette, the BMP, GIF
// and JPEG encoders of 16-colour pictures and the full-colour PNG encoder, all working on plain
// pixel arrays so that they run without a display. The decoders read back what the encoders write
// (the clipboard's JPEG image and the checks of the files).

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qz {

// 16 colours as 0xRRGGBB, in index order.
using TPalette16 = std::array<uint32_t, 16>;
inline constexpr TPalette16 kStandardPalette16 = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// One palette index (0..15) per pixel, rows top to bottom, and the palette they index.
struct TIndexedImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
  TPalette16 palette = kStandardPalette16;
  bool Empty() const { return width <= 0 || height <= 0; }
  uint8_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  friend bool operator==(const TIndexedImage&, const TIndexedImage&) = default;
};

// A full-colour picture: one 0xAARRGGBB pixel each (alpha ignored), rows top to bottom.
struct TTrueImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  bool Empty() const { return width <= 0 || height <= 0; }
  uint32_t At(int32_t x, int32_t y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  friend bool operator==(const TTrueImage&, const TTrueImage&) = default;
};
// Copies 32-bit pixels whose rows lie `stride` pixels apart.
TTrueImage TrueImageOf(const uint32_t* pixels, int32_t width, int32_t height, int64_t stride);

// The 16 standard colours in index order, as 0xRRGGBB.
const std::array<uint32_t, 16>& Palette16();
// The nearest palette colour by squared RGB distance (the first on a tie) of 0x..RRGGBB (the top
// byte is ignored).
uint8_t NearestPaletteIndex(uint32_t rgb, const TPalette16& palette = kStandardPalette16);
// The palette of a picture whose background is `background` (0xRRGGBB): the standard one when it
// holds that colour or no pixel has it; else the background replaces the standard entry that the
// fewest other pixels are nearest to (the last such entry on a tie), so that the background
// comes out exact and the picture loses only its least used colour.
TPalette16 PaletteForBackground(const uint32_t* pixels, int32_t width, int32_t height,
                                int64_t stride, uint32_t background);
// Quantises 32-bit 0xAARRGGBB pixels (rows `stride` pixels apart) to the palette without
// dithering.
TIndexedImage Quantize16(const uint32_t* pixels, int32_t width, int32_t height, int64_t stride,
                         const TPalette16& palette = kStandardPalette16);
// With a background, to PaletteForBackground's palette.
TIndexedImage Quantize16(const TTrueImage& img, std::optional<uint32_t> background = {});

// A BMP of 4 bits per pixel with the image's 16-entry palette (bottom-up rows, 118-byte header).
QByteArray EncodeBmp4(const TIndexedImage& img);
// A GIF with the image's 16-colour table. False with the reason when the image cannot be encoded.
bool EncodeGif(const TIndexedImage& img, QByteArray& out, QString& error);
// A baseline JPEG of the image's colours at the given quality (1..100).
bool EncodeJpeg(const TIndexedImage& img, int quality, QByteArray& out, QString& error);

// A PNG of 8-bit RGB at full colour (lossless; alpha dropped). False with the reason when the
// image cannot be encoded.
bool EncodePng(const TTrueImage& img, QByteArray& out, QString& error);
// The CRC of PNG chunks (the one of zip files).
uint32_t Crc32(const QByteArray& bytes);

// The first image of a GIF as palette indices, with its colour table (0xRRGGBB).
bool DecodeGif(const QByteArray& bytes, TIndexedImage& img, std::vector<uint32_t>& colours,
               QString& error);
// A JPEG as RGB bytes, three per pixel, rows top to bottom.
struct TRgbImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;
};
bool DecodeJpeg(const QByteArray& bytes, TRgbImage& img, QString& error);

}  // namespace qz
