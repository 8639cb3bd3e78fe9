#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "app/setupfiles.h"
#include "app/simcore.h"
#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "app/ui/singleinstance.h"
#include "app/ui/startupbox.h"
#include "common/form1rig.h"
#include "common/readerrig.h"
#include "common/specialfiles.h"
#include "common/testfiles.h"
#include "core/qvwin.h"
#include "results/ui/logform.h"
#include "results/ui/qzresform.h"
#include "results/ui/qzsmallfrm.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::ReadAll;
using testing::WriteAll;

// Each test has a profile folder of its own and prepares it before the frame window starts.
class Form1Setup : public testing::StartedForm1Test {
 protected:
  Form1Setup() { startInSetUp = false; }
  QStringList Backups() const {
    return QDir(UserFolder() + "BackupSetups").entryList({"QzSim0_*.stp"}, QDir::Files);
  }
  // The frame window started anew over the profile as it stands.
  TForm1* Started() {
    Restart();
    return form.get();
  }

  // A second profile folder, for a test that carries a setup into a fresh profile.
  QTemporaryDir other;
};

TEST_F(Form1Setup, EscapeAtTheExitQuestionKeepsTheProgramRunning) {
  WriteAll(Auto(), "[QvTuStp1]\r\nPoints=150\r\n");
  const QByteArray before = ReadAll(Auto());
  auto f = Started();
  EXPECT_FALSE(f->close());  // Escape: the scripted asker's default answer
  EXPECT_TRUE(f->isVisible());
  const auto q = asker.Records(TAskRecord::Message);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].text,
            QStringLiteral("Terminate QzSim?\r\n(Press Abort to terminate without saving setup)"));
  EXPECT_EQ(ReadAll(Auto()), before);
  EXPECT_TRUE(Backups().isEmpty());
  // The program still runs a measurement afterwards.
  QTimer::singleShot(20, f, [&] { f->miSweepClick(); });
  f->miSweepClick();
  EXPECT_GT(f->Core().Cycle.AcceptedFrames(), 0);
}

TEST_F(Form1Setup, AbortLeavesTheAutomaticSetupUnchangedAndWritesABackup) {
  WriteAll(Auto(), "[QvTuStp1]\r\nPoints=150\r\n");
  const QByteArray before = ReadAll(Auto());
  auto f = Started();
  f->Core().Qv.PtsPerSwp = 77;
  asker.QueueButton(mbAbort);
  EXPECT_TRUE(f->close());
  EXPECT_EQ(ReadAll(Auto()), before);
  ASSERT_EQ(Backups().size(), 1);
  IniFile b(UserFolder() + "BackupSetups/" + Backups()[0]);
  EXPECT_EQ(b.ReadInteger("QvTuStp1", "Points", 0), 77);
  EXPECT_EQ(f->LastBackupPath(), UserFolder() + "BackupSetups/" + Backups()[0]);
}

TEST_F(Form1Setup, ExitWithoutSetupAsksNothingAndWritesABackup) {
  auto f = Started();
  const QByteArray before = ReadAll(Auto());
  f->ExitNoSetupClick();
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(asker.Records(TAskRecord::Message).empty());
  EXPECT_EQ(ReadAll(Auto()), before);
  EXPECT_EQ(Backups().size(), 1);
}

// Start-up files that are there but cannot be read are told in one warning box once the window
// is up, a line each (the lock's line after them); after Exit Yes the refused automatic setup is
// as it was and the setup is in a backup. Without such a file no box appears.
TEST_F(Form1Setup, TheStartUpBoxListsEveryRefusedFileAndExitLeavesThemAsTheyAre) {
  const QString cfg = InUserFolder("RS232.CFG");
  ASSERT_TRUE(testing::MakeReaderInput(testing::ReaderInput::Fifo, Auto(), 0));
  ASSERT_TRUE(testing::MakeReaderInput(testing::ReaderInput::SparseOverLimit, cfg, 64 << 10));
  TForm1* f = nullptr;
  {
    testing::Watchdog dog("the frame window's start");
    f = Started();
  }
  ASSERT_NE(f, nullptr);
  const QString lock = LockUnavailableText(dir.filePath("QzSim-0.lock"), "Permission denied");
  ShowStartupLinesOnceUp(*f, {lock});
  auto warnings = [this] {
    QStringList l;
    for (const TAskRecord& r : asker.Records(TAskRecord::Message))
      if (r.type == TMsgType::Warning) l << r.text;
    return l;
  };
  // The box waits for the event loop: the window is up first.
  EXPECT_TRUE(warnings().isEmpty());
  QCoreApplication::processEvents();
  EXPECT_EQ(warnings(),
            QStringList({QStringLiteral("The automatic setup \"") + Auto() +
                         "\" is not read (not a regular file); the defaults are used and the "
                         "file is left as it is.\r\nThe configuration file \"" +
                         cfg +
                         "\" is not read (too large: a configuration file may have at most 64 "
                         "KiB); the defaults are used.\r\n" +
                         lock}));
  asker.QueueButton(mbYes);
  f->ExitClick();
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(testing::FileType(Auto()), unsigned(S_IFIFO));
  EXPECT_EQ(QFileInfo(cfg).size(), (64 << 10) + 1);
  EXPECT_EQ(Backups().size(), 1);
  form.reset();

  // A start with nothing refused shows no box.
  QFile::remove(Auto());
  QFile::remove(cfg);
  asker.log.clear();
  auto g = Started();
  ShowStartupLinesOnceUp(*g, {});
  QCoreApplication::processEvents();
  EXPECT_TRUE(warnings().isEmpty());
}

