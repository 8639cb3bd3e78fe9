#include "app/setupfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <stdexcept>

#include "app/helppages.h"
#include "app/simcore.h"
#include "app/toolwindows.h"
#include "common/freshprofile.h"
#include "common/readerrig.h"
#include "common/specialfiles.h"
#include "common/testfiles.h"
#include "common/windowranks.h"
#include "core/qvwin.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

// A registry entry that only keeps a setup section.
TToolWindowEntry Owner(const QString& section, std::function<void(IniFile&)> write,
                       std::function<void(const IniFile&)> read = nullptr) {
  TToolWindowEntry e;
  e.section = section;
  e.create = [](const IniFile*) {};
  e.writeStp = std::move(write);
  e.readStp = std::move(read);
  return qz::testing::WithWindowRanks(e);
}

using testing::ReadAll;
using testing::WriteAll;

std::unique_ptr<IniFile> FromText(const char* text) {
  auto ini = std::make_unique<IniFile>();
  ini->SetText(QByteArray(text));
  return ini;
}

// ---- "QuzarForm" ----------------------------------------------------------------------------

TEST(FrameSetup, ReadLimitsEveryKeyToItsRange) {
  struct Case {
    const char* text;
    std::function<void(const TFrameSetup&)> check;
  };
  const Case cases[] = {
      // A width of 100 opens the window 400 wide; the height has its own minimum of 350.
      {"[QuzarForm]\nWidth=100\nHeight=100\n",
       [](const TFrameSetup& f) {
         EXPECT_EQ(f.pos.width, 400);
         EXPECT_EQ(f.pos.height, 350);
       }},
      // Sizes and positions stay 10 pixels inside the 1920 x 1080 screen.
      {"[QuzarForm]\nWidth=5000\nHeight=5000\nTop=-7\nLeft=99999\n",
       [](const TFrameSetup& f) {
         EXPECT_EQ(f.pos.width, 1910);
         EXPECT_EQ(f.pos.height, 1070);
         EXPECT_EQ(f.pos.top, 0);
         EXPECT_EQ(f.pos.left, 1910);
       }},
      // Any separator other than a comma means the point.
      {"[QuzarForm]\nSeparForTxtSave=;\n",
       [](const TFrameSetup& f) { EXPECT_EQ(f.SeparForTxtSave, QChar('.')); }},
      {"[QuzarForm]\nSeparForTxtSave=,\n",
       [](const TFrameSetup& f) { EXPECT_EQ(f.SeparForTxtSave, QChar(',')); }},
      // PNG (3) is the last picture type.
      {"[QuzarForm]\nPicTyp=7\nPicArea=-3\nCanHW=9\n",
       [](const TFrameSetup& f) {
         EXPECT_EQ(f.PicTyp, 3);
         EXPECT_EQ(f.PicArea, 0);
         EXPECT_EQ(f.CanHW, 1);
       }},
      {"[QuzarForm]\nPicTyp=3\n", [](const TFrameSetup& f) { EXPECT_EQ(f.PicTyp, 3); }},
      {"[QuzarForm]\nPicTyp=-1\n", [](const TFrameSetup& f) { EXPECT_EQ(f.PicTyp, 0); }},
      // Missing keys: the table's defaults, or the present values.
      {"[QuzarForm]\n",
       [](const TFrameSetup& f) {
         EXPECT_EQ(f.PreTrig, 20000);
         EXPECT_EQ(f.CanSpeed, 5);
         EXPECT_EQ(f.pos.width, 900);
         EXPECT_EQ(f.BkgColor, 10744749u);
         EXPECT_TRUE(f.UserStpPath.endsWith(QStringLiteral("/1.stp")));
         EXPECT_TRUE(f.SaveAsTxtPath.endsWith(QStringLiteral("/1.txt")));
         EXPECT_TRUE(f.SuspOnLow);  // kept
       }},
      // Paths written on other systems.
      {"[QuzarForm]\nUserStpPath=C:\\setups\\a.stp\nPreTrig=-4\nPicTyp=x\n",
       [](const TFrameSetup& f) {
         EXPECT_EQ(f.UserStpPath, QStringLiteral("C:/setups/a.stp"));
         EXPECT_EQ(f.PreTrig, 0);
         EXPECT_EQ(f.PicTyp, 1);  // unreadable: kept
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TFrameSetup f;
    f.SuspOnLow = true;
    f.PicTyp = 1;
    ReadFrameSetup(*FromText(c.text), f, 1920, 1080);
    c.check(f);
  }
}

// A system colour is written in the signed form the setups have always held and reads back,
// whichever form the file holds.
TEST(FrameSetup, SystemBackgroundColourReadsBack) {
  for (const uint32_t c : {0xFF00000Cu, 0xFF00000Fu, 0x00FFFFFFu, 0u}) {
    TFrameSetup f;
    f.BkgColor = c;
    IniFile ini;
    WriteFrameSetup(ini, f, TStatusAll{}, TStatusAll{});
    TFrameSetup g;
    ReadFrameSetup(ini, g, 1920, 1080);
    EXPECT_EQ(g.BkgColor, c) << c;
  }
  TFrameSetup fromSigned, fromUnsigned;
  ReadFrameSetup(*FromText("[QuzarForm]\r\nBkgColor=-16777204\r\n"), fromSigned, 1920, 1080);
  ReadFrameSetup(*FromText("[QuzarForm]\r\nBkgColor=4278190092\r\n"), fromUnsigned, 1920, 1080);
  EXPECT_EQ(fromSigned.BkgColor, 0xFF00000Cu);
  EXPECT_EQ(fromUnsigned.BkgColor, 0xFF00000Cu);
}

TEST(FrameSetup, WritesEveryKeyAndReadsItBack) {
  TFrameSetup f;
  f.pos = {12, 34, 800, 600};
  f.BkgColor = 0x00112233;
  f.PicTyp = 2;
  f.PicArea = 1;
  f.UserStpPath = QStringLiteral("/tmp/x.stp");
  f.SaveAsTxtPath = QStringLiteral("/tmp/x.txt");
  f.SeparForTxtSave = QChar(',');
  f.PreTrig = 17;
  f.SuspOnLow = true;
  f.sbOneShot = true;
  f.miFinishSwp = true;
  f.CanHW = 1;
  f.CanSpeed = 3;
  TStatusAll run, send;
  run[1] = 1;
  send[1] = 0;
  IniFile ini;
  WriteFrameSetup(ini, f, run, send);
  EXPECT_EQ(ini.ReadString("QuzarForm", "RunStatus1", ""), QStringLiteral("1"));
  EXPECT_EQ(ini.ReadString("QuzarForm", "SendStatus1", ""), QStringLiteral("0"));
  EXPECT_FALSE(ini.ValueExists("QuzarForm", "RunStatus2"));
  EXPECT_EQ(ini.ReadString("QuzarForm", "SuspOnLow", ""), QStringLiteral("1"));
  TFrameSetup g;
  ReadFrameSetup(ini, g, 1920, 1080);
  EXPECT_EQ(g.pos.left, 12);
  EXPECT_EQ(g.pos.top, 34);
  EXPECT_EQ(g.pos.width, 800);
  EXPECT_EQ(g.pos.height, 600);
  EXPECT_EQ(g.BkgColor, 0x00112233u);
  EXPECT_EQ(g.PicTyp, 2);
  EXPECT_EQ(g.PicArea, 1);
  EXPECT_EQ(g.UserStpPath, f.UserStpPath);
  EXPECT_EQ(g.SaveAsTxtPath, f.SaveAsTxtPath);
  EXPECT_EQ(g.SeparForTxtSave, QChar(','));
  EXPECT_EQ(g.PreTrig, 17);
  EXPECT_TRUE(g.SuspOnLow && g.sbOneShot && g.miFinishSwp);
  EXPECT_EQ(g.CanHW, 1);
  EXPECT_EQ(g.CanSpeed, 3);
}

// ---- tool-window registry: setup sections -----------------------------------------------

TEST(ToolWindowSetup, WriteAndLoadInTheirOwnOrdersWhateverTheRegistrationOrder) {
  TToolWindows o;
  QStringList written, read;
  for (const char* s : {"Model", "LogForm", "QzResForm", "TunPic", "QzSamplForm"}) {
    const QString sec = QString::fromLatin1(s);
    ASSERT_TRUE(o.Register(Owner(
        sec,
        [&written, sec](IniFile& ini) {
          written << sec;
          ini.WriteInteger(sec, "A", 1);
        },
        [&read, sec](const IniFile&) { read << sec; })));
  }
  IniFile ini;
  o.WriteAll(ini);
  o.ReadAll(ini);
  EXPECT_EQ(written, QStringList({"QzResForm", "LogForm", "QzSamplForm", "TunPic", "Model"}));
  // Loading reads the sampling dialog before the model and the tuner picture last.
  EXPECT_EQ(read, QStringList({"QzResForm", "LogForm", "QzSamplForm", "Model", "TunPic"}));
  // A file without a window's section leaves that window as it is.
  read.clear();
  IniFile part;
  part.WriteInteger("logform", "A", 1);
  o.ReadAll(part);
  EXPECT_EQ(read, QStringList({"LogForm"}));
}

TEST(ToolWindowSetup, UnknownNamesAreRefusedAndAFailingWindowIsReportedAndSkipped) {
  TToolWindows o;
  o.assertOnRefusal = false;
  EXPECT_FALSE(o.Register(Owner("NoSuchWindow", [](IniFile&) {})));
  TToolWindowEntry noFactory = Owner("Model", [](IniFile&) {});
  noFactory.create = nullptr;
  EXPECT_FALSE(o.Register(noFactory));
  // The help viewer keeps nothing in the setup: it cannot write a section.
  EXPECT_FALSE(o.Register(Owner("HelpViewer", [](IniFile&) {})));
  EXPECT_TRUE(o.Register(Owner(
      "QzResForm",
      [](IniFile& i) {
        i.WriteInteger("QzResForm", "A", 1);
        throw std::runtime_error("disk gone");
      },
      [](const IniFile&) { throw 42; })));
  EXPECT_TRUE(o.Register(Owner("Model", [](IniFile& i) { i.WriteInteger("Model", "A", 1); })));
  IniFile ini;
  QStringList failures;
  auto failure = [&](const QString& sec, const QString& why) { failures << sec + ": " + why; };
  o.WriteAll(ini, failure);
  o.ReadAll(ini, failure);  // the model has no reader: skipped
  EXPECT_EQ(ini.ReadInteger("Model", "A", 0), 1);
  EXPECT_EQ(failures, QStringList({"QzResForm: disk gone", "QzResForm: unknown error"}));
  EXPECT_TRUE(o.Has("model"));
}

// ---- exit question --------------------------------------------------------------------------

TEST(ExitQuestion, AnswersAndEscape) {
  struct Case {
    bool abortPgm, mustTerminate, writeIni;
    std::optional<TMsgButton> answer;  // nullopt: Escape (the scripted default)
    TExitChoice expected;
    int questions;
  };
  const Case cases[] = {
      {false, false, true, mbYes, TExitChoice::CloseSave, 1},
      {false, false, true, mbAbort, TExitChoice::CloseNoSave, 1},
      {false, false, true, mbNo, TExitChoice::KeepRunning, 1},
      {false, false, true, std::nullopt, TExitChoice::KeepRunning, 1},  // Escape keeps running
      {false, true, true, mbOK, TExitChoice::CloseSave, 1},
      {false, true, true, std::nullopt, TExitChoice::CloseNoSave, 1},    // Escape = Abort here
      {false, false, false, std::nullopt, TExitChoice::CloseNoSave, 0},  // "Exit (no setup)"
      {true, false, true, std::nullopt, TExitChoice::CloseNoSave, 0},
  };
  for (const Case& c : cases) {
    TScriptedAsker a;
    a.quiet = true;
    if (c.answer) a.QueueButton(*c.answer);
    EXPECT_EQ(AskExit(a, c.abortPgm, c.mustTerminate, c.writeIni, "QzSim"), c.expected);
    EXPECT_EQ(int(a.Records(TAskRecord::Message).size()), c.questions);
  }
  TScriptedAsker a;
  a.quiet = true;
  AskExit(a, false, false, true, "QzSim");
  ASSERT_EQ(a.log.size(), 1u);
  EXPECT_EQ(a.log[0].text,
            QStringLiteral("Terminate QzSim?\r\n(Press Abort to terminate without saving setup)"));
  EXPECT_EQ(a.log[0].buttons, TMsgButtons(mbYes | mbNo | mbAbort));
  EXPECT_EQ(TerminateQuestion("QzSim"),
            QStringLiteral(
                "Terminating QzSim\r\n(Press Abort or Escape to terminate without saving setup)"));
}

TEST(SetupFilesNames, BackupNameAndReadOnlyMark) {
  const QDateTime t(QDate(2026, 12, 9), QTime(14, 30, 5));
  EXPECT_EQ(BackupSetupPath("/u/QzSim/", t),
            QStringLiteral("/u/QzSim/BackupSetups/QzSim0_261209_143005.stp"));
  EXPECT_EQ(BackupSetupPath("/u/QzSim", QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6))),
            QStringLiteral("/u/QzSim/BackupSetups/QzSim0_010203_040506.stp"));
  QTemporaryDir dir;
  const QString f = dir.filePath("a.stp");
  WriteAll(f, "x");
  EXPECT_FALSE(IsReadOnlyFile(f));
  QFile::setPermissions(f, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_TRUE(IsReadOnlyFile(f));  // holds for root too
  EXPECT_FALSE(IsReadOnlyFile(dir.filePath("missing.stp")));
}

// ---- the whole setup over a started core ----------------------------------------------------

class SetupFilesTest : public qz::testing::FreshProfileTest {
 protected:
};

TEST_F(SetupFilesTest, SavingRemovesSectionsNoOwnerWritesButKeepsTheAnalyzerSection) {
  WriteAll(Auto(),
           "[QuzarForm]\r\nTop=1\r\n[DForm_1]\r\nA=1\r\n[QvTuStp1]\r\nPoints=300\r\n"
           "[QvTuStp2]\r\nPoints=5\r\n[Junk]\r\nB=2\r\n");
  TSimCore core(false);
  QString msg;
  ASSERT_TRUE(core.Start(msg)) << msg.toStdString();
  TToolWindows windows;
  TSetupFiles s(core, windows);
  s.asker = &asker;
  s.WriteFrame = [](IniFile& ini) { ini.WriteInteger("QuzarForm", "Top", 7); };
  ASSERT_TRUE(
      windows.Register(Owner("Model", [](IniFile& ini) { ini.WriteInteger("Model", "X", 1); })));
  QString err;
  ASSERT_TRUE(s.WriteAutoSetup(err)) << err.toStdString();
  IniFile back(Auto());
  EXPECT_EQ(back.ReadSections(), QStringList({"QvTuStp1", "QuzarForm", "Model"}));
  EXPECT_EQ(back.ReadInteger("QvTuStp1", "Points", 0), 300);
  EXPECT_EQ(back.ReadInteger("QuzarForm", "Top", 0), 7);
  EXPECT_EQ(back.ReadString("QvTuStp1", "SetupInfo", ""), QStringLiteral("AutoSetup"));
  // The busy message was shown while writing and closed.
  ASSERT_FALSE(asker.Records(TAskRecord::Busy).empty());
  EXPECT_EQ(asker.Records(TAskRecord::Busy)[0].caption,
            QStringLiteral("Writing system settings..."));
  EXPECT_FALSE(asker.busyVisible);
}

TEST_F(SetupFilesTest, LoadingRewritesTheAnalyzerSectionOfTheAutomaticSetup) {
  TSimCore core(false);
  QString msg;
  ASSERT_TRUE(core.Start(msg));
  TToolWindows windows;
  TSetupFiles s(core, windows);
  s.asker = &asker;
  QStringList read;
  ASSERT_TRUE(windows.Register(Owner(
      "Model", [](IniFile&) {}, [&](const IniFile&) { read << "Model"; })));
  // A damaged line frequency never crashes and is limited like every analyzer value.
  const auto user =
      FromText("[QvTuStp1]\nPoints=222\nLineFreq=0\nSetupInfo=my job\n[Model]\nX=1\n");
  EXPECT_EQ(s.LoadSetup(*user), QStringLiteral("my job"));
  EXPECT_EQ(core.Qv.PtsPerSwp, 222);
  EXPECT_GT(core.Qv.Rectif.RippleFreq, 0);
  IniFile back(Auto());
  EXPECT_EQ(back.ReadInteger("QvTuStp1", "Points", 0), 222);
  EXPECT_EQ(read, QStringList({"Model"}));
  // The run and send states are as before the load.
  EXPECT_EQ(core.Cmd.RunStates()[1], 0);
  // The waveform settings went out as the "Waveform" command, which also packs the trigger
  // method into the trigger word, and its waiting window is closed again.
  EXPECT_EQ(TrgMethodOf(core.Qv.VarPar.TrgMeth_AccLvl), core.Qv.TrgMethod);
  const auto waits = asker.Records(TAskRecord::Wait);
  ASSERT_FALSE(waits.empty());
  EXPECT_EQ(waits.back().text, QStringLiteral("\"Waveform\" command running..."));
  EXPECT_FALSE(asker.waitVisible);
}

TEST_F(SetupFilesTest, SaveSetupAsRewritesTheAutomaticSetupAndWritesTheFileWithTheComment) {
  TSimCore core(false);
  QString msg;
  ASSERT_TRUE(core.Start(msg));
  core.Qv.PtsPerSwp = 321;
  TToolWindows windows;
  TSetupFiles s(core, windows);
  s.asker = &asker;
  const QString path = dir.filePath("job.stp");
  WriteAll(path, "[Old]\r\nA=1\r\n");
  QString err;
  ASSERT_TRUE(s.SaveSetupAs(path, "job A", err)) << err.toStdString();
  IniFile a(Auto()), f(path);
  EXPECT_EQ(a.ReadInteger("QvTuStp1", "Points", 0), 321);
  EXPECT_EQ(f.ReadInteger("QvTuStp1", "Points", 0), 321);
  EXPECT_EQ(f.ReadString("QvTuStp1", "SetupInfo", ""), QStringLiteral("job A"));
  EXPECT_FALSE(f.SectionExists("Old"));
}

TEST_F(SetupFilesTest, BackupLeavesTheAutomaticSetupUntouched) {
  TSimCore core(false);
  QString msg;
  ASSERT_TRUE(core.Start(msg));
  QFile::remove(Auto());
  WriteAll(Auto(), "[QvTuStp1]\r\nPoints=150\r\n");
  core.AutoIni().Reload();
  const QByteArray before = ReadAll(Auto());
  TToolWindows windows;
  TSetupFiles s(core, windows);
  s.asker = &asker;
  core.Qv.PtsPerSwp = 99;
  QString path, err;
  ASSERT_TRUE(s.WriteBackup(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)), path, err));
  EXPECT_EQ(path, UserFolder() + "BackupSetups/QzSim0_260102_030405.stp");
  EXPECT_EQ(ReadAll(Auto()), before);
  IniFile b(path);
  EXPECT_EQ(b.ReadInteger("QvTuStp1", "Points", 0), 99);
  EXPECT_EQ(b.ReadString("QvTuStp1", "SetupInfo", ""), QStringLiteral("BackupSetup"));
}

