#pragma once
// The rules of the file transfer with the unit and of its server commands, apart from any
// window: which name a sent file takes in the unit and what its report line says, which file a
// receive asks for and where it lands, the reinstallation file list, and the texts of the
// questions.
//
// The unit keeps its files in "C:\SRV\" with the factory and user copies in "C:\SRV\FACT\" and
// "C:\SRV\USER\"; its start-up files live in its root folder.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace qz {

// ---- sending ------------------------------------------------------------------------------
extern const char* const kSendTitle;          // "Send Files to Quzar: Select all source files"
extern const char* const kSendFilter;         // "System config files (*.cfg)|*.cfg|..."
extern const char* const kNoFilesSelected;    // "No files selected - operation cancelled"
extern const char* const kSendBusyCaption;    // "Sending files to Quzar..."
extern const char* const kSendReportHeading;  // "File Transfer Report:\r\n"
// The unit's answer when its disk is full.
inline constexpr int32_t kSendDiskFull = 10;

// The name a file is sent under: its name and extension without the folder, upper-cased.
QString SendName(const QString& path);
// The unit's start-up files ("AUTOEXEC.BAT", "CONFIG.SYS") are sent only after a question.
bool SendNeedsConfirm(const QString& sendName);
// "Are you sure you wish to send  " + the name (the question mark comes with the question).
QString SendConfirmText(const QString& sendName);
// The tuner memory ("TUN.MEM") belongs to the tuner tool and is never sent from here; it also
// ends a run of files skipped after a full disk.
bool SendForbidden(const QString& sendName);
// "C:\AUTOEXEC.BAT", "C:\CONFIG.SYS", otherwise "C:\SRV\" + the name.
QString SendDestination(const QString& sendName);
// "Sending (i of n) : path".
QString SendProgressText(int i, int n, const QString& path);

enum class TSendOutcome { Pass, Failed, DiskFull, Forbidden };

struct TSendItem {
  QString path;         // the local file
  QString name;         // SendName
  QString destination;  // SendDestination
  TSendOutcome outcome = TSendOutcome::Pass;
  int32_t code = 0;   // the unit's answer when the file was sent
  bool sent = false;  // the file went to the unit (whatever the answer)
};

// Sends one file (local path, unit path) and returns the unit's answer: 0, kSendDiskFull or
// another error code.
using TFileSender = std::function<int32_t(const QString& localPath, const QString& unitPath)>;
// Called before each file with its position (1-based), the count and the path.
using TSendProgress = std::function<void(int i, int n, const QString& path)>;

// Sends the files in their order through `send` (required). Once the unit reports a full disk, the
// following files are not sent and count as a full disk too, up to the next "TUN.MEM"; files after
// that one are tried again (the operator may have chosen files for more than one unit's disk).
std::vector<TSendItem> RunSendPlan(const QStringList& paths, const TFileSender& send,
                                   const TSendProgress& progress = {});
// name + " :   PASS", " :   FAIL (DISK FULL)", " :   Upload forbidden - use QzmTool" or
// " :   FAIL (" + code + ")".
QString SendReportLine(const TSendItem& item);
// kSendReportHeading followed by each line, each preceded by CR LF.
QString SendReportText(const std::vector<TSendItem>& items);

// ---- receiving ----------------------------------------------------------------------------
extern const char* const kReceiveTitle;        // "Load Files from Quzar"
extern const char* const kReceivePreset;       // "Edit only for ANY FILE type"
extern const char* const kReceiveFilter;       // "Quzar config|Qzm.cfg|...|Any file|*.*"
extern const char* const kReceiveBusyCaption;  // "Receiving file from Quzar..."

// The file asked of the unit: by the chosen filter 1 "Qzm.cfg", 2 "Tun.cfg", 3 "Rs232.cfg",
// 4 "Can.cfg", 5 "SrvQz.exe"; any other filter takes the name and extension typed.
QString ReceiveName(int filterIndex, const QString& chosenPath);
// "c:\srv\" + name.
QString ReceiveUnitPath(const QString& name);
// The chosen folder + name.
QString ReceiveLocalPath(const QString& chosenPath, const QString& name);
// "Receiving " + the unit's path (the busy window's text).
QString ReceiveBusyText(const QString& unitPath);
// name + " transfer OK", or name + " transfer FAIL:  " + the code's text.
QString ReceiveResultText(const QString& name, int32_t code);

// ---- reinstallation file list -------------------------------------------------------------
extern const char* const kFileListTitle;   // "Save FileList"
extern const char* const kFileListFilter;  // "Text file (*.txt)|*.txt|Any file (*.*)|*.*"
extern const char* const kFileListName;    // "FileList.txt"
extern const char* const kFileListFolder;  // "Reinstall"

// The list's lines: "[Quzar Reinstallation Filelist]", an empty line, then each file of the
// unit with its three places (the tuner memory's first one " + MOTORS"), groups apart by an
// empty line, last the two start-up files.
QStringList FileListLines();
// The lines with CR LF after each, the last one included.
QByteArray FileListBytes();

// ---- server commands ----------------------------------------------------------------------
extern const char* const kNotInSimulation;    // "Function is not applicable in simulation."
extern const char* const kRestartServerText;  // "Are you sure you wish to terminate and ..."
extern const char* const kHaltServerText;     // "... switching its power supply OFF and ON)\r\n"
// The server command's codes (restart is the command layer's kSrvRestart).
inline constexpr uint8_t kSrvHaltToDownload = 34;  // halt and start the download server
inline constexpr uint8_t kSrvDownloadRs232 = 96;
inline constexpr uint8_t kSrvRs232 = 97;
inline constexpr uint8_t kSrvBus = 98;

// The server programs the unit can be switched to.
struct TServerMode {
  const char* caption;  // menu item
  const char* hint;
  const char* name;  // in the question
  uint8_t code;      // the server command
};
inline constexpr int kServerModeCount = 3;
// "&RS232", "&CAN Bus", "&Download (RS232)" in this order.
const TServerMode& ServerMode(int index);
// The question before a switch (OK and Cancel).
QString SwitchServerText(const QString& modeName);

}  // namespace qz
