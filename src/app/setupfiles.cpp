#include "app/setupfiles.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/simcore.h"
#include "core/qvwin.h"
#include "util/asker.h"
#include "util/datetext.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/inifile.h"
#include "util/readfile.h"
#include "util/stpkeys.h"

namespace qz {

namespace {

const QString kForm = QString::fromLatin1(kFormSection);

}  // namespace

// ---- "QuzarForm" ----------------------------------------------------------------------------

namespace {

// The section's record: the frame window's values, the run and send states of unit 1 (written
// only: start-up reads them) and the screen the place is kept on.
struct TFrameRec {
  TFrameSetup f;
  int32_t run1 = 0;
  int32_t send1 = 0;
  int screenWidth = 0;
  int screenHeight = 0;
};

const TStpKeys<TFrameRec>& FrameKeys() {
  using R = TFrameRec;
  static const TStpKeys<R> keys =
      TStpKeys<R>()
          .Custom(
              "Top, Left, Width, Height",
              [](const R& r, IniFile& ini, const QString& s) {
                ini.WriteInteger(s, QStringLiteral("Top"), r.f.pos.top);
                ini.WriteInteger(s, QStringLiteral("Left"), r.f.pos.left);
                ini.WriteInteger(s, QStringLiteral("Width"), r.f.pos.width);
                ini.WriteInteger(s, QStringLiteral("Height"), r.f.pos.height);
              },
              [](R& r, const IniFile& ini, const QString& s) {
                r.f.pos = ReadWindowPos(ini, s, r.f.pos, r.screenWidth, r.screenHeight,
                                        kFrameWindowMargin, kFrameWindowSizeLimits);
              })
          .Colour("BkgColor", [](R& r) -> uint32_t& { return r.f.BkgColor; })
          .Int(
              "PicTyp", [](R& r) -> int32_t& { return r.f.PicTyp; }, 0, 3)
          .Int(
              "PicArea", [](R& r) -> int32_t& { return r.f.PicArea; }, 0, 1)
          .CustomKey(
              "UserStpPath",
              [](const R& r, IniFile& ini, const QString& s, const QString& key) {
                ini.WriteString(s, key, r.f.UserStpPath);
              },
              [](R& r, const IniFile& ini, const QString& s, const QString& key) {
                r.f.UserStpPath = NormalizePath(
                    ini.ReadString(s, key, InUserFolder(QString::fromLatin1(kDefaultUserSetup))));
              })
          .CustomKey(
              "SaveAsTxtPath",
              [](const R& r, IniFile& ini, const QString& s, const QString& key) {
                ini.WriteString(s, key, r.f.SaveAsTxtPath);
              },
              [](R& r, const IniFile& ini, const QString& s, const QString& key) {
                r.f.SaveAsTxtPath = NormalizePath(
                    ini.ReadString(s, key, InUserFolder(QString::fromLatin1(kDefaultResultsFile))));
              })
          .CustomKey(
              "SeparForTxtSave",
              [](const R& r, IniFile& ini, const QString& s, const QString& key) {
                ini.WriteString(s, key, QString(r.f.SeparForTxtSave));
              },
              [](R& r, const IniFile& ini, const QString& s, const QString& key) {
                // Any separator other than a comma means the point.
                const QString sep = ini.ReadString(s, key, QStringLiteral("."));
                r.f.SeparForTxtSave = sep == QStringLiteral(",") ? QChar(',') : QChar('.');
              })
          // A negative count makes no sense; the series length limits it where it is used.
          .Int(
              "PreTrig", [](R& r) -> int32_t& { return r.f.PreTrig; }, 0, INT32_MAX,
              kPreTrigDefault)
          .Bool("SuspOnLow", [](R& r) -> bool& { return r.f.SuspOnLow; })
          .Bool("sbOneShot", [](R& r) -> bool& { return r.f.sbOneShot; })
          .Bool("miFinishSwp", [](R& r) -> bool& { return r.f.miFinishSwp; })
          .Int(
              "CanHW", [](R& r) -> int32_t& { return r.f.CanHW; }, 0, 1, 0)
          .Int(
              "CanSpeed", [](R& r) -> int32_t& { return r.f.CanSpeed; }, INT32_MIN, INT32_MAX,
              kCanSpeedDefault)
          // The program drives one unit: only its keys are written.
          .Int("RunStatus1", &R::run1, 0, 1)
          .WrittenOnly()
          .Int("SendStatus1", &R::send1, 0, 1)
          .WrittenOnly();
  return keys;
}

}  // namespace

void WriteFrameSetup(IniFile& ini, const TFrameSetup& f, const TStatusAll& run,
                     const TStatusAll& send) {
  FrameKeys().Write(TFrameRec{f, run[1] ? 1 : 0, send[1] ? 1 : 0, 0, 0}, ini, kForm);
}

std::unique_ptr<IniFile> ReadSetupFile(const QString& path, QString& error) {
  error.clear();
  // A folder, device or FIFO is named as what it is (reading a FIFO would block the program),
  // and so is a file too large for a setup.
  const TReadFileResult probe = ProbeRegularFile(path, TFileKind::Setup);
  if (probe.status == TReadFileStatus::Missing) {
    error = QStringLiteral("File \"%1\" not found").arg(path);
    return nullptr;
  }
  if (probe.status == TReadFileStatus::NotRegularFile ||
      probe.status == TReadFileStatus::TooLarge) {
    error = probe.reason;
    return nullptr;
  }
  auto ini = std::make_unique<IniFile>(path);
  if (!ini->ErrorText().isEmpty()) {
    error = QStringLiteral("File \"%1\" cannot be read: %2").arg(path, ini->ErrorText());
    return nullptr;
  }
  return ini;
}

bool HoldsSetup(const IniFile& ini) {
  for (const QString& s : ini.ReadSections()) {
    if (s.compare(kForm, Qt::CaseInsensitive) == 0 ||
        s.compare(QvSetupSection(1), Qt::CaseInsensitive) == 0 ||
        kToolWindowSections.contains(s, Qt::CaseInsensitive) || IsDisplaySection(s))
      return true;
  }
  return false;
}

QString NoSetupText(const QString& path) {
  return QStringLiteral("File \"%1\" holds no setup of this program").arg(path);
}

WindowPos FramePlacement(const WindowPos& workArea) {
  WindowPos p = workArea;
  p.width = std::max(workArea.width - 10, kFrameWindowSizeLimits.minWidth);
  p.height = std::max(workArea.height - 10, kFrameWindowSizeLimits.minHeight);
  return p;
}

void ReadFrameSetup(const IniFile& ini, TFrameSetup& f, int screenWidth, int screenHeight) {
  TFrameRec r{f, 0, 0, screenWidth, screenHeight};
  FrameKeys().Read(r, ini, kForm);
  f = r.f;
}

// ---- files ----------------------------------------------------------------------------------

QString BackupSetupPath(const QString& userFolder, const QDateTime& t) {
  QString folder = userFolder;
  if (!folder.isEmpty() && !folder.endsWith(QChar('/'))) folder += QChar('/');
  return folder + QString::fromLatin1(kBackupSetupFolder) + QChar('/') +
         QString::fromLatin1(kBackupSetupBase) + FileStampSuffix(true, t) + QStringLiteral(".stp");
}

bool IsReadOnlyFile(const QString& path) {
  const QFileInfo fi(path);
  return fi.exists() && fi.isFile() && !(QFile::permissions(path) & QFile::WriteOwner);
}

QString ExitQuestion(const QString& title) {
  return QStringLiteral("Terminate ") + title + QStringLiteral("?") + QStringLiteral("\r\n") +
         QStringLiteral("(Press Abort to terminate without saving setup)");
}

QString TerminateQuestion(const QString& title) {
  return QStringLiteral("Terminating ") + title + QStringLiteral("\r\n") +
         QStringLiteral("(Press Abort or Escape to terminate without saving setup)");
}

TExitChoice AskExit(TAsker& asker, bool abortPgm, bool mustTerminate, bool writeIni,
                    const QString& title) {
  if (abortPgm) return TExitChoice::CloseNoSave;
  if (mustTerminate) {
    const TMsgButton b =
        asker.MessageBox(TerminateQuestion(title), TMsgType::Confirmation, mbOK | mbAbort);
    return b == mbOK ? TExitChoice::CloseSave : TExitChoice::CloseNoSave;
  }
  if (writeIni) {
    const TMsgButton b =
        asker.MessageBox(ExitQuestion(title), TMsgType::Confirmation, mbYes | mbNo | mbAbort);
    if (b == mbYes) return TExitChoice::CloseSave;
    if (b == mbAbort) return TExitChoice::CloseNoSave;
    return TExitChoice::KeepRunning;
  }
  return TExitChoice::CloseNoSave;
}

// ---- the whole setup ------------------------------------------------------------------------

TSetupFiles::TSetupFiles(TSimCore& core, TToolWindows& windows) : Windows(windows), core_(core) {}

void TSetupFiles::SectionFailed(bool writing, const QString& section, const QString& reason) {
  Ask().ShowError(
      QStringLiteral("Section \"%1\" of the setup cannot be %2: %3")
          .arg(section, writing ? QStringLiteral("written") : QStringLiteral("read"), reason));
}

TAsker& TSetupFiles::Ask() const { return asker ? *asker : Asker(); }

bool TSetupFiles::WriteSetup(IniFile& ini, const QString& comment, QString& error) {
  error.clear();
  // Every section but the analyzer sections goes first, so that a section nobody writes any
  // more (a closed display window) does not survive.
  const QStringList sections = ini.ReadSections();
  for (const QString& s : sections) {
    bool analyzer = false;
    for (int n = 1; n <= 1 && !analyzer; ++n)
      analyzer = s.compare(QvSetupSection(n), Qt::CaseInsensitive) == 0;
    if (!analyzer) ini.EraseSection(s);
  }
  TAsker& a = Ask();
  a.ShowBusy(QString::fromLatin1(kWritingSettings), 0, 0);
  if (WriteFrame) WriteFrame(ini);
  core_.Qv.WriteStp(1, ini, comment);
  Windows.WriteAll(ini, [this](const QString& section, const QString& reason) {
    SectionFailed(true, section, reason);
  });
  if (WriteDisplays) WriteDisplays(ini);
  a.HideBusy();
  Comment = comment;
  const bool ok = ini.FileName().isEmpty() ? true : ini.UpdateFile();
  if (!ok)
    error = QStringLiteral("Setup file \"%1\" cannot be written: %2")
                .arg(ini.FileName(), ini.ErrorText());
  return ok;
}

bool TSetupFiles::WriteAutoSetup(QString& error) {
  // An automatic setup the start could not read is never written over (it may still hold the
  // operator's settings): the setup goes into a dated backup instead.
  if (core_.AutoSetupRefused()) {
    QString path;
    return WriteBackup(QDateTime::currentDateTime(), path, error);
  }
  IniFile& ini = core_.AutoIni();
  // A read-only automatic setup is made writable again, so the exit does not lose the setup.
  ClearReadOnly(ini.FileName());
  return WriteSetup(ini, QString::fromLatin1(kAutoSetupComment), error);
}

bool TSetupFiles::WriteBackup(const QDateTime& now, QString& path, QString& error) {
  path = BackupSetupPath(UserFolder(), now);
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) {
    error = QStringLiteral("Folder \"%1\" cannot be created").arg(folder);
    return false;
  }
  // The backup starts from the automatic setup's content so that its analyzer sections are kept,
  // without ever writing the automatic setup itself.
  IniFile ini;
  ini.SetText(core_.AutoIni().Text());
  if (!WriteSetup(ini, QString::fromLatin1(kBackupSetupComment), error)) return false;
  if (!ini.SaveAs(path)) {
    error = QStringLiteral("Setup file \"%1\" cannot be written: %2").arg(path, ini.ErrorText());
    return false;
  }
  return true;
}

