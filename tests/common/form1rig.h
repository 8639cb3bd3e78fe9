#pragma once
// A frame-window test: a fresh profile, then the frame window with its unit started (and shown,
// unless the test says otherwise before SetUp runs); the window is gone before the profile.
// A test that needs its own automatic setup, or a second start of the program, writes the
// profile and calls Restart(); one that looks at the window before its unit starts calls
// Restart(false) and then StartUnit(). One that carries a setup into a second profile resets
// the window, calls UseProfile() and then Restart().

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <memory>

#include "app/ui/form1.h"
#include "common/freshprofile.h"

namespace qz::testing {

class StartedForm1Test : public FreshProfileTest {
 protected:
  void SetUp() override {
    FreshProfileTest::SetUp();
    if (HasFatalFailure()) return;
    if (startInSetUp) Restart();
  }
  void TearDown() override {
    form.reset();
    ExpectNoQuitLeftBehind();
    FreshProfileTest::TearDown();
  }
  // An event loop started now runs until it is left: the window's exit left no quit behind in
  // the thread (one would end every later dialog of the test program at once).
  static void ExpectNoQuitLeftBehind() {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 1) << "a quit left behind ends every later event loop at once";
  }

  // Checks of the frame window before its unit starts.
  virtual void BeforeStart() {}

  // The frame window made anew over the profile as it stands now (the previous one gone first),
  // and with `start` its unit started.
  void Restart(bool start = true) {
    form.reset();
    form = std::make_unique<TForm1>();
    BeforeStart();
    if (start && !HasFatalFailure()) StartUnit();
  }
  // Starts the unit of the window Restart(false) made; shown unless showForm is false.
  void StartUnit() {
    QString msg;
    ASSERT_TRUE(form->StartUnit(msg)) << msg.toStdString();
    if (showForm) form->show();
  }

  bool showForm = true;
  // false: SetUp makes no frame window (the test prepares the profile, then calls Restart()).
  bool startInSetUp = true;
  std::unique_ptr<TForm1> form;
};

}  // namespace qz::testing
