#pragma once
// The simulated unit's own file system. The unit keeps its configuration and memory files in
// folders such as "C:\SRV\" and "C:\SRV\USER\"; here they live below one local folder (by
// default "SimUnit/" in the per-user folder), so a file sent to the unit can be loaded back from
// it unchanged.
//
// The unit's names ignore case and use '\': "c:\srv\Qzm.cfg" and "C:\SRV\QZM.CFG" are one file,
// kept as "SRV/QZM.CFG" below the folder. A drive letter is dropped; a name that would reach
// outside the folder ("..", ".") or names no file is refused.
//
// Files are read through the one reader of outside files and written through the atomic
// writer: a failed transfer leaves the file at its destination whole.

#include <QString>
#include <cstdint>
#include <utility>

namespace qz {

// The folder of the unit's files in the per-user folder.
inline constexpr const char* kSimUnitSubfolder = "SimUnit";

class TSimUnitFiles {
 public:
  // folder: the local folder that stands for the unit's disk; empty means the per-user
  // folder's "SimUnit/" as it is when a file moves.
  explicit TSimUnitFiles(QString folder = QString()) : folder_(std::move(folder)) {}

  void SetFolder(const QString& folder) { folder_ = folder; }
  // The folder in use, with a trailing '/'.
  QString Folder() const;
  // The local file that holds the unit's file, or an empty text when the name is refused.
  QString LocalPath(const QString& unitPath) const;

  // Copies a local file to the unit: 0; 48 the local file cannot be read; 11 the unit's name is
  // refused or its folder cannot be made; 10 the unit's disk (the local disk) cannot hold it; 8
  // the copy did not complete.
  int32_t Send(const QString& localPath, const QString& unitPath) const;
  // Copies the unit's file to a local file: 0; 43 the unit holds no such file; 41 it cannot be
  // read; 11 the local file cannot be made; 10 the local disk cannot hold it; 8 the copy did
  // not complete.
  int32_t Receive(const QString& unitPath, const QString& localPath) const;

 private:
  QString folder_;
};

}  // namespace qz
