// The transfer rules apart from the command layer: names and places in the unit, the send plan
// with its full-disk carry-over and report, the names a receive asks for, the reinstallation
// file list and the server questions.
#include "app/xferplan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace qz {
namespace {

TEST(XferPlan, SendNamesDestinationsAndTheirRules) {
  struct Case {
    const char* path;
    const char* name;
    const char* dest;
    bool confirm;
    bool forbidden;
  };
  const Case cases[] = {
      {"/home/op/autoexec.bat", "AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT", true, false},
      {"/home/op/Config.Sys", "CONFIG.SYS", "C:\\CONFIG.SYS", true, false},
      // A name that only contains a start-up file's name still goes to the root.
      {"/x/old_config.sys.txt", "OLD_CONFIG.SYS.TXT", "C:\\CONFIG.SYS", true, false},
      {"/x/Qzm.cfg", "QZM.CFG", "C:\\SRV\\QZM.CFG", false, false},
      {"/x/srvqz.exe", "SRVQZ.EXE", "C:\\SRV\\SRVQZ.EXE", false, false},
      {"C:\\Users\\op\\tun.mem", "TUN.MEM", "C:\\SRV\\TUN.MEM", false, true},
      {"/x/MyTun.Mem", "MYTUN.MEM", "C:\\SRV\\MYTUN.MEM", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const QString n = SendName(QString::fromLatin1(c.path));
    EXPECT_EQ(n, QString::fromLatin1(c.name));
    EXPECT_EQ(SendDestination(n), QString::fromLatin1(c.dest));
    EXPECT_EQ(SendNeedsConfirm(n), c.confirm);
    EXPECT_EQ(SendForbidden(n), c.forbidden);
  }
  EXPECT_EQ(SendConfirmText("AUTOEXEC.BAT"),
            QStringLiteral("Are you sure you wish to send  AUTOEXEC.BAT"));
  EXPECT_EQ(SendProgressText(2, 4, "/x/b.cfg"), QStringLiteral("Sending (2 of 4) : /x/b.cfg"));
}

TEST(XferPlan, FullDiskCarriesOverUpToTheNextTunerMemory) {
  struct Case {
    const char* what;
    QStringList files;
    std::map<QString, int32_t> answers;  // by file; 0 when not named
    QStringList lines;
    QStringList sent;
  };
  const Case cases[] = {
      {"second of four full",
       {"/x/a.cfg", "/x/b.cfg", "/x/c.cfg", "/x/d.cfg"},
       {{"/x/b.cfg", kSendDiskFull}},
       {"A.CFG :   PASS", "B.CFG :   FAIL (DISK FULL)", "C.CFG :   FAIL (DISK FULL)",
        "D.CFG :   FAIL (DISK FULL)"},
       {"/x/a.cfg", "/x/b.cfg"}},
      {"tuner memory ends the carry-over",
       {"/x/a.cfg", "/x/b.cfg", "/x/c.cfg", "/x/tun.mem", "/x/d.cfg"},
       {{"/x/b.cfg", kSendDiskFull}},
       {"A.CFG :   PASS", "B.CFG :   FAIL (DISK FULL)", "C.CFG :   FAIL (DISK FULL)",
        "TUN.MEM :   Upload forbidden - use QzmTool", "D.CFG :   PASS"},
       {"/x/a.cfg", "/x/b.cfg", "/x/d.cfg"}},
      {"other failures do not stop the others",
       {"/x/a.cfg", "/x/tun.mem", "/x/b.cfg"},
       {{"/x/a.cfg", 48}},
       {"A.CFG :   FAIL (48)", "TUN.MEM :   Upload forbidden - use QzmTool", "B.CFG :   PASS"},
       {"/x/a.cfg", "/x/b.cfg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QStringList sent;
    QStringList progress;
    const auto items = RunSendPlan(
        c.files,
        [&](const QString& local, const QString& unit) {
          sent << local;
          EXPECT_EQ(unit, SendDestination(SendName(local)));
          const auto it = c.answers.find(local);
          return it == c.answers.end() ? 0 : it->second;
        },
        [&](int i, int n, const QString& p) { progress << SendProgressText(i, n, p); });
    QStringList lines;
    for (const TSendItem& it : items) lines << SendReportLine(it);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(sent, c.sent);
    // Every file is announced, sent or not.
    ASSERT_EQ(progress.size(), c.files.size());
    EXPECT_EQ(progress.back(),
              SendProgressText(int(c.files.size()), int(c.files.size()), c.files.back()));
  }
}

TEST(XferPlan, ReportTextStartsWithItsHeadingAndPutsEachLineOnItsOwn) {
  ::testing::MockFunction<int32_t(const QString&, const QString&)> send;
  EXPECT_CALL(send, Call(QStringLiteral("/x/A.cfg"), QStringLiteral("C:\\SRV\\A.CFG")))
      .WillOnce(::testing::Return(0));
  EXPECT_CALL(send, Call(QStringLiteral("/x/b.mem"), QStringLiteral("C:\\SRV\\B.MEM")))
      .WillOnce(::testing::Return(7));
  const auto items = RunSendPlan({"/x/A.cfg", "/x/b.mem"}, send.AsStdFunction());
  EXPECT_EQ(SendReportText(items),
            QStringLiteral("File Transfer Report:\r\n\r\nA.CFG :   PASS\r\nB.MEM :   FAIL (7)"));
  EXPECT_EQ(SendReportText({}), QStringLiteral("File Transfer Report:\r\n"));
}

TEST(XferPlan, ReceiveNamesFollowTheChosenFilter) {
  struct Case {
    int filter;
    const char* chosen;
    const char* name;
    const char* local;
  };
  const Case cases[] = {
      {1, "/p/Edit only for ANY FILE type", "Qzm.cfg", "/p/Qzm.cfg"},
      {2, "/p/Edit only for ANY FILE type", "Tun.cfg", "/p/Tun.cfg"},
      {3, "/p/x", "Rs232.cfg", "/p/Rs232.cfg"},
      {4, "/p/x", "Can.cfg", "/p/Can.cfg"},
      {5, "/p/q/x.exe", "SrvQz.exe", "/p/q/SrvQz.exe"},
      {6, "/p/Daq.cfg", "Daq.cfg", "/p/Daq.cfg"},
      {0, "/p/Start.Exe", "Start.Exe", "/p/Start.Exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    const QString name = ReceiveName(c.filter, QString::fromLatin1(c.chosen));
    EXPECT_EQ(name, QString::fromLatin1(c.name));
    EXPECT_EQ(ReceiveLocalPath(QString::fromLatin1(c.chosen), name), QString::fromLatin1(c.local));
    EXPECT_EQ(ReceiveUnitPath(name), QStringLiteral("c:\\srv\\") + QString::fromLatin1(c.name));
  }
  EXPECT_EQ(ReceiveBusyText("c:\\srv\\Tun.cfg"), QStringLiteral("Receiving c:\\srv\\Tun.cfg"));
  EXPECT_EQ(ReceiveResultText("Tun.cfg", 0), QStringLiteral("Tun.cfg transfer OK"));
  EXPECT_EQ(ReceiveResultText("Tun.cfg", 43),
            QStringLiteral("Tun.cfg transfer FAIL:  File not found in server system"));
}

TEST(XferPlan, FileListHasItsSixtyOneLinesEachEndedByCrLf) {
  const QStringList l = FileListLines();
  ASSERT_EQ(l.size(), 61);
  EXPECT_EQ(l[0], QStringLiteral("[Quzar Reinstallation Filelist]"));
  EXPECT_EQ(l[1], QString());
  EXPECT_EQ(l[2], QStringLiteral("QZM.MEM=C:\\SRV\\QZM.MEM"));
  EXPECT_EQ(l[3], QStringLiteral("QZM.MEM=C:\\SRV\\FACT\\QZM.MEM"));
  EXPECT_EQ(l[4], QStringLiteral("QZM.MEM=C:\\SRV\\USER\\QZM.MEM"));
  EXPECT_EQ(l[6], QStringLiteral("TUN.MEM=C:\\SRV\\TUN.MEM + MOTORS"));
  EXPECT_EQ(l[7], QStringLiteral("TUN.MEM=C:\\SRV\\FACT\\TUN.MEM"));
  EXPECT_EQ(l.filter(QStringLiteral(" + MOTORS")).size(), 1);
  EXPECT_EQ(l[50], QStringLiteral("START.EXE=C:\\SRV\\START.EXE"));
  EXPECT_EQ(l[53], QString());
  EXPECT_EQ(l[54], QStringLiteral("AUTOEXEC.BAT=C:\\AUTOEXEC.BAT"));
  EXPECT_EQ(l[57], QString());
  EXPECT_EQ(l[58], QStringLiteral("CONFIG.SYS=C:\\CONFIG.SYS"));
  EXPECT_EQ(l[60], QStringLiteral("CONFIG.SYS=C:\\SRV\\USER\\CONFIG.SYS"));
  const QByteArray b = FileListBytes();
  EXPECT_EQ(b.count("\r\n"), 61);
  EXPECT_EQ(b.count('\n'), 61);
  EXPECT_TRUE(b.endsWith("CONFIG.SYS=C:\\SRV\\USER\\CONFIG.SYS\r\n"));
}

TEST(XferPlan, ServerModesAndTheSwitchQuestion) {
  struct Case {
    const char* caption;
    const char* hint;
    const char* name;
    uint8_t code;
  };
  const Case cases[] = {
      {"&RS232", "Start RS232 Quzar internal program", "RS232", 97},
      {"&CAN Bus", "Start CAN Bus Quzar internal program", "CAN Bus", 98},
      {"&Download (RS232)", "Start RS232 Download Quzar internal program", "RS232 Download", 96},
  };
  for (int i = 0; i < kServerModeCount; ++i) {
    const TServerMode& m = ServerMode(i);
    EXPECT_STREQ(m.caption, cases[i].caption);
    EXPECT_STREQ(m.hint, cases[i].hint);
    EXPECT_STREQ(m.name, cases[i].name);
    EXPECT_EQ(m.code, cases[i].code);
  }
  EXPECT_EQ(SwitchServerText("CAN Bus"),
            QStringLiteral("QUZAR internal Server program is about to be\r\nterminated and "
                           "restarted in CAN Bus mode.\r\n\r\nThis QzmSoft program will also "
                           "terminate.\r\nThen you should restart its CAN Bus version.\r\n\r\n"
                           "Press OK to continue."));
}

}  // namespace
}  // namespace qz
