#include "util/ui/windowplace.h"

#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

#include "util/inifile.h"
#include "util/ui/dialogparent.h"
#include "util/ui/screen.h"

namespace qz {

namespace {

// Set on a window once its place has been decided (read from a setup or given by default), so
// that a later read without a position keeps it where it is.
constexpr const char* kPlacedProp = "qzPlaced";
// The running number of tool windows placed by default (each gets a place of its own).
constexpr const char* kDefaultIndexProp = "qzDefaultPlace";
int defaultPlaced = 0;

WindowPos ToPos(const QRect& r) { return WindowPos{r.x(), r.y(), r.width(), r.height()}; }

// The bottom of the menu and tool bars of a main window, in global coordinates. Once the window
// is laid out that is the top of its central widget; before, the bars' own heights tell (the
// tool bars of the top area sharing one row).
int BarsBottom(const QWidget& top) {
  // The client area's top: known once the window system has framed the window, else the outer
  // frame's top and the title bar the window will get.
  const bool framed = top.isVisible() && top.frameGeometry() != top.geometry();
  const int clientTop = framed ? top.geometry().y() : top.pos().y() + kAssumedFrameMargins.top;
  const auto* mw = qobject_cast<const QMainWindow*>(&top);
  if (!mw) return clientTop;
  if (const QWidget* c = mw->centralWidget(); c && c->y() > 0) return clientTop + c->y();
  int h = mw->menuWidget() ? mw->menuWidget()->sizeHint().height() : 0;
  int bar = 0;
  for (QToolBar* tb : mw->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
    if (mw->toolBarArea(tb) == Qt::TopToolBarArea && !tb->isHidden())
      bar = std::max(bar, tb->sizeHint().height());
  return clientTop + h + bar;
}

}  // namespace

void SizeBeforeShow(QWidget& w) {
  if (w.testAttribute(Qt::WA_WState_Created) || w.testAttribute(Qt::WA_Resized)) return;
  if (QLayout* l = w.layout()) l->activate();
  if (!w.testAttribute(Qt::WA_Resized)) w.adjustSize();
}

TWindowPlace CurrentPlace(const QWidget& w) {
  // The client area less the frame around it: the outer frame's corner, as QWidget::pos().
  return PlaceOfClient(ToPos(w.geometry()), FrameMarginsOf(w), w.isVisible());
}

TFrameMargins FrameMarginsOf(const QWidget& w) {
  const QRect f = w.frameGeometry();
  const QRect g = w.geometry();
  return TFrameMargins{g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                       f.bottom() - g.bottom()};
}

void ApplyPlace(QWidget& w, const TWindowPlace& p, TPlaceKeys keys) {
  SizeBeforeShow(w);
  // The size is settled before the position: a window that is sized after being moved, while
  // the window system has not framed it yet, takes the position as its client area's and opens
  // one title bar higher (so a layout still to be applied is applied first).
  if (!w.isVisible() && (keys & (pkWidth | pkHeight))) {
    // Polished first: the style and fonts a window takes at its showing change its layout.
    w.ensurePolished();
    if (QLayout* l = w.layout()) l->activate();
  }
  if (keys & (pkWidth | pkHeight))
    w.resize((keys & pkWidth) ? p.width : w.width(), (keys & pkHeight) ? p.height : w.height());
  if (keys & (pkTop | pkLeft)) {
    w.move((keys & pkLeft) ? p.left : w.x(), (keys & pkTop) ? p.top : w.y());
    w.setProperty(kPlacedProp, true);
  }
  if (keys & pkVisible) w.setVisible(p.visible);
}

void WriteWindowPlace(IniFile& ini, const QString& section, const QWidget& w,
                      const TPlaceRule& rule) {
  WritePlace(ini, section, CurrentPlace(w), rule);
}

TWindowPlace ReadWindowPlace(const IniFile& ini, const QString& section, QWidget& w,
                             const TPlaceRule& rule) {
  return ReadWindowPlace(ini, section, w, rule, Screen());
}

TWindowPlace ReadWindowPlace(const IniFile& ini, const QString& section, QWidget& w,
                             const TPlaceRule& rule, const TScreenService& screen) {
  const bool stored = HasStoredPosition(ini, section);
  if (!stored && !w.property(kPlacedProp).toBool()) PlaceToolWindowByDefault(w, screen);
  const QSize s = screen.Size();
  const TWindowPlace p = ReadPlace(ini, section, CurrentPlace(w), rule, s.width(), s.height());
  TPlaceKeys keys = rule.keys;
  if (!stored) keys &= ~(pkTop | pkLeft);
  ApplyPlace(w, p, keys);
  // A window opened later by the operator stays where the setup put it.
  if (stored) MarkPlaceKept(w);

  return p;
}

void PlaceToolWindowByDefault(QWidget& w, const TScreenService& screen) {
  const QRect avail = screen.Available();
  WindowPos anchor{avail.x(), avail.y(), 0, 0};
  if (const QWidget* parent = w.parentWidget()) {
    const QWidget& top = *parent->window();
    // Just right of the frame's left border and below its bars, clear of both.
    anchor.left = top.pos().x() + 8;
    anchor.top = BarsBottom(top) + 8;
  }
  QVariant idx = w.property(kDefaultIndexProp);
  if (!idx.isValid()) {
    idx = defaultPlaced++;
    w.setProperty(kDefaultIndexProp, idx);
  }
  const WindowPos p = DefaultToolPosition(idx.toInt(), anchor, ToPos(avail));
  w.move(p.left, p.top);
  w.setProperty(kPlacedProp, true);
}

void PlaceInsideAvailable(QWidget& w, const TScreenService& screen, const TFrameMargins& m) {
  const QRect avail = screen.Available();
  const WindowPos frame =
      FitIntoArea(WindowPos{avail.x(), avail.y(), avail.width(), avail.height()}, ToPos(avail));
  w.move(frame.left, frame.top);
  w.resize(std::max(1, frame.width - m.left - m.right),
           std::max(1, frame.height - m.top - m.bottom));
  w.setProperty(kPlacedProp, true);
}

}  // namespace qz
