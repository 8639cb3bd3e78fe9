#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/readerrig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <vector>

#include "comm/t232.h"

namespace qz {
namespace {

TEST(NearestBaudIndex, NearestEntryLowerWinsTies) {
  const struct {
    int64_t rate;
    int index;
  } cases[] = {
      {19000, 6},  {921600, 9}, {450, 0},       {300, 0},
      {0, 0},      {-5, 0},     {9600, 5},      {14400, 5},  // 9600 and 19200 equally far
      {14401, 6},  {86400, 8},                               // 57600 and 115200 equally far
      {115200, 9}, {1, 0},      {INT64_MAX, 9}, {INT64_MIN, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(NearestBaudIndex(c.rate), c.index) << c.rate;
}

// Writes the files and starts a port object on them.
class T232Files : public ::testing::Test {
 protected:
  void Write(const char* name, const QByteArray& bytes) {
    QFile f(QDir(dir_.path()).filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir dir_;
  T232 port_;
};

TEST_F(T232Files, ConfigLinesAndKeyRules) {
  const TCommTimeouts def;
  const struct {
    const char* lines;
    int port;  // expected port index (names start it at 2)
    int baud;  // expected baud index
    TCommTimeouts rs;
    TCommTimeouts usb;
  } cases[] = {
      {"", 2, 9, def, def},
      {"BAUDRATE=9600 ; comment\r\n", 2, 5, def, def},
      {"BAUDRATE=9600\r\n", 2, 5, def, def},                  // CR LF line ends
      {"BAUDRATE=9600\r\nBAUDRATE=abc\r\n", 2, 9, def, def},  // unreadable: 115200
      {"BAUDRATE=19000\n", 2, 6, def, def},
      {"BAUDRATE=921600\n", 2, 9, def, def},
      {"BAUDRATE=300\n", 2, 0, def, def},
      {"BAUDRATE=9600\nBAUDRATE=299\n", 2, 9, def, def},
      {"BAUDRATE=9600\nBAUDRATE=921601\n", 2, 9, def, def},
      {"baudrate=2400\n", 2, 3, def, def},
      {"BAUDRATE0=2400\n", 2, 3, def, def},
      {"BAUDRATE1=2400\n", 2, 9, def, def},  // another instance's key
      {";BAUDRATE=2400\n[RS232]\nBAUDRATE\n=2400\n", 2, 9, def, def},
      {" BAUDRATE=2400\n", 2, 9, def, def},  // blank before the key
      {"BAUDRATE=24 00\n", 2, 9, def, def},
      {"PortNum=5\n", 5, 9, def, def},
      {"PORTNUM0=5\n", 5, 9, def, def},
      {"PORTNUM00=4\n", 4, 9, def, def},
      {"PORTNUM1=7\n", 2, 9, def, def},
      {"PORTNUM101=7\nPORTNUMX=7\nPORTNUMBER=7\n", 2, 9, def, def},
      {"PORTNUM =5\n", 2, 9, def, def},   // blank between key and '='
      {"PORTNUM=abc\n", 0, 9, def, def},  // unreadable: port index 0
      {"PORTNUM=101\n", 0, 9, def, def},
      {"PORTNUM=100\n", 100, 9, def, def},
      {"PORTNUM=-1\n", 0, 9, def, def},
      {"RS_RDINTTOUT=0\nRS_RDTOUTMUL=0\n", 2, 9, {2, 0, 1000, 1, 1000}, def},
      {"RS_RDINTTOUT=1000\nRS_RDTOUTCON=100000\nRS_WRTOUTMUL=7 ; x\nRS_WRTOUTCON=1\n",
       2,
       9,
       {1000, 2, 100000, 7, 1},
       def},
      {"RS_RDINTTOUT=1001\nRS_RDTOUTMUL=1001\nRS_RDTOUTCON=100001\nRS_WRTOUTCON=0\n", 2, 9, def,
       def},
      {"USB_RDINTTOUT=5000\nUSB_RDTOUTMUL=0\nUSB_RDTOUTCON=1\nUSB_WRTOUTMUL=5000\n"
       "USB_WRTOUTCON=100000\n",
       2,
       9,
       def,
       {5000, 0, 1, 5000, 100000}},
      {"USB_RDINTTOUT=5001\nusb_rdtoutmul=3\nUSB_WRTOUTMUL =4\nUSB_RDTOUTCON=1.5\n",
       2,
       9,
       def,
       {2, 3, 1000, 1, 1000}},
      {"BAUDRATE=4800 ; caf\xe9\r\n", 2, 4, def, def},  // Latin-1 bytes in a comment
  };
  for (const auto& c : cases) {
    Write(kRs232ConfigFile, c.lines);
    Write(kRs232SetupFile, "");
    port_.Start({"COM3", "COM1"}, dir_.path());
    EXPECT_EQ(port_.GetPortIndex(), c.port) << c.lines;
    EXPECT_EQ(port_.GetBaudIndex(), c.baud) << c.lines;
    EXPECT_EQ(port_.GetRsTimeouts(), c.rs) << c.lines;
    EXPECT_EQ(port_.GetUsbTimeouts(), c.usb) << c.lines;
    EXPECT_EQ(port_.GetParity(), 0) << c.lines;
    EXPECT_EQ(port_.TakeError(), 0) << c.lines;
  }
}

TEST_F(T232Files, SetupFileOverridesConfigFile) {
  Write(kRs232ConfigFile, "BAUDRATE=9600\r\nPORTNUM=3\r\nRS_RDINTTOUT=7\r\n");
  Write(kRs232SetupFile, "BAUDRATE=19200\r\nRS_RDINTTOUT=9\r\n");
  port_.Start({}, dir_.path());
  EXPECT_EQ(port_.GetBaudIndex(), 6);
  EXPECT_EQ(port_.GetPortIndex(), 3);
  EXPECT_EQ(port_.GetRsTimeouts().readInterval, 9u);
  EXPECT_EQ(port_.TakeError(), 0);
}

TEST_F(T232Files, MissingFilesLeaveErrorOneAndDefaults) {
  port_.Start({"COM2"}, dir_.path());
  EXPECT_EQ(port_.ErrorCode(), 1);
  EXPECT_EQ(port_.TakeError(), 1);
  EXPECT_EQ(port_.TakeError(), 0);  // taken once
  EXPECT_EQ(port_.GetPortIndex(), 1);
  EXPECT_EQ(port_.GetBaudIndex(), 9);
  EXPECT_EQ(port_.GetRsTimeouts(), TCommTimeouts{});

  // Only the first file: its keys apply, the missing second one still leaves error 1.
  Write(kRs232ConfigFile, "BAUDRATE=1200\n");
  port_.Start({}, dir_.path());
  EXPECT_EQ(port_.GetBaudIndex(), 2);
  EXPECT_EQ(port_.TakeError(), 1);
}

TEST_F(T232Files, FolderInTheFileNameIsDropped) {
  Write(kRs232ConfigFile, "BAUDRATE=600\n");
  port_.ReadConfigFile("/no/such/folder/RS232.CFG", dir_.path());
  EXPECT_EQ(port_.GetBaudIndex(), 1);
  EXPECT_EQ(port_.TakeError(), 0);
}

TEST(T232, StartUpPortIndexFromFirstPortName) {
  const struct {
    QStringList names;
    int index;
  } cases[] = {
      {{}, 0},      {{"COM3", "COM1"}, 2}, {{"COM1"}, 0},     {{"COM0"}, 0},  {{"COMx"}, 0},
      {{"COM"}, 0}, {{"LPT1"}, 0},         {{"COM256"}, 255}, {{"COM4a"}, 0}, {{"COM101"}, 100},
  };
  for (const auto& c : cases) {
    T232 p;
    p.Init(c.names);
    EXPECT_EQ(p.GetPortIndex(), c.index) << c.names.join(",").toStdString();
    EXPECT_EQ(p.Name(), "RS232");
    EXPECT_EQ(p.EscapeByte(), 128);
    EXPECT_EQ(p.InstanceNumber(), 0);
    EXPECT_EQ(p.GetBaudIndex(), 9);
    EXPECT_EQ(p.TransmitErrorLimit(), 5);
  }
}

TEST(T232, OpenPortStoresNothingDefaultsResetBaudOnly) {
  QTemporaryDir dir;
  QFile f(QDir(dir.path()).filePath("RS232.CFG"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("BAUDRATE=9600\nPORTNUM=5\nRS_RDTOUTCON=5000\n");
  f.close();
  T232 p;
  p.Start({}, dir.path());
  EXPECT_EQ(p.OpenPort(1, 2, 3, {}, {}), 0);
  EXPECT_EQ(p.GetPortIndex(), 5);
  EXPECT_EQ(p.GetBaudIndex(), 5);
  EXPECT_EQ(p.GetParity(), 0);
  p.SetPortDefaults();
  EXPECT_EQ(p.GetBaudIndex(), 9);
  EXPECT_EQ(p.GetBaudRate(), 115200);
  EXPECT_EQ(p.GetPortIndex(), 5);
  EXPECT_EQ(p.GetRsTimeouts().readTotalConstant, 5000u);
}

// A port whose device records what is sent, fails chosen sends and plays back received bytes.
class ScriptedPort : public T232 {
 public:
  std::vector<int> sent;
  int failFirst = 0;  // the first n transmissions fail
  int failByte = -1;  // every transmission of this byte fails
  std::deque<uint8_t> incoming;

 protected:
  int32_t TransmitByte(uint8_t b) override {
    sent.push_back(b);
    if (failFirst > 0) {
      --failFirst;
      return 5;
    }
    return b == failByte ? 5 : 0;
  }
  int32_t ReceiveRawByte(uint8_t& b) override {
    if (incoming.empty()) return 6;
    b = incoming.front();
    incoming.pop_front();
    return 0;
  }
};

TEST(T232, FramingOfCodesDataAndTexts) {
  ScriptedPort p;
  p.SendCode(16);
  EXPECT_EQ(p.sent, (std::vector<int>{128, 16}));
  p.sent.clear();
  p.SendData(127);
  p.SendData(128);
  EXPECT_EQ(p.sent, (std::vector<int>{127, 128, 128}));
  p.sent.clear();
  p.SendText(QString::fromLatin1("A\x80z"), 5);
  EXPECT_EQ(p.sent, (std::vector<int>{128, 28, 'A', 128, 128, 'z', 128, 5}));
  EXPECT_EQ(p.TakeError(), 0);
  p.sent.clear();
  p.SendText(QString(), 7);
  EXPECT_EQ(p.sent, (std::vector<int>{128, 28, 128, 7}));
}

TEST(T232, ReceiveDataUndoesTheFraming) {
  const struct {
    std::vector<uint8_t> bytes;
    uint8_t b;
    bool isCode;
    int error;
  } cases[] = {
      {{7}, 7, false, 0},
      {{128, 128}, 128, false, 0},
      {{128, 16}, 16, true, 0},
      {{}, 0, false, 6},
  };
  for (const auto& c : cases) {
    ScriptedPort p;
    p.incoming.assign(c.bytes.begin(), c.bytes.end());
    uint8_t b = 99;
    bool isCode = true;
    p.ReceiveData(b, isCode);
    EXPECT_EQ(b, c.b);
    EXPECT_EQ(isCode, c.isCode);
    EXPECT_EQ(p.TakeError(), c.error);
  }
  // The simulation's own line answers every receive with the byte 1 and no error.
  T232 sim;
  EXPECT_EQ(sim.ReceiveByte(), 1);
  EXPECT_EQ(sim.TakeError(), 0);
  sim.SendText("RUN", 3);
  EXPECT_EQ(sim.TakeError(), 0);
}

TEST(T232, BlockStopsAtFifthFailureAndReportsError2) {
  const uint8_t block[] = {1, 2, 3, 4, 5, 6, 7, 8};
  {
    ScriptedPort p;  // every byte fails: five attempts, the rest dropped
    p.failFirst = 100;
    p.SendBlock(block, 8);
    EXPECT_EQ(p.sent, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(p.TakeError(), 2);
  }
  {
    ScriptedPort p;  // one failing byte: the block goes on, the error is 2
    p.failByte = 3;
    p.SendBlock(block, 8);
    EXPECT_EQ(p.sent.size(), 8u);
    EXPECT_EQ(p.TakeError(), 2);
  }
  {
    ScriptedPort p;
    p.SendBlock(block, 8);
    EXPECT_EQ(p.TakeError(), 0);
    p.SendBlock(nullptr, 3);
    EXPECT_EQ(p.TakeError(), 0);
    EXPECT_EQ(p.sent.size(), 8u);
  }
}

TEST(T232, EarlierFailureNotHiddenByLaterSuccess) {
  {
    ScriptedPort p;  // a byte of the text fails, the closing code goes through
    p.failByte = 'B';
    p.SendText("ABC", 3);
    EXPECT_EQ(p.TakeError(), 2);
  }
  {
    ScriptedPort p;  // the escape byte of a code fails
    p.failFirst = 1;
    p.SendCode(16);
    EXPECT_EQ(p.TakeError(), 5);
  }
  {
    ScriptedPort p;  // the first of a doubled escape byte fails
    p.failFirst = 1;
    p.SendData(128);
    EXPECT_EQ(p.TakeError(), 5);
  }
}

}  // namespace
}  // namespace qz

namespace qz {
namespace {

// A configuration file that is a FIFO, a link to /dev/zero, a folder or too large is not read
// (and told to the start-up); empty and binary files are read as ever, and a missing one is
// no problem at all.
TEST(T232Reader, SpecialFilesAreRefusedAndTold) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  T232 port;
  testing::CheckReaderTable(
      "T232::ReadConfigFile", dir.filePath(QStringLiteral("RS232.CFG")), 64 << 10,
      "too large: a configuration file may have at most 64 KiB", [&](const QString&) {
        port.Start({QStringLiteral("COM1")}, dir.path());
        const bool told = port.ConfigProblems().size() == 1;
        EXPECT_EQ(port.GetBaudIndex(), 9);
        return testing::ReaderOutcome{!told, told ? port.ConfigProblems().front().cause ==
                                                            QStringLiteral("not a regular file")
                                                        ? QStringLiteral("is not a regular file")
                                                        : port.ConfigProblems().front().cause
                                                  : QString()};
      });
  port.Start({QStringLiteral("COM1")}, dir.path());
  EXPECT_TRUE(port.ConfigProblems().empty());
  EXPECT_EQ(port.ErrorCode(), 1);
}

}  // namespace
}  // namespace qz
