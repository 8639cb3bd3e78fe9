// Message boxes of the window program: a yes/no question answered with a click.
#include "util/ui/qtasker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "util/ui/dialogdriver.h"
#include "util/valueinput.h"

namespace qz {
namespace {

using testing::WhenModal;

TEST(QtAskerWindow, YesNoQuestionAnsweredYes) {
  TQtAsker asker;
  QString text;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    text = b->text();
    b->button(QMessageBox::Yes)->click();
  });
  EXPECT_TRUE(AskYesNo(QStringLiteral("Save setup"), asker));
  EXPECT_EQ(text, QStringLiteral("Save setup?"));
}

TEST(QtAskerWindow, EscapeAnswersTheCancelLikeButton) {
  TQtAsker asker;
  WhenModal<QMessageBox>([&](QMessageBox* b) { b->reject(); });
  EXPECT_EQ(
      asker.MessageBox(QStringLiteral("Quzar setting fail."), TMsgType::Error, mbAbort | mbRetry),
      mbAbort);
}

TEST(QtAskerWindow, RetryClickedAndCaptionByType) {
  TQtAsker asker;
  QString caption;
  WhenModal<QMessageBox>([&](QMessageBox* b) {
    caption = b->windowTitle();
    b->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(asker.MessageBox(QStringLiteral("x\r\ny"), TMsgType::Error, mbAbort | mbRetry),
            mbRetry);
  EXPECT_EQ(caption, QStringLiteral("Error"));
}

TEST(QtAskerWindow, SaveDialogOpensWithTheFilterOfItsIndexAndReturnsTheChosenOne) {
  TQtAsker asker;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QString opened, suffixAtOpen, suffixAfter;
  WhenModal<QFileDialog>([&](QFileDialog* d) {
    opened = d->selectedNameFilter();
    suffixAtOpen = d->defaultSuffix();
    // The operator picks the third filter and types a name without an extension.
    d->selectNameFilter(d->nameFilters()[2]);
    emit d->filterSelected(d->nameFilters()[2]);
    suffixAfter = d->defaultSuffix();
    d->selectFile(QDir(dir.path()).filePath(QStringLiteral("plot")));
    static_cast<QDialog*>(d)->accept();
  });
  int index = 2;
  const QString path = asker.SaveFileNameIndexed(
      QStringLiteral("Save Picture"), QDir(dir.path()).filePath(QStringLiteral("1.gif")),
      QStringLiteral("Bitmap file (*.bmp)|*.bmp|GIF file (*.gif)|*.gif|JPEG file (*.jpg)|*.jpg"),
      QStringLiteral("gif"), index);
  EXPECT_EQ(opened, QStringLiteral("GIF file (*.gif)"));
  EXPECT_EQ(suffixAtOpen, QStringLiteral("gif"));
  EXPECT_EQ(suffixAfter, QStringLiteral("jpg"));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("plot.jpg"));
}

TEST(QtAskerWindow, OpenDialogForSeveralFilesReturnsEveryChosenFile) {
  TQtAsker asker;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* n : {"a.cfg", "b.cfg"}) {
    QFile f(QDir(dir.path()).filePath(QString::fromLatin1(n)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  WhenModal<QFileDialog>([&](QFileDialog* d) {
    mode = d->fileMode();
    d->selectFile(QStringLiteral("\"a.cfg\" \"b.cfg\""));
    static_cast<QDialog*>(d)->accept();
  });
  QStringList got = asker.OpenFileNames(QStringLiteral("Send"), dir.path() + QChar('/'),
                                        QStringLiteral("Config (*.cfg)|*.cfg"));
  EXPECT_EQ(mode, QFileDialog::ExistingFiles);
  for (QString& f : got) f = QFileInfo(f).fileName();
  got.sort();
  EXPECT_EQ(got, QStringList({QStringLiteral("a.cfg"), QStringLiteral("b.cfg")}));
}

}  // namespace
}  // namespace qz
