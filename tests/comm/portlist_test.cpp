#include <gtest/gtest.h>

#include <iostream>

#include "comm/portlist.h"

namespace qz {
namespace {

TEST(PortIndexFromName, DigitsAfterFirstUpperCaseCom) {
  const struct {
    const char* text;
    int index;
  } cases[] = {
      {"USB Serial Port (COM4)", 3},
      {"COM1", 0},
      {"Com4", 0},
      {"", 0},
      {"COM", 0},
      {"COM0", 0},
      {"COM 5", 0},
      {"xCOM12y", 11},
      {"(COM3) COM9", 2},
      {"com5 COM6", 5},
      {"COM255", 254},
      {"COM256", 255},
      {"COM257", 0},  // truncated to a byte
      {"COM2147483647", 254},
      {"COM99999999999999999999", 254},  // saturates instead of overflowing
  };
  for (const auto& c : cases) EXPECT_EQ(PortIndexFromName(c.text), c.index) << c.text;
}

class FakeSource : public PortDeviceSource {
 public:
  bool available = true;
  std::vector<PortDevice> devices;
  bool Available() override { return available; }
  std::vector<PortDevice> Devices() override { return devices; }
};

TEST(EnumeratePorts, EmptySourceFallsBackToProbe) {
  FakeSource src;
  QStringList asked;
  const PortProbe probe = [&asked](const QString& name) {
    asked << name;
    return name == "COM3" || name == "COM7";
  };
  QStringList names, descs;
  EnumeratePorts(names, descs, PortKind::Com, src, probe);
  EXPECT_EQ(names, QStringList({"COM3", "COM7"}));
  EXPECT_EQ(descs, names);
  ASSERT_EQ(asked.size(), 255);
  EXPECT_EQ(asked.first(), "COM1");
  EXPECT_EQ(asked.last(), "COM255");
}

TEST(EnumeratePorts, UnavailableSourceLeavesListsAlone) {
  FakeSource src;
  src.available = false;
  bool asked = false;
  QStringList names{"COM9"}, descs{"Old"};
  EnumeratePorts(names, descs, PortKind::Com, src, [&asked](const QString&) {
    asked = true;
    return true;
  });
  EXPECT_EQ(names, QStringList{"COM9"});
  EXPECT_EQ(descs, QStringList{"Old"});
  EXPECT_FALSE(asked);
}

TEST(EnumeratePorts, FiltersPerDeviceAndKeepsListsAligned) {
  FakeSource src;
  src.devices = {
      {"COM1", "Communications Port (COM1)"},
      {"LPT1", "Printer Port (LPT1)"},
      {"COM4", ""},                // no description: the name stands for it
      {"COM2", "Bluetooth link"},  // description without "COM" stays with its name
      {"", "Phantom (COM8)"},      // no port name: not a usable port
      {"COM5", "USB Serial Port (COM5)"},
  };
  const auto never = [](const QString&) { return false; };
  const struct {
    PortKind kind;
    QStringList names;
    QStringList descs;
  } cases[] = {
      {PortKind::Com,
       {"COM1", "COM4", "COM2", "COM5"},
       {"Communications Port (COM1)", "COM4", "Bluetooth link", "USB Serial Port (COM5)"}},
      {PortKind::Lpt, {"LPT1"}, {"Printer Port (LPT1)"}},
      {PortKind::All,
       {"COM1", "LPT1", "COM4", "COM2", "COM5"},
       {"Communications Port (COM1)", "Printer Port (LPT1)", "COM4", "Bluetooth link",
        "USB Serial Port (COM5)"}},
  };
  for (const auto& c : cases) {
    QStringList names, descs;
    EnumeratePorts(names, descs, c.kind, src, never);
    EXPECT_EQ(names, c.names) << int(c.kind);
    EXPECT_EQ(descs, c.descs) << int(c.kind);
  }
}

TEST(EnumeratePorts, NoDevicePassingTheFilterMeansProbe) {
  FakeSource src;
  src.devices = {{"LPT1", "Printer Port (LPT1)"}};
  QStringList names, descs;
  EnumeratePorts(names, descs, PortKind::Com, src, [](const QString& n) { return n == "COM2"; });
  EXPECT_EQ(names, QStringList{"COM2"});
  EXPECT_EQ(descs, QStringList{"COM2"});
}

TEST(EnumeratePorts, LongSystemTextsAreCut) {
  FakeSource src;
  src.devices = {{"COM1", QString(300, QLatin1Char('d'))}};
  QStringList names, descs;
  EnumeratePorts(names, descs, PortKind::Com, src, nullptr);
  ASSERT_EQ(descs.size(), 1);
  EXPECT_EQ(descs[0].size(), kMaxPortText);
}

TEST(SerialDevices, ComNumbersOfDeviceNames) {
  const struct {
    const char* device;
    int com;
  } cases[] = {
      {"/dev/ttyS0", 1},      {"ttyS4", 5},           {"/dev/ttyS99", 100},  {"/dev/ttyS100", 0},
      {"/dev/ttyUSB0", 101},  {"/dev/ttyUSB99", 200}, {"/dev/ttyUSB100", 0}, {"/dev/ttyACM0", 201},
      {"/dev/ttyACM54", 255}, {"/dev/ttyACM55", 0},   {"/dev/ttyAMA0", 0},   {"/dev/ttyS", 0},
      {"/dev/ttyS01", 0},     {"/dev/ttyUSBx", 0},    {"/dev/pts/3", 0},     {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ComNumberForDevice(c.device), c.com) << c.device;
  for (int k = 1; k <= 255; ++k) EXPECT_EQ(ComNumberForDevice(DevicePathForCom(k)), k) << k;
  EXPECT_TRUE(DevicePathForCom(0).isEmpty());
  EXPECT_TRUE(DevicePathForCom(256).isEmpty());
  EXPECT_EQ(DevicePathForCom(101), "/dev/ttyUSB0");
}

TEST(SerialDevices, DescriptionsNameThePathAndTheRightPort) {
  const struct {
    const char* text;
    const char* path;
    int com;
    const char* desc;
  } cases[] = {
      {"", "/dev/ttyS0", 1, "Serial port (/dev/ttyS0) (COM1)"},
      {"FT232R USB UART", "/dev/ttyUSB0", 101, "FT232R USB UART (/dev/ttyUSB0) (COM101)"},
      {"COM adapter", "/dev/ttyUSB2", 103, "COM103: COM adapter (/dev/ttyUSB2)"},
      {"  ", "/dev/ttyACM1", 202, "Serial port (/dev/ttyACM1) (COM202)"},
  };
  for (const auto& c : cases) {
    const QString d = DescribeDevice(c.text, c.path, c.com);
    EXPECT_EQ(d, c.desc);
    EXPECT_EQ(PortIndexFromName(d), c.com - 1) << c.desc;
  }
}

// The computer's own ports: each is shown as COMn with a description that leads back to it.
TEST(SerialDevices, RealSourceListsComPorts) {
  SerialPortInfoSource src;
  QStringList names, descs;
  EnumeratePorts(names, descs, PortKind::Com, src, ProbeSystemPort);
  ASSERT_EQ(names.size(), descs.size());
  int last = 0;
  for (int i = 0; i < names.size(); ++i) {
    std::cout << "[ports] " << names[i].toStdString() << " | " << descs[i].toStdString() << "\n";
    ASSERT_TRUE(names[i].startsWith("COM"));
    EXPECT_EQ(PortIndexFromName(descs[i]), PortIndexFromName(names[i]));
    const int n = names[i].mid(3).toInt();
    EXPECT_GT(n, last);  // in ascending order, no duplicates
    last = n;
  }
  if (names.isEmpty()) std::cout << "[ports] none\n";
}

}  // namespace
}  // namespace qz
