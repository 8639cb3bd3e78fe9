#pragma once
// The serial line to the unit: one port object that holds the line's settings (port, baud rate,
// parity, time-outs for ordinary serial ports and for USB adapters), reads them from the
// configuration files "RS232.CFG" and "RS232.STP" at start-up, and offers the byte operations of
// the line with its framing.
//
// In the simulation no port is ever opened: opening reports success, sending and receiving
// report no error, and the unit's replies come from the model through the command layer. The
// settings are still read, kept and shown so that the menus and the port dialog behave as with a
// unit attached.
//
// Framing: a control code is the escape byte 128 followed by the code; a data byte equal to the
// escape byte is sent twice; a text request is control code 28, the text's bytes and a control
// code naming the request.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

namespace qz {

// The baud rates the line can use; index 9 (115200) is the default.
inline constexpr int kBaudCount = 10;
inline constexpr std::array<int32_t, kBaudCount> kBaudRates = {300,  600,   1200,  2400,  4800,
                                                               9600, 19200, 38400, 57600, 115200};
inline constexpr uint8_t kDefaultBaudIndex = 9;

// Index of the table rate nearest to `rate`; on a tie the lower rate wins (450 gives 0).
uint8_t NearestBaudIndex(int64_t rate);

// Parity codes.
inline constexpr uint8_t kParityNone = 0;
inline constexpr uint8_t kParityOdd = 1;
inline constexpr uint8_t kParityEven = 2;
inline constexpr uint8_t kParityHigh = 3;
inline constexpr uint8_t kParityLow = 4;

// Control codes of the line framing used here.
inline constexpr uint8_t kEscapeByte = 128;
inline constexpr uint8_t kCodeTextStart = 28;

// The five time-outs of a port, in milliseconds.
struct TCommTimeouts {
  uint32_t readInterval = 2;
  uint32_t readTotalMultiplier = 2;
  uint32_t readTotalConstant = 1000;
  uint32_t writeTotalMultiplier = 1;
  uint32_t writeTotalConstant = 1000;
  bool operator==(const TCommTimeouts&) const = default;
};

// Names of the configuration files, read in this order from the per-user folder.
inline constexpr const char* kRs232ConfigFile = "RS232.CFG";
inline constexpr const char* kRs232SetupFile = "RS232.STP";

class T232 {
 public:
  T232();
  virtual ~T232() = default;
  T232(const T232&) = delete;
  T232& operator=(const T232&) = delete;

  // Start-up state: error 0, name "RS232", escape byte 128, instance 0; the port index from the
  // first port name ("COM3" gives 2; no names or no number there give 0); baud index 9;
  // parity 0; default time-outs of both kinds.
  void Init(const QStringList& portNames);
  // Init, then "RS232.CFG" and "RS232.STP" from `folder` (the second overrides the first), then
  // OpenPort with the resulting settings. An empty folder means the per-user folder.
  void Start(const QStringList& portNames, const QString& folder = QString());

  // Reads a configuration file named like `fileName` (its own folder dropped) from `folder`
  // (empty: the per-user folder) and hands each key and value to HandleKey. A file that cannot
  // be opened sets the error code 1 and changes nothing else.
  void ReadConfigFile(const QString& fileName, const QString& folder = QString());
  // Applies one configuration key (compared in upper case) and its value. True when the key was
  // recognised (whether or not its value was usable).
  bool HandleKey(const QString& key, const QString& value);

  // A configuration file that is there but was not read (no regular file, too large,
  // unreadable): the defaults stay and error code 1 is set as for a missing file, which alone
  // is no problem. Start clears the list.
  struct TConfigProblem {
    QString path;
    QString cause;  // "not a regular file", "too large: ...", the system's reason
  };
  const std::vector<TConfigProblem>& ConfigProblems() const { return problems_; }

  // Opens the line with these settings. Here nothing is opened, the stored settings stay as they
  // are, and the result is 0. Virtual so that a test can watch or refuse the opening.
  virtual int32_t OpenPort(uint8_t portIndex, uint8_t baudIndex, uint8_t parity,
                           const TCommTimeouts& rs, const TCommTimeouts& usb);
  // Baud index 9, then OpenPort(port 0, baud 9, no parity, default time-outs).
  void SetPortDefaults();

  uint8_t GetPortIndex() const { return portIndex_; }
  uint8_t GetBaudIndex() const { return baudIndex_; }
  uint8_t GetParity() const { return parity_; }
  TCommTimeouts GetRsTimeouts() const { return rs_; }
  TCommTimeouts GetUsbTimeouts() const { return usb_; }
  // The rate of the stored baud index.
  int32_t GetBaudRate() const { return kBaudRates[baudIndex_ < kBaudCount ? baudIndex_ : 9]; }

  const QString& Name() const { return name_; }
  uint8_t EscapeByte() const { return escape_; }
  uint8_t InstanceNumber() const { return instance_; }
  void SetInstanceNumber(uint8_t n) { instance_ = n; }
  int32_t TransmitErrorLimit() const { return txErrorLimit_; }
  // The error code without clearing it.
  int32_t ErrorCode() const { return error_; }
  // Returns the error code and clears it.
  int32_t TakeError();

  // Byte operations of the line; each leaves its outcome in the error code (for an operation of
  // several bytes, the first failure).
  void SendByte(uint8_t b);
  // The escape byte, then the code.
  void SendCode(uint8_t code);
  // The byte, and once more when it equals the escape byte.
  void SendData(uint8_t b);
  // SendData for each byte; a byte whose sending fails counts once, and at the fifth failure the
  // rest is dropped; when any byte failed the error code is 2.
  void SendBlock(const uint8_t* bytes, int count);
  // Control code 28, the text as 8-bit characters, then the terminating control code.
  void SendText(const QString& text, uint8_t terminatingCode);
  uint8_t ReceiveByte();
  // One received item: a data byte (isCode false) or a control code (isCode true).
  void ReceiveData(uint8_t& b, bool& isCode);
  // Clears the port's error state and discards pending transfers; nothing without an open port.
  void Purge();

 protected:
  // The device underneath: sends one byte, returns an error code. Here nothing is sent.
  virtual int32_t TransmitByte(uint8_t b);
  // Receives one byte into b, returns an error code. Here the byte is 1.
  virtual int32_t ReceiveRawByte(uint8_t& b);

 private:
  void KeepFirstError(int32_t earlier);

  QString name_;
  int32_t error_ = 0;
  uint8_t escape_ = kEscapeByte;
  bool portOpen_ = false;  // never in the simulation
  std::array<uint8_t, 12> status_{};
  TCommTimeouts rs_;
  TCommTimeouts usb_;
  uint8_t portIndex_ = 0;
  uint8_t instance_ = 0;
  uint8_t baudIndex_ = kDefaultBaudIndex;
  uint8_t parity_ = kParityNone;
  int32_t txErrorLimit_ = 5;
  std::vector<TConfigProblem> problems_;
};

}  // namespace qz
