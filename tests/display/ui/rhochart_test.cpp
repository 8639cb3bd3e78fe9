// The reflection-coefficient chart window: choosing the load with the pointer and the fields,
// the area controls, the operator's close and section "RhoChart".
#include "display/ui/rhochart.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTest>

#include "common/rhochartrig.h"
#include "core/frame.h"
#include "util/asker.h"
#include "util/folders.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

class RhoChartTest : public ::testing::Test {
 protected:
  void SetUp() override { asker.quiet = true; }
  template <class W>
  W* Child(const char* name) {
    W* w = chart.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void ClickRadio(const char* group, int id) {
    QAbstractButton* b = Child<QGroupBox>(group)->findChildren<QAbstractButton*>()[id];
    b->click();
  }
  // Pixels of a colour in the chart's image.
  int Count(QRgb rgb) const {
    const QImage& img = chart.Image();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if ((img.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF)) ++n;
    return n;
  }

  TScriptedAsker asker;
  TScopedAsker scoped{&asker};
  testing::RhoChartRig r;
  TRhoChart chart{r.t.m, r.model, r.qv};
};

TEST_F(RhoChartTest, OpensSquareOddAndEmpty) {
  EXPECT_EQ(chart.windowTitle(), "Load Reflection Coefficient");
  EXPECT_TRUE(chart.windowFlags() & Qt::WindowStaysOnTopHint);
  chart.show();
  const QWidget* panel = chart.ChartPanel();
  EXPECT_EQ(panel->width(), panel->height());
  EXPECT_EQ(panel->height(), chart.height());
  EXPECT_EQ(chart.height() % 2, 1);
  const QWidget* plane = Child<QGroupBox>("rgPlane");
  EXPECT_GE(chart.height(), plane->mapTo(&chart, QPoint(0, plane->height())).y() + 2);
  EXPECT_EQ(chart.Pad().Map.X1, 2);
  EXPECT_EQ(chart.Pad().Map.X2, chart.height() - 3);
  // Nothing chosen yet: the centre, written into the fields.
  EXPECT_EQ(Child<QLineEdit>("edMag")->text(), "0.000");
  EXPECT_EQ(Child<QLabel>("lbVswr")->text(), "  1.00");
  EXPECT_FALSE(Child<QGroupBox>("rgPlane")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>("btExport")->isEnabled());
}

TEST_F(RhoChartTest, ShowAreaNoneDisablesThePlaneAndExportAndRemovesTheAreas) {
  chart.show();
  EXPECT_EQ(Count(qRgb(0, 0, 255)), 0);
  ClickRadio("rgArea", kAreaMatchable);
  EXPECT_TRUE(Child<QGroupBox>("rgPlane")->isEnabled());
  EXPECT_TRUE(Child<QPushButton>("btExport")->isEnabled());
  EXPECT_GT(Count(qRgb(0, 0, 255)), 100);
  EXPECT_GT(Count(qRgb(255, 0, 255)), 100);
  ClickRadio("rgArea", kAreaNone);
  EXPECT_FALSE(Child<QGroupBox>("rgPlane")->isEnabled());
  EXPECT_FALSE(Child<QPushButton>("btExport")->isEnabled());
  EXPECT_EQ(Count(qRgb(0, 0, 255)), 0);
  EXPECT_EQ(Count(qRgb(255, 0, 255)), 0);
}

TEST_F(RhoChartTest, PressAndDragChooseTheLoadOfTheNextFrameWhenTheModelUsesTheChart) {
  chart.show();
  QWidget* panel = chart.ChartPanel();
  const int c = panel->height() / 2;
  const int d = (panel->height() - 5) / 2 - 1;  // just inside the outer circle
  // Not on "Chart": the fields follow, the model's load does not.
  r.model.SimulRo = complex(0.1, 0.1);
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(c + d, c));
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(c + d, c));
  EXPECT_EQ(r.model.SimulRo, complex(0.1, 0.1));
  EXPECT_NEAR(chart.Rho().re, 1.0, 0.02);

  r.model.UseChart = true;
  QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(c, c));
  EXPECT_NEAR(CAbs(r.model.SimulRo), 0.0, 1e-12);
  QMouseEvent move(QEvent::MouseMove, QPointF(c, c - d / 2),
                   panel->mapToGlobal(QPointF(c, c - d / 2)), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(panel, &move);
  QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(c, c - d / 2));
  EXPECT_NEAR(r.model.SimulRo.re, 0.0, 1e-12);
  EXPECT_NEAR(r.model.SimulRo.im, 0.5, 0.02);
  EXPECT_EQ(r.model.SimulRo, chart.Rho());
  EXPECT_EQ(Child<QLineEdit>("edDeg")->text(), "  90.0");
  // A move after the release chooses nothing.
  QMouseEvent after(QEvent::MouseMove, QPointF(c + 3, c), panel->mapToGlobal(QPointF(c + 3, c)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &after);
  EXPECT_EQ(r.model.SimulRo, chart.Rho());
  EXPECT_NEAR(chart.Rho().im, 0.5, 0.02);

  // The next frame carries that load (the tuner at zero insertion in front of it).
  TMerObjekt mob{};
  r.model.GetMobBytes(1, mob);
  THresults res;
  ASSERT_TRUE(r.qv.DekodMerData(mob, res));
  EXPECT_NEAR(res.Rho_z.re, r.model.SimulRo.re, 1.0 / 4096);
  EXPECT_NEAR(res.Rho_z.im, r.model.SimulRo.im, 1.0 / 4096);
}

