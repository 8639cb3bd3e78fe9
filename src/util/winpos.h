#pragma once
// Window positions read back from a setup file are kept on the screen: the top-left corner
// stays at least `margin` pixels inside the right and bottom edges, and sizes (where a window
// keeps them) stay between a minimum and the screen size less the margin. The screen size is
// passed in, so the rule needs no display.

#include <QString>
#include <optional>

namespace qz {

class IniFile;

inline constexpr int kToolWindowMargin = 50;
inline constexpr int kFrameWindowMargin = 10;

struct WindowPos {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct WindowSizeLimits {
  int minWidth = 0;
  int minHeight = 0;
};

// The frame window's sizes: width 400 .. screen width - 10, height 350 .. screen height - 10.
inline constexpr WindowSizeLimits kFrameWindowSizeLimits{400, 350};

// Left limited to 0 .. screenWidth - margin, top to 0 .. screenHeight - margin; with size
// limits also width to minWidth .. screenWidth - margin and height to minHeight ..
// screenHeight - margin. Where a screen is too small for a range, its lower end wins.
WindowPos LimitWindowPos(const WindowPos& pos, int screenWidth, int screenHeight, int margin,
                         const std::optional<WindowSizeLimits>& sizeLimits = std::nullopt);

// Reads "Top" and "Left" (and, with size limits, "Width" and "Height") of a section; a missing
// or unreadable key keeps the value of `current`. The result is limited as above.
WindowPos ReadWindowPos(const IniFile& ini, const QString& section, const WindowPos& current,
                        int screenWidth, int screenHeight, int margin,
                        const std::optional<WindowSizeLimits>& sizeLimits = std::nullopt);

}  // namespace qz
