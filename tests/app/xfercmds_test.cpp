// The Tools commands over the command layer (a fake one, and the simulated one itself) and a
// scripted asker: what reaches the unit, the run state given back on every way out, what the
// operator is shown, and the local files a receive or the file list touches.
#include "app/xfercmds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

#include "common/fakeqzcmd.h"
#include "common/freshprofile.h"
#include "common/readerrig.h"

namespace qz {
namespace {

using ::testing::_;
using testing::TFakeQzCmd;

using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;

class MockXferPort : public TXferPort {
 public:
  MOCK_METHOD(void, SetMessage, (const QString&), (override));
  MOCK_METHOD(void, SetStatusText, (const QString&), (override));
  MOCK_METHOD(void, ClearStatus, (), (override));
  MOCK_METHOD(void, Terminate, (), (override));
};

class XferCmdsTest : public qz::testing::FreshProfileTest {
 protected:
  QString Folder() const { return UserFolder(); }
  QString Put(const QString& name, const QByteArray& bytes) {
    const QString p = Folder() + name;
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return p;
  }
  static QByteArray Read(const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QStringList Messages() const {
    QStringList l;
    for (const TAskRecord& r : asker.Records(TAskRecord::Message)) l << r.text;
    return l;
  }
  // The restore of the run state that must follow every successful stop.
  void ExpectRestores(int times) {
    EXPECT_CALL(cmd, StartStopAll(_, kActStop, _, _)).Times(::testing::AnyNumber());
    EXPECT_CALL(cmd, StartStopAll(_, kActRemembered, _, false)).Times(times);
  }

  TMotState mot;
  TQvWin qv{mot};
  TSimState sim;
  NiceMock<TFakeQzCmd> cmd{qv, sim};
  NiceMock<MockXferPort> port;
  TXferCmds x{cmd, &asker, &port};
};

// ---- sending ------------------------------------------------------------------------------

TEST_F(XferCmdsTest, StartUpFileDeclinedSendsNothingAndGivesTheRunStateBack) {
  asker.QueueFiles({Put("autoexec.bat", "x"), Put("qzm.cfg", "y")});
  asker.QueueButton(mbNo);
  {
    InSequence s;
    EXPECT_CALL(cmd, StopUnit()).WillOnce(Return(true));
    EXPECT_CALL(cmd, StartStopAll(_, kActRemembered, _, false));
  }
  EXPECT_CALL(cmd, SendFile(_, _)).Times(0);
  EXPECT_FALSE(x.SendToQuzar());
  EXPECT_EQ(Messages(), QStringList({"Are you sure you wish to send  AUTOEXEC.BAT?"}));
  EXPECT_TRUE(asker.Records(TAskRecord::Busy).empty());
}

TEST_F(XferCmdsTest, SecondOfFourOnAFullDiskReportsTheRestAndSendsTwo) {
  const QStringList files = {Put("a.cfg", "1"), Put("b.cfg", "2"), Put("c.mem", "3"),
                             Put("srvqz.exe", "4")};
  asker.QueueFiles(files);
  EXPECT_CALL(cmd, SendFile(files[0], QStringLiteral("C:\\SRV\\A.CFG"))).WillOnce(Return(0));
  EXPECT_CALL(cmd, SendFile(files[1], QStringLiteral("C:\\SRV\\B.CFG")))
      .WillOnce(Return(kSendDiskFull));
  EXPECT_CALL(cmd, SendFile(files[2], _)).Times(0);
  EXPECT_CALL(cmd, SendFile(files[3], _)).Times(0);
  ExpectRestores(1);
  EXPECT_CALL(port, SetMessage(QStringLiteral("WAIT")));
  EXPECT_CALL(port, SetStatusText(QStringLiteral("Sending (4 of 4) : ") + files[3]));
  EXPECT_CALL(port, SetStatusText(_)).Times(3).RetiresOnSaturation();
  EXPECT_CALL(port, ClearStatus());
  EXPECT_TRUE(x.SendToQuzar());
  EXPECT_EQ(Messages(), QStringList({"File Transfer Report:\r\n\r\nA.CFG :   PASS\r\nB.CFG :   "
                                     "FAIL (DISK FULL)\r\nC.MEM :   FAIL (DISK FULL)\r\nSRVQZ.EXE "
                                     ":   FAIL (DISK FULL)"}));
  // The busy window was up while the files went, and is gone.
  const auto busy = asker.Records(TAskRecord::Busy);
  ASSERT_EQ(busy.size(), 1u);
  EXPECT_EQ(busy[0].caption, QStringLiteral("Sending files to Quzar..."));
  EXPECT_FALSE(asker.busyVisible);
  const auto open = asker.Records(TAskRecord::OpenFile);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].caption, QStringLiteral("Send Files to Quzar: Select all source files"));
  EXPECT_EQ(open[0].text, UserFolder());
}

TEST_F(XferCmdsTest, NothingChosenOrAFailedStopEndsBeforeAnythingIsSent) {
  EXPECT_CALL(cmd, SendFile(_, _)).Times(0);
  ExpectRestores(0);
  EXPECT_CALL(cmd, StopUnit()).WillOnce(Return(false));
  EXPECT_FALSE(x.SendToQuzar());
  asker.QueueFiles({Put("a.cfg", "1")});
  EXPECT_FALSE(x.SendToQuzar());
  EXPECT_EQ(Messages(), QStringList({"No files selected - operation cancelled"}));
}

// The simulated layer: a readable file is accepted, a missing one answers 48.
TEST_F(XferCmdsTest, WithTheSimulatedLayerAMissingFileReadsFail48AndTheOthersPass) {
  TQzCmd real(qv, sim);
  real.SetAsker(&asker);
  TXferCmds tx(real, &asker);
  asker.QueueFiles({Put("Qzm.cfg", ""), Folder() + QStringLiteral("gone.cfg")});
  EXPECT_TRUE(tx.SendToQuzar());
  EXPECT_EQ(Messages(), QStringList({"File Transfer Report:\r\n\r\nQZM.CFG :   PASS\r\nGONE.CFG "
                                     ":   FAIL (48)"}));
}

// ---- receiving ----------------------------------------------------------------------------

// The simulated unit keeps what it was sent: the operator's file comes back byte for byte, into
// another folder, under the name the receive filter gives.
TEST_F(XferCmdsTest, WithTheSimulatedLayerAFileSentIsLoadedBackIdentical) {
  TQzCmd real(qv, sim);
  real.SetAsker(&asker);
  TXferCmds tx(real, &asker);
  const QByteArray bytes = QByteArrayLiteral("[Tuner]\r\nSteps=3000\r\n\0\xff end");
  asker.QueueFiles({Put("Tun.cfg", bytes)});
  ASSERT_TRUE(tx.SendToQuzar());
  EXPECT_EQ(Messages(), QStringList({"File Transfer Report:\r\n\r\nTUN.CFG :   PASS"}));
  EXPECT_EQ(Read(Folder() + QStringLiteral("SimUnit/SRV/TUN.CFG")), bytes);

  const QString back = Folder() + QStringLiteral("back/");
  ASSERT_TRUE(QDir().mkpath(back));
  asker.log.clear();
  asker.QueueFile(back + QStringLiteral("Edit only for ANY FILE type"));
  asker.QueueFilterIndex(2);  // "Tuner config|Tun.cfg"
  ASSERT_TRUE(tx.LoadFromQuzar());
  EXPECT_EQ(Messages(), QStringList({"Tun.cfg transfer OK"}));
  EXPECT_EQ(Read(back + QStringLiteral("Tun.cfg")), bytes);
  // Only the file itself arrived.
  EXPECT_EQ(QDir(back).entryList(QDir::Files | QDir::Hidden), QStringList({"Tun.cfg"}));
}

TEST_F(XferCmdsTest, FailedReceiveLeavesTheOperatorsFileAlone) {
  TQzCmd real(qv, sim);
  real.SetAsker(&asker);
  TXferCmds rx(real, &asker);
  const QString local = Put("Tun.cfg", "operator's tuner setup\r\n");
  // Without a backup none appears; an older one stays as it was.
  for (const bool olderBackup : {false, true}) {
    SCOPED_TRACE(olderBackup);
    asker.log.clear();
    if (olderBackup) Put("Tun.bak", "older backup");
    asker.QueueFile(Folder() + QStringLiteral("Edit only for ANY FILE type"));
    asker.QueueFilterIndex(2);
    asker.QueueButton(mbYes);  // replace the existing "Tun.cfg"
    EXPECT_FALSE(rx.LoadFromQuzar());
    EXPECT_EQ(Messages(), QStringList({local + " already exists. Replace it?",
                                       "Tun.cfg transfer FAIL:  File not found in server system"}));
    EXPECT_EQ(Read(local), QByteArray("operator's tuner setup\r\n"));
    // Nothing of the attempt stays in the folder.
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              olderBackup ? QStringList({"Tun.bak", "Tun.cfg"}) : QStringList({"Tun.cfg"}));
    if (olderBackup) {
      EXPECT_EQ(Read(Folder() + "Tun.bak"), QByteArray("older backup"));
    }
  }
  const auto busy = asker.Records(TAskRecord::BusyInfo);
  ASSERT_EQ(busy.size(), 1u);
  EXPECT_EQ(busy[0].text, QStringLiteral("Receiving c:\\srv\\Tun.cfg"));
  const auto save = asker.Records(TAskRecord::SaveFile);
  ASSERT_EQ(save.size(), 1u);
  EXPECT_EQ(save[0].caption, QStringLiteral("Load Files from Quzar"));
  EXPECT_EQ(save[0].text, Folder() + QStringLiteral("Edit only for ANY FILE type"));
  EXPECT_EQ(save[0].number, 1);
}

