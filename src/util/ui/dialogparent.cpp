#include "util/ui/dialogparent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include "util/ui/centre.h"

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

}  // namespace qz
