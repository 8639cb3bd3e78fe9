#include "app/ui/windowcmds.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QImage>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QToolBar>

#include "app/arrange.h"
#include "app/saveastxt.h"
#include "app/setupfiles.h"
#include "app/simcore.h"
#include "app/toolwindows.h"
#include "app/ui/aboutbox.h"
#include "app/ui/framecommands.h"
#include "core/resultstext.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/ui/dialogparent.h"
#include "util/ui/qcolor.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

QAction* Item(QMenu* m, const QString& text, const QString& hint, const QString& name) {
  QAction* a = m->addAction(text);
  a->setObjectName(name);
  a->setStatusTip(hint);
  return a;
}

// The display window the commands act on: the active one, or the current one while the frame
// window itself is not active.
QMdiSubWindow* ActiveChild(QMdiArea* mdi) {
  QMdiSubWindow* sw = mdi->activeSubWindow();
  return sw ? sw : mdi->currentSubWindow();
}

}  // namespace

QImage IndexedToQImage(const TIndexedImage& img) {
  if (img.Empty()) return {};
  QImage q(img.width, img.height, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (uint32_t c : img.palette) table << (0xFF000000u | c);
  q.setColorTable(table);
  for (int32_t y = 0; y < img.height; ++y)
    std::copy_n(img.pixels.data() + size_t(y) * size_t(img.width), size_t(img.width),
                q.scanLine(y));
  return q;
}

TWindowCmds::TWindowCmds(TFrameCommands& form) : QObject(&form.FrameWindow()), form_(form) {
  // A double click on the empty display area is the Main Window Color command.
  viewport_ = form_.Mdi()->viewport();
  viewport_->installEventFilter(this);
}

TWindowCmds::~TWindowCmds() = default;

TAboutBox* TWindowCmds::AboutBox() const {
  return form_.ToolWindows().Window<TAboutBox>(QStringLiteral("AboutBox"));
}

bool TWindowCmds::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && watched == viewport_.data()) {
    MainWindowColor();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

// ---- menus ----------------------------------------------------------------------------------

void TWindowCmds::AddFileItems(QMenu* file) {
  file->addSeparator();
  aCopyPic_ = Item(file, QStringLiteral("&Copy Picture"),
                   QStringLiteral("Copy picture area to clipboard"), QStringLiteral("miCopyPic"));
  aCopyPic_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  connect(aCopyPic_, &QAction::triggered, this, [this] { BmpToFileOrClipb(false); });
  aSavePic_ =
      Item(file, QStringLiteral("&Save Picture"),
           QStringLiteral("Save picture area to a picture file"), QStringLiteral("miSavePic"));
  connect(aSavePic_, &QAction::triggered, this, [this] { BmpToFileOrClipb(true); });

  mPicArea_ = file->addMenu(PictureAreaCaption(kPicAreaMain));
  mPicArea_->setObjectName(QStringLiteral("miPicArea"));
  auto* areas = new QActionGroup(mPicArea_);
  const char* const areaNames[] = {"Main Window", "Active Chart"};
  const char* const areaHints[] = {"Whole contents of the main program window",
                                   "Only chart area of the currently active Display Window"};
  for (int32_t i = 0; i < 2; ++i) {
    QAction* a = Item(mPicArea_, QString::fromLatin1(areaNames[i]),
                      QString::fromLatin1(areaHints[i]), QStringLiteral("miPicArea%1").arg(i));
    a->setCheckable(true);
    areas->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { form_.FrameSetup().PicArea = i; });
  }
  mPicTyp_ = file->addMenu(PictureTypeCaption(kPicBmp));
  mPicTyp_->setObjectName(QStringLiteral("miPicType"));
  auto* types = new QActionGroup(mPicTyp_);
  const char* const typeHints[] = {"Bitmap: File size depends only on picture dimensions",
                                   "Best compression - recommended", "Imperfect quality",
                                   "Lossless, full colour"};
  for (int32_t i = 0; i < kPicTypeCount; ++i) {
    QAction* a = Item(mPicTyp_, PicTypeName(i), QString::fromLatin1(typeHints[i]),
                      QStringLiteral("miPicType%1").arg(i));
    a->setCheckable(true);
    types->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { form_.FrameSetup().PicTyp = i; });
  }
  file->addSeparator();
  mSepar_ = file->addMenu(SeparatorCaption(QChar('.')));
  mSepar_->setObjectName(QStringLiteral("miSeparator"));
  auto* seps = new QActionGroup(mSepar_);
  for (const QChar c : {QChar('.'), QChar(',')}) {
    QAction* a =
        mSepar_->addAction(c == QChar('.') ? QStringLiteral("Point") : QStringLiteral("Comma"));
    a->setCheckable(true);
    seps->addAction(a);
    connect(a, &QAction::triggered, this, [this, c] { form_.SaveState().SeparForTxtSave = c; });
  }
  connect(file, &QMenu::aboutToShow, this, [this] { FileMenuOpening(); });
  FileMenuOpening();
}