TEST_F(XferCmdsTest, ReceivedFileReplacesTheOldOneWhichBecomesTheBackup) {
  const QString local = Put("Qzm.cfg", "old");
  Put("Qzm.bak", "older");
  asker.QueueFile(Folder() + QStringLiteral("Edit only for ANY FILE type"));
  asker.QueueFilterIndex(1);
  asker.QueueButton(mbYes);
  {
    InSequence s;
    EXPECT_CALL(cmd, StopUnit()).WillOnce(Return(true));
    EXPECT_CALL(cmd, ReceiveFile(QStringLiteral("c:\\srv\\Qzm.cfg"), _))
        .WillOnce([&](const QString&, const QString& to) {
          // The unit's file arrives beside the operator's one, not over it.
          EXPECT_NE(to, local);
          EXPECT_EQ(QFileInfo(to).absolutePath(), QFileInfo(local).absolutePath());
          EXPECT_EQ(Read(local), QByteArray("old"));
          QFile f(to);
          EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
          f.write("new from unit");
          return 0;
        });
    EXPECT_CALL(cmd, StartStopAll(_, kActRemembered, _, false));
  }
  EXPECT_TRUE(x.LoadFromQuzar());
  EXPECT_EQ(Read(local), QByteArray("new from unit"));
  EXPECT_EQ(Read(Folder() + "Qzm.bak"), QByteArray("old"));
  EXPECT_EQ(Messages().back(), QStringLiteral("Qzm.cfg transfer OK"));
  EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// What the unit delivered is read as any outside file: a FIFO, a link to /dev/zero, a folder or
// a file over the limit in its place is refused at once with its reason and the operator's file
// stays as it was; an empty or a binary file takes its place as delivered.
TEST_F(XferCmdsTest, SpecialFilesDeliveredAreRefusedAtOnce) {
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  const QString local = Folder() + QStringLiteral("Qzm.cfg");
  testing::CheckReaderTable(
      "TXferCmds::PlaceReceived", scratch.filePath(QStringLiteral("delivered")), 64 << 20,
      "is too large: a file may have at most 64 MiB", [&](const QString& input) {
        Put(QStringLiteral("Qzm.cfg"), "old");
        const QFileInfo info(input);
        const QByteArray delivered =
            info.isFile() && info.size() < 65536 ? Read(input) : QByteArray("<none>");
        asker.log.clear();
        asker.QueueFile(Folder() + QStringLiteral("Edit only for ANY FILE type"));
        asker.QueueFilterIndex(1);
        asker.QueueButton(mbYes);
        EXPECT_CALL(cmd, ReceiveFile(_, _)).WillOnce([&](const QString&, const QString& to) {
          QFile::remove(to);
          EXPECT_EQ(
              ::rename(QFile::encodeName(input).constData(), QFile::encodeName(to).constData()), 0);
          return 0;
        });
        const bool ok = x.LoadFromQuzar();
        if (ok) {
          EXPECT_EQ(Read(local), delivered);
          EXPECT_EQ(Read(Folder() + QStringLiteral("Qzm.bak")), QByteArray("old"));
        } else {
          EXPECT_EQ(Read(local), QByteArray("old"));
        }
        const QStringList m = Messages();
        return testing::ReaderOutcome{ok, m.isEmpty() ? QString() : m.back()};
      });
}

TEST_F(XferCmdsTest, ReceiveEndsUntouchedWhenTheOperatorOrTheFolderSaysNo) {
  EXPECT_CALL(cmd, StopUnit()).Times(0);
  EXPECT_CALL(cmd, ReceiveFile(_, _)).Times(0);
  // Cancelled dialog.
  EXPECT_FALSE(x.LoadFromQuzar());
  // "Replace it" answered No.
  Put("Can.cfg", "keep");
  asker.QueueFile(Folder() + QStringLiteral("x"));
  asker.QueueFilterIndex(4);
  asker.QueueButton(mbNo);
  EXPECT_FALSE(x.LoadFromQuzar());
  EXPECT_EQ(Read(Folder() + "Can.cfg"), QByteArray("keep"));
  // A folder under the file's name is not replaced, nor asked about.
  ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("Rs232.cfg")));
  asker.QueueFile(Folder() + QStringLiteral("x"));
  asker.QueueFilterIndex(3);
  EXPECT_FALSE(x.LoadFromQuzar());
  const QStringList m = Messages();
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(m[1].startsWith(QStringLiteral("Cannot write file \"") + Folder() +
                              QStringLiteral("Rs232.cfg\".")))
      << m[1].toStdString();
}