// ---- tool windows and help pages ------------------------------------------------------------

TEST(ToolWindows, CreatedInTheFixedOrderAndOnlyWhenTheyExist) {
  TToolWindows w;
  QStringList made;
  std::vector<const IniFile*> setups;
  for (const char* n : {"TunPic", "Model", "QzResForm", "LogForm", "TuStpFrm", "QzSmallFrm"}) {
    TToolWindowEntry e;
    e.section = n;
    e.create = [&made, &setups, n](const IniFile* i) {
      made << n;
      setups.push_back(i);
    };
    ASSERT_TRUE(w.Register(qz::testing::WithWindowRanks(e)));
  }
  TToolWindowEntry unknown;
  unknown.section = "NoSuchWindow";
  unknown.create = [](const IniFile*) {};
  w.assertOnRefusal = false;
  EXPECT_FALSE(w.Register(qz::testing::WithWindowRanks(unknown)));
  IniFile ini;
  EXPECT_EQ(w.CreateAll(TCreatePoint::FrameStart, &ini, false),
            QStringList({"LogForm", "QzSmallFrm", "QzResForm", "Model"}));
  EXPECT_EQ(made, QStringList({"LogForm", "QzSmallFrm", "QzResForm", "Model"}));
  EXPECT_EQ(setups[0], &ini);
  // The windows that need the unit's settings come once it has started.
  EXPECT_EQ(w.CreateAll(TCreatePoint::UnitStart, &ini, false), QStringList({"TuStpFrm", "TunPic"}));
  // A program being terminated creates its windows without reading their setup.
  setups.clear();
  w.CreateAll(TCreatePoint::FrameStart, &ini, true);
  for (const IniFile* i : setups) EXPECT_EQ(i, nullptr);
}