void TWindowCmds::FileMenuOpening() {
  const TFrameSetup& f = form_.FrameSetup();
  mPicTyp_->menuAction()->setText(PictureTypeCaption(f.PicTyp));
  const QList<QAction*> types = mPicTyp_->actions();
  for (int i = 0; i < types.size(); ++i) types[i]->setChecked(i == f.PicTyp);
  mPicArea_->menuAction()->setText(PictureAreaCaption(f.PicArea));
  const QList<QAction*> areas = mPicArea_->actions();
  for (int i = 0; i < areas.size(); ++i) areas[i]->setChecked(i == f.PicArea);
  const QChar sep = form_.SaveState().SeparForTxtSave;
  mSepar_->menuAction()->setText(SeparatorCaption(sep));
  const QList<QAction*> seps = mSepar_->actions();
  seps[0]->setChecked(sep != QChar(','));
  seps[1]->setChecked(sep == QChar(','));
}

void TWindowCmds::AddWindowItems(QMenu* window) {
  mArrange_ = window->addMenu(QStringLiteral("&Arrange"));
  mArrange_->setObjectName(QStringLiteral("miArrange"));
  aCascade_ = Item(mArrange_, QStringLiteral("&Cascade"), QStringLiteral("Cascade Display Windows"),
                   QStringLiteral("miCascade"));
  aCascade_->setToolTip(QStringLiteral("Cascade"));
  connect(aCascade_, &QAction::triggered, this, [this] { Cascade(); });
  connect(Item(mArrange_, QStringLiteral("Tile &Horiz"),
               QStringLiteral("Tile Display Windows horizontally"), QStringLiteral("miTileHoriz")),
          &QAction::triggered, this, [this] { TileHoriz(); });
  connect(Item(mArrange_, QStringLiteral("Tile &Vert"),
               QStringLiteral("Tile Display Windows vertically"), QStringLiteral("miTileVert")),
          &QAction::triggered, this, [this] { TileVert(); });
  connect(Item(mArrange_, QStringLiteral("&Arrange Icons"),
               QStringLiteral("Arrange minimized windows at mainframe bottom"),
               QStringLiteral("miArrangeIcons")),
          &QAction::triggered, this, [this] { ArrangeIcons(); });
  mArrange_->addSeparator();
  const char* const texts[] = {"&Normal", "Max &Frame", "Max &Displ", "&Max Frame && Displ"};
  const char* const hints[] = {"Keep main window, match active Display Window",
                               "Maximize main window",
                               "Maximize Display Window within frame window",
                               "Maximize frame window and Display Window within frame window"};
  for (int ako = 0; ako < 4; ++ako) {
    connect(Item(mArrange_, QString::fromLatin1(texts[ako]), QString::fromLatin1(hints[ako]),
                 QStringLiteral("miArrange%1").arg(ako)),
            &QAction::triggered, this, [this, ako] { ArrangeWindows(ako); });
  }
  QAction* focus =
      Item(window, QStringLiteral("&Focus to Display"),
           QStringLiteral("Set focus to a Display Window"), QStringLiteral("miFocusToDisplay"));
  focus->setShortcut(QKeySequence(Qt::Key_F8));
  connect(focus, &QAction::triggered, this, [this] { FocusToDisplay(); });
  connect(Item(window, QStringLiteral("&Main Window Color..."),
               QStringLiteral("Change the Main Window color"), QStringLiteral("miMainColor")),
          &QAction::triggered, this, [this] { MainWindowColor(); });
}

