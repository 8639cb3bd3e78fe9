// The display dialogs inside the program: made with the other tool windows at start-up and
// opened over the display windows.

#include <gtest/gtest.h>

#include <QPushButton>

#include "app/toolwindows.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "display/ui/displaywindows.h"
#include "util/ui/dialogdriver.h"

namespace qz {
namespace {

class Form1DispDlg : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    startInSetUp = false;
    showForm = false;
    StartedForm1Test::SetUp();
  }
};

TEST_F(Form1DispDlg, MadeAtStartAndOpenedOverEveryDisplayWindow) {
  Restart(false);
  TForm1* f = form.get();
  TDisplayWindows& d = f->Displays();
  ASSERT_NE(d.ScaleDlg, nullptr);
  ASSERT_NE(d.AttrDlg, nullptr);
  EXPECT_TRUE(f->ToolWindows().Created("ScaleDlg"));
  EXPECT_TRUE(f->ToolWindows().Created("TracePropDlg"));
  EXPECT_FALSE(d.ScaleDlg->isVisible());
  StartUnit();
  f->CreateDisplaysFromSetup();
  f->show();
  ASSERT_FALSE(d.Windows().empty());
  TGDisplForm* w = d.Windows()[0];
  TDlgQzScale* shown = nullptr;
  qz::testing::WhenModal<TDlgQzScale>([&](TDlgQzScale* dlg) {
    shown = dlg;
    dlg->findChild<QPushButton*>("Cancel")->click();
  });
  w->OnSetScale(*w);
  EXPECT_EQ(shown, d.ScaleDlg.data());
  EXPECT_EQ(shown->SenderDispl, &w->Displ());
}

}  // namespace
}  // namespace qz
