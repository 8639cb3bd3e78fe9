// The "System Info" window on the offscreen platform: its pages over the built-in tuner, row
// clicks answered by the scripted asker, memory files, the page layout, the run and the setup
// section. Pictures of every page are written when QZ_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

#include "common/testfiles.h"
#include "common/tpicrig.h"
#include "core/planeext.h"
#include "tuner/tunmem.h"
#include "tuner/ui/qvtustpfrm.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"

namespace qz {
namespace {

using ::testing::Return;

struct TuStpTest : ::testing::Test {
  testing::TpicRig rig;
  TPlaneExt ext;
  TScriptedAsker asker;
  QTemporaryDir dir;
  std::unique_ptr<TQvTuStpFrm> w;
  std::unique_ptr<TTpic> pic;
  int watermarks = 0;

  void SetUp() override {
    asker.quiet = true;
    // The start-up order: this window first, then the tuner picture, then the autotune update.
    w = std::make_unique<TQvTuStpFrm>(rig.m, rig.cmd, rig.qv, nullptr, nullptr, &asker);
    w->Edits().RenewWatermark = [this] { ++watermarks; };
    pic = std::make_unique<TTpic>(rig.m, rig.at, rig.cmd, ext, nullptr, nullptr, &asker);
    rig.m.UpdateAtParams();
  }
  void TearDown() override {
    pic.reset();
    w.reset();
  }
  QStringList Column(int page) const {
    QStringList c;
    for (int r = 0; r < w->Grid(page)->rowCount(); ++r) c << w->Cell(page, r, 1);
    return c;
  }
  // A real click on a row of a page's grid.
  void ClickRow(int page, int row) {
    w->Pages()->setCurrentIndex(page);
    QTableWidget* g = w->Grid(page);
    const QPoint at = g->visualRect(g->model()->index(row, 1)).center();
    for (const QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(t, QPointF(at), g->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                    t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(g->viewport(), &e);
    }
  }
  std::array<int, 3> PictureSteps() const {
    const TStepSize& s = pic->Motion().StepSize();
    return {s[0], s[1], s[2]};
  }
};

TEST_F(TuStpTest, CreatedOnTheAutotunePage) {
  EXPECT_EQ(w->objectName(), "QvTuStpFrm");
  EXPECT_EQ(w->windowTitle(), "System Info");
  EXPECT_EQ(w->width(), 275);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->Pages()->currentIndex(), int(tpAutotune));
  QStringList tabs;
  for (int i = 0; i < w->Pages()->count(); ++i) tabs << w->Pages()->tabText(i);
  EXPECT_EQ(tabs, (QStringList{"Quzar", "Tuner", "Motors", "Autotune", "Sketch"}));
  EXPECT_EQ(w->Grid(tpAutotune)->rowCount(), 9);
  EXPECT_EQ(w->Cell(tpAutotune, 8, 0), "[Defaults...]");
  EXPECT_EQ(w->Grid(tpAutotune)->viewport()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(w->LoadButton()->text(), "Load &Mem");
  EXPECT_EQ(w->LoadButton()->toolTip(), "Load tuner memory binary file");
}

TEST_F(TuStpTest, PagesOfTheBuiltInTuner) {
  EXPECT_EQ(Column(tpTuner), (QStringList{"Quzar Tuner", "QZTU-340", "Vostrel", "QZTU V1.0", "0",
                                          "86.36 mm x 43.18 mm", "2.45 GHz"}));
  EXPECT_EQ(Column(tpMotors),
            (QStringList{"0.010 mm", "3000 / 30 mm", "3000 Hz", "3000 Hz", "1000 ms"}));
  EXPECT_EQ(w->Cell(tpAutotune, atrHyst, 1), "5  (87 mU)");
  QStringList labels;
  for (int i = 0; i < kSketchLabelCount; ++i) labels << w->SketchLabel(i);
  EXPECT_EQ(labels, (QStringList{"150", "106.66", "63.32", "210", "210", "30"}));
  EXPECT_EQ(PictureSteps(), (std::array<int, 3>{1, 14, 208}));
}

TEST_F(TuStpTest, TravelRowAnswered20) {
  asker.QueueText(QStringLiteral("20"));
  ClickRow(tpMotors, mrMaxSteps);
  EXPECT_EQ(w->Cell(tpMotors, mrMaxSteps, 1), "2000 / 20 mm");
  EXPECT_EQ(w->Cell(tpMotors, mrTravelTime, 1), "667 ms");
  EXPECT_EQ(PictureSteps(), (std::array<int, 3>{1, 13, 159}));
  EXPECT_EQ(watermarks, 1);
  // Another row of the page asks nothing but derives again.
  const size_t asked = asker.Records(TAskRecord::Input).size();
  ClickRow(tpMotors, mrInRate);
  EXPECT_EQ(asker.Records(TAskRecord::Input).size(), asked);
  EXPECT_EQ(watermarks, 2);
}

TEST_F(TuStpTest, AutotuneRowClicks) {
  const QString wait0 = w->Cell(tpAutotune, atrWaitRF, 1);
  EXPECT_CALL(rig.cmd, SetAutotuneParams()).Times(3);
  ClickRow(tpAutotune, atrWaitRF);
  EXPECT_NE(w->Cell(tpAutotune, atrWaitRF, 1), wait0);
  ClickRow(tpAutotune, atrWaitRF);
  EXPECT_EQ(w->Cell(tpAutotune, atrWaitRF, 1), wait0);

  asker.QueueText(QStringLiteral("40"));
  ClickRow(tpAutotune, atrTarget);
  EXPECT_EQ(w->Cell(tpAutotune, atrTarget, 1), "40");

  EXPECT_CALL(rig.cmd, SetHysteresis(10)).WillOnce(Return(8));
  asker.QueueText(QStringLiteral("10"));
  ClickRow(tpAutotune, atrHyst);
  EXPECT_EQ(w->Cell(tpAutotune, atrHyst, 1), "5  (87 mU)");  // refused: the old value

  asker.QueueText(QStringLiteral("700"));
  ClickRow(tpAutotune, atrMaxMag);
  EXPECT_EQ(w->Cell(tpAutotune, atrMaxMag, 1), "700");
}

TEST_F(TuStpTest, MemoryFiles) {
  // A missing file and a refused one: an error box with the code's text and the file.
  const QString missing = dir.filePath(QStringLiteral("none.mem"));
  EXPECT_EQ(w->LoadMem(missing), kTunMemNotFound);
  const QString bad = dir.filePath(QStringLiteral("bad.mem"));
  testing::WriteAll(bad, QByteArray(30, 'x'));
  EXPECT_EQ(w->LoadMem(bad), kTunMemInvalid);
  const auto boxes = asker.Records(TAskRecord::Message);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Memory file not found: " + missing);
  EXPECT_EQ(boxes[1].text, "Memory file invalid or incompatible: " + bad);
  EXPECT_EQ(boxes[1].type, TMsgType::Error);
  EXPECT_EQ(w->Cell(tpMotors, mrMaxSteps, 1), "3000 / 30 mm");

  // A file with 2000 steps reaches the picture, chosen with the open dialog.
  TTunMemContent c = TunMemContentOf(DefaultTunerDescr(), rig.mot);
  c.Descr.MaxSteps = 2000;
  c.Descr.Nick = QStringLiteral("Loaded");
  const QString good = dir.filePath(QStringLiteral("good.mem"));
  QString error;
  ASSERT_TRUE(WriteTunMemFile(good, c, 1, error));
  asker.QueueFile(good);
  w->LoadButton()->click();
  const auto files = asker.Records(TAskRecord::OpenFile);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].caption, "Load Tuner Memory File (binary)");
  EXPECT_TRUE(files[0].text.endsWith("/tun.mem"));
  EXPECT_EQ(files[0].extra, "Tuner memory file (*.mem)|*.mem|Any file (*.*)|*.*");
  EXPECT_EQ(w->Cell(tpMotors, mrMaxSteps, 1), "2000 / 20 mm");
  EXPECT_EQ(w->Cell(tpTuner, 0, 1), "Loaded");
  EXPECT_EQ(PictureSteps(), (std::array<int, 3>{1, 13, 159}));
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), 2u);  // no further box
}

