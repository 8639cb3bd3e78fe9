#pragma once
// A font as the program stores and hands it around: name, size in points, colour and style. It
// is a plain record so that logic and setup files can carry fonts without a window layer.

#include <QString>
#include <cstdint>

#include "util/colors.h"

namespace qz {

struct TFontRec {
  QString Name = "Sans Serif";
  int32_t Size = 8;  // points
  TColor Color = clRed;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool operator==(const TFontRec&) const = default;
};

}  // namespace qz
