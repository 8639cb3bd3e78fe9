#pragma once
// A frame-window test: a fresh profile, then the frame window with its unit started (and shown,
// unless the test says otherwise before SetUp runs); the window is gone before the profile.

#include <gtest/gtest.h>

#include <QString>
#include <memory>

#include "app/ui/form1.h"
#include "common/freshprofile.h"

namespace qz::testing {

class StartedForm1Test : public FreshProfileTest {
 protected:
  void SetUp() override {
    FreshProfileTest::SetUp();
    if (HasFatalFailure()) return;
    form = std::make_unique<TForm1>();
    BeforeStart();
    if (HasFatalFailure()) return;
    QString msg;
    ASSERT_TRUE(form->StartUnit(msg)) << msg.toStdString();
    if (showForm) form->show();
  }
  void TearDown() override {
    form.reset();
    FreshProfileTest::TearDown();
  }

  // Checks of the frame window before its unit starts.
  virtual void BeforeStart() {}

  bool showForm = true;
  std::unique_ptr<TForm1> form;
};

}  // namespace qz::testing
