#include "app/picencode.h"

#include <gif_lib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// libjpeg's header needs size_t and FILE declared first.
#include <jpeglib.h>

namespace qz {

namespace {

constexpr const TPalette16& kPalette = kStandardPalette16;

// The largest side a GIF can describe.
constexpr int32_t kGifMaxSide = 65535;
// The largest side a JPEG can describe.
constexpr int32_t kJpegMaxSide = 65500;

void PutLe16(QByteArray& b, int pos, uint32_t v) {
  b[pos] = char(v & 0xFF);
  b[pos + 1] = char((v >> 8) & 0xFF);
}

void PutLe32(QByteArray& b, int pos, uint32_t v) {
  PutLe16(b, pos, v & 0xFFFF);
  PutLe16(b, pos + 2, v >> 16);
}

int GifWrite(GifFileType* gif, const GifByteType* data, int len) {
  auto* out = static_cast<QByteArray*>(gif->UserData);
  out->append(reinterpret_cast<const char*>(data), len);
  return len;
}

struct TGifSource {
  const QByteArray* bytes;
  qsizetype pos;
};

int GifRead(GifFileType* gif, GifByteType* data, int len) {
  auto* src = static_cast<TGifSource*>(gif->UserData);
  const qsizetype left = src->bytes->size() - src->pos;
  const int n = int(std::min<qsizetype>(left, len));
  std::memcpy(data, src->bytes->constData() + src->pos, size_t(n));
  src->pos += n;
  return n;
}

QString GifError(int code) {
  const char* s = GifErrorString(code);
  return s ? QString::fromLatin1(s) : QStringLiteral("GIF error %1").arg(code);
}

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the caller's recovery point with the library's message.
struct TJpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void JpegSilent(j_common_ptr, int) {}

}  // namespace

const std::array<uint32_t, 16>& Palette16() { return kPalette; }

uint8_t NearestPaletteIndex(uint32_t rgb, const TPalette16& palette) {
  const int r = int((rgb >> 16) & 0xFF), g = int((rgb >> 8) & 0xFF), b = int(rgb & 0xFF);
  uint8_t best = 0;
  int bestD = 1 << 30;
  for (size_t i = 0; i < palette.size(); ++i) {
    const int dr = r - int((palette[i] >> 16) & 0xFF);
    const int dg = g - int((palette[i] >> 8) & 0xFF);
    const int db = b - int(palette[i] & 0xFF);
    const int d = dr * dr + dg * dg + db * db;
    // Strictly smaller: the first colour wins a tie.
    if (d < bestD) {
      bestD = d;
      best = uint8_t(i);
    }
  }
  return best;
}

TPalette16 PaletteForBackground(const uint32_t* pixels, int32_t width, int32_t height,
                                int64_t stride, uint32_t background) {
  const uint32_t bkg = background & 0xFFFFFFu;
  TPalette16 palette = kPalette;
  if (!pixels || width <= 0 || height <= 0) return palette;
  if (std::find(palette.begin(), palette.end(), bkg) != palette.end()) return palette;
  std::array<int64_t, 16> uses{};
  bool hasBackground = false;
  uint32_t lastRgb = 0;
  uint8_t lastIdx = NearestPaletteIndex(0);
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* row = pixels + int64_t(y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = row[x] & 0xFFFFFFu;
      if (rgb == bkg) {
        hasBackground = true;
        continue;
      }
      if (rgb != lastRgb) {
        lastRgb = rgb;
        lastIdx = NearestPaletteIndex(rgb);
      }
      ++uses[lastIdx];
    }
  }
  if (!hasBackground) return palette;
  size_t fewest = 0;
  for (size_t i = 1; i < uses.size(); ++i)
    if (uses[i] <= uses[fewest]) fewest = i;
  palette[fewest] = bkg;
  return palette;
}

