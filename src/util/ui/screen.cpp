#include "util/ui/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace qz {

namespace {

constexpr QSize kNoScreenSize(1024, 768);

const TScreenService* installed = nullptr;

}  // namespace

QSize TPrimaryScreen::Size() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().size() : kNoScreenSize;
}

QRect TPrimaryScreen::Available() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(QPoint(0, 0), kNoScreenSize);
}

const TScreenService& Screen() {
  static const TPrimaryScreen primary;
  return installed ? *installed : primary;
}

const TScreenService* SetScreen(const TScreenService* screen) {
  const TScreenService* previous = installed;
  installed = screen;
  return previous;
}

}  // namespace qz
