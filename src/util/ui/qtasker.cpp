#include "util/ui/qtasker.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>

#include "util/ui/beep.h"
#include "util/ui/cakaj.h"
#include "util/ui/dialogparent.h"
#include "util/ui/inputform.h"
#include "util/ui/msgform.h"
#include "util/ui/qcolor.h"
#include "util/ui/robimm.h"

namespace qz {

namespace {

struct ButtonMap {
  TMsgButton ours;
  QMessageBox::StandardButton qt;
};

constexpr ButtonMap kButtons[] = {
    {mbYes, QMessageBox::Yes},       {mbNo, QMessageBox::No},       {mbOK, QMessageBox::Ok},
    {mbCancel, QMessageBox::Cancel}, {mbAbort, QMessageBox::Abort}, {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore}, {mbHelp, QMessageBox::Help},
};

QMessageBox::StandardButton ToQt(TMsgButton b) {
  for (const ButtonMap& m : kButtons) {
    if (m.ours == b) return m.qt;
  }
  return QMessageBox::Ok;
}

QString TypeCaption(TMsgType type) {
  switch (type) {
    case TMsgType::Information:
      return QStringLiteral("Information");
    case TMsgType::Warning:
      return QStringLiteral("Warning");
    case TMsgType::Error:
      return QStringLiteral("Error");
    case TMsgType::Confirmation:
      return QStringLiteral("Confirm");
  }
  return QString();
}

QMessageBox::Icon TypeIcon(TMsgType type) {
  switch (type) {
    case TMsgType::Information:
      return QMessageBox::Information;
    case TMsgType::Warning:
      return QMessageBox::Warning;
    case TMsgType::Error:
      return QMessageBox::Critical;
    case TMsgType::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Texts of the program break lines with CR LF.
QString ShownText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

}  // namespace

TQtAsker::TQtAsker() : sleeper([](int ms) { QThread::msleep(ms > 0 ? unsigned(ms) : 0u); }) {}

TQtAsker::~TQtAsker() {
  delete notice_.data();
  delete wait_.data();
  delete busy_.data();
}

TMsgForm* TQtAsker::Notice() const { return notice_.data(); }
TCakaj* TQtAsker::Waiting() const { return wait_.data(); }
TRobimM* TQtAsker::Busy() const { return busy_.data(); }

TMsgButton TQtAsker::MessageBox(const QString& text, TMsgType type, TMsgButtons buttons,
                                const QString& caption) {
  if (buttons == mbNone) buttons = mbOK;
  QMessageBox box(TypeIcon(type), caption.isEmpty() ? TypeCaption(type) : caption, ShownText(text),
                  QMessageBox::NoButton, DialogParent());
  KeepAboveTools(&box);
  box.setTextFormat(Qt::PlainText);
  for (const ButtonMap& m : kButtons) {
    if (buttons & m.ours) box.addButton(m.qt);
  }
  // The first of Yes, OK, Retry is the default; Escape gives the box's cancel-like button.
  for (TMsgButton b : {mbYes, mbOK, mbRetry}) {
    if (buttons & b) {
      box.setDefaultButton(ToQt(b));
      break;
    }
  }
  box.setEscapeButton(ToQt(EscapeButton(buttons)));
  ExecAbove(box);
  QAbstractButton* clicked = box.clickedButton();
  for (const ButtonMap& m : kButtons) {
    if ((buttons & m.ours) && clicked == box.button(m.qt)) return m.ours;
  }
  return EscapeButton(buttons);
}

TInputResult TQtAsker::InputText(const QString& title, const QString& prompt,
                                 const QString& initial) {
  TInputForm form(DialogParent());
  form.Setup(title, prompt, initial);
  const bool ok = ExecAbove(form) == QDialog::Accepted;
  return {ok ? form.Text() : initial, ok};
}

namespace {

// filterIndex (1: the first filter), when given, selects the filter and receives the chosen one.
QStringList RunFileDialogAll(QFileDialog& dlg, const QString& initialPath, const QString& filter,
                             int* filterIndex = nullptr) {
  KeepAboveTools(&dlg);
  const QString qtFilter = FileFilterToQt(filter);
  if (!qtFilter.isEmpty()) dlg.setNameFilter(qtFilter);
  const QStringList filters = dlg.nameFilters();
  if (filterIndex && *filterIndex >= 1 && *filterIndex <= filters.size()) {
    dlg.selectNameFilter(filters[*filterIndex - 1]);
    emit dlg.filterSelected(filters[*filterIndex - 1]);
  }
  if (!initialPath.isEmpty()) {
    const QFileInfo fi(initialPath);
    if (fi.isDir()) {
      dlg.setDirectory(fi.absoluteFilePath());
    } else {
      dlg.setDirectory(fi.absolutePath());
      dlg.selectFile(fi.fileName());
    }
  }
  if (ExecAbove(dlg) != QDialog::Accepted) return QStringList();
  if (filterIndex) {
    const qsizetype chosen = filters.indexOf(dlg.selectedNameFilter());
    if (chosen >= 0) *filterIndex = int(chosen) + 1;
  }
  return dlg.selectedFiles();
}

QString RunFileDialog(QFileDialog& dlg, const QString& initialPath, const QString& filter,
                      int* filterIndex = nullptr) {
  const QStringList files = RunFileDialogAll(dlg, initialPath, filter, filterIndex);
  return files.isEmpty() ? QString() : files.first();
}

}  // namespace

QString TQtAsker::OpenFileName(const QString& title, const QString& initialPath,
                               const QString& filter) {
  QFileDialog dlg(DialogParent(), title);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dlg, initialPath, filter);
}

QStringList TQtAsker::OpenFileNames(const QString& title, const QString& initialPath,
                                    const QString& filter) {
  QFileDialog dlg(DialogParent(), title);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFiles);
  return RunFileDialogAll(dlg, initialPath, filter);
}

QString TQtAsker::SaveFileName(const QString& title, const QString& initialPath,
                               const QString& filter, const QString& defaultExt,
                               bool confirmOverwrite) {
  QFileDialog dlg(DialogParent(), title);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setDefaultSuffix(defaultExt);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
  return RunFileDialog(dlg, initialPath, filter);
}

QString TQtAsker::SaveFileNameIndexed(const QString& title, const QString& initialPath,
                                      const QString& filter, const QString& defaultExt,
                                      int& filterIndex, bool confirmOverwrite) {
  QFileDialog dlg(DialogParent(), title);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
  // The extension of a filter's first pattern ("GIF file (*.gif)" gives "gif").
  auto suffixOf = [&](const QString& f) {
    const qsizetype star = f.indexOf(QStringLiteral("*."));
    if (star < 0) return defaultExt;
    QString ext = f.mid(star + 2);
    const qsizetype end = ext.indexOf(QRegularExpression(QStringLiteral("[ ;)]")));
    if (end >= 0) ext = ext.left(end);
    return ext == QStringLiteral("*") ? QString() : ext;
  };
  dlg.setDefaultSuffix(defaultExt);
  QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                   [&](const QString& f) { dlg.setDefaultSuffix(suffixOf(f)); });
  return RunFileDialog(dlg, initialPath, filter, &filterIndex);
}