TEST_F(Form1Setup, AReadOnlyAutomaticSetupIsWritableAgainAfterExitYes) {
  WriteAll(Auto(), "[QvTuStp1]\r\nPoints=150\r\n");
  QFile::setPermissions(Auto(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  auto f = Started();
  f->Core().Qv.PtsPerSwp = 444;
  f->setGeometry(30, 40, 700, 500);
  asker.QueueButton(mbYes);
  f->ExitClick();
  EXPECT_FALSE(f->isVisible());
  EXPECT_TRUE(QFile::permissions(Auto()) & QFile::WriteOwner);
  IniFile a(Auto());
  EXPECT_EQ(a.ReadInteger("QvTuStp1", "Points", 0), 444);
  EXPECT_EQ(a.ReadString("QvTuStp1", "SetupInfo", ""), QStringLiteral("AutoSetup"));
  EXPECT_EQ(a.ReadInteger("QuzarForm", "Width", 0), 700);
  EXPECT_TRUE(Backups().isEmpty());
}

// Exit -> Yes, but the automatic setup cannot be written (here a folder stands in its place):
// the failure is reported, and when the operator ends anyway the setup goes into a backup
// instead of being lost.
TEST_F(Form1Setup, AnExitWhoseAutomaticSetupCannotBeWrittenKeepsTheSetupInABackup) {
  auto f = Started();
  // The folder comes after the start: one there at the start would not be read, and never
  // written over.
  QFile::remove(Auto());
  ASSERT_TRUE(QDir().mkpath(Auto()));
  f->Core().Qv.PtsPerSwp = 321;
  asker.QueueButton(mbYes);
  asker.QueueButton(mbNo);  // "Terminate without saving setup?": no, keep running
  f->ExitClick();
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(Backups().isEmpty());
  asker.QueueButton(mbYes);
  asker.QueueButton(mbYes);  // end anyway
  f->ExitClick();
  EXPECT_FALSE(f->isVisible());
  const auto q = asker.Records(TAskRecord::Message);
  ASSERT_EQ(q.size(), 4u);
  EXPECT_TRUE(q[3].text.contains("QzSim0.ini")) << q[3].text.toStdString();
  ASSERT_EQ(Backups().size(), 1);
  IniFile b(UserFolder() + "BackupSetups/" + Backups()[0]);
  EXPECT_EQ(b.ReadInteger("QvTuStp1", "Points", 0), 321);
  EXPECT_EQ(f->LastBackupPath(), UserFolder() + "BackupSetups/" + Backups()[0]);
}

TEST_F(Form1Setup, AReadOnlyUserSetupIsOverwrittenOnlyAfterTheOperatorAgrees) {
  auto f = Started();
  const QString path = dir.filePath("job.stp");
  WriteAll(path, "[QvTuStp1]\r\nPoints=5\r\n");
  QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QByteArray before = ReadAll(path);
  f->Core().Qv.PtsPerSwp = 555;

  asker.QueueFile(path);
  asker.QueueButton(mbNo);
  f->SaveSetupClick();
  EXPECT_EQ(ReadAll(path), before);
  auto q = asker.Records(TAskRecord::Message);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].text, path + " is Read-Only - delete anyway?");

  asker.QueueFile(path);
  asker.QueueButton(mbYes);
  asker.QueueText("second job");
  f->SaveSetupClick();
  IniFile s(path);
  EXPECT_EQ(s.ReadInteger("QvTuStp1", "Points", 0), 555);
  EXPECT_EQ(s.ReadString("QvTuStp1", "SetupInfo", ""), QStringLiteral("second job"));
  // Saving a setup also rewrites the automatic setup.
  IniFile a(Auto());
  EXPECT_EQ(a.ReadInteger("QvTuStp1", "Points", 0), 555);
  const auto save = asker.Records(TAskRecord::SaveFile);
  ASSERT_EQ(save.size(), 2u);
  EXPECT_EQ(save[0].caption, QStringLiteral("Save Current System Setup"));
  EXPECT_EQ(save[0].extra, QStringLiteral("Setup file (*.stp)|*.stp|Any file (*.*)|*.*"));
  const auto in = asker.Records(TAskRecord::Input);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ(in[0].caption, QStringLiteral("Enter Comment"));
  EXPECT_EQ(in[0].text, QStringLiteral("Comment :"));
}

