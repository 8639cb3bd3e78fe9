#pragma once
// The one way the program reads a whole file it did not write itself (setups, configuration,
// S-parameter, scenario, list and tuner memory files, files received from the unit).
//
// Nothing in the operator's folders can hang or exhaust the program: the path is looked at
// before it is opened, so a device is never opened at all; a FIFO or socket (which could block
// an open or a read for ever) and a folder are refused; the file is opened without waiting
// (O_NONBLOCK, O_NOCTTY), looked at again through its descriptor (it may have been swapped in
// between), and at most its kind's limit + 1 bytes are ever read, so a sparse or growing file
// cannot make the program take all memory.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace qz {

// What a file is read as; each kind has its size limit (FileKindLimit).
enum class TFileKind {
  Setup,       // setup files (automatic setup, user setups, backups): 16 MiB
  SParams,     // S-parameter files of the bilinear transform: 16 MiB
  Scenario,    // scenario files ".sce": 16 MiB
  List,        // reflection-coefficient list files: 4 MiB
  TunMem,      // tuner memory files ".mem": 4 MiB
  PortConfig,  // "RS232.CFG" and "RS232.STP": 64 KiB
  Other,       // anything else (files received from the unit, default files): 64 MiB
};

// The largest file of the kind, in bytes.
int64_t FileKindLimit(TFileKind kind);
// "a setup file", "a list file", ... as the limit messages name it.
QString FileKindName(TFileKind kind);
// "16 MiB", "64 KiB": the limit as the messages give it.
QString FileKindLimitText(TFileKind kind);

enum class TReadFileStatus {
  Ok,
  Missing,         // nothing of that name (or a dangling link)
  NotRegularFile,  // a folder, device, FIFO or socket: never opened or read
  TooLarge,        // over the kind's limit: not read
  ReadFailed,      // the file exists but cannot be opened or read (permissions, I/O error)
};

struct TReadFileResult {
  TReadFileStatus status = TReadFileStatus::Ok;
  QByteArray bytes;  // the whole file when ok()
  // The whole message, naming the path: "\"<path>\" is not a regular file",
  // "\"<path>\" is too large: a setup file may have at most 16 MiB", or the system's reason.
  QString reason;
  // The same without the path, for a sentence that names it already: "not a regular file",
  // "too large: a setup file may have at most 16 MiB", "Permission denied".
  QString cause;
  bool ok() const { return status == TReadFileStatus::Ok; }
};

TReadFileResult ReadRegularFile(const QString& path, TFileKind kind);

// The same verdict from the path alone, without opening anything: Ok when ReadRegularFile
// would go on to open and read the file.
TReadFileResult ProbeRegularFile(const QString& path, TFileKind kind);

// "\"<path>\" is too large: a list file may have at most 4 MiB"
QString TooLargeText(const QString& path, TFileKind kind);
// The refusal of a save whose content exceeds the kind's limit (the old file stays whole):
// "\"<path>\" is not written: a list file may have at most 4 MiB"
QString TooLargeToWriteText(const QString& path, TFileKind kind);
// True when `size` bytes are more than the kind allows.
inline bool ExceedsLimit(int64_t size, TFileKind kind) { return size > FileKindLimit(kind); }

}  // namespace qz