TIndexedImage Quantize16(const uint32_t* pixels, int32_t width, int32_t height, int64_t stride,
                         const TPalette16& palette) {
  TIndexedImage img;
  if (!pixels || width <= 0 || height <= 0) return img;
  img.width = width;
  img.height = height;
  img.palette = palette;
  img.pixels.resize(size_t(width) * size_t(height));
  // Pictures of charts hold few colours in long runs: the last answer is kept.
  uint32_t lastRgb = 0;
  uint8_t lastIdx = NearestPaletteIndex(0, palette);
  uint8_t* out = img.pixels.data();
  for (int32_t y = 0; y < height; ++y) {
    const uint32_t* row = pixels + int64_t(y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = row[x] & 0xFFFFFFu;
      if (rgb != lastRgb) {
        lastRgb = rgb;
        lastIdx = NearestPaletteIndex(rgb, palette);
      }
      *out++ = lastIdx;
    }
  }
  return img;
}

TIndexedImage Quantize16(const TTrueImage& img, std::optional<uint32_t> background) {
  if (img.Empty() || img.pixels.size() < size_t(img.width) * size_t(img.height)) return {};
  const TPalette16 palette = background ? PaletteForBackground(img.pixels.data(), img.width,
                                                               img.height, img.width, *background)
                                        : kPalette;
  return Quantize16(img.pixels.data(), img.width, img.height, img.width, palette);
}

TTrueImage TrueImageOf(const uint32_t* pixels, int32_t width, int32_t height, int64_t stride) {
  TTrueImage img;
  if (!pixels || width <= 0 || height <= 0) return img;
  img.width = width;
  img.height = height;
  img.pixels.resize(size_t(width) * size_t(height));
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(img.pixels.data() + size_t(y) * size_t(width), pixels + int64_t(y) * stride,
                size_t(width) * sizeof(uint32_t));
  return img;
}

