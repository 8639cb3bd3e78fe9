#include "comm/t232.h"

#include <QFile>
#include <QStringDecoder>
#include <limits>
#include <optional>

#include "comm/errcodes.h"
#include "util/folders.h"
#include "util/parse.h"
#include "util/readfile.h"

namespace qz {

uint8_t NearestBaudIndex(int64_t rate) {
  // Distances in unsigned 64 bits: no overflow for any rate.
  auto dist = [rate](int i) {
    const int64_t r = kBaudRates[size_t(i)];
    return rate >= r ? uint64_t(rate) - uint64_t(r) : uint64_t(r) - uint64_t(rate);
  };
  int best = 0;
  uint64_t bestDist = dist(0);
  for (int i = 1; i < kBaudCount; ++i) {
    const uint64_t d = dist(i);
    if (d < bestDist) {
      best = i;
      bestDist = d;
    }
  }
  return uint8_t(best);
}

namespace {

const TCommTimeouts kDefaultTimeouts{};

// The number made of the digits s[from..] when the rest is all ASCII digits (leading zeros
// allowed), saturated at INT32_MAX; nullopt when the rest is empty or holds anything else.
std::optional<int64_t> AllDigitsFrom(const QString& s, qsizetype from) {
  if (from >= s.size()) return std::nullopt;
  int64_t v = 0;
  for (qsizetype i = from; i < s.size(); ++i) {
    const char16_t c = s.at(i).unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    v = v * 10 + (c - u'0');
    if (v > std::numeric_limits<int32_t>::max()) v = std::numeric_limits<int32_t>::max();
  }
  return v;
}

// For "PORTNUM" and "BAUDRATE": the key is the word alone (instance 0) or the word followed by
// an instance number 0..100 in digits. Anything else after the word gives -1.
int InstanceOfKey(const QString& upperKey, const QString& word) {
  if (!upperKey.startsWith(word)) return -1;
  if (upperKey.size() == word.size()) return 0;
  const auto n = AllDigitsFrom(upperKey, word.size());
  if (!n || *n > 100) return -1;
  return int(*n);
}

// The value as a whole number in lo..hi.
std::optional<int64_t> WholeInRange(const QString& value, int64_t lo, int64_t hi) {
  const auto v = ParseInt64(value);
  if (!v || *v < lo || *v > hi) return std::nullopt;
  return v;
}

// Bytes of a configuration file as text: UTF-8 when the bytes are valid UTF-8, else Latin-1
// (files edited on older systems).
QString DecodeConfigBytes(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes);
}

}  // namespace

T232::T232() { Init({}); }

void T232::Init(const QStringList& portNames) {
  error_ = 0;
  name_ = QStringLiteral("RS232");
  escape_ = kEscapeByte;
  instance_ = 0;
  portIndex_ = 0;
  if (!portNames.isEmpty()) {
    // The number after the first three characters ("COM"), minus 1. A number of 0 would give
    // no port at all: it counts as "no number" and leaves the first port.
    const auto n = AllDigitsFrom(portNames.first(), 3);
    if (n && *n > 0) portIndex_ = uint8_t((*n - 1) & 0xFF);
  }
  baudIndex_ = NearestBaudIndex(115200);
  parity_ = kParityNone;
  rs_ = kDefaultTimeouts;
  usb_ = kDefaultTimeouts;
  txErrorLimit_ = 5;
  portOpen_ = false;
  status_.fill(0);
}

void T232::Start(const QStringList& portNames, const QString& folder) {
  Init(portNames);
  problems_.clear();
  ReadConfigFile(QString::fromLatin1(kRs232ConfigFile), folder);
  ReadConfigFile(QString::fromLatin1(kRs232SetupFile), folder);
  OpenPort(portIndex_, baudIndex_, parity_, rs_, usb_);
  status_.fill(0);
}

void T232::ReadConfigFile(const QString& fileName, const QString& folder) {
  const QString path = InFolder(fileName, folder.isEmpty() ? UserFolder() : folder);
  const TReadFileResult r = ReadRegularFile(path, TFileKind::PortConfig);
  if (!r.ok()) {
    error_ = int32_t(kErrConfigFileNotFound);
    if (r.status != TReadFileStatus::Missing) problems_.push_back({path, r.cause});
    return;
  }
  const QString text = DecodeConfigBytes(r.bytes);
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (QString line : lines) {
    // Files written on other systems end their lines with CR LF: drop trailing control
    // characters so that "BAUDRATE=9600\r" is 9600 and a lone "\r" is an empty line.
    while (!line.isEmpty() && line.back().unicode() < 0x20) line.chop(1);
    if (line.isEmpty()) continue;
    const QChar first = line.front();
    if (first == QLatin1Char(';') || first == QLatin1Char('[')) continue;
    QString key;
    QString value;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq >= 0) {
      key = line.left(eq);  // not trimmed: "PORTNUM =5" is not the key PORTNUM
      value = line.mid(eq + 1);
      const qsizetype semi = value.indexOf(QLatin1Char(';'));
      if (semi >= 0) value.truncate(semi);
      value = value.trimmed();
    }
    HandleKey(key, value);
  }
}

