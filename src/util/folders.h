#pragma once
// The program's well-known folders: the user's profile folder, the per-user folder below it,
// the system folder, and the folders of the running program and of its data files.
//
// The profile folder is $QZSIM_PROFILE when it is set, else the user's data folder of the
// desktop (XDG). Folder paths use '/' and, when not empty, end with '/'.

#include <QString>

namespace qz {

// Ids and numbers of the two folders the program asks for.
inline constexpr const char* kFolderIdProfile = "{5E6C858F-0E22-4760-9AFE-EA3317B67173}";
inline constexpr int kFolderNumberProfile = 40;
inline constexpr const char* kFolderIdSystem = "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}";
inline constexpr int kFolderNumberSystem = 37;

// The per-user folder below the profile folder.
inline constexpr const char* kUserSubfolder = "Vostrel/QzSim";

struct KnownFolder {
  QString path;  // without a trailing '/'
  // 0 success, 1 the folder cannot be found, 2 invalid argument (neither id nor number is
  // known), -1 no lookup available (never here).
  int code = 1;
};

// Looks a folder up by its id or, when the id is empty, by its number. The profile folder must
// be an absolute path that is not a file; it need not exist yet.
KnownFolder KnownFolderPath(const QString& folderId, int folderNumber);

// Creates (all missing levels of) profile folder + "/" + subPath and makes it the UserFolder.
// Result: 0 the folder existed, 1 it was created, 2 (flag clear) or 3 (flag set) the profile
// folder cannot be found (UserFolder is then empty), 3 the folder cannot be created (UserFolder
// is then the profile folder). Backslashes in subPath count as '/'.
int MakeUserFolder(const QString& subPath, bool flag);

// The per-user folder (with '/'); before MakeUserFolder the profile folder.
QString UserFolder();
void SetUserFolder(const QString& folder);
// The system folder, without a trailing '/'.
QString SystemFolder();
// Sets both folders again as at start-up (profile folder and system folder); for tests and the
// start of the program.
void ResetFolders();

// Folder of the running program, with '/'.
QString ProgramFolder();

struct ProgramPartsInfo {
  QString fullPath;  // the program file
  QString folder;    // with '/'
  QString name;      // without extension
  QString ext;       // with its point, or empty
};
ProgramPartsInfo ProgramParts();

// The folder of the program's data files (default setups, tuner memory files, help):
// "../share/qzsim/" from the program's folder, both in the build tree and when installed.
QString ProgramDataFolder();

// The given folder followed by the file name and extension of `name` (its own folder dropped).
// A folder without a trailing '/' gets one; an empty folder gives the bare file name.
QString InFolder(const QString& name, const QString& folder);
// InFolder with the program's data folder.
QString InProgramFolder(const QString& name);
// InFolder with the UserFolder.
QString InUserFolder(const QString& name);

// The folder part of `name` without its trailing '/' (kept for a root such as "/" or "C:/"), or
// `def` when the name has no folder part.
QString FolderOrDefault(const QString& name, const QString& def);

}  // namespace qz
