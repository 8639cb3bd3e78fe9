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

// ---- Window places as the setup keeps them ----------------------------------------------------
//
// A window's place is the top-left corner of its outer frame (title bar and border included) and
// the size of its client area. Saving and restoring both use that one measure, so a window opens
// exactly where it was closed, however often the program is restarted.

// The keys of a window's section that hold its place; each window keeps only the ones its
// section lists.
enum TPlaceKey : unsigned {
  pkTop = 1u << 0,
  pkLeft = 1u << 1,
  pkWidth = 1u << 2,
  pkHeight = 1u << 3,
  pkVisible = 1u << 4,
};
using TPlaceKeys = unsigned;

// How a window's place is read back: the position is limited to 0 .. screen size - posMargin;
// a width to minWidth .. screen width - sizeMargin, a height to minHeight .. screen height -
// sizeMargin (the lower bound wins on a screen too small for the range). A place that is not
// kept on the screen is read as it stands (a child window of an MDI area, which scrolls to any
// place of its children).
struct TPlaceRule {
  TPlaceKeys keys = pkVisible | pkTop | pkLeft;
  int posMargin = kToolWindowMargin;
  int minWidth = 0;
  int minHeight = 0;
  int sizeMargin = kToolWindowMargin;
  bool onScreen = true;
};

// Tool windows that keep their position and visibility (results, logging, model, tuner picture,
// system information).
inline constexpr TPlaceRule kToolPlaceRule{};
// The frame window: position and size, with the frame window's own limits.
inline constexpr TPlaceRule kFramePlaceRule{pkTop | pkLeft | pkWidth | pkHeight, kFrameWindowMargin,
                                            kFrameWindowSizeLimits.minWidth,
                                            kFrameWindowSizeLimits.minHeight, kFrameWindowMargin};
struct TWindowPlace {
  int left = 0;    // outer frame
  int top = 0;     // outer frame
  int width = 0;   // client area
  int height = 0;  // client area
  bool visible = false;
  bool operator==(const TWindowPlace&) const = default;
};

// The decoration the window system puts around a client area.
struct TFrameMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The place of a window whose client area is `client`, and the client area of a place.
TWindowPlace PlaceOfClient(const WindowPos& client, const TFrameMargins& m, bool visible);
WindowPos ClientOfPlace(const TWindowPlace& p, const TFrameMargins& m);

// Writes the keys the rule lists ("Visible" as 1/0, then "Top", "Left", "Width", "Height").
void WritePlace(IniFile& ini, const QString& section, const TWindowPlace& p,
                const TPlaceRule& rule);
// Reads the keys the rule lists; a missing or unreadable key keeps the value of `current`, and
// what was read is limited by the rule on a screen of the given size (not looked at when the
// rule keeps no place on the screen).
TWindowPlace ReadPlace(const IniFile& ini, const QString& section, const TWindowPlace& current,
                       const TPlaceRule& rule, int screenWidth, int screenHeight);
// The section holds a position of the window ("Top" or "Left").
bool HasStoredPosition(const IniFile& ini, const QString& section);

// Where the n-th tool window without a stored position opens (n from 0): cascaded in steps of
// `step` pixels from `anchor` (below the frame window's menu and tool bars), starting again at
// the anchor before a window would leave `area`.
WindowPos DefaultToolPosition(int n, const WindowPos& anchor, const WindowPos& area, int step = 28);

// The outer frame of a window brought inside `area`: moved (and, when larger than the area,
// shrunk) so that its title bar and all its borders are inside. `frame` and the result are
// outer frames; the client shrinks by as much as the frame.
WindowPos FitIntoArea(const WindowPos& frame, const WindowPos& area);

// Where a window whose outer frame is `width` x `height` opens beside the outer frame `asking`
// inside `area`: right of it, else left of it, else at the area's right edge (its left edge
// when the window is wider than the area); its top at the asking window's top, lifted so that
// it ends inside the area, never above the area's top.
WindowPos BesidePosition(const WindowPos& asking, int width, int height, const WindowPos& area);

}  // namespace qz
