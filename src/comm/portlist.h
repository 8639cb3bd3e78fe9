#pragma once
// The computer's serial ports as the operator sees them: two index-aligned lists, the port names
// ("COM" and a number, the way the unit's documentation and setup files name ports) and the
// descriptions shown in the port dialog (typically ending in the port name in parentheses).
//
// The lists come from a device source (the system's serial devices; tests use a fake) and, when
// the source lists no port, from a probe asked about COM1 to COM255 in turn.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace qz {

// The 0-based port index named in a text: the digits right after the first "COM" (upper case
// exactly), minus 1, truncated to a byte; 0 when there is no "COM" or no number above 0 there.
// "USB Serial Port (COM4)" gives 3, "COM1" gives 0, "Com4" gives 0. A very long number saturates
// instead of overflowing.
uint8_t PortIndexFromName(const QString& text);

// Which ports EnumeratePorts takes.
enum class PortKind : int {
  All = 1,  // every port
  Com = 2,  // names containing "COM" (serial ports; used at start-up)
  Lpt = 3,  // names containing "LPT" (parallel ports)
};

// One present device of the ports class.
struct PortDevice {
  QString portName;     // e.g. "COM3"; may be empty when the system has none
  QString description;  // friendly name; may be empty
};

// The system's list of present serial devices.
class PortDeviceSource {
 public:
  virtual ~PortDeviceSource() = default;
  // False when the device list cannot be consulted at all.
  virtual bool Available() = 0;
  // The present devices, in the system's order.
  virtual std::vector<PortDevice> Devices() = 0;
};

// Asks whether the port of this name answers a configuration query ("COM7": true when present).
using PortProbe = std::function<bool(const QString& portName)>;

// Longest name or description taken from the system.
inline constexpr int kMaxPortText = 260;
// Highest port number the probe tries.
inline constexpr int kMaxComNumber = 255;

// Fills the two lists (appending to what they hold):
// 1. nothing when the source is unavailable;
// 2. each device whose port name passes the kind's filter adds its name and its description
//    together, so the lists stay index-aligned; a missing description becomes the port name;
// 3. when the descriptions list is still empty: a copy of the names when there are any, else the
//    names "COM1" ... "COM255" that the probe answers, and the descriptions are a copy of them.
void EnumeratePorts(QStringList& names, QStringList& descriptions, PortKind kind,
                    PortDeviceSource& source, const PortProbe& probe);

// The program's two port lists, filled once at start-up and kept for the whole run.
struct PortLists {
  QStringList names;
  QStringList descriptions;
};
PortLists& ProgramPortLists();
// Fills the program's lists from the system's serial ports (the COM ports only), replacing what
// they held. Called once at start-up, before the frame window is made.
void FillProgramPortLists();

// ---- The system's serial devices ----

// The COM number of a serial device of this system: /dev/ttySm is COM(m+1) (COM1 to COM100),
// USB adapters /dev/ttyUSBm follow from COM101 (to COM200) and modem-class adapters /dev/ttyACMm
// from COM201 (to COM255). Accepts the device path or its bare name. 0 for any other device
// and for numbers beyond a block.
int ComNumberForDevice(const QString& deviceNameOrPath);
// The device path of a COM number (inverse of ComNumberForDevice); empty outside 1..255.
QString DevicePathForCom(int comNumber);
// The description shown for a device: "<text> (<path>) (COMn)", with "Serial port" as the text
// when the device has none. When the text itself holds "COM", the port name leads instead
// ("COMn: <text> (<path>)") so that PortIndexFromName finds the right number.
QString DescribeDevice(const QString& text, const QString& path, int comNumber);

// The real device source: Qt's list of serial ports, mapped to COMn names and sorted by number.
// Devices without a COM number are left out.
class SerialPortInfoSource : public PortDeviceSource {
 public:
  bool Available() override { return true; }
  std::vector<PortDevice> Devices() override;
};

// The real probe: the port's device exists and the kernel reports hardware behind it (no device
// is opened).
bool ProbeSystemPort(const QString& portName);

}  // namespace qz
