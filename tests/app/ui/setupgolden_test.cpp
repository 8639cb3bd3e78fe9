// The whole setup as the window program writes it: a setup holding every section (display
// windows of three types with their traces, pens, labels and depots, both stub models of the
// tuner description, every tool window) is loaded and written again, on a fixed screen of
// 1920 x 1080, and must give the same bytes as before. The test runs in a process of its own (as
// the test runner starts each test): windows made by earlier tests in the same process move the
// default places of tool windows the file leaves at their defaults.
#include <gtest/gtest.h>

#include <QSize>
#include <memory>

#include "app/setupfiles.h"
#include "app/ui/form1.h"
#include "common/freshprofile.h"
#include "common/golden.h"
#include "common/testfiles.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

class WindowSetupGolden : public qz::testing::FreshProfileTest {
 protected:
  TFixedScreen screen{QSize(1920, 1080)};
  TScopedScreen scopedScreen{&screen};
};

TEST_F(WindowSetupGolden, EverySectionLoadedIsWrittenAsBefore) {
  auto form = std::make_unique<TForm1>();
  QString msg;
  ASSERT_TRUE(form->StartUnit(msg)) << msg.toStdString();
  form->show();
  QString comment, err;
  ASSERT_TRUE(form->LoadSetupFile(qz::testing::GoldenPath("setup_every_section.stp"), comment, err))
      << err.toStdString();
  EXPECT_EQ(comment, QStringLiteral("every section"));
  const QString out = dir.filePath(QStringLiteral("out.stp"));
  {
    IniFile ini(out);
    ASSERT_TRUE(form->Setup().WriteSetup(ini, comment, err)) << err.toStdString();
  }
  qz::testing::ExpectGolden(testfiles::ReadAll(out), "setup_every_section_window.golden");
  form->ExitNoSetupClick();
}

}  // namespace
}  // namespace qz