TEST_F(RhoChartTest, EnterInEitherFieldApplies) {
  chart.show();
  r.model.UseChart = true;
  QLineEdit* mag = Child<QLineEdit>("edMag");
  QLineEdit* deg = Child<QLineEdit>("edDeg");
  mag->setText(QStringLiteral("2"));
  deg->setText(QStringLiteral("90"));
  QTest::keyClick(deg, Qt::Key_Return);
  EXPECT_NEAR(r.model.SimulRo.im, 2.0, 1e-12);
  EXPECT_EQ(Child<QLabel>("lbVswr")->text(), "  3.00");
  mag->setText(QStringLiteral("abc"));
  deg->setText(QStringLiteral("0"));
  QTest::keyClick(mag, Qt::Key_Enter);
  EXPECT_NEAR(r.model.SimulRo.re, 2.0, 1e-12);
  EXPECT_EQ(mag->text(), "2.000");
  EXPECT_EQ(deg->text(), "   0.0");
}

TEST_F(RhoChartTest, PutWmarkFetchesOnlyWhileShownAndFollowsTheModelFrequency) {
  ClickRadio("rgArea", kAreaMatchable);
  chart.PutWmark();  // hidden: nothing fetched
  EXPECT_EQ(chart.Pad().RhoArea, TRhoArea{});
  chart.show();
  const TRhoArea at245 = chart.Pad().RhoArea;
  EXPECT_NE(at245, TRhoArea{});
  r.model.f_Hz = 2.40e9;
  chart.PutWmark();
  EXPECT_NE(chart.Pad().RhoArea, at245);
  EXPECT_EQ(chart.Pad().FreqText, "2.4 GHz");
}

TEST_F(RhoChartTest, ExportAsksWritesAndReports) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  qputenv("QZSIM_PROFILE", dir.path().toLocal8Bit());
  ResetFolders();
  MakeUserFolder(QString::fromLatin1(kUserSubfolder), true);
  chart.show();
  ClickRadio("rgArea", kAreaRealizable);
  const QString path = InUserFolder(QStringLiteral("Area_000.txt"));
  asker.QueueButton(mbCancel);
  Child<QPushButton>("btExport")->click();
  EXPECT_FALSE(QFile::exists(path));
  asker.QueueButton(mbOK);
  Child<QPushButton>("btExport")->click();
  ASSERT_TRUE(QFile::exists(path));
  const auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(msgs[0].text, "Export Area to Area_nnn.txt in User Folder");
  EXPECT_EQ(msgs[0].buttons, mbOK | mbCancel);
  EXPECT_EQ(msgs[2].text, QStringLiteral("Saved to\r\n") + path);
  EXPECT_EQ(msgs[2].type, TMsgType::Information);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  EXPECT_TRUE(text.startsWith("Area=Realizable Referred to=Output Freq=2.45 GHz\r\n"));
  EXPECT_EQ(text.count("\r\n"), text.count('\n'));
  EXPECT_TRUE(
      text.contains("Stub: MaxSteps=3000 MmPerStep=0.010 Nquant=25  Steps:\t125\t1.250\tmm"));
  ResetFolders();
}

TEST_F(RhoChartTest, OperatorCloseHidesAndTellsDestroyingDoesNot) {
  int closes = 0;
  chart.OnOperatorClose = [&] { ++closes; };
  chart.show();
  chart.close();
  EXPECT_FALSE(chart.isVisible());
  EXPECT_EQ(closes, 1);
  auto* other = new TRhoChart(r.t.m, r.model, r.qv);
  other->OnOperatorClose = [&] { ++closes; };
  other->show();
  delete other;
  EXPECT_EQ(closes, 1);
}

TEST_F(RhoChartTest, HelpKeyIsLeftToTheProgramsOwnRule) {
  // One key, one rule: the window keeps no F1 of its own that would compete with the
  // program's (which minimises the frame window here).
  chart.show();
  QApplication::setActiveWindow(&chart);
  QLineEdit* mag = Child<QLineEdit>("edMag");
  mag->setFocus();
  QTest::keyClick(mag, Qt::Key_F1);
  EXPECT_FALSE(chart.isMinimized());
  for (const QShortcut* s : chart.findChildren<QShortcut*>())
    EXPECT_NE(s->key(), QKeySequence(Qt::Key_F1));
}

TEST_F(RhoChartTest, SectionRoundTripAndLimits) {
  const TFixedScreen screen(QSize(1280, 1024));
  TScopedScreen scopedScreen(&screen);
  chart.show();
  chart.move(40, 60);
  chart.resize(chart.width(), 501);
  IniFile ini;
  chart.WriteStp(ini);
  const QString s = QStringLiteral("RhoChart");
  EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Height"), 0), 501);
  EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("Top"), 0), 60);
  TRhoChart back(r.t.m, r.model, r.qv);
  back.ReadStp(ini);
  EXPECT_EQ(back.pos(), chart.pos());
  EXPECT_EQ(back.size(), chart.size());
  IniFile again;
  back.WriteStp(again);
  EXPECT_EQ(again.Text(), ini.Text());

  // Beyond the screen: position and size kept 50 pixels inside; the height then stays odd.
  IniFile far;
  far.SetText(QByteArray("[RhoChart]\r\nTop=5000\r\nLeft=-7\r\nWidth=9000\r\nHeight=9000\r\n"));
  back.ReadStp(far);
  EXPECT_EQ(back.y(), 1024 - 50);
  EXPECT_EQ(back.x(), 0);
  EXPECT_EQ(back.height(), 975);  // 974, made odd
  EXPECT_EQ(back.ChartPanel()->width(), 975);
}

}  // namespace
}  // namespace qz
