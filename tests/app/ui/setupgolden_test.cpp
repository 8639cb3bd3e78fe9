// The whole setup as the window program writes it: a setup holding every section (display
// windows of three types with their traces, pens, labels and depots, both stub models of the
// tuner description, every tool window) is loaded and written again, on a fixed screen of
// 1920 x 1080, and must give the same bytes as before. The single-shot and motor-setup windows
// take their places from the automatic setup only, at creation; left where the window system
// puts a new window, they would depend on the windows earlier tests in the same process made,
// so the test puts them at the places the golden holds for them.
#include <gtest/gtest.h>

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <memory>

#include "app/setupfiles.h"
#include "app/toolwindows.h"
#include "app/ui/form1.h"
#include "common/form1rig.h"
#include "common/golden.h"
#include "common/testfiles.h"
#include "setupdlg/ui/mstpform.h"
#include "setupdlg/ui/trgform.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

class WindowSetupGolden : public qz::testing::StartedForm1Test {
 protected:
  // Made before SetUp starts the program.
  TFixedScreen screen{QSize(1920, 1080)};
  TScopedScreen scopedScreen{&screen};
};

TEST_F(WindowSetupGolden, EverySectionLoadedIsWrittenAsBefore) {
  // Left, top as the golden holds them.
  const struct {
    const char* section;
    QPoint at;
  } fresh[] = {{"TrgForm", {120, 208}}, {"MstpForm", {204, 292}}};
  for (const auto& f : fresh) {
    QWidget* w = form->ToolWindows().Window<QWidget>(f.section);
    if (w) w->move(f.at);
  }
  QString comment, err;
  ASSERT_TRUE(form->LoadSetupFile(qz::testing::GoldenPath("setup_every_section.stp"), comment, err))
      << err.toStdString();
  EXPECT_EQ(comment, QStringLiteral("every section"));
  const QString out = dir.filePath(QStringLiteral("out.stp"));
  {
    IniFile ini(out);
    ASSERT_TRUE(form->Setup().WriteSetup(ini, comment, err)) << err.toStdString();
  }
  qz::testing::ExpectGolden(testing::ReadAll(out), "setup_every_section_window.golden");
  form->ExitNoSetupClick();
}

}  // namespace
}  // namespace qz
