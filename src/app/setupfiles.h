#pragma once
// The setup files as a whole: the frame window's own section "QuzarForm", the automatic setup
// written at exit, the dated backup written when the operator ends without saving, and the exit
// question.
//
// Every window and object keeps its own section through a WriteStp/ReadStp pair; the tool
// windows' pairs are records of the tool-window registry, which also holds the order in which
// the sections are written and loaded, so a window that is added later only has to register
// itself to be saved and loaded in its place.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/toolwindows.h"
#include "core/records.h"
#include "display/dformstp.h"
#include "util/winpos.h"

namespace qz {

class IniFile;
class TAsker;
class TSimCore;

inline constexpr const char* kAutoSetupComment = "AutoSetup";
inline constexpr const char* kBackupSetupComment = "BackupSetup";
inline constexpr const char* kBackupSetupFolder = "BackupSetups";
inline constexpr const char* kBackupSetupBase = "QzSim0";
inline constexpr const char* kDefaultUserSetup = "1.stp";
inline constexpr const char* kDefaultResultsFile = "1.txt";
inline constexpr const char* kSetupFilter = "Setup file (*.stp)|*.stp|Any file (*.*)|*.*";
inline constexpr const char* kSetupExt = "stp";
inline constexpr const char* kSaveSetupTitle = "Save Current System Setup";
inline constexpr const char* kLoadSetupTitle = "Load System Setup";
inline constexpr const char* kCommentTitle = "Enter Comment";
inline constexpr const char* kCommentPrompt = "Comment :";
inline constexpr const char* kReadOnlyDeleteQuestion = " is Read-Only - delete anyway?";
inline constexpr const char* kSetupInfoPrefix = "Setup info:\r\n";
inline constexpr const char* kWritingSettings = "Writing system settings...";
inline constexpr const char* kSettingFail = "Quzar setting fail.";
inline constexpr const char* kDForm = "DForm_";
// The frame window's colour at creation (0x00BBGGRR).
inline constexpr uint32_t kFrameColor = 10744749;
inline constexpr int32_t kPreTrigDefault = 20000;
inline constexpr int32_t kCanSpeedDefault = 5;

// The frame window's values kept in "QuzarForm" (the live data item's keys are its own).
struct TFrameSetup {
  WindowPos pos{0, 0, 900, 650};
  uint32_t BkgColor = kFrameColor;
  int32_t PicTyp = 0;
  int32_t PicArea = 0;
  QString UserStpPath;    // empty: the per-user folder + "1.stp"
  QString SaveAsTxtPath;  // empty: the per-user folder + "1.txt"
  QChar SeparForTxtSave = QChar('.');
  int32_t PreTrig = 0;
  bool SuspOnLow = false;
  bool sbOneShot = false;
  bool miFinishSwp = false;
  int32_t CanHW = 0;
  int32_t CanSpeed = kCanSpeedDefault;
};

// Reads a setup file chosen by the operator or given on the command line; nullptr with the
// message when it is not there, is not a regular file or cannot be read.
std::unique_ptr<IniFile> ReadSetupFile(const QString& path, QString& error);
// The file holds at least one section a setup of this program consists of (the frame window's,
// the analyzer's, a tool window's or a display window's).
bool HoldsSetup(const IniFile& ini);
// The sections the window program's tool windows write (a setup written by the window program
// or without windows; the window program's registry writes exactly these).
inline const QStringList kToolWindowSections = {
    "QzResForm", "QzSmallFrm",  "LogForm",      "TuStpFrm", "TrgForm",
    "MstpForm",  "QzSamplForm", "TxTimingForm", "TunPic",   "TuScenarioForm",
    "Model",     "RhoChart",    "MakeSce"};
// "File "<path>" holds no setup of this program"
QString NoSetupText(const QString& path);

// Where the frame window opens before its section is read: the screen's work area made 10 pixels
// smaller in width and height (never below the frame window's smallest size). A setup that
// holds the window's geometry moves it afterwards.
WindowPos FramePlacement(const WindowPos& workArea);

// Writes the section; the run and send states of unit 1 come from the command layer's buffers.
void WriteFrameSetup(IniFile& ini, const TFrameSetup& f, const TStatusAll& run,
                     const TStatusAll& send);
// Reads the section's keys with their defaults and limits (a missing or unreadable key keeps the
// present value, where the section says so). The run and send states are read at start-up only.
void ReadFrameSetup(const IniFile& ini, TFrameSetup& f, int screenWidth, int screenHeight);

// The backup file's path: per-user folder + "BackupSetups/" + "QzSim0" + "_YYMMDD_hhmmss.stp".
QString BackupSetupPath(const QString& userFolder, const QDateTime& t);

// The file has no write permission for its owner (checked on the mode bits, so that it also
// holds for a program run with full rights).
bool IsReadOnlyFile(const QString& path);

// The answer to closing the frame window.
enum class TExitChoice { KeepRunning, CloseSave, CloseNoSave };
// The exit question. abortPgm: close without a question and without writing; mustTerminate: a
// restart is needed (OK saves, anything else closes without saving); writeIni: Yes saves, Abort
// closes without saving, No or Escape keeps the program running; otherwise ("Exit (no setup)")
// close without saving and without a question. title is the application title.
TExitChoice AskExit(TAsker& asker, bool abortPgm, bool mustTerminate, bool writeIni,
                    const QString& title);
QString ExitQuestion(const QString& title);       // Yes / No / Abort
QString TerminateQuestion(const QString& title);  // OK / Abort

// The setup of the whole program over its core: the frame window's section, the analyzer
// section and the sections of the registered tool windows, with the hooks of the windows that
// are not part of the core.
class TSetupFiles {
 public:
  TSetupFiles(TSimCore& core, TToolWindows& windows);