TEST(ToolWindows, RunHooksDisablingAndDestructionOrder) {
  TToolWindows w;
  QStringList events;
  for (const char* n : {"HelpViewer", "Model", "LogForm", "TunPic", "QzResForm"}) {
    TToolWindowEntry e;
    e.section = n;
    e.create = [](const IniFile*) {};
    e.destroy = [&events, n] { events << QStringLiteral("destroy ") + n; };
    // The logging window follows the run through its hook; the tuner picture is disabled.
    if (QString(n) == "LogForm")
      e.runHook = [&events](bool running) { events << QStringLiteral("log %1").arg(int(running)); };
    if (QString(n) == "TunPic") {
      e.staysEnabledInRun = false;
      e.enable = [&events](bool on) { events << QStringLiteral("tunpic %1").arg(int(on)); };
    }
    ASSERT_TRUE(w.Register(qz::testing::WithWindowRanks(e)));
  }
  w.EnableForRun(false);
  w.EnableForRun(true);
  EXPECT_EQ(events, QStringList({"log 1", "tunpic 0", "log 0", "tunpic 1"}));
  events.clear();
  // Nothing created yet: nothing to destroy.
  EXPECT_TRUE(w.DestroyAll().isEmpty());
  w.CreateAll(TCreatePoint::FrameStart, nullptr, false);
  w.CreateAll(TCreatePoint::UnitStart, nullptr, false);
  EXPECT_TRUE(w.CreateOne("HelpViewer", nullptr));
  // On demand first, then the later windows before the earlier ones; each once.
  EXPECT_EQ(w.DestroyAll(), QStringList({"HelpViewer", "TunPic", "Model", "QzResForm", "LogForm"}));
  EXPECT_EQ(events.size(), 5);
  EXPECT_TRUE(w.DestroyAll().isEmpty());
}

