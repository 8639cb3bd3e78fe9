#pragma once
// The asker of the window program: real message boxes, the text entry dialog, file dialogs, the
// notice, waiting and busy windows and the beep.

#include <QPointer>
#include <functional>

#include "util/asker.h"

class QWidget;

namespace qz {

class TCakaj;
class TMsgForm;
class TRobimM;

class TQtAsker : public TAsker {
 public:
  TQtAsker();
  ~TQtAsker() override;

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

  // What Sleep does; the thread's sleep by default (tests put a recorder here).
  std::function<void(int)> sleeper;

  // The windows that are up (null when none).
  TMsgForm* Notice() const;
  TCakaj* Waiting() const;
  TRobimM* Busy() const;

  // ---- colour and font choices (the Qt colour and font dialogs) -----------------------------
  bool AskColor(TColor& color) override;
  bool AskFont(TFontRec& font) override;
  // The save dialog with the filter of the index selected; a name typed without an extension
  // takes the selected filter's one.
  QString SaveFileNameIndexed(const QString& title, const QString& initialPath,
                              const QString& filter, const QString& defaultExt, int& filterIndex,
                              bool confirmOverwrite = true) override;
  // The open dialog with several existing files to choose.
  QStringList OpenFileNames(const QString& title, const QString& initialPath,
                            const QString& filter) override;

 private:
  QPointer<TMsgForm> notice_;
  QPointer<TCakaj> wait_;
  QPointer<TRobimM> busy_;
};

}  // namespace qz