TEST_F(Form1Setup, ASavedSetupRestoresGeometryAnalyzerAndModelInAFreshProfile) {
  const QString path = dir.filePath("carry.stp");
  {
    auto f = Started();
    f->setGeometry(50, 60, 720, 520);
    f->Core().Qv.PtsPerSwp = 333;
    f->Core().MdlPresenter.Ent.Mag = QStringLiteral("0.5");
    f->ToolWindows().Window<TQzMdl>("Model")->FromEntries();
    asker.QueueFile(path);
    asker.QueueText("carry");
    f->SaveSetupClick();
    ASSERT_TRUE(QFile::exists(path));
    f->ExitNoSetupClick();
  }
  form.reset();
  ASSERT_TRUE(other.isValid());
  UseProfile(other.path());
  auto g = Started();
  EXPECT_EQ(g->Core().Qv.PtsPerSwp, 101);
  asker.QueueFile(path);
  g->LoadSetupClick();
  EXPECT_EQ(g->geometry(), QRect(50, 60, 720, 520));
  EXPECT_EQ(g->Core().Qv.PtsPerSwp, 333);
  EXPECT_EQ(g->Core().MdlPresenter.Ent.Mag, QStringLiteral("0.5"));
  EXPECT_EQ(g->FrameSetup().UserStpPath, path);
  // The comment is shown after loading.
  const auto m = asker.Records(TAskRecord::Message);
  ASSERT_FALSE(m.empty());
  EXPECT_EQ(m.back().text, QStringLiteral("Setup info:\r\ncarry"));
  // Loading also rewrote the analyzer section of the new profile's automatic setup.
  IniFile a(Auto());
  EXPECT_EQ(a.ReadInteger("QvTuStp1", "Points", 0), 333);
  g->ExitNoSetupClick();
}

TEST_F(Form1Setup, ToolWindowsAndMenusAreWired) {
  auto f = Started();
  ASSERT_NE(f->ToolWindows().Window<TQzMdl>("Model"), nullptr);
  ASSERT_NE(f->ToolWindows().Window<TQzResForm>("QzResForm"), nullptr);
  ASSERT_NE(f->ToolWindows().Window<TQzSmallFrm>("QzSmallFrm"), nullptr);
  ASSERT_NE(f->ToolWindows().Window<TLogForm>("LogForm"), nullptr);
  QStringList file;
  for (QAction* a : f->FileMenu()->actions())
    if (!a->isSeparator()) file << a->text();
  EXPECT_EQ(file, QStringList({"S&ave Setup", "L&oad Setup", "Open User Folder", "&Copy Picture",
                               "&Save Picture", "Picture Area  (Main)", "Picture type  (BMP)",
                               "Separator (Point)", "E&xit", "Exit (no setup)"}));
  QStringList view;
  for (QAction* a : f->ViewMenu()->actions())
    if (!a->isSeparator()) view << a->text();
  EXPECT_EQ(view,
            QStringList({"&Results (Mini)", "Results (Ma&xi)", "&System Info", "&Logging Window",
                         "Singl&e-Shots Commands", "Standard &Toolbar", "Sig&nal Toolbar"}));
  // The View items toggle their windows.
  const bool was = f->ToolWindows().Window<TQzResForm>("QzResForm")->isVisible();
  f->ViewMenu()->actions()[1]->trigger();
  EXPECT_NE(f->ToolWindows().Window<TQzResForm>("QzResForm")->isVisible(), was);
  // A run feeds the log engine and the results window through the cycle's ports.
  EXPECT_NE(f->Core().Cycle.Ports().results, nullptr);
  EXPECT_NE(f->Core().Cycle.Ports().logger, nullptr);
  EXPECT_NE(f->Core().Cycle.Ports().publisher, nullptr);
  // The saved setup holds every registered owner's section in the fixed order (a fresh file:
  // the frame window's section first, then the analyzer's).
  QString err;
  ASSERT_TRUE(f->Setup().WriteAutoSetup(err)) << err.toStdString();
  IniFile a(Auto());
  EXPECT_EQ(a.ReadSections(),
            QStringList({"QuzarForm", "QvTuStp1", "QzResForm", "QzSmallFrm", "LogForm", "TuStpFrm",
                         "TrgForm", "MstpForm", "QzSamplForm", "TxTimingForm", "TunPic",
                         "TuScenarioForm", "Model", "RhoChart", "MakeSce"}));
  EXPECT_TRUE(a.ValueExists("QuzarForm", "DdeWait_ms"));
  f->ExitNoSetupClick();
}