TEST(SetupFileCheck, SectionsThatMakeASetup) {
  const struct {
    const char* text;
    bool holds;
  } cases[] = {
      {"[LogForm]\nMaxSamples=5\n", true},
      {"[qvtustp1]\nPoints=5\n", true},
      {"[QuzarForm]\nTop=1\n", true},
      {"[DForm_3]\nA=1\n", true},
      {"[Model]\n", true},
      {"[MakeSce]\n", true},
      // "DForm_" and digits at any length; a sub-section alone is no window.
      {"[DForm_123]\nA=1\n", true},
      {"[DForm_100000]\nA=1\n", true},
      {"[DForm_1 DepotY_0]\nZoom=1\n", false},
      {"[DForm_x]\nA=1\n", false},
      {"[QvTuStp2]\nPoints=5\n", false},
      {"[Junk]\nA=1\n[Other]\nB=2\n", false},
      {"", false},
  };
  for (const auto& c : cases) {
    const auto ini = FromText(c.text);
    EXPECT_EQ(HoldsSetup(*ini), c.holds) << c.text;
  }
}

TEST(HelpPages, PathsAndTheMissingPageLine) {
  EXPECT_EQ(HelpPagePath("/x/help", "model.html"), "/x/help/model.html");
  EXPECT_EQ(HelpPagePath("/x/help/", "model.html"), "/x/help/model.html");
  EXPECT_EQ(MissingHelpPageText("/x/help/", "model.html"),
            "The page \"model.html\" is missing from /x/help.");
}