void TWindowCmds::AddHelpItems(QMenu* help) {
  connect(Item(help, QStringLiteral("&About..."), QStringLiteral("Program information"),
               QStringLiteral("miAbout")),
          &QAction::triggered, this, [this] { AboutClick(); });
}

// ---- arranging ------------------------------------------------------------------------------

void TWindowCmds::Cascade() { form_.Mdi()->cascadeSubWindows(); }

namespace {

// The least place of a tiled window: a new display window's size (its client 330 x 220, tool
// bar and menu) with the frame around it; the largest of the windows tiled.
QSize LeastTile(const std::vector<QMdiSubWindow*>& open) {
  QSize least(1, 1);
  for (QMdiSubWindow* sw : open) {
    if (!sw->widget()) continue;
    const QSize frame = sw->size() - sw->widget()->size();
    least =
        least.expandedTo(sw->widget()->sizeHint().expandedTo(sw->widget()->minimumSize()) + frame);
  }
  return least;
}

}  // namespace

void TWindowCmds::TileHoriz() {
  QMdiArea* mdi = form_.Mdi();
  std::vector<QMdiSubWindow*> open;
  for (QMdiSubWindow* sw : mdi->subWindowList())
    if (sw->isVisible() && !sw->isMinimized()) open.push_back(sw);
  const std::vector<QRect> r =
      TileHorizontal(mdi->viewport()->size(), int(open.size()), LeastTile(open));
  for (size_t i = 0; i < open.size(); ++i) {
    if (open[i]->isMaximized()) open[i]->showNormal();
    open[i]->setGeometry(r[i]);
  }
}

void TWindowCmds::TileVert() {
  QMdiArea* mdi = form_.Mdi();
  std::vector<QMdiSubWindow*> open;
  for (QMdiSubWindow* sw : mdi->subWindowList())
    if (sw->isVisible() && !sw->isMinimized()) open.push_back(sw);
  const std::vector<QRect> r =
      TileVertical(mdi->viewport()->size(), int(open.size()), LeastTile(open));
  for (size_t i = 0; i < open.size(); ++i) {
    if (open[i]->isMaximized()) open[i]->showNormal();
    open[i]->setGeometry(r[i]);
  }
}

void TWindowCmds::ArrangeIcons() {
  QMdiArea* mdi = form_.Mdi();
  std::vector<QMdiSubWindow*> icons;
  QSize icon(1, 1);
  for (QMdiSubWindow* sw : mdi->subWindowList()) {
    if (!sw->isVisible() || !sw->isMinimized()) continue;
    icons.push_back(sw);
    icon = icon.expandedTo(sw->size());
  }
  const std::vector<QRect> r = IconPlaces(mdi->viewport()->size(), icon, int(icons.size()));
  for (size_t i = 0; i < icons.size(); ++i) icons[i]->move(r[i].topLeft());
}

void TWindowCmds::ArrangeWindows(int ako) {
  const TArrangePlan plan = ArrangePlan(ako);
  if (plan.frameToWorkArea) {
    // The frame window covers the screen's work area, title bar and borders inside it.
    QMainWindow& frame = form_.FrameWindow();
    frame.showNormal();
    PlaceInsideAvailable(frame, Screen(),
                         frame.isVisible() ? FrameMarginsOf(frame) : kAssumedFrameMargins);
    // The display area takes its new size before the display window is placed in it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout* l = frame.layout()) l->activate();
  }
  QMdiSubWindow* sw = ActiveChild(form_.Mdi());
  if (!sw) return;
  if (plan.maximiseChild) {
    sw->showMaximized();
  } else {
    sw->showNormal();
    sw->setGeometry(NormalChildRect(form_.Mdi()->viewport()->size()));
  }
  sw->show();
}

void TWindowCmds::FocusToDisplay() {
  form_.FrameWindow().activateWindow();
  QMdiSubWindow* sw = ActiveChild(form_.Mdi());
  if (!sw) return;
  form_.Mdi()->setActiveSubWindow(sw);
  if (sw->widget()) sw->widget()->setFocus(Qt::ShortcutFocusReason);
}