  TToolWindows& Windows;
  // "QuzarForm": the frame window's keys (and those of the live data item).
  std::function<void(IniFile&)> WriteFrame;
  std::function<void(const IniFile&)> ReadFrame;
  // The display windows ("DForm_" sections); empty until display windows exist.
  std::function<void()> CloseDisplays;
  std::function<void()> ResetDisplayDefaults;
  std::function<void(IniFile&)> WriteDisplays;
  std::function<void(const IniFile&)> DisplaysFromSetup;
  // After the analyzer section was read (the autotune parameters window), and at the end of a
  // load or save (the signal tool bar).
  std::function<void()> AfterAnalyzerRead;
  std::function<void()> UpdateSignalBar;
  // Asker for the questions and busy message (nullptr: the program's one).
  TAsker* asker = nullptr;

  // The comment of the setup last read or written.
  QString Comment;

  // Fills `ini` with the setup (every section but the analyzer sections erased first) and
  // saves it. False with the reason when the file cannot be written (the old file stays whole).
  bool WriteSetup(IniFile& ini, const QString& comment, QString& error);
  // The automatic setup at exit: its read-only mark removed, then written with "AutoSetup".
  bool WriteAutoSetup(QString& error);
  // The dated backup; `path` receives its name.
  bool WriteBackup(const QDateTime& now, QString& path, QString& error);
  // Loads a setup file's content; returns the comment of its analyzer section. Only the
  // sections the file holds are read: the analyzer section is read and sent only when present,
  // and the display windows are replaced only when the file holds any.
  QString LoadSetup(const IniFile& ini);
  // Save Setup to `path` with `comment`: the automatic setup and the file are written, then the
  // analyzer section read back from the automatic setup (which sends the settings) is written
  // into the file again. The file is replaced only by a complete new one.
  bool SaveSetupAs(const QString& path, const QString& comment, QString& error);

 private:
  TAsker& Ask() const;
  // Reports a window whose section failed; the others are still written or read.
  void SectionFailed(bool writing, const QString& section, const QString& reason);
  TSimCore& core_;
};

}  // namespace qz