TEST(HelpPages, ShippedIndexAndFramePageExist) {
  const QString d = QStringLiteral(QZ_TEST_DATA_DIR) + "/../../share/qzsim/help";
  EXPECT_TRUE(QFile::exists(d + "/index.html"));
  EXPECT_TRUE(QFile::exists(d + "/frame-window.html"));
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

TEST(FramePlacement, WorkAreaTenPixelsSmallerNeverBelowTheSmallestWindow) {
  const struct {
    WindowPos work;
    WindowPos want;
  } cases[] = {
      {{0, 0, 1920, 1040}, {0, 0, 1910, 1030}},
      {{60, 0, 1860, 1080}, {60, 0, 1850, 1070}},  // a task bar at the left edge
      {{0, 30, 1280, 994}, {0, 30, 1270, 984}},    // a task bar at the top edge
      {{0, 0, 300, 200}, {0, 0, 400, 350}},
  };
  for (const auto& c : cases) {
    const WindowPos p = FramePlacement(c.work);
    EXPECT_EQ(p.left, c.want.left);
    EXPECT_EQ(p.top, c.want.top);
    EXPECT_EQ(p.width, c.want.width);
    EXPECT_EQ(p.height, c.want.height);
  }
}

}  // namespace
}  // namespace qz

#include <sys/stat.h>

