#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/caption.h"
#include "app/cmdline.h"
#include "app/headless.h"

namespace qz {
namespace {

TEST(CommandLine, ReadsEveryOption) {
  const CommandLine cl =
      ParseCommandLine({"QzSim", "--headless", "--passes", "25", "--setup", "/tmp/a.stp",
                        "--save-results", "/tmp/r.txt", "--save-csv", "/tmp/r.csv"});
  EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
  EXPECT_TRUE(cl.headless);
  EXPECT_EQ(cl.passes, 25);
  EXPECT_EQ(cl.setupFile, "/tmp/a.stp");
  EXPECT_EQ(cl.saveResultsFile, "/tmp/r.txt");
  EXPECT_EQ(cl.saveCsvFile, "/tmp/r.csv");
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

TEST(CommandLine, ServeRunsWithoutAWindowAndSavesOnlyThroughItsCalls) {
  const struct {
    QStringList args;
    int passes;
    const char* error;  // empty: accepted
  } cases[] = {
      {{"--serve"}, 0, ""},
      {{"--serve", "--passes", "200", "--setup", "/tmp/j.stp"}, 200, ""},
      {{"--serve", "--headless"}, 0, ""},
      {{"--serve", "--chart", "mag", "--save-chart", "/tmp/c.png"},
       0,
       "--serve saves charts through the remote control's SaveChart, not with --chart."},
      {{"--serve", "--save-chart", "/tmp/c.png"},
       0,
       "--serve saves charts through the remote control's SaveChart, not with --chart."},
      {{"--serve", "--save-results", "/tmp/r.txt"},
       0,
       "--serve saves results through the remote control's SaveResults, not with "
       "--save-results."},
      {{"--serve", "--save-csv", "/tmp/r.csv"},
       0,
       "--serve saves results through the remote control's SaveResultsCsv, not with "
       "--save-csv."},
  };
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(QStringList{"QzSim"} + c.args);
    EXPECT_EQ(cl.error, c.error) << c.args.join(' ').toStdString();
    if (*c.error) continue;
    EXPECT_TRUE(cl.serve);
    EXPECT_TRUE(cl.headless);
    EXPECT_EQ(cl.passes, c.passes);
  }
  EXPECT_FALSE(ParseCommandLine({"QzSim", "--headless"}).serve);
  EXPECT_TRUE(ParseCommandLine({"QzSim"}).helpText.contains("--serve"));
}

TEST(CommandLine, LogFormatIsTextOrCsvAndNeedsALog) {
  const struct {
    QStringList args;
    const char* format;
    const char* error;
  } cases[] = {
      {{"--log", "a.csv", "--log-format", "csv"}, "csv", ""},
      {{"--log", "a.txt", "--log-format", "TEXT"}, "text", ""},
      {{"--log", "a.txt"}, "", ""},
      {{"--log", "a.txt", "--log-format", "xml"},
       "",
       "--log-format needs text or csv, not \"xml\"."},
      {{"--log-format", "csv"}, "", "--log-format needs --log."},
  };
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(QStringList{"QzSim", "--headless"} + c.args);
    EXPECT_EQ(cl.error, c.error) << c.args.join(' ').toStdString();
    if (!*c.error) {
      EXPECT_EQ(cl.logFormat, c.format);
    }
  }
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_TRUE(ParseCommandLine({"QzSim", "--help"}).help);
  EXPECT_TRUE(ParseCommandLine({"QzSim", "--version"}).version);
  EXPECT_TRUE(VersionText().startsWith("QzSim "));
}

// Two outputs, or the setup and an output, naming one file would destroy it: refused with both
// options named. Links and relative names are resolved first.
TEST(CommandLine, OneFileForTwoOptionsIsRefusedNamingBoth) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString s = dir.filePath("s.stp");
  QFile(s).open(QIODevice::WriteOnly);
  ASSERT_TRUE(QFile::link(s, dir.filePath("link.stp")));
  const QString cwd = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  const struct {
    QStringList args;
    const char* both;  // nullptr: accepted
  } cases[] = {
      {{"--log", "x.txt", "--save-results", "x.txt"}, "--log and --save-results"},
      {{"--log", "x.txt", "--save-results", dir.filePath("x.txt")}, "--log and --save-results"},
      {{"--setup", s, "--log", s}, "--setup and --log"},
      {{"--setup", "s.stp", "--log", dir.filePath("link.stp")}, "--setup and --log"},
      {{"--setup", s, "--save-results", "./sub/../s.stp"}, "--setup and --save-results"},
      {{"--setup", s, "--log", "hard.stp"}, "--setup and --log"},
      {{"--setup", s, "--log", "x.log", "--save-results", "x.txt"}, nullptr},
      {{"--log", "x.txt", "--save-results", "X.txt"}, nullptr},
      {{"--save-results", "r.txt", "--save-csv", "./r.txt"}, "--save-results and --save-csv"},
      {{"--log", "x.csv", "--save-csv", dir.filePath("x.csv")}, "--log and --save-csv"},
      {{"--save-results", "r.txt", "--save-csv", "r.csv"}, nullptr},
  };
  QDir().mkdir("sub");
  // A hard link is the same file under another name.
  ASSERT_EQ(::link(QFile::encodeName(s).constData(), "hard.stp"), 0);
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(QStringList{"QzSim", "--headless"} + c.args);
    if (c.both) {
      EXPECT_TRUE(cl.error.startsWith(c.both)) << cl.error.toStdString();
      EXPECT_TRUE(cl.error.contains("name the same file")) << cl.error.toStdString();
    } else {
      EXPECT_TRUE(cl.error.isEmpty()) << cl.error.toStdString();
    }
  }
  QDir::setCurrent(cwd);
}

