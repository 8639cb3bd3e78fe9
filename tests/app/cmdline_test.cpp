#include <gtest/gtest.h>

#include "app/caption.h"
#include "app/cmdline.h"

namespace qz {
namespace {

TEST(CommandLine, ReadsEveryOption) {
  const CommandLine cl = ParseCommandLine({"QzSim", "--headless", "--passes", "25", "--setup",
                                           "/tmp/a.stp", "--save-results", "/tmp/r.txt"});
  EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
  EXPECT_TRUE(cl.headless);
  EXPECT_EQ(cl.passes, 25);
  EXPECT_EQ(cl.setupFile, "/tmp/a.stp");
  EXPECT_EQ(cl.saveResultsFile, "/tmp/r.txt");
  EXPECT_FALSE(cl.help);
  EXPECT_FALSE(cl.version);
}

TEST(CommandLine, RejectsBadInput) {
  struct Case {
    QStringList args;
  } cases[] = {
      {{"QzSim", "--passes", "many"}},
      {{"QzSim", "--passes", "-3"}},
      {{"QzSim", "--passes", "1e3"}},
      {{"QzSim", "--unknown"}},
      {{"QzSim", "stray"}},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ParseCommandLine(c.args).error.isEmpty()) << c.args.join(' ').toStdString();
  }
}

TEST(CommandLine, LogFileForHeadlessRuns) {
  EXPECT_EQ(ParseCommandLine({"QzSim", "--headless", "--log", "/tmp/run.log"}).logFile,
            "/tmp/run.log");
  EXPECT_TRUE(ParseCommandLine({"QzSim"}).logFile.isEmpty());
  EXPECT_FALSE(ParseCommandLine({"QzSim", "--log"}).error.isEmpty());
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_TRUE(ParseCommandLine({"QzSim", "--help"}).help);
  EXPECT_TRUE(ParseCommandLine({"QzSim", "--version"}).version);
  EXPECT_TRUE(VersionText().startsWith("QzSim "));
}

TEST(Caption, IsSimulationCaptionWithVersion) {
  EXPECT_EQ(MainCaption("1.2.3"), "QzmSoft - Simulation V 1.2.3");
}

}  // namespace
}  // namespace qz
