#include "app/xfercmds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include "comm/errcodes.h"
#include "core/qvwin.h"
#include "util/atomicfile.h"
#include "util/fileops.h"
#include "util/folders.h"
#include "util/readfile.h"
#include "util/valueinput.h"

namespace qz {

namespace {

// The message panel while files go to the unit.
constexpr const char* kWaitMessage = "WAIT";
// The object named when the unit refuses a server command.
constexpr const char* kServerObject = "Quzar Server";

QString WriteErrorText(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot write file \"%1\".\r\n%2").arg(path, reason);
}

}  // namespace

void TXferCmds::RestoreRunState() { cmd_.StartStopAll(true, kActRemembered, kToutForCycle, false); }

bool TXferCmds::ServerCommand(const QString& name, uint8_t code) {
  const int32_t r = cmd_.ServerControl(code);
  cmd_.ShowCmdResult(name, r);
  if (r == kCmdOk) return true;
  Ask().ShowError(ErrorMessage(QString::fromLatin1(kServerObject), uint32_t(r)));
  return false;
}

// ---- sending ------------------------------------------------------------------------------

bool TXferCmds::SendToQuzar() {
  lastSend_.clear();
  const QStringList files = Ask().OpenFileNames(QString::fromLatin1(kSendTitle), UserFolder(),
                                                QString::fromLatin1(kSendFilter));
  if (files.isEmpty()) {
    Ask().ShowInfo(QString::fromLatin1(kNoFilesSelected));
    return false;
  }
  if (!cmd_.StopUnit()) return false;
  // The unit's start-up files change how it boots: each one needs the operator's word, and a
  // No sends nothing at all. The unit then runs on as it did.
  for (const QString& f : files) {
    const QString name = SendName(f);
    if (SendNeedsConfirm(name) && !AskYesNo(SendConfirmText(name), Ask())) {
      RestoreRunState();
      return false;
    }
  }
  Ask().ShowBusy(QString::fromLatin1(kSendBusyCaption), kBusyAnimFiles, 0);
  SetMessage(QString::fromLatin1(kWaitMessage));
  lastSend_ = RunSendPlan(
      files,
      [this](const QString& local, const QString& unit) { return cmd_.SendFile(local, unit); },
      [this](int i, int n, const QString& path) {
        const QString t = SendProgressText(i, n, path);
        Ask().SetBusyInfo(t);
        SetStatusText(t);
      });
  Ask().HideBusy();
  RestoreRunState();
  Ask().ShowInfo(SendReportText(lastSend_));
  if (port_) port_->ClearStatus();
  return true;
}

// ---- receiving ----------------------------------------------------------------------------

bool TXferCmds::PlaceReceived(const QString& tempPath, const QString& localPath, QString& reason) {
  const TReadFileResult in = ReadRegularFile(tempPath, TFileKind::Other);
  if (!in.ok()) {
    reason = in.reason;
    return false;
  }
  const QByteArray& bytes = in.bytes;
  // The operator's file becomes the ".bak" one (an older backup replaced) only together with
  // the new file: a copy first, so the file stays whole under its name if anything fails.
  const QString bak = ChangeExt(localPath, QStringLiteral("bak"));
  if (QFileInfo::exists(localPath) &&
      QFileInfo(bak).absoluteFilePath() != QFileInfo(localPath).absoluteFilePath()) {
    const TReadFileResult old = ReadRegularFile(localPath, TFileKind::Other);
    if (!old.ok()) {
      reason = old.reason;
      return false;
    }
    const AtomicWriteResult b = WriteFileAtomic(bak, old.bytes);
    if (!b.ok()) {
      reason = bak + QStringLiteral(": ") + b.reason;
      return false;
    }
  }
  const AtomicWriteResult w = WriteFileAtomic(localPath, bytes);
  if (!w.ok()) {
    reason = w.reason;
    return false;
  }
  return true;
}