TEST(CommandLine, AnEmptyFileNameIsRefused) {
  for (const char* opt : {"--setup", "--log", "--save-results", "--save-csv"}) {
    const CommandLine cl = ParseCommandLine({"QzSim", "--headless", opt, ""});
    EXPECT_EQ(cl.error, QString(opt) + " needs a file name.");
    const CommandLine eq = ParseCommandLine({"QzSim", "--headless", QString(opt) + "="});
    EXPECT_FALSE(eq.error.isEmpty()) << opt;
  }
}

// An option where a file name belongs, and the options of automation runs in a window start,
// are refused with one line (exit code 2) instead of being taken or ignored.
TEST(CommandLine, OptionsWhereFilesBelongAndHeadlessOnlyOptions) {
  const struct {
    QStringList args;
    const char* error;
  } cases[] = {
      {{"--setup", "--headless"}, "--setup needs a file name, not the option \"--headless\"."},
      {{"--headless", "--log", "--passes", "3"},
       "--log needs a file name, not the option \"--passes\"."},
      {{"--headless", "--save-results", "--save-chart=x.png"},
       "--save-results needs a file name, not the option \"--save-chart=x.png\"."},
      {{"--save-results", "r.txt"}, "--save-results needs --headless."},
      {{"--passes", "10"}, "--passes needs --headless."},
      {{"--log", "run.log"}, "--log needs --headless."},
      {{"--setup", "a.stp"}, ""},
      {{"--serve", "--log", "run.log", "--passes", "5"}, ""},
      {{"--headless", "--setup", "-dash.stp"}, ""},
  };
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(QStringList{"QzSim"} + c.args);
    EXPECT_EQ(cl.error, QString::fromLatin1(c.error)) << c.args.join(' ').toStdString();
    EXPECT_FALSE(cl.error.contains('\n'));
  }
}

TEST(CommandLine, UsageNamesTheProgramWhateverItWasStartedAs) {
  for (const char* argv0 : {"QzSim", "/usr/local/bin/qzsim-test", ""}) {
    const CommandLine cl = ParseCommandLine({argv0, "--help"});
    EXPECT_TRUE(cl.helpText.startsWith("Usage: QzSim [options]\n")) << cl.helpText.toStdString();
    EXPECT_TRUE(cl.helpText.contains("--save-results <FILE>"));
    EXPECT_TRUE(cl.helpText.contains("--save-csv <FILE>"));
  }
}

// What tells a watching operator that the program works (waiting and busy windows) stays out of
// a headless run's output; messages still go there.
TEST(HeadlessAsker, BusyTextsStayOffStandardErrorMessagesDoNot) {
  THeadlessAsker a;
  ::testing::internal::CaptureStderr();
  a.ShowWait("", "Stopping Quzar...", 1, 0);
  a.ShowBusy("Writing system settings...", 0, 0);
  a.SetBusyInfo("QzResForm");
  a.HideBusy();
  a.HideWait();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(a.Records(TAskRecord::Wait).size(), 1u);
  ::testing::internal::CaptureStderr();
  a.ShowError("File \"x\" holds no setup of this program");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("holds no setup"), std::string::npos);
  EXPECT_FALSE(a.quiet);
}

TEST(Caption, IsSimulationCaptionWithVersion) {
  EXPECT_EQ(MainCaption("1.2.3"), "QzmSoft - Simulation V 1.2.3");
}

}  // namespace
}  // namespace qz