TEST_F(XferCmdsTest, TypedNameUnderAnyFileIsAskedForWithoutASecondQuestion) {
  Put("Daq.cfg", "old");
  asker.QueueFile(Folder() + QStringLiteral("Daq.cfg"));
  asker.QueueFilterIndex(6);
  EXPECT_CALL(cmd, ReceiveFile(QStringLiteral("c:\\srv\\Daq.cfg"), _)).WillOnce(Return(43));
  ExpectRestores(1);
  EXPECT_FALSE(x.LoadFromQuzar());
  EXPECT_EQ(Messages(), QStringList({"Daq.cfg transfer FAIL:  File not found in server system"}));
}

// ---- file list ----------------------------------------------------------------------------

TEST_F(XferCmdsTest, FileListIsWrittenInTheReinstallFolder) {
  const QString path = Folder() + QStringLiteral("Reinstall/FileList.txt");
  asker.QueueFile(path);
  EXPECT_TRUE(x.MakeFileList());
  const auto save = asker.Records(TAskRecord::SaveFile);
  ASSERT_EQ(save.size(), 1u);
  EXPECT_EQ(save[0].caption, QStringLiteral("Save FileList"));
  EXPECT_EQ(save[0].text, path);
  EXPECT_EQ(save[0].extra, QStringLiteral("Text file (*.txt)|*.txt|Any file (*.*)|*.*"));
  const QByteArray b = Read(path);
  EXPECT_EQ(b, FileListBytes());
  EXPECT_EQ(b.count("\r\n"), 61);

  // A path that cannot take the file: told so, nothing else changes.
  asker.QueueFile(Folder() + QStringLiteral("Reinstall"));
  EXPECT_FALSE(x.MakeFileList());
  ASSERT_EQ(Messages().size(), 1);
  EXPECT_TRUE(Messages()[0].startsWith(QStringLiteral("Cannot write file \"")));
  EXPECT_EQ(Read(path), FileListBytes());
}

