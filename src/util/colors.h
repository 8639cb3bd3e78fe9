#pragma once
// Colours are 32-bit values 0x00BBGGRR. A top byte of 0xFF marks a system colour whose low byte
// is the index of the system colour (mapped to a palette role by the window layer).

#include <cstdint>

namespace qz {

using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours (top byte 0xFF).
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;

inline constexpr TColor clAppWorkSpace = 0xFF00000C;

// Where a system colour comes from in the window layer's palette.
enum class TSysColorRole { Window, Base, WindowText, Workspace, Button };

constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }
constexpr int SystemColorIndex(TColor c) { return int(c & 0xFF); }
// 5 window -> Base, 8 window text -> WindowText, 12 application workspace -> Workspace (the
// background of the area that holds the display windows), 15 button face -> Button; any other
// index -> Window.
constexpr TSysColorRole SystemColorRole(TColor c) {
  switch (SystemColorIndex(c)) {
    case 5:
      return TSysColorRole::Base;
    case 8:
      return TSysColorRole::WindowText;
    case 12:
      return TSysColorRole::Workspace;
    case 15:
      return TSysColorRole::Button;
    default:
      return TSysColorRole::Window;
  }
}
constexpr int ColorRed(TColor c) { return int(c & 0xFF); }
constexpr int ColorGreen(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int ColorBlue(TColor c) { return int((c >> 16) & 0xFF); }
constexpr TColor RgbColor(int r, int g, int b) {
  return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

}  // namespace qz