uint32_t Crc32(const QByteArray& bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (const char ch : bytes) c = table[(c ^ uint8_t(ch)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

namespace {

void AppendBe32(QByteArray& b, uint32_t v) {
  b.append(char(v >> 24)).append(char((v >> 16) & 0xFF)).append(char((v >> 8) & 0xFF));
  b.append(char(v & 0xFF));
}

// Length, type, data and the CRC of type and data.
void AppendChunk(QByteArray& out, const char* type, const QByteArray& data) {
  AppendBe32(out, uint32_t(data.size()));
  QByteArray typed(type, 4);
  typed.append(data);
  out.append(typed);
  AppendBe32(out, Crc32(typed));
}

// The largest side written: 4-byte sizes, and rows that a reader can hold.
constexpr int32_t kPngMaxSide = 65535;

}  // namespace

bool EncodePng(const TTrueImage& img, QByteArray& out, QString& error) {
  out.clear();
  if (img.Empty() || img.pixels.size() < size_t(img.width) * size_t(img.height)) {
    error = QStringLiteral("The picture is empty.");
    return false;
  }
  if (img.width > kPngMaxSide || img.height > kPngMaxSide) {
    error = QStringLiteral("The picture is too large for a PNG file.");
    return false;
  }
  // Every row: filter byte 0 (none), then red, green, blue of each pixel.
  const qsizetype rowBytes = 1 + 3 * qsizetype(img.width);
  QByteArray raw(rowBytes * img.height, '\0');
  char* p = raw.data();
  for (int32_t y = 0; y < img.height; ++y) {
    *p++ = 0;
    const uint32_t* row = img.pixels.data() + size_t(y) * size_t(img.width);
    for (int32_t x = 0; x < img.width; ++x) {
      *p++ = char((row[x] >> 16) & 0xFF);
      *p++ = char((row[x] >> 8) & 0xFF);
      *p++ = char(row[x] & 0xFF);
    }
  }
  // The zlib stream without the 4-byte length that precedes it.
  const QByteArray packed = qCompress(raw, 6);
  if (packed.size() <= 4) {
    error = QStringLiteral("The picture could not be compressed.");
    return false;
  }
  QByteArray ihdr;
  AppendBe32(ihdr, uint32_t(img.width));
  AppendBe32(ihdr, uint32_t(img.height));
  ihdr.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
  out = QByteArray("\x89PNG\r\n\x1A\n", 8);
  AppendChunk(out, "IHDR", ihdr);
  AppendChunk(out, "IDAT", packed.mid(4));
  AppendChunk(out, "IEND", QByteArray());
  return true;
}

QByteArray EncodeBmp4(const TIndexedImage& img) {
  if (img.Empty()) return {};
  constexpr int kHeader = 14 + 40 + 16 * 4;  // 118
  const int64_t rowBytes = 4 * ((int64_t(img.width) + 7) / 8);
  const int64_t dataBytes = rowBytes * img.height;
  QByteArray b(qsizetype(kHeader + dataBytes), '\0');
  b[0] = 'B';
  b[1] = 'M';
  PutLe32(b, 2, uint32_t(kHeader + dataBytes));
  PutLe32(b, 10, kHeader);
  PutLe32(b, 14, 40);
  PutLe32(b, 18, uint32_t(img.width));
  PutLe32(b, 22, uint32_t(img.height));  // positive: bottom-up rows
  PutLe16(b, 26, 1);                     // planes
  PutLe16(b, 28, 4);                     // bits per pixel
  PutLe32(b, 30, 0);                     // no compression
  PutLe32(b, 34, uint32_t(dataBytes));
  PutLe32(b, 38, 3780);  // 96 dots per inch
  PutLe32(b, 42, 3780);
  PutLe32(b, 46, 16);  // colours used
  PutLe32(b, 50, 16);  // colours important
  for (int i = 0; i < 16; ++i) {
    const uint32_t c = img.palette[size_t(i)];
    const int p = 54 + 4 * i;
    b[p] = char(c & 0xFF);
    b[p + 1] = char((c >> 8) & 0xFF);
    b[p + 2] = char((c >> 16) & 0xFF);
  }
  char* data = b.data() + kHeader;
  for (int32_t y = 0; y < img.height; ++y) {
    char* row = data + rowBytes * (img.height - 1 - y);
    const uint8_t* src = img.pixels.data() + size_t(y) * size_t(img.width);
    for (int32_t x = 0; x < img.width; ++x) {
      const uint8_t v = src[x] & 0x0F;
      if (x % 2 == 0)
        row[x / 2] = char(v << 4);
      else
        row[x / 2] = char(uint8_t(row[x / 2]) | v);
    }
  }
  return b;
}

bool EncodeGif(const TIndexedImage& img, QByteArray& out, QString& error) {
  out.clear();
  if (img.Empty()) {
    error = QStringLiteral("The picture is empty.");
    return false;
  }
  if (img.width > kGifMaxSide || img.height > kGifMaxSide) {
    error = QStringLiteral("The picture is too large for a GIF file.");
    return false;
  }
  int err = 0;
  GifFileType* gif = EGifOpen(&out, GifWrite, &err);
  if (!gif) {
    error = GifError(err);
    return false;
  }
  GifColorType colours[16];
  for (size_t i = 0; i < 16; ++i) {
    colours[i].Red = GifByteType((img.palette[i] >> 16) & 0xFF);
    colours[i].Green = GifByteType((img.palette[i] >> 8) & 0xFF);
    colours[i].Blue = GifByteType(img.palette[i] & 0xFF);
  }
  ColorMapObject* map = GifMakeMapObject(16, colours);
  bool ok = map && EGifPutScreenDesc(gif, img.width, img.height, 4, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, img.width, img.height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(size_t(img.width));
  for (int32_t y = 0; ok && y < img.height; ++y) {
    std::memcpy(row.data(), img.pixels.data() + size_t(y) * size_t(img.width), row.size());
    ok = EGifPutLine(gif, row.data(), img.width) == GIF_OK;
  }
  if (!ok) error = GifError(gif->Error);
  GifFreeMapObject(map);
  int closeErr = 0;
  if (EGifCloseFile(gif, &closeErr) != GIF_OK && ok) {
    ok = false;
    error = GifError(closeErr);
  }
  if (!ok) out.clear();
  return ok;
}

bool DecodeGif(const QByteArray& bytes, TIndexedImage& img, std::vector<uint32_t>& colours,
               QString& error) {
  img = {};
  colours.clear();
  TGifSource src{&bytes, 0};
  int err = 0;
  GifFileType* gif = DGifOpen(&src, GifRead, &err);
  if (!gif) {
    error = GifError(err);
    return false;
  }
  bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0;
  if (!ok) {
    error = GifError(gif->Error);
  } else {
    const SavedImage& s = gif->SavedImages[0];
    const ColorMapObject* map = s.ImageDesc.ColorMap ? s.ImageDesc.ColorMap : gif->SColorMap;
    img.width = s.ImageDesc.Width;
    img.height = s.ImageDesc.Height;
    img.pixels.assign(s.RasterBits, s.RasterBits + size_t(img.width) * size_t(img.height));
    if (map)
      for (int i = 0; i < map->ColorCount; ++i)
        colours.push_back(uint32_t(map->Colors[i].Red) << 16 | uint32_t(map->Colors[i].Green) << 8 |
                          map->Colors[i].Blue);
    // A table of 16 is the image's palette; any other size leaves the standard one.
    if (colours.size() == img.palette.size())
      std::copy(colours.begin(), colours.end(), img.palette.begin());
  }
  DGifCloseFile(gif, &err);
  return ok;
}

bool EncodeJpeg(const TIndexedImage& img, int quality, QByteArray& out, QString& error) {
  out.clear();
  if (img.Empty()) {
    error = QStringLiteral("The picture is empty.");
    return false;
  }
  if (img.width > kJpegMaxSide || img.height > kJpegMaxSide) {
    error = QStringLiteral("The picture is too large for a JPEG file.");
    return false;
  }
  // Everything that lives across the recovery point is made before it.
  std::vector<uint8_t> row(size_t(img.width) * 3);
  jpeg_compress_struct cinfo;
  TJpegError jerr;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  cinfo.err = jpeg_std_error(&jerr.mgr);
  jerr.mgr.error_exit = JpegErrorExit;
  jerr.mgr.emit_message = JpegSilent;
  if (setjmp(jerr.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    error = QString::fromLocal8Bit(jerr.message);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(img.width);
  cinfo.image_height = JDIMENSION(img.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* src = img.pixels.data() + size_t(cinfo.next_scanline) * size_t(img.width);
    for (int32_t x = 0; x < img.width; ++x) {
      const uint32_t c = img.palette[src[x] & 0x0F];
      row[size_t(x) * 3] = uint8_t(c >> 16);
      row[size_t(x) * 3 + 1] = uint8_t(c >> 8);
      row[size_t(x) * 3 + 2] = uint8_t(c);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  out = QByteArray(reinterpret_cast<const char*>(buffer), qsizetype(size));
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return true;
}

bool DecodeJpeg(const QByteArray& bytes, TRgbImage& img, QString& error) {
  img = {};
  if (bytes.isEmpty()) {
    error = QStringLiteral("The picture is empty.");
    return false;
  }
  jpeg_decompress_struct cinfo;
  TJpegError jerr;
  cinfo.err = jpeg_std_error(&jerr.mgr);
  jerr.mgr.error_exit = JpegErrorExit;
  jerr.mgr.emit_message = JpegSilent;
  if (setjmp(jerr.jump)) {
    jpeg_destroy_decompress(&cinfo);
    error = QString::fromLocal8Bit(jerr.message);
    img.rgb.clear();
    img.width = img.height = 0;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  img.width = int32_t(cinfo.output_width);
  img.height = int32_t(cinfo.output_height);
  img.rgb.resize(size_t(img.width) * size_t(img.height) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {img.rgb.data() + size_t(cinfo.output_scanline) * size_t(img.width) * 3};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace qz