bool TXferCmds::LoadFromQuzar() {
  int filterIndex = 1;
  const QString chosen = Ask().SaveFileNameIndexed(
      QString::fromLatin1(kReceiveTitle), UserFolder() + QString::fromLatin1(kReceivePreset),
      QString::fromLatin1(kReceiveFilter), QString(), filterIndex, true);
  if (chosen.isEmpty()) return false;
  const QString name = ReceiveName(filterIndex, chosen);
  const QString local = ReceiveLocalPath(chosen, name);
  const QString unit = ReceiveUnitPath(name);
  if (IsNonRegularFile(local)) {
    Ask().ShowError(WriteErrorText(local, NotRegularFileText(local)));
    return false;
  }
  // The dialog asked about the name typed only; a file of the filter's name is not replaced
  // unasked.
  if (QFileInfo(local).absoluteFilePath() != QFileInfo(NormalizePath(chosen)).absoluteFilePath() &&
      QFileInfo::exists(local) &&
      !AskYesNo(local + QStringLiteral(" already exists. Replace it"), Ask()))
    return false;
  // The unit's file arrives beside its place and takes it only when it came whole.
  QTemporaryFile temp(SplitFileName(local).folder + QChar('.') + name +
                      QStringLiteral(".XXXXXX.qzrecv"));
  if (!temp.open()) {
    Ask().ShowError(WriteErrorText(local, temp.errorString()));
    return false;
  }
  temp.close();
  if (!cmd_.StopUnit()) return false;
  Ask().ShowBusy(QString::fromLatin1(kReceiveBusyCaption), kBusyAnimFile, 0);
  Ask().SetBusyInfo(ReceiveBusyText(unit));
  const int32_t code = cmd_.ReceiveFile(unit, temp.fileName());
  Ask().HideBusy();
  RestoreRunState();
  if (code != kCmdOk) {
    Ask().ShowWarning(ReceiveResultText(name, code));
    return false;
  }
  QString reason;
  if (!PlaceReceived(temp.fileName(), local, reason)) {
    Ask().ShowError(name + QStringLiteral(" transfer FAIL:  ") + reason);
    return false;
  }
  Ask().ShowInfo(ReceiveResultText(name, code));
  return true;
}

// ---- file list ----------------------------------------------------------------------------

bool TXferCmds::MakeFileList() {
  QString folder = UserFolder() + QString::fromLatin1(kFileListFolder) + QChar('/');
  if (!QDir().mkpath(folder)) folder = UserFolder();
  const QString path = Ask().SaveFileName(
      QString::fromLatin1(kFileListTitle), folder + QString::fromLatin1(kFileListName),
      QString::fromLatin1(kFileListFilter), QStringLiteral("txt"), true);
  if (path.isEmpty()) return false;
  const AtomicWriteResult w = WriteFileAtomic(path, FileListBytes());
  if (!w.ok()) {
    Ask().ShowError(WriteErrorText(path, w.reason));
    return false;
  }
  return true;
}

// ---- server commands ----------------------------------------------------------------------

bool TXferCmds::SwitchServer(int modeIndex) {
  const TServerMode& m = ServerMode(modeIndex);
  if (Ask().MessageBox(SwitchServerText(QString::fromLatin1(m.name)), TMsgType::Confirmation,
                       mbOK | mbCancel) != mbOK)
    return false;
  // A unit that refused keeps its server: the program then has no reason to end.
  if (!ServerCommand(QStringLiteral("Switch Server"), m.code)) return false;
  if (port_) port_->Terminate();
  return true;
}

bool TXferCmds::RestartServer() {
  if (!AskYesNo(QString::fromLatin1(kRestartServerText), Ask())) return false;
  return ServerCommand(QStringLiteral("Restart Server"), kSrvRestart);
}

bool TXferCmds::HaltServer() {
  if (!AskYesNo(QString::fromLatin1(kHaltServerText), Ask())) return false;
  return ServerCommand(QStringLiteral("Halt Server"), kSrvHaltToDownload);
}

void TXferCmds::NotApplicable() { Ask().ShowInfo(QString::fromLatin1(kNotInSimulation)); }

}  // namespace qz