// Where the open dialog starts: the last file's folder while it exists, else the per-user
// folder's "TunMem/" while that exists, else the per-user folder.
TEST_F(TuStpTest, MemoryFileDialogStartsInTheLastFolderOrTheTunerMemoryFolder) {
  QTemporaryDir profile;
  ASSERT_TRUE(profile.isValid());
  const QString user = profile.path() + QStringLiteral("/user/");
  ASSERT_TRUE(QDir().mkpath(user));
  struct Restore {
    ~Restore() { ResetFolders(); }
  } restore;
  SetUserFolder(user);
  const QString last = dir.filePath(QStringLiteral("last"));
  ASSERT_TRUE(QDir().mkpath(last));
  std::vector<QString> status;
  w->Edits().ShowStatus = [&](const QString& t) { status.push_back(t); };

  EXPECT_EQ(w->Edits().LoadMemProposal(), user + "tun.mem");  // no "TunMem/" yet
  ASSERT_TRUE(QDir().mkpath(user + "TunMem"));
  EXPECT_EQ(w->Edits().LoadMemProposal(), user + "TunMem/tun.mem");
  // A refused file still names the folder the operator went to.
  EXPECT_EQ(w->LoadMem(last + "/none.mem"), kTunMemNotFound);
  EXPECT_EQ(w->Edits().LoadMemProposal(), last + "/tun.mem");
  EXPECT_TRUE(status.empty());
  const QString good = last + "/Tu1.mem";
  QString error;
  ASSERT_TRUE(WriteTunMemFile(good, TunMemContentOf(DefaultTunerDescr(), rig.mot), 1, error));
  EXPECT_EQ(w->LoadMem(good), kTunMemOk);
  EXPECT_EQ(status, std::vector<QString>({"Tuner memory loaded: Tu1.mem"}));
  // The last folder gone: the tuner memory folder again.
  ASSERT_TRUE(QDir(last).removeRecursively());
  EXPECT_EQ(w->Edits().LoadMemProposal(), user + "TunMem/tun.mem");
}

