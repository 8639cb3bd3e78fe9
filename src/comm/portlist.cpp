#include "comm/portlist.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <limits>

#include "util/format.h"

namespace qz {

uint8_t PortIndexFromName(const QString& text) {
  const qsizetype at = text.indexOf(QLatin1String("COM"), 0, Qt::CaseSensitive);
  if (at < 0) return 0;
  int64_t n = 0;
  for (qsizetype i = at + 3; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c < u'0' || c > u'9') break;
    n = std::min<int64_t>(n * 10 + (c - u'0'), std::numeric_limits<int32_t>::max());
  }
  if (n <= 0) return 0;
  return uint8_t((n - 1) & 0xFF);
}

namespace {

bool PassesFilter(const QString& name, PortKind kind) {
  switch (kind) {
    case PortKind::Com:
      return name.contains(QLatin1String("COM"));
    case PortKind::Lpt:
      return name.contains(QLatin1String("LPT"));
    case PortKind::All:
      break;
  }
  return true;
}

QString SystemText(const QString& s) { return s.left(kMaxPortText).trimmed(); }

}  // namespace

void EnumeratePorts(QStringList& names, QStringList& descriptions, PortKind kind,
                    PortDeviceSource& source, const PortProbe& probe) {
  if (!source.Available()) return;
  for (const PortDevice& dev : source.Devices()) {
    const QString name = SystemText(dev.portName);
    if (name.isEmpty() || !PassesFilter(name, kind)) continue;
    const QString desc = SystemText(dev.description);
    names.append(name);
    descriptions.append(desc.isEmpty() ? name : desc);
  }
  if (!descriptions.isEmpty()) return;
  if (names.isEmpty()) {
    for (int k = 1; k <= kMaxComNumber && probe; ++k) {
      const QString name = Format(QStringLiteral("COM%d"), {k});
      if (probe(name)) names.append(name);
    }
  }
  descriptions = names;
}

PortLists& ProgramPortLists() {
  static PortLists lists;
  return lists;
}

namespace {

struct DeviceBlock {
  const char* prefix;  // device name without its number
  int firstCom;        // COM number of device 0
  int count;           // devices in the block
};
constexpr DeviceBlock kBlocks[] = {
    {"ttyS", 1, 100},
    {"ttyUSB", 101, 100},
    {"ttyACM", 201, kMaxComNumber - 200},
};

}  // namespace

int ComNumberForDevice(const QString& deviceNameOrPath) {
  const QString base = deviceNameOrPath.mid(deviceNameOrPath.lastIndexOf(QLatin1Char('/')) + 1);
  for (const auto& b : kBlocks) {
    const QLatin1String prefix(b.prefix);
    if (!base.startsWith(prefix)) continue;
    const QString digits = base.mid(prefix.size());
    if (digits.isEmpty() || digits.size() > 3) return 0;
    int m = 0;
    for (QChar c : digits) {
      if (c.unicode() < u'0' || c.unicode() > u'9') return 0;
      m = m * 10 + (c.unicode() - u'0');
    }
    if (digits.size() > 1 && digits.front() == QLatin1Char('0')) return 0;  // not a kernel name
    return m < b.count ? b.firstCom + m : 0;
  }
  return 0;
}

QString DevicePathForCom(int comNumber) {
  for (const auto& b : kBlocks) {
    if (comNumber >= b.firstCom && comNumber < b.firstCom + b.count) {
      return Format(QStringLiteral("/dev/%s%d"),
                    {QString::fromLatin1(b.prefix), comNumber - b.firstCom});
    }
  }
  return QString();
}

QString DescribeDevice(const QString& text, const QString& path, int comNumber) {
  const QString com = Format(QStringLiteral("COM%d"), {comNumber});
  const QString t = text.trimmed().isEmpty() ? QStringLiteral("Serial port") : text.trimmed();
  if (t.contains(QLatin1String("COM")))
    return Format(QStringLiteral("%s: %s (%s)"), {com, t, path});
  return Format(QStringLiteral("%s (%s) (%s)"), {t, path, com});
}

std::vector<PortDevice> SerialPortInfoSource::Devices() {
  struct Numbered {
    int com;
    PortDevice dev;
  };
  std::vector<Numbered> found;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const QString path = info.systemLocation().isEmpty() ? info.portName() : info.systemLocation();
    const int com = ComNumberForDevice(path);
    if (com <= 0) continue;
    const bool dup =
        std::any_of(found.begin(), found.end(), [com](const Numbered& n) { return n.com == com; });
    if (dup) continue;
    found.push_back(
        {com,
         {Format(QStringLiteral("COM%d"), {com}), DescribeDevice(info.description(), path, com)}});
  }
  std::sort(found.begin(), found.end(),
            [](const Numbered& a, const Numbered& b) { return a.com < b.com; });
  std::vector<PortDevice> out;
  out.reserve(found.size());
  for (auto& n : found) out.push_back(std::move(n.dev));
  return out;
}

bool ProbeSystemPort(const QString& portName) {
  if (!portName.startsWith(QLatin1String("COM"))) return false;
  bool ok = false;
  const int com = portName.mid(3).toInt(&ok);
  if (!ok) return false;
  const QString path = DevicePathForCom(com);
  if (path.isEmpty() || !QFileInfo::exists(path)) return false;
  const QString sys = QStringLiteral("/sys/class/tty/") + QFileInfo(path).fileName();
  if (!QFileInfo::exists(sys + QStringLiteral("/device"))) return false;
  // Built-in UART slots without a chip behind them report the type 0.
  QFile type(sys + QStringLiteral("/type"));
  if (type.open(QIODevice::ReadOnly)) return type.readAll().trimmed() != "0";
  return true;
}

void FillProgramPortLists() {
  PortLists& lists = ProgramPortLists();
  lists.names.clear();
  lists.descriptions.clear();
  SerialPortInfoSource source;
  EnumeratePorts(lists.names, lists.descriptions, PortKind::Com, source, ProbeSystemPort);
}

}  // namespace qz
