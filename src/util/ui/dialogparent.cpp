#include "util/ui/dialogparent.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSpacerItem>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include "util/ui/centre.h"
#include "util/ui/screen.h"
#include "util/winpos.h"

namespace qz {

namespace {

bool StaysOnTop(const QWidget* w) {
  return w && w->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

bool IsToolLike(const QWidget* w) {
  const Qt::WindowType t = w->windowType();
  return t == Qt::Tool || t == Qt::Dialog || t == Qt::Popup || t == Qt::ToolTip ||
         t == Qt::SplashScreen;
}

// Set on a window whose place is given: ShowAbove leaves it there.
constexpr const char* kPlaceKeptProp = "qzPlaceKept";

WindowPos ToPos(const QRect& r) { return WindowPos{r.x(), r.y(), r.width(), r.height()}; }

void RaiseAndActivate(QWidget& w) {
  w.raise();
  w.activateWindow();
}

// Changes window flags; a window that is showing is shown again where it was.
void SetFlags(QWidget& w, Qt::WindowFlags flags) {
  if (w.windowFlags() == flags) return;
  const bool shown = w.isVisible();
  const QPoint at = w.pos();
  w.setWindowFlags(flags);
  if (shown) {
    w.move(at);
    w.show();
  }
}

// The flags of CloseButtonOnly reach an X11 window manager as Motif hints, whose functions some
// managers do not let remove the minimise and maximise buttons of a dialog. A torn-off tool bar
// gets close only from them; "dialog" stays behind it in the window's type list for a manager
// that does not know it. Set just before the dialog is shown: a window made again (a new parent,
// new flags) loses its type.
void CloseOnlyWindowType(QDialog& dlg) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  dlg.winId();
  // The attribute is told to the window only when it changes.
  dlg.setAttribute(Qt::WA_X11NetWmWindowTypeToolBar, false);
  dlg.setAttribute(Qt::WA_X11NetWmWindowTypeToolBar, true);
}

}  // namespace

QWidget* DialogParent() {
  if (QWidget* w = QApplication::activeWindow()) return w->window();
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && !IsToolLike(w)) return w;
  return nullptr;
}

bool NeedsStayOnTop(const QWidget* dialog, const QWidget* parent) {
  if (StaysOnTop(parent)) return true;
  for (const QWidget* w : QApplication::topLevelWidgets()) {
    if (w == dialog || !w->isVisible() || w->windowType() == Qt::ToolTip ||
        w->windowType() == Qt::Popup)
      continue;
    if (w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return true;
  }
  return false;
}

void KeepAboveTools(QWidget* dialog) {
  if (!dialog || dialog->isVisible()) return;
  if (NeedsStayOnTop(dialog, dialog->parentWidget()))
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

void ShowAndPaintNow(QWidget* w, int maxWaitMs) {
  w->show();
  CentreOnScreen(w);
  w->raise();
  // The window system maps (and frames) the window asynchronously: until it is exposed, a paint
  // goes nowhere and the operator would see an empty box for the whole wait.
  QElapsedTimer t;
  t.start();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  while (w->windowHandle() && !w->windowHandle()->isExposed() && t.elapsed() < maxWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 5);
    QThread::msleep(1);
  }
  w->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FitTitleWidth(QWidget& dlg) {
  const int least = QFontMetrics(QApplication::font()).horizontalAdvance(dlg.windowTitle()) + 120;
  if (auto* box = qobject_cast<QMessageBox*>(&dlg)) {
    // A message box fixes its own size from its contents: a spacer in its grid widens it.
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (!grid) return;
    // (Asked once per box, before it is shown: the box rebuilds its grid when its texts change.)
    grid->addItem(new QSpacerItem(least, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
    return;
  }
  // A dialog whose layout fixes its size gets a spacer of that width in a column of its own.
  if (QLayout* l = dlg.layout(); l && l->sizeConstraint() == QLayout::SetFixedSize) {
    if (auto* box = qobject_cast<QVBoxLayout*>(l)) {
      // Once per width, however often the dialog is opened.
      if (dlg.property("qzTitleSpacer").toInt() >= least) return;
      dlg.setProperty("qzTitleSpacer", least);
      box->addSpacerItem(new QSpacerItem(least, 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
      return;
    }
  }
  // A dialog of fixed size is widened too.
  if (dlg.maximumWidth() < least) dlg.setMaximumWidth(least);
  if (dlg.minimumWidth() < least) dlg.setMinimumWidth(least);
  if (dlg.width() < least) dlg.resize(least, dlg.height());
}

void CloseButtonOnly(QWidget& dlg) {
  Qt::WindowFlags f = dlg.windowFlags();
  f &= ~(Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint |
         Qt::WindowMaximizeButtonHint | Qt::WindowMinMaxButtonsHint);
  f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  SetFlags(dlg, f);
}

void MarkPlaceKept(QWidget& w) { w.setProperty(kPlaceKeptProp, true); }

int ExecAbove(QDialog& dlg) {
  // The parent it belongs to while it runs; a dialog is never its own parent.
  QPointer<QWidget> own = dlg.parentWidget();
  QWidget* asking = DialogParent();
  if (asking && (asking == &dlg || dlg.isAncestorOf(asking))) asking = own;
  const bool reparent = asking && asking != own && !dlg.isVisible();
  if (reparent) {
    const QPoint at = dlg.pos();
    dlg.setParent(asking, dlg.windowFlags());
    dlg.move(at);
  }
  CloseButtonOnly(dlg);
  KeepAboveTools(&dlg);
  FitTitleWidth(dlg);
  // Raised and activated once it is shown, inside its own event loop.
  QPointer<QDialog> guard = &dlg;
  QTimer::singleShot(0, &dlg, [guard] {
    if (guard && guard->isVisible()) RaiseAndActivate(*guard);
  });
  CloseOnlyWindowType(dlg);
  const int result = dlg.exec();
  if (reparent && guard && !guard->isVisible()) {
    const QPoint at = guard->pos();
    guard->setParent(own, guard->windowFlags());
    guard->move(at);
  }
  return result;
}

void ShowAbove(QWidget& w, const QWidget* asking) {
  if (!asking) asking = DialogParent();
  if (asking && asking->window() == &w) asking = nullptr;
  if (!w.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
    SetFlags(w, w.windowFlags() | Qt::WindowStaysOnTopHint);
  if (!w.isVisible() && !w.property(kPlaceKeptProp).toBool()) {
    const QRect avail = Screen().Available();
    const QRect f = w.frameGeometry();
    // Before the window system has framed the window, the frame it will get is assumed.
    const bool framed = f != w.geometry();
    const int fw = framed ? f.width() : w.width() + 8;
    const int fh = framed ? f.height() : w.height() + 34;
    WindowPos p =
        asking ? BesidePosition(ToPos(asking->window()->frameGeometry()), fw, fh, ToPos(avail))
               : FitIntoArea(WindowPos{w.x(), w.y(), fw, fh}, ToPos(avail));
    w.move(p.left, p.top);
    MarkPlaceKept(w);
  }
  w.show();
  RaiseAndActivate(w);
}

}  // namespace qz