TEST_F(TuStpTest, PageLayoutFollowsThePage) {
  for (int page = 0; page < kTuStpPageCount; ++page) {
    w->Pages()->setCurrentIndex(page);
    const QRect pages = w->Pages()->geometry();
    const QRect button = w->LoadButton()->geometry();
    EXPECT_EQ(button.top(), pages.bottom() + 2) << page;  // one free pixel between them
    EXPECT_EQ(w->height(), button.bottom() + 2) << page;
    EXPECT_GE(pages.height(), w->Pages()->currentWidget()->height()) << page;
  }
  w->Pages()->setCurrentIndex(tpQuzar);
  const int quzar = w->height();
  w->Pages()->setCurrentIndex(tpAutotune);
  EXPECT_GT(w->height(), quzar);  // nine rows against seven
}

TEST_F(TuStpTest, PagesWaitForTheEndOfARun) {
  w->EnableForRun(false);
  EXPECT_FALSE(w->Pages()->isEnabled());
  w->EnableForRun(true);
  EXPECT_TRUE(w->Pages()->isEnabled());
}

TEST_F(TuStpTest, SetupSectionKeepsThePlaceWithinTheScreen) {
  IniFile ini;
  ini.SetText(QByteArray("[TuStpFrm]\nVisible=0\nTop=-20\nLeft=99999\n"));
  w->ReadStp(ini);
  IniFile out;
  w->WriteStp(out);
  EXPECT_EQ(out.ReadInteger(QStringLiteral("TuStpFrm"), QStringLiteral("Top"), -1), 0);
  const int left = out.ReadInteger(QStringLiteral("TuStpFrm"), QStringLiteral("Left"), -1);
  EXPECT_GT(left, 0);
  EXPECT_LT(left, 99999);
  EXPECT_EQ(out.ReadInteger(QStringLiteral("TuStpFrm"), QStringLiteral("Visible"), -1), 0);
}

TEST_F(TuStpTest, PicturesOfEveryPage) {
  const QByteArray shots = qgetenv("QZ_SCREENSHOT_DIR");
  w->show();
  for (int page = 0; page < kTuStpPageCount; ++page) {
    w->Pages()->setCurrentIndex(page);
    const QImage img = w->grab().toImage();
    EXPECT_EQ(img.width(), 275);
    if (!shots.isEmpty())
      img.save(QDir(QString::fromLocal8Bit(shots))
                   .filePath(QStringLiteral("sysinfo_%1.png").arg(w->Pages()->tabText(page))));
  }
}

}  // namespace
}  // namespace qz