// ---- server commands ----------------------------------------------------------------------

TEST_F(XferCmdsTest, SwitchServerSendsTheModesCodeAndEndsTheProgramOnlyAfterOk) {
  const struct {
    int mode;
    uint8_t code;
  } cases[] = {{0, 97}, {1, 98}, {2, 96}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    asker.QueueButton(mbCancel);
    asker.QueueButton(mbOK);
    EXPECT_CALL(cmd, ServerControl(c.code)).WillOnce(Return(0));
    EXPECT_CALL(port, Terminate()).Times(1);
    EXPECT_FALSE(x.SwitchServer(c.mode));
    EXPECT_TRUE(x.SwitchServer(c.mode));
    ::testing::Mock::VerifyAndClearExpectations(&cmd);
    ::testing::Mock::VerifyAndClearExpectations(&port);
  }
  const auto m = asker.Records(TAskRecord::Message);
  ASSERT_EQ(m.size(), 6u);
  EXPECT_EQ(m[0].text, SwitchServerText("RS232"));
  EXPECT_EQ(m[0].buttons, TMsgButtons(mbOK | mbCancel));
  EXPECT_EQ(m[0].type, TMsgType::Confirmation);
  EXPECT_EQ(m[5].text, SwitchServerText("RS232 Download"));
}

