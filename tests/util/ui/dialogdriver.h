#pragma once
// Drives modal dialogs from a test without blocking: the action runs once the dialog is up, and
// a guard closes any dialog left open so a failing test can never hang.

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace qz::testing {

// Runs action(modal) as soon as a modal widget of type T is up (polled every 10 ms, for at most
// 3 s). After that time every modal widget is closed.
template <typename T>
void WhenModal(std::function<void(T*)> action) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [tries, poll, action]() {
    if (T* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
      action(w);
      return;
    }
    if (++*tries > 300) {
      while (QWidget* m = QApplication::activeModalWidget()) m->close();
      return;
    }
    QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
}

// Types text into a widget key by key, as the operator would.
inline void TypeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    const int key = c.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

}  // namespace qz::testing