#include "app/program.h"

namespace qz {
namespace {

// A user setup as the program loads it (Load Setup and the command line alike).
class ProgramSetupLoad : public qz::testing::FreshProfileTest {
 protected:
  void SetUp() override {
    FreshProfileTest::SetUp();
    if (HasFatalFailure()) return;
    QString msg;
    ASSERT_TRUE(program.Start(msg)) << msg.toStdString();
  }

  TProgram program{true};
};

TEST_F(ProgramSetupLoad, WhatIsNotASetupIsRefusedAndChangesNothing) {
  const QString fifo = dir.filePath("pipe.stp");
  ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  const QString junk = dir.filePath("junk.stp");
  WriteAll(junk, "[Junk]\r\nPoints=7\r\n[QvTuStp2]\r\nPoints=7\r\n");
  const QString empty = dir.filePath("empty.stp");
  WriteAll(empty, "");
  const struct {
    QString path;
    QString message;
  } cases[] = {
      {fifo, "\"" + fifo + "\" is not a regular file"},
      {dir.path(), "\"" + dir.path() + "\" is not a regular file"},
      {"/dev/null", "\"/dev/null\" is not a regular file"},
      {dir.filePath("none.stp"), "File \"" + dir.filePath("none.stp") + "\" not found"},
      {junk, "File \"" + junk + "\" holds no setup of this program"},
      {empty, "File \"" + empty + "\" holds no setup of this program"},
  };
  const int32_t points = program.Core.Qv.PtsPerSwp;
  for (const auto& c : cases) {
    QString comment, err;
    EXPECT_FALSE(program.LoadSetupFile(c.path, comment, err));
    EXPECT_EQ(err, c.message);
  }
  EXPECT_EQ(program.Core.Qv.PtsPerSwp, points);
}

TEST_F(ProgramSetupLoad, OnlyTheSectionsTheFileHoldsAreRead) {
  program.Core.Qv.PtsPerSwp = 150;
  program.Setup.Comment = "before";
  const QString path = dir.filePath("log.stp");
  WriteAll(path, "[LogForm]\r\nMaxSamples=5\r\n");
  QString comment, err;
  ASSERT_TRUE(program.LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_EQ(program.Core.Qv.PtsPerSwp, 150);  // no analyzer section: nothing read, nothing sent
  EXPECT_TRUE(comment.isEmpty());
  EXPECT_EQ(program.Setup.Comment, "before");
  IniFile back;
  program.Log.engine.WriteStp(back);
  EXPECT_EQ(back.ReadInteger("LogForm", "MaxSamples", 0), 5);

  WriteAll(path, "[qvtustp1]\r\nPoints=222\r\nSetupInfo=job\r\n");
  ASSERT_TRUE(program.LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_EQ(program.Core.Qv.PtsPerSwp, 222);
  EXPECT_EQ(comment, "job");
}

// The display windows are replaced only by a setup that holds display windows.
TEST_F(ProgramSetupLoad, DisplayWindowsAreReplacedOnlyByASetupHoldingThem) {
  QStringList calls;
  program.Setup.CloseDisplays = [&] { calls << "close"; };
  program.Setup.ResetDisplayDefaults = [&] { calls << "defaults"; };
  program.Setup.DisplaysFromSetup = [&](const IniFile&) { calls << "create"; };
  const QString path = dir.filePath("d.stp");
  QString comment, err;
  // A sub-section alone holds no window.
  WriteAll(path, "[QvTuStp1]\r\nPoints=120\r\n[DForm_1 Trace_0]\r\nA=1\r\n");
  ASSERT_TRUE(program.LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_TRUE(calls.isEmpty());
  WriteAll(path, "[DForm_1]\r\nA=1\r\n");
  ASSERT_TRUE(program.LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_EQ(calls, QStringList({"close", "defaults", "create"}));
  // The hundredth window is a window as well.
  calls.clear();
  WriteAll(path, "[QvTuStp1]\r\nPoints=120\r\n[DForm_100]\r\nA=1\r\n");
  ASSERT_TRUE(program.LoadSetupFile(path, comment, err)) << err.toStdString();
  EXPECT_EQ(calls, QStringList({"close", "defaults", "create"}));
}

// A window whose section fails is named in a message; the others are still written and read.
TEST_F(ProgramSetupLoad, AFailingSectionIsReportedAndTheOthersGoOn) {
  TToolWindowEntry bad;
  bad.section = "QzResForm";
  bad.create = [](const IniFile*) {};
  bad.writeStp = [](IniFile& ini) {
    ini.WriteInteger("QzResForm", "A", 1);
    throw std::runtime_error("no memory");
  };
  bad.readStp = [](const IniFile&) { throw std::runtime_error("bad value"); };
  ASSERT_TRUE(program.Windows.Register(qz::testing::WithWindowRanks(bad)));
  int modelReads = 0;
  ASSERT_TRUE(program.Windows.Register(Owner(
      "Model", [](IniFile& ini) { ini.WriteInteger("Model", "B", 2); },
      [&](const IniFile&) { ++modelReads; })));
  IniFile ini;
  QString err;
  ASSERT_TRUE(program.Setup.WriteSetup(ini, "c", err)) << err.toStdString();
  EXPECT_EQ(ini.ReadInteger("Model", "B", 0), 2);
  program.Setup.LoadSetup(ini);
  EXPECT_EQ(modelReads, 1);
  const auto m = asker.Records(TAskRecord::Message);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].text, "Section \"QzResForm\" of the setup cannot be written: no memory");
  EXPECT_EQ(m[1].text, "Section \"QzResForm\" of the setup cannot be read: bad value");
  EXPECT_EQ(m[1].type, TMsgType::Error);
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

using testing::ReaderInput;

TEST(SetupFileReader, SpecialFilesAreRefusedAtOnce) {
  QTemporaryDir dir;
  testing::CheckReaderTable("ReadSetupFile", dir.filePath(QStringLiteral("user.stp")), 16 << 20,
                            "is too large: a setup file may have at most 16 MiB",
                            [](const QString& path) {
                              QString error;
                              const std::unique_ptr<IniFile> ini = ReadSetupFile(path, error);
                              return testing::ReaderOutcome{ini != nullptr, error};
                            });
}

// An automatic setup that is there but cannot be read leaves the defaults, one start-up line,
// and is never written over: Exit writes a backup, Save Setup only the chosen file, Load Setup
// leaves it. The serial port's configuration files are told the same way.
TEST_F(SetupFilesTest, RefusedStartUpFilesAreToldAndTheAutomaticSetupIsNeverWrittenOver) {
  const struct {
    ReaderInput input;
    const char* cause;
  } cases[] = {{ReaderInput::Fifo, "not a regular file"},
               {ReaderInput::DevZeroLink, "not a regular file"},
               {ReaderInput::Folder, "not a regular file"},
               {ReaderInput::SparseOverLimit, "too large: a setup file may have at most 16 MiB"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cause);
    QDir(UserFolder() + QStringLiteral("BackupSetups")).removeRecursively();
    ASSERT_TRUE(testing::MakeReaderInput(c.input, Auto(), 16 << 20));
    const QString cfg = UserFolder() + QStringLiteral("RS232.STP");
    ASSERT_TRUE(testing::MakeReaderInput(ReaderInput::Fifo, cfg, 0));
    const unsigned typeBefore = testing::FileType(Auto());
    TSimCore core(false);
    QString msg;
    {
      testing::Watchdog dog("TSimCore::Start");
      ASSERT_TRUE(core.Start(msg)) << msg.toStdString();
    }
    EXPECT_TRUE(core.AutoSetupRefused());
    EXPECT_EQ(core.StartupLines(),
              QStringList({QStringLiteral("The automatic setup \"%1\" is not read (%2); the "
                                          "defaults are used and the file is left as it is.")
                               .arg(Auto(), QString::fromLatin1(c.cause)),
                           QStringLiteral("The configuration file \"%1\" is not read (not a "
                                          "regular file); the defaults are used.")
                               .arg(cfg)}));
    TToolWindows windows;
    TSetupFiles s(core, windows);
    s.asker = &asker;
    QString err;
    ASSERT_TRUE(s.WriteAutoSetup(err)) << err.toStdString();
    EXPECT_EQ(QDir(UserFolder() + QStringLiteral("BackupSetups")).entryList(QDir::Files).size(), 1);
    const QString job = dir.filePath(QStringLiteral("job.stp"));
    ASSERT_TRUE(s.SaveSetupAs(job, QStringLiteral("job"), err)) << err.toStdString();
    EXPECT_TRUE(IniFile(job).SectionExists(QStringLiteral("QvTuStp1")));
    const auto user = FromText("[QvTuStp1]\nPoints=222\n");
    s.LoadSetup(*user);
    EXPECT_EQ(testing::FileType(Auto()), typeBefore);
    if (c.input == ReaderInput::SparseOverLimit) {
      EXPECT_EQ(QFileInfo(Auto()).size(), (16 << 20) + 1);
    }
    QDir(Auto()).removeRecursively();
    QFile::remove(Auto());
    QFile::remove(cfg);
  }
  // A missing automatic setup is no line and is written at exit as ever.
  TSimCore core(false);
  QString msg;
  ASSERT_TRUE(core.Start(msg));
  EXPECT_TRUE(core.StartupLines().isEmpty());
  EXPECT_FALSE(core.AutoSetupRefused());
}

}  // namespace
}  // namespace qz
