#pragma once
// The one way the program talks to the operator: message boxes, yes/no questions, text entries,
// file choices, the beep, transient notices and the waiting and busy windows.
//
// Windows install the Qt implementation at start-up; tests and headless runs use the scripted
// implementation, which answers from queues (or with the safe default) and never blocks, so no
// part of the program ever waits on a modal dialog nobody can see.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "util/colors.h"
#include "util/fontrec.h"

namespace qz {

// The look of a message box (its icon and default caption).
enum class TMsgType { Information, Warning, Error, Confirmation };

// Turns a file filter of description and pattern pairs ("Text file (*.txt, *.log)|*.txt;*.log|
// Any file (*.*)|*.*") into the form of the Qt file dialogs ("Text file (*.txt *.log);;Any file
// (*.*)"): the patterns of each pair replace any given in its description. Empty gives "".
QString FileFilterToQt(const QString& filter);

// Buttons of a message box; a set of buttons is the bitwise or of these values.
enum TMsgButton : unsigned {
  mbNone = 0,
  mbOK = 1u << 0,
  mbCancel = 1u << 1,
  mbYes = 1u << 2,
  mbNo = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbHelp = 1u << 7,
};
using TMsgButtons = unsigned;

// The button that Escape (or closing the box) stands for: Cancel, else No, else Abort, else OK,
// else Ignore, else the first button of the set. A box always has an answer.
TMsgButton EscapeButton(TMsgButtons buttons);

// Result of a text entry: the text and whether the operator confirmed it with OK. On Cancel the
// text is the initial one.
struct TInputResult {
  QString text;
  bool ok = false;
};

class TAsker {
 public:
  virtual ~TAsker() = default;

  // A modal message box with the exact text; returns the button pressed. An empty caption gives
  // the program's caption for the type.
  virtual TMsgButton MessageBox(const QString& text, TMsgType type, TMsgButtons buttons,
                                const QString& caption = QString()) = 0;
  // A modal text entry dialog with a title, a prompt and an initial text.
  virtual TInputResult InputText(const QString& title, const QString& prompt,
                                 const QString& initial) = 0;
  // File choices; an empty result means the operator cancelled. `filter` has the form
  // "Text file (*.txt)|*.txt|Any file (*.*)|*.*" (description and patterns in pairs).
  virtual QString OpenFileName(const QString& title, const QString& initialPath,
                               const QString& filter) = 0;
  virtual QString SaveFileName(const QString& title, const QString& initialPath,
                               const QString& filter, const QString& defaultExt,
                               bool confirmOverwrite = true) = 0;

  // A tone of the given frequency (Hz) and length (ms), or the nearest the platform offers;
  // Beep(0, 0) is the system's default beep (a refused entry, a failed drawing set-up).
  virtual void Beep(int freqHz, int ms) = 0;
  // Blocks the user-interface thread for ms milliseconds (the transient notice's display time).
  virtual void Sleep(int ms) = 0;

  // The transient notice window: shown and painted at once, hidden by HideNotice. lifeMs is
  // the time the caller will Sleep while it is up.
  virtual void ShowNotice(const QString& caption, const QString& message, int lifeMs) = 0;
  virtual void HideNotice() = 0;

  // The waiting window (caption already defaulted by the caller) and the busy window. A second
  // show reuses the window that is up.
  virtual void ShowWait(const QString& caption, const QString& message, int animation,
                        int lastFrame) = 0;
  virtual void HideWait() = 0;
  virtual void ShowBusy(const QString& caption, int animation, int lastFrame) = 0;
  virtual void SetBusyInfo(const QString& text) = 0;
  virtual void HideBusy() = 0;

  // Conveniences over MessageBox.
  void ShowInfo(const QString& text) { MessageBox(text, TMsgType::Information, mbOK); }
  void ShowWarning(const QString& text) { MessageBox(text, TMsgType::Warning, mbOK); }
  void ShowError(const QString& text) { MessageBox(text, TMsgType::Error, mbOK); }
  // A Yes/No confirmation with the exact text (no question mark added); true on Yes.
  bool Confirm(const QString& text) {
    return MessageBox(text, TMsgType::Confirmation, mbYes | mbNo) == mbYes;
  }

  // ---- colour and font choices -------------------------------------------------------------
  // A colour dialog starting at `color`; true with the chosen colour, false when cancelled.
  virtual bool AskColor(TColor& color) {
    (void)color;
    return false;
  }
  // A font dialog starting at `font` (name, size, style, colour); true with the choice.
  virtual bool AskFont(TFontRec& font) {
    (void)font;
    return false;
  }

  // A save dialog that opens with the filter of index `filterIndex` (1: the first pair) and
  // returns in it the filter the operator chose (unchanged when the dialog cannot tell).
  virtual QString SaveFileNameIndexed(const QString& title, const QString& initialPath,
                                      const QString& filter, const QString& defaultExt,
                                      int& filterIndex, bool confirmOverwrite = true) {
    (void)filterIndex;
    return SaveFileName(title, initialPath, filter, defaultExt, confirmOverwrite);
  }

