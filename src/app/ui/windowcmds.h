#pragma once
// The frame window's commands over its windows and pictures: the Window menu's arrangements,
// the focus and colour commands, the picture items of the File menu (copy and save, area, type,
// results-file separator) and the about box. The geometry, the names and the encoders are
// GUI-free in app/; this class grabs the pixels and talks to the widgets.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/picture.h"

class QAction;
class QDialog;
class QImage;
class QMenu;

namespace qz {

class TFrameCommands;
class TAboutBox;

class TWindowCmds : public QObject {
  Q_OBJECT
 public:
  explicit TWindowCmds(TFrameCommands& form);
  ~TWindowCmds() override;

  // The File menu's picture and separator items (inserted where the menu is now built up to);
  // their captions are refreshed each time the menu opens.
  void AddFileItems(QMenu* file);
  // "&Arrange", "&Focus to Display" and "&Main Window Color..." of the Window menu.
  void AddWindowItems(QMenu* window);
  // "&About..." of the Help menu.
  void AddHelpItems(QMenu* help);

  // ---- commands ----
  void ArrangeWindows(int ako);
  void Cascade();
  void TileHoriz();
  void TileVert();
  void ArrangeIcons();
  void FocusToDisplay();
  void MainWindowColor();
  void AboutClick();
  // Copy Picture (false) and Save Picture (true).
  void BmpToFileOrClipb(bool picToFile);
  // The picture area as the picture commands see it (an empty image: nothing to picture).
  QImage GrabArea() const;
  void FileMenuOpening();

  // Runs a modal dialog (the dialog's own event loop; tests put a recorder here).
  std::function<int(QDialog&)> RunModal;

  TPictureFiles& PictureFiles() { return files_; }
  TAboutBox* AboutBox() const;
  QAction* CascadeAction() const { return aCascade_; }
  QAction* CopyPictureAction() const { return aCopyPic_; }
  QAction* SavePictureAction() const { return aSavePic_; }
  QMenu* PictureTypeMenu() const { return mPicTyp_; }
  QMenu* PictureAreaMenu() const { return mPicArea_; }
  QMenu* SeparatorMenu() const { return mSepar_; }
  QMenu* ArrangeMenu() const { return mArrange_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TFrameCommands& form_;
  // The display area's viewport, watched for double clicks; kept here so that events reaching the
  // filter while the frame window is being destroyed never call into it.
  QPointer<QWidget> viewport_;
  TPictureFiles files_;
  QAction* aCascade_ = nullptr;
  QAction* aCopyPic_ = nullptr;
  QAction* aSavePic_ = nullptr;
  QMenu* mPicTyp_ = nullptr;
  QMenu* mPicArea_ = nullptr;
  QMenu* mSepar_ = nullptr;
  QMenu* mArrange_ = nullptr;
};

// The 16-colour picture as an image of the widgets' world.
QImage IndexedToQImage(const TIndexedImage& img);

}  // namespace qz
