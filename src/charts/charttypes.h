#pragma once
// Plain geometry records that the chart logic hands to a painter: points, the chart rectangle,
// line segments and placed texts. They carry pixels only; drawing them is the painter's job.

#include <QString>
#include <cstdint>

namespace qz {

struct TPt {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TPt&) const = default;
};

// Chart area in panel pixels; right and bottom are the last pixel columns/rows of the area.
struct TRectI {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const TRectI&) const = default;
};

// A line drawn from (x1, y1) up to but not including (x2, y2).
struct TSegment {
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;
  bool operator==(const TSegment&) const = default;
};

// A text whose top-left corner is at pos.
struct TPlacedText {
  QString text;
  TPt pos;
  bool operator==(const TPlacedText&) const = default;
};

// Size of texts in the chart font. The window layer implements it over its font; tests use
// fixed sizes, so no font is needed to place labels.
class TTextMetrics {
 public:
  virtual ~TTextMetrics() = default;
  virtual int32_t TextWidth(const QString& text) const = 0;
  virtual int32_t TextHeight(const QString& text) const = 0;
};

}  // namespace qz