void TQtAsker::Beep(int freqHz, int ms) { ::qz::Beep(freqHz, ms); }

void TQtAsker::Sleep(int ms) {
  if (sleeper) sleeper(ms);
}

void TQtAsker::ShowNotice(const QString& caption, const QString& message, int lifeMs) {
  if (!notice_) notice_ = new TMsgForm(DialogParent());
  notice_->LifeTimeMs = lifeMs;
  notice_->SetMessage(caption, message);
  notice_->ShowNow();
}

void TQtAsker::HideNotice() {
  // The notice lives only for its call.
  if (notice_) {
    notice_->hide();
    delete notice_.data();
  }
}

void TQtAsker::ShowWait(const QString& caption, const QString& message, int animation,
                        int lastFrame) {
  if (!wait_) wait_ = new TCakaj(DialogParent());
  wait_->ShowWait(caption, message, animation, lastFrame);
}

void TQtAsker::HideWait() { delete wait_.data(); }

void TQtAsker::ShowBusy(const QString& caption, int animation, int lastFrame) {
  if (!busy_) busy_ = new TRobimM(DialogParent());
  busy_->ShowBusy(caption, animation, lastFrame);
}

void TQtAsker::SetBusyInfo(const QString& text) {
  if (busy_) busy_->SetInfo(text);
}

void TQtAsker::HideBusy() { delete busy_.data(); }

bool TQtAsker::AskColor(TColor& color) {
  QColorDialog dlg(ToQColor(color), DialogParent());
  if (ExecAbove(dlg) != QDialog::Accepted) return false;
  const QColor c = dlg.selectedColor();
  if (!c.isValid()) return false;
  color = RgbColor(c.red(), c.green(), c.blue());
  return true;
}

bool TQtAsker::AskFont(TFontRec& font) {
  QFont initial(font.Name);
  initial.setPointSize(font.Size);
  initial.setBold(font.Bold);
  initial.setItalic(font.Italic);
  initial.setUnderline(font.Underline);
  QFontDialog dlg(initial, DialogParent());
  if (ExecAbove(dlg) != QDialog::Accepted) return false;
  const QFont f = dlg.selectedFont();
  font.Name = f.family();
  font.Size = f.pointSize() > 0 ? f.pointSize() : font.Size;
  font.Bold = f.bold();
  font.Italic = f.italic();
  font.Underline = f.underline();
  return true;
}

}  // namespace qz