TEST_F(XferCmdsTest, RefusedSwitchIsShownAndTheProgramRunsOn) {
  asker.QueueButton(mbOK);
  EXPECT_CALL(cmd, ServerControl(97)).WillOnce(Return(7));
  EXPECT_CALL(port, Terminate()).Times(0);
  EXPECT_FALSE(x.SwitchServer(0));
  EXPECT_EQ(Messages().back(), QStringLiteral("Quzar Server error 7: Server does not respond"));
}

TEST_F(XferCmdsTest, RestartAndHaltAskYesNoAndSendTheirCodes) {
  {
    InSequence s;
    EXPECT_CALL(cmd, ServerControl(80)).WillOnce(Return(0));
    EXPECT_CALL(cmd, ServerControl(34)).WillOnce(Return(0));
  }
  EXPECT_CALL(port, Terminate()).Times(0);
  asker.QueueButton(mbNo);
  EXPECT_FALSE(x.RestartServer());
  asker.QueueButton(mbYes);
  EXPECT_TRUE(x.RestartServer());
  asker.QueueButton(mbNo);
  EXPECT_FALSE(x.HaltServer());
  asker.QueueButton(mbYes);
  EXPECT_TRUE(x.HaltServer());
  const QStringList m = Messages();
  ASSERT_EQ(m.size(), 4);
  EXPECT_EQ(m[0], QStringLiteral("Are you sure you wish to terminate and restart Quzar Server "
                                 "program?\r\nIf yes, you should also restart this QzmSoft "
                                 "program.\r\n\r\nContinue?"));
  // The halt question ends in a line break: no question mark.
  EXPECT_EQ(m[2],
            QStringLiteral("Are you sure you wish to terminate Quzar Server program\r\nand "
                           "start RS232 download Server?\r\n\r\n(You can restart Quzar Server by "
                           "switching its power supply OFF and ON)\r\n"));
}

TEST_F(XferCmdsTest, HardwareOnlyFunctionsSayTheyDoNotApply) {
  x.NotApplicable();
  EXPECT_EQ(Messages(), QStringList({"Function is not applicable in simulation."}));
}

}  // namespace
}  // namespace qz
