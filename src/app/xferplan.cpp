#include "app/xferplan.h"

#include <QFileInfo>
#include <array>

#include "comm/errcodes.h"
#include "util/fileops.h"
#include "util/format.h"

namespace qz {

const char* const kSendTitle = "Send Files to Quzar: Select all source files";
const char* const kSendFilter =
    "System config files (*.cfg)|*.cfg|System memory files (*.mem)|*.mem|Server program "
    "SrvQz.exe|srvqz.exe|Config & Memory files & Server|*.cfg;*.mem;srvqz.exe|Autoexec.bat & "
    "Config.sys|autoexec.bat;config.sys|Any file (*.*)|*.*";
const char* const kNoFilesSelected = "No files selected - operation cancelled";
const char* const kSendBusyCaption = "Sending files to Quzar...";
const char* const kSendReportHeading = "File Transfer Report:\r\n";

const char* const kReceiveTitle = "Load Files from Quzar";
const char* const kReceivePreset = "Edit only for ANY FILE type";
const char* const kReceiveFilter =
    "Quzar config|Qzm.cfg|Tuner config|Tun.cfg|RS232 config|Rs232.cfg|CAN config|Can.cfg|"
    "Server|SrvQz.exe|Any file|*.*";
const char* const kReceiveBusyCaption = "Receiving file from Quzar...";

const char* const kFileListTitle = "Save FileList";
const char* const kFileListFilter = "Text file (*.txt)|*.txt|Any file (*.*)|*.*";
const char* const kFileListName = "FileList.txt";
const char* const kFileListFolder = "Reinstall";

const char* const kNotInSimulation = "Function is not applicable in simulation.";
const char* const kRestartServerText =
    "Are you sure you wish to terminate and restart Quzar Server program?\r\nIf yes, you should "
    "also restart this QzmSoft program.\r\n\r\nContinue";
const char* const kHaltServerText =
    "Are you sure you wish to terminate Quzar Server program\r\nand start RS232 download "
    "Server?\r\n\r\n(You can restart Quzar Server by switching its power supply OFF and ON)\r\n";

namespace {

const QString kAutoexec = QStringLiteral("AUTOEXEC.BAT");
const QString kConfigSys = QStringLiteral("CONFIG.SYS");
const QString kTunMem = QStringLiteral("TUN.MEM");
const QString kSrvFolder = QStringLiteral("C:\\SRV\\");

// The unit's files in the order of the reinstallation list.
constexpr std::array<const char*, 13> kUnitFiles = {
    "QZM.MEM",  "TUN.MEM",   "QZM.CFG",   "TUN.CFG",   "RS232.CFG",  "CAN.CFG",  "DAQ.CFG",
    "BBOX.CFG", "SRVQZ.CFG", "START.CFG", "SRVQZ.EXE", "SRVDLD.EXE", "START.EXE"};

// The files a receive can ask for by its filter.
constexpr std::array<const char*, 5> kReceiveNames = {"Qzm.cfg", "Tun.cfg", "Rs232.cfg", "Can.cfg",
                                                      "SrvQz.exe"};

constexpr std::array<TServerMode, kServerModeCount> kModes = {{
    {"&RS232", "Start RS232 Quzar internal program", "RS232", kSrvRs232},
    {"&CAN Bus", "Start CAN Bus Quzar internal program", "CAN Bus", kSrvBus},
    {"&Download (RS232)", "Start RS232 Download Quzar internal program", "RS232 Download",
     kSrvDownloadRs232},
}};

}  // namespace

// ---- sending ------------------------------------------------------------------------------

QString SendName(const QString& path) {
  return QFileInfo(NormalizePath(path)).fileName().toUpper();
}

bool SendNeedsConfirm(const QString& sendName) {
  return sendName.contains(kAutoexec) || sendName.contains(kConfigSys);
}

QString SendConfirmText(const QString& sendName) {
  return QStringLiteral("Are you sure you wish to send  ") + sendName;
}

bool SendForbidden(const QString& sendName) { return sendName.contains(kTunMem); }

QString SendDestination(const QString& sendName) {
  if (sendName.contains(kAutoexec)) return QStringLiteral("C:\\AUTOEXEC.BAT");
  if (sendName.contains(kConfigSys)) return QStringLiteral("C:\\CONFIG.SYS");
  return kSrvFolder + sendName;
}

QString SendProgressText(int i, int n, const QString& path) {
  return Format("Sending (%d of %d) : %s", {i, n, path});
}

std::vector<TSendItem> RunSendPlan(const QStringList& paths, const TFileSender& send,
                                   const TSendProgress& progress) {
  std::vector<TSendItem> items;
  items.reserve(size_t(paths.size()));
  const int n = int(paths.size());
  bool diskFull = false;
  for (int i = 0; i < n; ++i) {
    TSendItem it;
    it.path = paths[i];
    it.name = SendName(it.path);
    it.destination = SendDestination(it.name);
    if (progress) progress(i + 1, n, it.path);
    if (SendForbidden(it.name)) {
      // The files after it go to another place of the unit: they are tried again.
      it.outcome = TSendOutcome::Forbidden;
      diskFull = false;
    } else if (diskFull) {
      it.outcome = TSendOutcome::DiskFull;
    } else {
      it.code = send(it.path, it.destination);
      it.sent = true;
      if (it.code == 0) {
        it.outcome = TSendOutcome::Pass;
      } else if (it.code == kSendDiskFull) {
        it.outcome = TSendOutcome::DiskFull;
        diskFull = true;
      } else {
        it.outcome = TSendOutcome::Failed;
      }
    }
    items.push_back(it);
  }
  return items;
}

QString SendReportLine(const TSendItem& item) {
  switch (item.outcome) {
    case TSendOutcome::Pass:
      return item.name + QStringLiteral(" :   PASS");
    case TSendOutcome::DiskFull:
      return item.name + QStringLiteral(" :   FAIL (DISK FULL)");
    case TSendOutcome::Forbidden:
      return item.name + QStringLiteral(" :   Upload forbidden - use QzmTool");
    case TSendOutcome::Failed:
      break;
  }
  return item.name + Format(" :   FAIL (%d)", {item.code});
}

QString SendReportText(const std::vector<TSendItem>& items) {
  QString t = QString::fromLatin1(kSendReportHeading);
  for (const TSendItem& it : items) t += QStringLiteral("\r\n") + SendReportLine(it);
  return t;
}

// ---- receiving ----------------------------------------------------------------------------

QString ReceiveName(int filterIndex, const QString& chosenPath) {
  if (filterIndex >= 1 && filterIndex <= int(kReceiveNames.size()))
    return QString::fromLatin1(kReceiveNames[size_t(filterIndex - 1)]);
  return QFileInfo(NormalizePath(chosenPath)).fileName();
}

QString ReceiveUnitPath(const QString& name) { return QStringLiteral("c:\\srv\\") + name; }

QString ReceiveLocalPath(const QString& chosenPath, const QString& name) {
  return SplitFileName(NormalizePath(chosenPath)).folder + name;
}

QString ReceiveBusyText(const QString& unitPath) { return QStringLiteral("Receiving ") + unitPath; }

QString ReceiveResultText(const QString& name, int32_t code) {
  if (code == 0) return name + QStringLiteral(" transfer OK");
  return name + QStringLiteral(" transfer FAIL:  ") + ErrorText(uint32_t(code));
}

// ---- reinstallation file list -------------------------------------------------------------

QStringList FileListLines() {
  QStringList l;
  l << QStringLiteral("[Quzar Reinstallation Filelist]") << QString();
  for (const char* f : kUnitFiles) {
    const QString name = QString::fromLatin1(f);
    // The tuner memory in the server folder also carries the motor data.
    l << name + QChar('=') + kSrvFolder + name +
             (name == kTunMem ? QStringLiteral(" + MOTORS") : QString());
    l << name + QChar('=') + kSrvFolder + QStringLiteral("FACT\\") + name;
    l << name + QChar('=') + kSrvFolder + QStringLiteral("USER\\") + name;
    l << QString();
  }
  l << QStringLiteral("AUTOEXEC.BAT=C:\\AUTOEXEC.BAT")
    << QStringLiteral("AUTOEXEC.BAT=C:\\SRV\\FACT\\AUTOEXEC.BAT")
    << QStringLiteral("AUTOEXEC.BAT=C:\\SRV\\USER\\AUTOEXEC.BAT") << QString()
    << QStringLiteral("CONFIG.SYS=C:\\CONFIG.SYS")
    << QStringLiteral("CONFIG.SYS=C:\\SRV\\FACT\\CONFIG.SYS")
    << QStringLiteral("CONFIG.SYS=C:\\SRV\\USER\\CONFIG.SYS");
  return l;
}

QByteArray FileListBytes() {
  QByteArray b;
  for (const QString& line : FileListLines()) b += line.toLatin1() + "\r\n";
  return b;
}

// ---- server commands ----------------------------------------------------------------------

const TServerMode& ServerMode(int index) {
  return kModes[size_t(index >= 0 && index < kServerModeCount ? index : 0)];
}

QString SwitchServerText(const QString& modeName) {
  return QStringLiteral(
             "QUZAR internal Server program is about to be\r\nterminated and "
             "restarted in ") +
         modeName + QStringLiteral(" mode.") + QStringLiteral("\r\n\r\n") +
         QStringLiteral("This QzmSoft program will also terminate.") + QStringLiteral("\r\n") +
         QStringLiteral("Then you should restart its ") + modeName + QStringLiteral(" version.") +
         QStringLiteral("\r\n\r\n") + QStringLiteral("Press OK to continue.");
}

}  // namespace qz
