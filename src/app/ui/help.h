#pragma once
// The program's help: the help viewer (a tool window made at its first use) at a topic number
// or keyword, and kept usable over a modal dialog while the dialog is open.

#include <QObject>
#include <QString>

class QDialog;
class QWidget;

namespace qz {

class THelpViewer;
struct THelpRequest;
class TToolWindows;

class THelp : public QObject {
 public:
  // frame: the viewer's parent whenever no modal dialog holds it.
  THelp(TToolWindows& windows, QWidget* frame);

  void ShowTopic(int topic);
  void ShowKeyword(const QString& keyword);
  void ShowTopicOver(QDialog* dialog, int topic);
  void ShowKeywordOver(QDialog* dialog, const QString& keyword);
  // The viewer at a row of the help requests, asked for from `from` (nullptr: the active window).
  void ShowRequest(const THelpRequest& row, const QString& anchor, QWidget* from);
  // The viewer (none before its first use).
  THelpViewer* Viewer() const;

 private:
  // A modal dialog blocks every other window of the program: the viewer belongs to the dialog
  // while it is open, and goes back to the frame window when the dialog closes.
  void KeepOver(QDialog* dialog);
  // Shows the viewer beside the asking window, above the stay-on-top windows; a modal dialog
  // open at the time keeps it.
  void Present(QWidget* from);

  TToolWindows& windows_;
  QWidget* frame_;
};

}  // namespace qz