TEST_F(Form1Setup, HelpOpensTheViewerAtThePageOrTheIndex) {
  auto f = Started();
  f->ShowHelpKeyword(QString::fromLatin1("Frame Window"));
  ASSERT_NE(f->ToolWindows().Window<THelpViewer>("HelpViewer"), nullptr);
  EXPECT_TRUE(f->ToolWindows().Window<THelpViewer>("HelpViewer")->isVisible());
  EXPECT_TRUE(f->ToolWindows()
                  .Window<THelpViewer>("HelpViewer")
                  ->CurrentPage()
                  .endsWith("help/frame-window.html"))
      << f->ToolWindows().Window<THelpViewer>("HelpViewer")->CurrentPage().toStdString();
  f->ShowHelp(158);
  EXPECT_TRUE(f->ToolWindows()
                  .Window<THelpViewer>("HelpViewer")
                  ->CurrentPage()
                  .endsWith("help/model.html"));
  // A topic no window asks with: the index.
  f->ShowHelp(999);
  EXPECT_TRUE(f->ToolWindows()
                  .Window<THelpViewer>("HelpViewer")
                  ->CurrentPage()
                  .endsWith("help/index.html"));
  f->ExitNoSetupClick();
}

// Two real programs on the same profile: the second one ends at once and touches nothing.
TEST_F(Form1Setup, ASecondInstanceLeavesTheFirstRunningAndTouchesNothing) {
  const QString exe = QCoreApplication::applicationDirPath() + "/../bin/QzSim";
  ASSERT_TRUE(QFileInfo(exe).isExecutable()) << exe.toStdString();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QZSIM_PROFILE", dir.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess first;
  first.setProcessEnvironment(env);
  first.start(exe, {});
  ASSERT_TRUE(first.waitForStarted(10000));
  QString lock;
  for (int i = 0; i < 200 && (lock.isEmpty() || !QFile::exists(lock)); ++i) {
    QThread::msleep(50);
    if (QFileInfo::exists(dir.path() + "/Vostrel/QzSim"))
      lock = TSingleInstance(dir.path() + "/Vostrel/QzSim/").LockPath();
  }
  ASSERT_TRUE(QFile::exists(lock));
  QThread::msleep(300);
  const QString ini = dir.path() + "/Vostrel/QzSim/QzSim0.ini";
  const QByteArray before = ReadAll(ini);
  const QDateTime stamp = QFileInfo(ini).lastModified();

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(exe, {});
  ASSERT_TRUE(second.waitForFinished(20000));
  EXPECT_NE(second.exitCode(), 0);
  EXPECT_TRUE(QString::fromLocal8Bit(second.readAllStandardError())
                  .contains("QzSim is already running!!!"));
  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_EQ(ReadAll(ini), before);
  EXPECT_EQ(QFileInfo(ini).lastModified(), stamp);
  first.kill();
  first.waitForFinished(10000);
}

// The per-user folder is locked but no program answers there (it hangs, or the lock belongs to
// a program that listens nowhere): the second start says so instead of claiming a window it
// could not bring to the front, and still touches nothing.
TEST_F(Form1Setup, ASecondStartWhoseRunningProgramDoesNotAnswerSaysItIsNotFound) {
  const QString exe = QCoreApplication::applicationDirPath() + "/../bin/QzSim";
  ASSERT_TRUE(QFileInfo(exe).isExecutable()) << exe.toStdString();
  const QString ini = InUserFolder("QzSim0.ini");
  WriteAll(ini, "[QvTuStp1]\r\nPoints=150\r\n");
  const QByteArray before = ReadAll(ini);
  // This test process holds the lock and listens on no socket.
  const int lockFd = ::open(QFile::encodeName(TSingleInstance(UserFolder()).LockPath()).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(lockFd, 0);
  ASSERT_EQ(::flock(lockFd, LOCK_EX | LOCK_NB), 0);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QZSIM_PROFILE", dir.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess second;
  second.setProcessEnvironment(env);
  second.start(exe, {});
  ASSERT_TRUE(second.waitForFinished(20000));
  EXPECT_NE(second.exitCode(), 0);
  const QString err = QString::fromLocal8Bit(second.readAllStandardError());
  EXPECT_TRUE(err.contains("Application QzSim not found")) << err.toStdString();
  EXPECT_FALSE(err.contains("is already running!!!")) << err.toStdString();
  EXPECT_EQ(ReadAll(ini), before);
  ::close(lockFd);
}

}  // namespace
}  // namespace qz
