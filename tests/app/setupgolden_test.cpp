// The whole setup as the program without a window writes it: the setup holding every section is
// loaded and written again and must give the same bytes as before (the sections of windows the
// headless program does not have are left out).
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/setupfiles.h"
#include "common/freshprofile.h"
#include "common/golden.h"
#include "common/testfiles.h"
#include "util/inifile.h"

namespace qz {
namespace {

class HeadlessSetupGolden : public qz::testing::FreshProfileTest {};

TEST_F(HeadlessSetupGolden, EverySectionLoadedIsWrittenAsBefore) {
  TProgram program{true};
  QString msg;
  ASSERT_TRUE(program.Start(msg)) << msg.toStdString();
  QString comment, err;
  ASSERT_TRUE(
      program.LoadSetupFile(qz::testing::GoldenPath("setup_every_section.stp"), comment, err))
      << err.toStdString();
  EXPECT_EQ(comment, QStringLiteral("every section"));
  const QString out = dir.filePath(QStringLiteral("out.stp"));
  {
    IniFile ini(out);
    ASSERT_TRUE(program.Setup.WriteSetup(ini, comment, err)) << err.toStdString();
  }
  qz::testing::ExpectGolden(testing::ReadAll(out), "setup_every_section_headless.golden");
}

}  // namespace
}  // namespace qz
