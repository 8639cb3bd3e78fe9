#pragma once
// Drives modal dialogs from a test without blocking: the action runs once the dialog is up, and
// a guard closes any dialog left open so a failing test can never hang.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace qz::testing {

// Runs action(modal) as soon as a modal widget of type T is up (polled every 10 ms, for at most
// 3 s). After that time every modal widget is closed. The poll's state lives as long as a timer
// of it is pending and is freed with the last one (no reference of the poll to itself). A poll
// ends with the test that started it: its action names that test's objects, and a later test's
// dialogs are not its own.
template <typename T>
void WhenModal(std::function<void(T*)> action) {
  struct Poll : std::enable_shared_from_this<Poll> {
    std::function<void(T*)> action;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    int tries = 0;
    void Step() {
      if (::testing::UnitTest::GetInstance()->current_test_info() != test) return;
      if (T* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
        action(w);
        return;
      }
      if (++tries > 300) {
        while (QWidget* m = QApplication::activeModalWidget()) m->close();
        return;
      }
      QTimer::singleShot(10, [self = this->shared_from_this()] { self->Step(); });
    }
  };
  auto poll = std::make_shared<Poll>();
  poll->action = std::move(action);
  QTimer::singleShot(0, [poll] { poll->Step(); });
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
