#pragma once
// The serial port object and the port lists as the COM port dialog's tests see them. The port's
// OpenPort is a mock that, unless a test says otherwise, does what the real one does (stores
// nothing, result 0); stored settings are set through the configuration keys, as the files do.
//
//   ::testing::NiceMock<TFakePort> port;
//   port.Store(2, 5);  // COM3, 9600 baud
//   EXPECT_CALL(port, OpenPort(2, 5, 0, _, _)).WillOnce(::testing::Return(kErrTransmit));

#include <gmock/gmock.h>

#include <initializer_list>

#include "comm/portlist.h"
#include "comm/t232.h"
#include "util/format.h"

namespace qz::testing {

class TFakePort : public T232 {
 public:
  TFakePort() {
    ON_CALL(*this, OpenPort)
        .WillByDefault(
            [this](uint8_t p, uint8_t b, uint8_t par, const TCommTimeouts& rs,
                   const TCommTimeouts& usb) { return T232::OpenPort(p, b, par, rs, usb); });
  }
  MOCK_METHOD(int32_t, OpenPort,
              (uint8_t, uint8_t, uint8_t, const TCommTimeouts&, const TCommTimeouts&), (override));

  // The stored port index and baud index (by its table rate), as a configuration file sets them.
  void Store(int portIndex, int baudIndex) {
    HandleKey(QStringLiteral("PORTNUM"), Format(QStringLiteral("%d"), {portIndex}));
    HandleKey(QStringLiteral("BAUDRATE"), Format(QStringLiteral("%d"), {kBaudRates[baudIndex]}));
  }
  // The stored read total constant of ordinary ports, in ms.
  void StoreReadConstant(int ms) {
    HandleKey(QStringLiteral("RS_RDTOUTCON"), Format(QStringLiteral("%d"), {ms}));
  }
};

// Port lists of the given COM numbers, described the way the system describes its devices:
// "Serial port (/dev/ttySn) (COMk)".
inline PortLists ComLists(std::initializer_list<int> comNumbers) {
  PortLists l;
  for (int k : comNumbers) {
    l.names.append(Format(QStringLiteral("COM%d"), {k}));
    l.descriptions.append(DescribeDevice(QString(), DevicePathForCom(k), k));
  }
  return l;
}

}  // namespace qz::testing