QString TSetupFiles::LoadSetup(const IniFile& ini) {
  // A section the file lacks leaves its owner as it is.
  bool displays = false;
  for (const QString& s : ini.ReadSections()) displays = displays || IsDisplaySection(s);
  if (displays) {
    if (CloseDisplays) CloseDisplays();
    if (ResetDisplayDefaults) ResetDisplayDefaults();
  }
  if (ReadFrame && ini.SectionExists(kForm)) ReadFrame(ini);
  QString comment;
  if (ini.SectionExists(QvSetupSection(1))) {
    // The analyzer section sends every setting to the unit; its values are limited on reading.
    comment = core_.Qv.ReadStp(1, ini, &core_.Sync);
    if (AfterAnalyzerRead) AfterAnalyzerRead();
    IniFile& autoIni = core_.AutoIni();
    core_.Qv.WriteStp(1, autoIni, QString::fromLatin1(kAutoSetupComment));
    if (!core_.Headless() && !autoIni.FileName().isEmpty() && !autoIni.UpdateFile())
      Ask().ShowError(QStringLiteral("Setup file \"%1\" cannot be written: %2")
                          .arg(autoIni.FileName(), autoIni.ErrorText()));
    while (core_.Params.SendWaveform(kToutForCycle, !core_.Headless(), true,
                                     QString::fromLatin1(kTitleWaveform)) != 0) {
      if (Ask().MessageBox(QString::fromLatin1(kSettingFail), TMsgType::Error, mbAbort | mbRetry) !=
          mbRetry)
        break;
    }
  }
  // The remembered run and send states come back once every section has been read.
  const TStatusAll run = core_.Cmd.RunStates();
  const TStatusAll send = core_.Cmd.SendStates();
  core_.Cmd.StartStopAll(false, kRunActStop, kToutForCycle, false);
  core_.Cmd.SendHush(false, 0, kToutForCycle, false);
  if (displays && DisplaysFromSetup) DisplaysFromSetup(ini);
  Windows.ReadAll(ini, [this](const QString& section, const QString& reason) {
    SectionFailed(false, section, reason);
  });
  core_.Cmd.SetStates(run, send);
  core_.Cmd.SendHush(false, kActRemembered, kToutForCycle, false);
  core_.Cmd.StartStopAll(false, kActRemembered, kToutForCycle, false);
  if (UpdateSignalBar) UpdateSignalBar();
  // The comment belongs to the analyzer section; without one the last comment stays.
  if (ini.SectionExists(QvSetupSection(1))) Comment = comment;
  return comment;
}

bool TSetupFiles::SaveSetupAs(const QString& path, const QString& comment, QString& error) {
  // A run without a window never writes the automatic setup: its content is brought up to date
  // in a copy, and only the named file is written.
  IniFile autoCopy;
  IniFile* autoIni = &core_.AutoIni();
  if (core_.Headless()) {
    autoCopy.SetText(autoIni->Text());
    autoIni = &autoCopy;
  }
  if (!WriteSetup(*autoIni, comment, error)) return false;
  IniFile file;
  if (!WriteSetup(file, comment, error)) return false;
  // The analyzer section as the automatic setup holds it (reading it sends the settings).
  core_.Qv.ReadStp(1, *autoIni, &core_.Sync);
  core_.Qv.WriteStp(1, file, comment);
  if (!file.SaveAs(path)) {
    error = QStringLiteral("Setup file \"%1\" cannot be written: %2").arg(path, file.ErrorText());
    return false;
  }
  if (UpdateSignalBar) UpdateSignalBar();
  return true;
}

}  // namespace qz