  // An open dialog in which several existing files may be chosen at once; an empty list means
  // the operator cancelled. Without a dialog of its own an asker offers its single-file one.
  virtual QStringList OpenFileNames(const QString& title, const QString& initialPath,
                                    const QString& filter) {
    const QString f = OpenFileName(title, initialPath, filter);
    return f.isEmpty() ? QStringList() : QStringList{f};
  }
};

// What the scripted asker was asked, in order, so tests can check texts and captions.
struct TAskRecord {
  enum Kind {
    Message,
    Input,
    OpenFile,
    SaveFile,
    Beep,
    Sleep,
    Notice,
    Wait,
    Busy,
    BusyInfo,
    Color,
    Font
  };
  Kind kind = Message;
  QString caption;  // caption or title
  QString text;     // message, prompt, initial path or notice
  QString extra;    // input: initial text; file: filter; wait: message
  TMsgType type = TMsgType::Information;
  TMsgButtons buttons = mbNone;
  int number = 0;  // beep: frequency; sleep: ms; wait/busy: animation; open file: 1 for several
};

// Answers from queues, or the safe default when a queue is empty: the Escape button of a
// message box, Cancel for a text entry, no file for a file choice. Message texts go to stderr
// unless `quiet` is set. Beeps and sleeps are recorded and return at once.
class TScriptedAsker : public TAsker {
 public:
  TMsgButton MessageBox(const QString& text, TMsgType type, TMsgButtons buttons,
                        const QString& caption = QString()) override;
  TInputResult InputText(const QString& title, const QString& prompt,
                         const QString& initial) override;
  QString OpenFileName(const QString& title, const QString& initialPath,
                       const QString& filter) override;
  QString SaveFileName(const QString& title, const QString& initialPath, const QString& filter,
                       const QString& defaultExt, bool confirmOverwrite = true) override;
  void Beep(int freqHz, int ms) override;
  void Sleep(int ms) override;
  void ShowNotice(const QString& caption, const QString& message, int lifeMs) override;
  void HideNotice() override;
  void ShowWait(const QString& caption, const QString& message, int animation,
                int lastFrame) override;
  void HideWait() override;
  void ShowBusy(const QString& caption, int animation, int lastFrame) override;
  void SetBusyInfo(const QString& text) override;
  void HideBusy() override;

  // Queued answers, taken front first.
  void QueueButton(TMsgButton b) { buttons_.push_back(b); }
  void QueueText(const QString& text) { texts_.push_back({text, true}); }
  void QueueCancel() { texts_.push_back({QString(), false}); }
  void QueueFile(const QString& path) { files_.push_back(path); }

  bool quiet = false;
  std::vector<TAskRecord> log;
  int beeps = 0;
  int64_t sleptMs = 0;
  bool noticeVisible = false;
  bool waitVisible = false;
  bool busyVisible = false;
  QString busyInfo;

  // Records of one kind, in order.
  std::vector<TAskRecord> Records(TAskRecord::Kind kind) const;

  // ---- colour and font choices: queued answers, cancel when none ---------------------------
  bool AskColor(TColor& color) override;
  bool AskFont(TFontRec& font) override;
  void QueueColor(TColor c) { colors_.push_back(c); }
  void QueueFont(const TFontRec& f) { fonts_.push_back(f); }

  // ---- save dialog with a filter index: the record's number is the index it opened with ----
  QString SaveFileNameIndexed(const QString& title, const QString& initialPath,
                              const QString& filter, const QString& defaultExt, int& filterIndex,
                              bool confirmOverwrite = true) override;
  // The filter the next indexed save dialog returns (none queued: the one it opened with).
  void QueueFilterIndex(int index) { filterIndexes_.push_back(index); }

  // ---- open dialog for several files: an OpenFile record with number 1 ---------------------
  // Answers with the next queued list, else with the next queued single file (or none).
  QStringList OpenFileNames(const QString& title, const QString& initialPath,
                            const QString& filter) override;
  void QueueFiles(const QStringList& paths) { fileLists_.push_back(paths); }

 private:
  std::deque<QStringList> fileLists_;
  std::deque<TColor> colors_;
  std::deque<TFontRec> fonts_;
  std::deque<int> filterIndexes_;

  void Print(const QString& line) const;
  // Adds a record of what was asked and returns it.
  TAskRecord& Log(TAskRecord::Kind kind, const QString& caption = {}, const QString& text = {},
                  const QString& extra = {}, int number = 0);
  // The next queued file name, or none.
  QString NextFile();

  std::deque<TMsgButton> buttons_;
  std::deque<TInputResult> texts_;
  std::deque<QString> files_;
};

// The installed asker; a program-wide scripted one (messages to stderr) until a window program
// installs its own.
TAsker& Asker();
// Installs an asker (not owned); nullptr restores the program-wide scripted one. Returns the
// previous one (nullptr when that was the default).
TAsker* SetAsker(TAsker* asker);

// Installs an asker for the lifetime of the guard and restores the previous one afterwards.
class TScopedAsker {
 public:
  explicit TScopedAsker(TAsker* asker) : previous_(SetAsker(asker)) {}
  ~TScopedAsker() { SetAsker(previous_); }
  TScopedAsker(const TScopedAsker&) = delete;
  TScopedAsker& operator=(const TScopedAsker&) = delete;

 private:
  TAsker* previous_;
};

}  // namespace qz
