#pragma once
// Window places of every window: the keys of the window's section (see util/winpos.h for the
// rules and the measure) written from and read into a real window. The outer frame's position
// is QWidget::pos()/move(), the client size QWidget::size()/resize(), on every window alike.

#include <QString>

#include "util/winpos.h"

class QWidget;

namespace qz {

class IniFile;
class TScreenService;

// The window's place now: outer frame position, client size and visibility.
TWindowPlace CurrentPlace(const QWidget& w);
// The frame around the window's client area (none while the window system has not framed it).
TFrameMargins FrameMarginsOf(const QWidget& w);
// Moves the outer frame and sizes the client area as the keys say; shows or hides the window
// when the keys hold "Visible".
void ApplyPlace(QWidget& w, const TWindowPlace& p, TPlaceKeys keys);

// A window laid out by a layout gets its size before it is first shown. (Sized only while being
// shown, the window system would take a position given before as the client area's instead of
// the outer frame's, and the window would open one title bar higher at every start.)
void SizeBeforeShow(QWidget& w);

// Writes the window's place into its section, only the keys the rule lists.
void WriteWindowPlace(IniFile& ini, const QString& section, const QWidget& w,
                      const TPlaceRule& rule);
// Reads the keys the rule lists (missing ones keep the window's present value), limited to the
// screen, and applies them. A tool window that has no stored position and has not been placed
// before opens at its default place (below). Returns what was applied.
TWindowPlace ReadWindowPlace(const IniFile& ini, const QString& section, QWidget& w,
                             const TPlaceRule& rule);
TWindowPlace ReadWindowPlace(const IniFile& ini, const QString& section, QWidget& w,
                             const TPlaceRule& rule, const TScreenService& screen);

// Tool windows without a stored place open cascaded from just below the menu and tool bars of
// the window they belong to (their parent), each at a place of its own, so none covers those
// bars. Without a parent they cascade from the top-left of the available area.
void PlaceToolWindowByDefault(QWidget& w, const TScreenService& screen);

// The frame window's first place, before any setup is read: its outer frame inside the screen's
// available area, title bar included. `margins` are the decoration the window system is
// expected to add (the real ones once the window has been shown).
void PlaceInsideAvailable(QWidget& w, const TScreenService& screen, const TFrameMargins& margins);

// The decoration assumed before the window system has framed a window: a title bar and a thin
// border.
inline constexpr TFrameMargins kAssumedFrameMargins{4, 30, 4, 4};

}  // namespace qz