bool T232::HandleKey(const QString& key, const QString& value) {
  const QString k = key.toUpper();

  if (k.startsWith(QLatin1String("PORTNUM"))) {
    if (InstanceOfKey(k, QStringLiteral("PORTNUM")) != int(instance_)) return false;
    const auto v = WholeInRange(value, 0, 100);
    portIndex_ = v ? uint8_t(*v) : 0;
    return true;
  }
  if (k.startsWith(QLatin1String("BAUDRATE"))) {
    if (InstanceOfKey(k, QStringLiteral("BAUDRATE")) != int(instance_)) return false;
    const auto v = WholeInRange(value, 300, 921600);
    baudIndex_ = NearestBaudIndex(v ? *v : 115200);
    return true;
  }

  struct TimeoutKey {
    const char* name;
    uint32_t TCommTimeouts::*field;
    bool usb;
    int64_t lo;
    int64_t hi;
  };
  static const TimeoutKey kKeys[] = {
      {"RS_RDINTTOUT", &TCommTimeouts::readInterval, false, 1, 1000},
      {"RS_RDTOUTMUL", &TCommTimeouts::readTotalMultiplier, false, 0, 1000},
      {"RS_RDTOUTCON", &TCommTimeouts::readTotalConstant, false, 1, 100000},
      {"RS_WRTOUTMUL", &TCommTimeouts::writeTotalMultiplier, false, 0, 1000},
      {"RS_WRTOUTCON", &TCommTimeouts::writeTotalConstant, false, 1, 100000},
      {"USB_RDINTTOUT", &TCommTimeouts::readInterval, true, 1, 5000},
      {"USB_RDTOUTMUL", &TCommTimeouts::readTotalMultiplier, true, 0, 5000},
      {"USB_RDTOUTCON", &TCommTimeouts::readTotalConstant, true, 1, 100000},
      {"USB_WRTOUTMUL", &TCommTimeouts::writeTotalMultiplier, true, 0, 5000},
      {"USB_WRTOUTCON", &TCommTimeouts::writeTotalConstant, true, 1, 100000},
  };
  for (const auto& tk : kKeys) {
    if (k != QLatin1String(tk.name)) continue;
    if (const auto v = WholeInRange(value, tk.lo, tk.hi)) {
      TCommTimeouts& set = tk.usb ? usb_ : rs_;
      set.*tk.field = uint32_t(*v);
    }
    return true;
  }
  return false;
}

int32_t T232::OpenPort(uint8_t, uint8_t, uint8_t, const TCommTimeouts&, const TCommTimeouts&) {
  // No device is opened in the simulation; the stored settings stay as they are.
  return 0;
}

void T232::SetPortDefaults() {
  baudIndex_ = kDefaultBaudIndex;
  OpenPort(0, kDefaultBaudIndex, kParityNone, kDefaultTimeouts, kDefaultTimeouts);
}

int32_t T232::TakeError() {
  const int32_t e = error_;
  error_ = 0;
  return e;
}

int32_t T232::TransmitByte(uint8_t) { return 0; }

int32_t T232::ReceiveRawByte(uint8_t& b) {
  b = 1;
  return 0;
}

void T232::SendByte(uint8_t b) { error_ = TransmitByte(b); }

// A failure of an earlier byte of one item must not be hidden by the success of a later one:
// the first error of the sequence is kept.
void T232::KeepFirstError(int32_t earlier) {
  if (error_ == 0) error_ = earlier;
}

void T232::SendCode(uint8_t code) {
  SendByte(escape_);
  const int32_t e = error_;
  SendByte(code);
  KeepFirstError(e);
}

void T232::SendData(uint8_t b) {
  SendByte(b);
  if (b == escape_) {
    const int32_t e = error_;
    SendByte(b);
    KeepFirstError(e);
  }
}

void T232::SendBlock(const uint8_t* bytes, int count) {
  int failures = 0;
  for (int i = 0; i < count && bytes; ++i) {
    SendData(bytes[i]);
    if (error_ != 0) {
      ++failures;
      if (failures >= txErrorLimit_) break;
    }
  }
  if (failures > 0) error_ = int32_t(kErrTransmit);
}

void T232::SendText(const QString& text, uint8_t terminatingCode) {
  SendCode(kCodeTextStart);
  int32_t e = error_;
  if (!text.isEmpty()) {
    const QByteArray bytes = text.toLatin1();
    SendBlock(reinterpret_cast<const uint8_t*>(bytes.constData()), int(bytes.size()));
    if (e == 0) e = error_;
  }
  SendCode(terminatingCode);
  KeepFirstError(e);
}

uint8_t T232::ReceiveByte() {
  uint8_t b = 0;
  error_ = ReceiveRawByte(b);
  return b;
}

void T232::ReceiveData(uint8_t& b, bool& isCode) {
  isCode = false;
  b = ReceiveByte();
  if (error_ == 0 && b == escape_) {
    b = ReceiveByte();
    isCode = b != escape_;
  }
}

void T232::Purge() {
  if (!portOpen_) return;
  // With an open port: clear its error state (its status goes to status_), then discard pending
  // input and output. Never reached in the simulation.
  status_.fill(0);
}

}  // namespace qz
