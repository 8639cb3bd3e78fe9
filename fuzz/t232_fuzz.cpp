// Arbitrary bytes as the serial line's configuration file ("RS232.CFG" or "RS232.STP"): the
// reader never crashes and the line's settings stay usable (a baud rate of the table, a known
// parity, a port index the menus can show).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "comm/t232.h"
#include "fuzzcheck.h"

using qz::fuzz::Check;

namespace {

// The files are written into one private folder, in memory where the system has one.
const QString& Folder() {
  static std::unique_ptr<QTemporaryDir> dir = [] {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return std::make_unique<QTemporaryDir>(base + QStringLiteral("/qz232fuzz-XXXXXX"));
  }();
  static const QString path = dir->path();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    QFile f(Folder() + QStringLiteral("/RS232.CFG"));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(qz::fuzz::Bytes(data, size));
  }
  qz::T232 line;
  line.Init({QStringLiteral("COM3"), QStringLiteral("COM7")});
  line.ReadConfigFile(QString::fromLatin1(qz::kRs232ConfigFile), Folder());
  Check(line.GetBaudIndex() < qz::kBaudCount, "baud index outside the table");
  Check(line.GetParity() <= qz::kParityLow, "unknown parity");
  Check(line.GetPortIndex() <= 100, "port index outside 0..100");
  (void)line.GetBaudRate();
  return 0;
}
