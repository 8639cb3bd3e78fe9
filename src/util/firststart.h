#pragma once
// The first start of the program for a user: the per-user folder is made and, when it is new,
// filled with the default files shipped beside the program.

#include <QString>

namespace qz {

// The subfolder of the per-user folder that holds the tuner memory files.
inline constexpr const char* kTunMemSubfolder = "TunMem";

// Copies every "QzSim*.ini" of dataFolder into userFolder and every "Tu*.mem" into
// userFolder + "TunMem/" (created when missing). A file that already exists is never
// overwritten. Returns the number of files copied.
int CopyDefaultFiles(const QString& dataFolder, const QString& userFolder);

// Start-up of the per-user folder: MakeUserFolder("Vostrel/QzSim", true) and, when the folder
// has just been created, CopyDefaultFiles from dataFolder. Returns the code of MakeUserFolder.
int SetUpUserFolder(const QString& dataFolder);

}  // namespace qz
