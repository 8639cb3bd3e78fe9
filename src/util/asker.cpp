#include "util/asker.h"

#include <cstdio>

#include "util/format.h"
#include "util/strtools.h"

namespace qz {

TMsgButton EscapeButton(TMsgButtons buttons) {
  for (TMsgButton b : {mbCancel, mbNo, mbAbort, mbOK, mbIgnore}) {
    if (buttons & b) return b;
  }
  for (unsigned bit = 1; bit <= mbHelp; bit <<= 1) {
    if (buttons & bit) return TMsgButton(bit);
  }
  return mbOK;  // a box without buttons still closes with OK
}

namespace {

const char* TypeWord(TMsgType type) {
  switch (type) {
    case TMsgType::Information:
      return "Information";
    case TMsgType::Warning:
      return "Warning";
    case TMsgType::Error:
      return "Error";
    case TMsgType::Confirmation:
      return "Confirm";
  }
  return "Information";
}

}  // namespace

TAskRecord& TScriptedAsker::Log(TAskRecord::Kind kind, const QString& caption, const QString& text,
                                const QString& extra, int number) {
  TAskRecord r;
  r.kind = kind;
  r.caption = caption;
  r.text = text;
  r.extra = extra;
  r.number = number;
  log.push_back(r);
  return log.back();
}

QString TScriptedAsker::NextFile() {
  if (files_.empty()) return QString();
  const QString f = files_.front();
  files_.pop_front();
  return f;
}

void TScriptedAsker::Print(const QString& line) const {
  if (quiet) return;
  const QByteArray bytes = (line + QChar('\n')).toUtf8();
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
  std::fflush(stderr);
}

TMsgButton TScriptedAsker::MessageBox(const QString& text, TMsgType type, TMsgButtons buttons,
                                      const QString& caption) {
  TAskRecord& r = Log(TAskRecord::Message, caption, text);
  r.type = type;
  r.buttons = buttons;
  TMsgButton answer = EscapeButton(buttons);
  if (!buttons_.empty()) {
    // A queued answer that the box does not offer is taken as Escape.
    const TMsgButton queued = buttons_.front();
    buttons_.pop_front();
    if (buttons & queued) answer = queued;
  }
  Print(Format("%s: %s", {QString::fromLatin1(TypeWord(type)), OneLine(text)}));
  return answer;
}

TInputResult TScriptedAsker::InputText(const QString& title, const QString& prompt,
                                       const QString& initial) {
  Log(TAskRecord::Input, title, prompt, initial);
  if (texts_.empty()) return {initial, false};
  TInputResult a = texts_.front();
  texts_.pop_front();
  if (!a.ok) a.text = initial;
  return a;
}

QString TScriptedAsker::OpenFileName(const QString& title, const QString& initialPath,
                                     const QString& filter) {
  Log(TAskRecord::OpenFile, title, initialPath, filter);
  return NextFile();
}

QString TScriptedAsker::SaveFileName(const QString& title, const QString& initialPath,
                                     const QString& filter, const QString& /*defaultExt*/,
                                     bool /*confirmOverwrite*/) {
  Log(TAskRecord::SaveFile, title, initialPath, filter);
  return NextFile();
}

QString TScriptedAsker::SaveFileNameIndexed(const QString& title, const QString& initialPath,
                                            const QString& filter, const QString& /*defaultExt*/,
                                            int& filterIndex, bool /*confirmOverwrite*/) {
  Log(TAskRecord::SaveFile, title, initialPath, filter, filterIndex);
  const QString f = NextFile();
  if (!filterIndexes_.empty()) {
    if (!f.isEmpty()) filterIndex = filterIndexes_.front();
    filterIndexes_.pop_front();
  }
  return f;
}

QStringList TScriptedAsker::OpenFileNames(const QString& title, const QString& initialPath,
                                          const QString& filter) {
  Log(TAskRecord::OpenFile, title, initialPath, filter, 1);
  if (!fileLists_.empty()) {
    const QStringList l = fileLists_.front();
    fileLists_.pop_front();
    return l;
  }
  const QString f = NextFile();
  return f.isEmpty() ? QStringList() : QStringList{f};
}

void TScriptedAsker::Beep(int freqHz, int ms) {
  Log(TAskRecord::Beep, {}, {}, Format("%d", {ms}), freqHz);
  ++beeps;
}

void TScriptedAsker::Sleep(int ms) {
  Log(TAskRecord::Sleep, {}, {}, {}, ms);
  if (ms > 0) sleptMs += ms;
}

void TScriptedAsker::ShowNotice(const QString& caption, const QString& message, int lifeMs) {
  Log(TAskRecord::Notice, caption, message, {}, lifeMs);
  noticeVisible = true;
  Print(OneLine(message));
}

void TScriptedAsker::HideNotice() { noticeVisible = false; }

void TScriptedAsker::ShowWait(const QString& caption, const QString& message, int animation,
                              int /*lastFrame*/) {
  Log(TAskRecord::Wait, caption, message, {}, animation);
  waitVisible = true;
  Print(OneLine(message));
}

void TScriptedAsker::HideWait() { waitVisible = false; }

void TScriptedAsker::ShowBusy(const QString& caption, int animation, int /*lastFrame*/) {
  Log(TAskRecord::Busy, caption, {}, {}, animation);
  busyVisible = true;
  busyInfo.clear();
}

void TScriptedAsker::SetBusyInfo(const QString& text) {
  Log(TAskRecord::BusyInfo, {}, text);
  busyInfo = text;
}

void TScriptedAsker::HideBusy() {
  busyVisible = false;
  busyInfo.clear();
}

std::vector<TAskRecord> TScriptedAsker::Records(TAskRecord::Kind kind) const {
  std::vector<TAskRecord> out;
  for (const TAskRecord& r : log) {
    if (r.kind == kind) out.push_back(r);
  }
  return out;
}

QString FileFilterToQt(const QString& filter) {
  const QStringList parts = filter.split(QChar('|'));
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString desc = parts[i].trimmed();
    const QString pats = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    if (desc.isEmpty() && pats.isEmpty()) continue;
    if (pats.isEmpty()) {
      out << desc;
      continue;
    }
    // The description's own pattern list, if any, is replaced by the real one.
    if (desc.endsWith(QChar(')'))) {
      const qsizetype open = desc.lastIndexOf(QChar('('));
      if (open >= 0) desc = desc.left(open).trimmed();
    }
    QStringList list;
    for (const QString& p : pats.split(QChar(';'))) {
      if (!p.trimmed().isEmpty()) list << p.trimmed();
    }
    if (desc.isEmpty()) desc = list.join(QChar(' '));
    out << desc + QStringLiteral(" (") + list.join(QChar(' ')) + QChar(')');
  }
  return out.join(QStringLiteral(";;"));
}

namespace {

TAsker* g_asker = nullptr;

TScriptedAsker& DefaultAsker() {
  static TScriptedAsker a;
  // The default never keeps what it was asked: a long headless run must not grow a log.
  a.log.clear();
  return a;
}

}  // namespace

TAsker& Asker() {
  if (g_asker) return *g_asker;
  return DefaultAsker();
}

TAsker* SetAsker(TAsker* asker) {
  TAsker* previous = g_asker;
  g_asker = asker;
  return previous;
}

bool TScriptedAsker::AskColor(TColor& color) {
  Log(TAskRecord::Color, {}, {}, {}, int(color));
  if (colors_.empty()) return false;
  color = colors_.front();
  colors_.pop_front();
  return true;
}

bool TScriptedAsker::AskFont(TFontRec& font) {
  Log(TAskRecord::Font, {}, font.Name, {}, font.Size);
  if (fonts_.empty()) return false;
  font = fonts_.front();
  fonts_.pop_front();
  return true;
}

}  // namespace qz
