#pragma once
// What the tool windows ask of the frame window: the parent they live in, the help viewer, the
// Run/Pause command, the signal tool bar's single-shot button, the results-file separator, the
// display windows' redraw and the window's minimising. The frame window implements it.

#include <QChar>
#include <QString>

class QDialog;
class QWidget;

namespace qz {

class TFrameShell {
 public:
  virtual ~TFrameShell() = default;
  // The parent of the tool windows.
  virtual QWidget* Parent() = 0;
  // The help viewer at a topic number or keyword; over a modal dialog it stays usable.
  virtual void ShowHelp(int topic) = 0;
  virtual void ShowHelpKeyword(const QString& keyword) = 0;
  virtual void ShowHelpOver(QDialog* dialog, int topic) = 0;
  // Run/Pause as the operator gives it, and without the hold of a measured scenario play (the
  // play's own use).
  virtual void RunPause() = 0;
  virtual void RunPauseNow() = 0;
  virtual bool IsSweeping() const = 0;
  // The signal tool bar's single-shot button.
  virtual bool SingleShotDown() const = 0;
  virtual void SetSingleShotDown(bool down) = 0;
  // The separator of the results files.
  virtual QChar Separator() const = 0;
  virtual void RedrawDisplays() = 0;
  virtual void Minimise() = 0;
  // The program is being terminated: nothing is saved at exit.
  virtual bool Aborting() const = 0;
};

}  // namespace qz
