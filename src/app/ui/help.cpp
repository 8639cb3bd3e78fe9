#include "app/ui/help.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include "app/toolwindows.h"
#include "app/ui/helpviewer.h"

namespace qz {

THelp::THelp(TToolWindows& windows, QWidget* frame)
    : QObject(frame), windows_(windows), frame_(frame) {}

THelpViewer* THelp::Viewer() const {
  return windows_.Window<THelpViewer>(QString::fromLatin1(kHelpViewerSection));
}

void THelp::ShowTopic(int topic) {
  windows_.CreateOne(QString::fromLatin1(kHelpViewerSection), nullptr);
  if (THelpViewer* help = Viewer()) {
    help->ShowTopic(topic);
    Present(nullptr);
  }
}

void THelp::ShowKeyword(const QString& keyword) {
  windows_.CreateOne(QString::fromLatin1(kHelpViewerSection), nullptr);
  if (THelpViewer* help = Viewer()) {
    help->ShowKeyword(keyword);
    Present(nullptr);
  }
}

void THelp::ShowRequest(const THelpRequest& row, const QString& anchor, QWidget* from) {
  windows_.CreateOne(QString::fromLatin1(kHelpViewerSection), nullptr);
  if (THelpViewer* help = Viewer()) {
    help->ShowRequest(row, anchor);
    Present(from);
  }
}

void THelp::Present(QWidget* from) {
  THelpViewer* help = Viewer();
  if (!help) return;
  if (!from) from = QApplication::activeWindow();
  if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) KeepOver(d);
  help->Present(from && from->window() != help ? from : nullptr);
}

void THelp::ShowTopicOver(QDialog* dialog, int topic) {
  ShowTopic(topic);
  KeepOver(dialog);
}

void THelp::ShowKeywordOver(QDialog* dialog, const QString& keyword) {
  ShowKeyword(keyword);
  KeepOver(dialog);
}

void THelp::KeepOver(QDialog* dialog) {
  const QPointer<THelpViewer> help = Viewer();
  if (!help || !dialog || !dialog->isVisible() || !dialog->isModal()) return;
  if (help->parentWidget() == dialog) return;
  const QPoint at = help->pos();
  help->setParent(dialog, help->windowFlags());
  help->move(at);
  help->show();
  connect(
      dialog, &QDialog::finished, this,
      [this] {
        THelpViewer* viewer = Viewer();
        if (!viewer) return;
        const bool shown = viewer->isVisible();
        const QPoint pos = viewer->pos();
        viewer->setParent(frame_, viewer->windowFlags());
        viewer->move(pos);
        viewer->setVisible(shown);
      },
      Qt::SingleShotConnection);
}

}  // namespace qz