void TWindowCmds::MainWindowColor() {
  TColor c = form_.FrameSetup().BkgColor;
  if (!Asker().AskColor(c)) return;
  form_.FrameSetup().BkgColor = c;
  QMdiArea* mdi = form_.Mdi();
  mdi->setBackground(ToQColor(c, mdi->palette()));
  mdi->viewport()->update();
}

void TWindowCmds::AboutClick() {
  TAboutBox* about_ = AboutBox();
  if (!about_) return;
  about_->Napln(GetAboutStrings(form_.Core().Qv, CurrentProgramInfo()));
  if (RunModal)
    RunModal(*about_);
  else
    ExecAbove(*about_);
}

// ---- pictures -------------------------------------------------------------------------------

QImage TWindowCmds::GrabArea() const {
  // Whatever is waiting to be painted or laid out is finished first.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  QPixmap pix;
  if (form_.FrameSetup().PicArea == kPicAreaMain) {
    // The display area: the frame window's client less its tool bars and status bar.
    QMdiArea* mdi = form_.Mdi();
    if (!mdi->isVisible() || mdi->width() <= 0 || mdi->height() <= 0) return {};
    pix = mdi->grab();
  } else {
    QMdiSubWindow* sw = ActiveChild(form_.Mdi());
    auto* w = sw ? qobject_cast<TGDisplForm*>(sw->widget()) : nullptr;
    if (!w || sw->isMinimized() || !w->isVisible()) return {};
    // The chart with its labels, legend and clock: the client from its top-left corner, less
    // the tool panel and one pixel in each direction.
    const QPoint origin = w->Panel()->geometry().topLeft();
    const int width = w->width() - w->ToolBar()->width() - 1;
    const int height = w->height() - origin.y() - 1;
    if (width <= 0 || height <= 0) return {};
    pix = w->grab(QRect(origin, QSize(width, height)));
  }
  QImage img = pix.toImage();
  if (img.devicePixelRatio() != 1.0)
    img = img.scaled(pix.deviceIndependentSize().toSize(), Qt::IgnoreAspectRatio,
                     Qt::FastTransformation);
  return img.convertToFormat(QImage::Format_RGB32);
}

void TWindowCmds::BmpToFileOrClipb(bool picToFile) {
  // Nothing to picture while no display window is open, also for the main window.
  if (form_.Displays().Windows().empty()) return;
  const QImage grabbed = GrabArea();
  if (grabbed.isNull() || grabbed.width() <= 0 || grabbed.height() <= 0) {
    Asker().ShowWarning(QString::fromLatin1(kNothingToPicture));
    return;
  }
  const TTrueImage full =
      TrueImageOf(reinterpret_cast<const uint32_t*>(grabbed.constBits()), grabbed.width(),
                  grabbed.height(), grabbed.bytesPerLine() / 4);
  TFrameSetup& f = form_.FrameSetup();
  // The frame window's colour as it is painted (a system colour resolved) stays exact.
  const uint32_t background = form_.Mdi()->background().color().rgb() & 0xFFFFFFu;
  if (picToFile) {
    files_.Save(full, f.PicTyp, Asker(), UserFolder(), background);
    return;
  }
  QClipboard* cb = QApplication::clipboard();
  // PNG pictures keep every colour of the window.
  if (f.PicTyp == kPicPng) {
    cb->setImage(grabbed);
    return;
  }
  const TIndexedImage img = Quantize16(full, background);
  if (f.PicTyp != kPicJpeg) {
    cb->setImage(IndexedToQImage(img));
    return;
  }
  QByteArray jpeg;
  QString err;
  TRgbImage decoded;
  if (!EncodeJpeg(img, kJpegQuality, jpeg, err) || !DecodeJpeg(jpeg, decoded, err)) {
    Asker().ShowError(QStringLiteral("Cannot copy the picture.\r\n") + err);
    return;
  }
  // The encoded file for programs that take it, and the image it shows for the others.
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/jpeg"), jpeg);
  const QImage shown(decoded.rgb.data(), decoded.width, decoded.height, decoded.width * 3,
                     QImage::Format_RGB888);
  data->setImageData(shown.copy());
  cb->setMimeData(data);
}

}  // namespace qz
