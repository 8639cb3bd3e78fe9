#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <cmath>

#include "common/displayrig.h"
#include "common/testframes.h"
#include "display/panelplace.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "util/asker.h"
#include "util/inifile.h"

namespace qz {
namespace {

// A display area with the analyzer state and a sweep of three measured frames.
using Rig = testing::DisplayRig;

TEST(GDisplFormTest, FreshWindowShowsInputMagnitudeInItsClientSize) {
  Rig r;
  r.wins.DisplaysFromSetup(IniFile());
  ASSERT_EQ(r.wins.Windows().size(), 1u);
  TGDisplForm* w = r.wins.Windows()[0];
  EXPECT_EQ(w->windowTitle(), "Mag - Input");
  EXPECT_EQ(w->Panel()->width(), 330);
  EXPECT_EQ(w->Displ().TracesToDraw.Trace(0)->GetCount(), 3);
  // The point axis follows the sweep of three.
  EXPECT_EQ(w->Displ().Grf->Ox.Stp.Data.MaxAsk, 2.0);
  r.wins.BilinActive = [] { return true; };
  r.wins.RefreshCaptions();
  EXPECT_EQ(w->windowTitle(), "Mag - Input (Transformed)");
}

TEST(GDisplFormTest, DisplayMenuOffersElevenTypesAndUnits) {
  Rig r;
  TGDisplForm* w = r.wins.CreateDisplay();
  int types = 0;
  for (QAction* a : w->DisplayMenu()->actions())
    if (a->isCheckable()) ++types;
  EXPECT_EQ(types, 11);
  for (QAction* a : w->DisplayMenu()->actions())
    if (a->text() == "Po&wer") a->trigger();
  EXPECT_EQ(w->windowTitle(), "Power");
  EXPECT_EQ(w->Displ().TracesToDraw.Count(), 3);
  EXPECT_FALSE(w->ShowLoadButton()->isVisible());
  emit w->DisplayMenu()->aboutToShow();
  QStringList units;
  for (QAction* a : w->UnitsMenu()->actions())
    if (a->isVisible()) units << a->text();
  EXPECT_EQ(units, QStringList({"uW", "mW", "W", "kW"}));
  w->UnitsMenu()->actions()[3]->trigger();
  EXPECT_NEAR(*w->Displ().TracesToDraw.Trace(0)->GetY(2), 3.0, 0.01);  // 3000 W in kW
  EXPECT_NEAR(w->Displ().Grf->Oy.Stp.Data.MaxDflt, 10.0, 1e-9);
}

TEST(GDisplFormTest, RunDisablesMenusAndButtonsAlsoOfAWindowMadeDuringIt) {
  Rig r;
  TGDisplForm* a = r.wins.CreateDisplay();
  r.wins.EnableForRun(false);
  EXPECT_FALSE(a->ToolBar()->isEnabled());
  for (QAction* m : a->MenuBar()->actions()) EXPECT_FALSE(m->isEnabled());
  TGDisplForm* b = r.wins.CreateDisplay();
  EXPECT_FALSE(b->ToolBar()->isEnabled());
  r.wins.EnableForRun(true);
  EXPECT_TRUE(b->ToolBar()->isEnabled());
}

TEST(GDisplFormTest, SpaceAndEscapeDuringARunGiveRunPause) {
  Rig r;
  r.area.show();
  TGDisplForm* w = r.wins.CreateDisplay();
  r.area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
  w->Panel()->setFocus();
  QTest::keyClick(w->Panel(), Qt::Key_Escape);
  EXPECT_EQ(r.runPauses, 0);
  QTest::keyClick(w->Panel(), Qt::Key_Space);
  EXPECT_EQ(r.runPauses, 1);
  r.running = true;
  QTest::keyClick(w->Panel(), Qt::Key_Escape);
  EXPECT_EQ(r.runPauses, 2);
}

TEST(GDisplFormTest, LimitValueEntryTitleAndAutoscaleMessage) {
  Rig r;
  TGDisplForm* w = r.wins.CreateDisplay();
  r.asker.QueueText("2");
  for (QAction* a : w->DisplayMenu()->actions())
    if (a->text() == "V&SWR") a->trigger();
  w->AskLimitValue();
  ASSERT_FALSE(r.asker.Records(TAskRecord::Input).empty());
  EXPECT_TRUE(r.asker.Records(TAskRecord::Input).back().text.contains("Limit value - VSWR"));
  for (QAction* a : w->DisplayMenu()->actions())
    if (a->text() == "&Mag") a->trigger();
  EXPECT_NEAR(w->Displ().Grf->LimLine.Value, 1.0 / 3.0, 1e-12);
  r.wins.BlankAll();
  w->DoAutoscale();
  ASSERT_FALSE(r.asker.Records(TAskRecord::Message).empty());
  EXPECT_EQ(r.asker.Records(TAskRecord::Message).back().text,
            "No data to autoscale:\r\nMeasure or make traces visible first");
}

TEST(GDisplFormTest, ClockClickRefreshesAndBeeps) {
  Rig r;
  TGDisplForm* w = r.wins.CreateDisplay();
  w->SetClockVisible(true);
  w->Clock()->setText(QString());
  QTest::mouseClick(w->Clock(), Qt::LeftButton);
  EXPECT_EQ(w->Clock()->text().size(), QString("09-Dec-2025 05:06").size());
  ASSERT_FALSE(r.asker.Records(TAskRecord::Beep).empty());
  EXPECT_EQ(r.asker.Records(TAskRecord::Beep).back().number, 1000);
}

// Pixels of the chart's texts (drawn in blue) inside a rectangle of the chart panel's image.
int TextPixelsIn(const QImage& image, const QRect& r) {
  int n = 0;
  for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
    for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 160 && c.red() < 120 && c.green() < 120) ++n;
    }
  return n;
}

TEST(GDisplFormTest, TheClockCoversNoChartTextOfAnyTypeItGoesBelowTheLegendInstead) {
  Rig r;
  TGDisplForm* w = r.wins.CreateDisplay();
  w->SetClockVisible(true);
  int moved = 0;
  // First where the program puts the clock by itself, then after "Arrange Panels".
  for (bool arranged : {false, true})
    for (QAction* a : w->DisplayMenu()->actions()) {
      if (!a->isCheckable()) continue;
      a->trigger();
      QApplication::processEvents();
      if (arranged) w->ArrangePanels();
      SCOPED_TRACE(w->windowTitle().toStdString() + (arranged ? ", arranged" : ""));
      // The grid alone, without the traces of the sweep.
      w->Blank();
      const QRect clock = w->Clock()->geometry();
      EXPECT_EQ(TextPixelsIn(w->Panel()->Image(), clock), 0);
      if (qEnvironmentVariableIsSet("QZ_DUMP")) {
        w->Panel()->Image().save(QString("/tmp/clk_%1_%2.png").arg(w->Displ().AkeY).arg(arranged));
        qDebug() << clock << w->Legend()->geometry() << w->Panel()->size();
      }
      if (arranged) continue;
      const QRect legend = w->Legend()->geometry();
      if (clock.topLeft() ==
          DefaultPanelPlaces(legend.size(), clock.size(), w->Panel()->size()).clock)
        continue;
      ++moved;
      EXPECT_EQ(clock.right(), legend.right());
      EXPECT_GE(clock.top(), legend.bottom() + 3);
    }
  // The Smith and VSWR charts' top texts are where the clock usually stands.
  EXPECT_GE(moved, 1);
}

TEST(GDisplFormTest, TheLegendTheProgramPlacesCoversNoChartTextOfAnyTypeAtAnySize) {
  // Window sizes: a new window, the smallest seen tiled, columns and rows of tiled windows.
  const QSize sizes[] = {{0, 0}, {338, 248}, {300, 640}, {420, 900}, {900, 260}, {640, 480}};
  int moved = 0;
  for (const QSize size : sizes)
    for (bool arranged : {false, true}) {
      Rig r;
      TGDisplForm* w = r.wins.CreateDisplay();
      if (!size.isEmpty()) w->parentWidget()->resize(size);
      QApplication::processEvents();
      for (QAction* a : w->DisplayMenu()->actions()) {
        if (!a->isCheckable()) continue;
        a->trigger();
        QApplication::processEvents();
        if (arranged) w->ArrangePanels();
        SCOPED_TRACE(w->windowTitle().toStdString() + " in " + std::to_string(size.width()) +
                     " x " + std::to_string(size.height()) + (arranged ? ", arranged" : ""));
        // The grid alone: no trace of the sweep under the legend.
        r.wins.BlankAll();
        w->Blank();
        const QRect legend = w->Legend()->geometry();
        EXPECT_EQ(TextPixelsIn(w->Panel()->Image(), legend), 0);
        EXPECT_TRUE(QRect(QPoint(0, 0), w->Panel()->size()).contains(legend));
        if (!arranged &&
            legend.topLeft() !=
                DefaultPanelPlaces(legend.size(), w->Clock()->size(), w->Panel()->size()).legend)
          ++moved;
      }
    }
  // The VSWR chart's "(VSWR)" stands where the legend usually does.
  EXPECT_GE(moved, 1);
}

TEST(GDisplFormTest, TheChartMenusSharedLetterChoosesItsOneEnabledItem) {
  Rig r;
  TGDisplForm* w = r.wins.CreateDisplay();
  int scales = 0;
  w->OnSetScale = [&scales](TGDisplForm&) { ++scales; };
  QMenu* chart = w->ChartMenu();
  QAction* setScale = testing::FindAction(chart, "&Set Scale...");
  ASSERT_NE(setScale, nullptr);
  // "&Set Scale..." and "&Show Load" share S; "&Show Load" is enabled for the reflection
  // coefficient's types only (Mag to Oven).
  struct Case {
    const char* type;
    int scales;
    bool menuOpen;
  };
  const Case cases[] = {
      {"&Mag", 0, true}, {"Po&wer", 1, false}, {"&Z-Smith", 1, true}, {"&Freq", 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    testing::FindAction(w->DisplayMenu(), c.type)->trigger();
    chart->popup(w->mapToGlobal(QPoint(10, 10)));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, "s");
    QApplication::sendEvent(chart, &key);
    EXPECT_EQ(scales, c.scales);
    EXPECT_EQ(chart->isVisible(), c.menuOpen);
    if (c.menuOpen) {
      EXPECT_EQ(chart->activeAction(), setScale);
    }
    chart->hide();
  }
}

TEST(GDisplFormTest, TheSharedLimitStaysTheSameThroughSavesAndReads) {
  // The limit entered on one reflection type, the window saved and read again six times: the
  // magnitude and every stored text hold after the first read (the file keeps 15 digits).
  const struct {
    int32_t type;
    int32_t unit;
    double value;
    double mag;
  } cases[] = {
      {diVSWR, 0, 1.7, 0.7 / 2.7}, {diLogMag, 0, -13.3, std::pow(10.0, -13.3 / 20.0)},
      {diMag, 1, 37.3, 0.373},     {diMag, 2, 123.4, 0.1234},
      {diOven, 0, 2.9, 1.9 / 3.9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    Rig r;
    TGDisplForm* w = r.wins.CreateDisplay();
    w->RecreateDisplay(XTypeOf(c.type), c.type);
    if (c.unit) w->SetUnit(c.unit);
    w->Displ().SetLimitValue(c.value);
    EXPECT_NEAR(w->Displ().LimFdrMag, c.mag, 1e-14);
    QStringList first;
    double m = 0.0;
    for (int i = 0; i < 6; ++i) {
      SCOPED_TRACE(i);
      IniFile ini;
      w->WriteStp(ini, 1);
      QStringList texts;
      for (int t : {0, 1, 2, 4, 5, 6, 7})
        texts << ini.ReadString(QStringLiteral("DForm_1 DepotY_%1").arg(t), "LimValue", QString());
      w->ReadStp(ini, "DForm_1");
      EXPECT_NEAR(w->Displ().LimFdrMag, c.mag, 1e-14);
      if (i == 0) m = w->Displ().LimFdrMag;
      if (i == 1) first = texts;
      EXPECT_EQ(w->Displ().LimFdrMag, m);
      if (i > 1) {
        EXPECT_EQ(texts, first);
      }
    }
  }
}

TEST(GDisplFormTest, SetupRoundTripOfTwoWindows) {
  IniFile ini;
  TDFormStp first, second;
  {
    Rig r;
    TGDisplForm* p = r.wins.CreateDisplay();
    p->RecreateDisplay(kXPoints, diPower);
    p->SetUnit(3);
    p->Panel()->Capt()->Lbl->setText("Amplifier");
    p->Panel()->Capt()->Show();
    p->SetClearAndGo(false);
    p->SetClockVisible(true);
    TGDisplForm* s = r.wins.CreateDisplay();
    s->RecreateDisplay(kXReS11, diZSmith);
    s->Displ().Grf->iZoom = 2;  // a zoom holds once the chart leaves its default range
    s->Displ().Grf->Oy.Stp.Data.UseDflt = false;
    s->Displ().SetLimitValue(0.25);
    s->SetShowLoad(true);
    TGDisplForm* closed = r.wins.CreateDisplay();
    closed->parentWidget()->close();
    ini.SetText("[DForm_3]\r\nDsplTyp=2\r\n[DForm_3 DepotY_2]\r\nZoom=1\r\n");
    r.wins.Ops().RefreshXaxis();  // as after any setup read
    // Laid out as windows in use are: the places written are those on the panels shown.
    QApplication::processEvents();
    r.wins.WriteDisplays(ini);
    first = p->StpRecord();
    second = s->StpRecord();
  }
  EXPECT_FALSE(ini.SectionExists("DForm_3"));
  EXPECT_FALSE(ini.SectionExists("DForm_3 DepotY_2"));
  Rig r;
  r.wins.DisplaysFromSetup(ini);
  ASSERT_EQ(r.wins.Windows().size(), 2u);
  TGDisplForm* p = r.wins.Windows()[0];
  TGDisplForm* s = r.wins.Windows()[1];
  EXPECT_EQ(p->windowTitle(), "Power");
  EXPECT_EQ(p->Displ().Grf->Oy.Stp.Data.Jedn, "kW");
  EXPECT_EQ(p->Panel()->Capt()->Lbl->text(), "Amplifier");
  EXPECT_FALSE(p->ClearAndGo());
  EXPECT_FALSE(p->Clock()->isHidden());
  EXPECT_EQ(s->windowTitle(), "Z-Smith - Load");
  EXPECT_EQ(s->Displ().Grf->iZoom, 2);
  EXPECT_NEAR(s->Displ().Grf->LimLine.Value, 0.25, 1e-12);
  TDFormStp a = p->StpRecord(), b = s->StpRecord();
  // The outer places depend on the display area; everything else is restored.
  for (TDFormStp* x : {&a, &b, &first, &second}) x->Top = x->Left = x->Width = x->Height = 0;
  // Limit values are stored with 15 significant digits; those that came back within that are
  // taken as the same before the whole records are compared.
  // LastMin/LastMax are not stored: reading takes them from the requested range.
  auto same = [](TDFormStp x, TDFormStp y) {
    for (TDFormStp* r : {&x, &y}) {
      for (auto& o : r->Depot.OsX) o.Data.LastMin = o.Data.MinAsk, o.Data.LastMax = o.Data.MaxAsk;
      for (auto& o : r->Depot.OsY) o.Data.LastMin = o.Data.MinAsk, o.Data.LastMax = o.Data.MaxAsk;
    }
    for (size_t t = 0; t < 20; ++t) {
      double& v = x.Depot.Ine[t].Lim.Va;
      const double w = y.Depot.Ine[t].Lim.Va;
      EXPECT_NEAR(v, w, 1e-13 * std::max(1.0, std::abs(w))) << t;
      v = w;
    }
    EXPECT_EQ(x.LgndLeft, y.LgndLeft);
    EXPECT_EQ(x.LgndTop, y.LgndTop);
    EXPECT_EQ(x.pTimeLeft, y.pTimeLeft);
    EXPECT_EQ(x.pTimeTop, y.pTimeTop);
    EXPECT_EQ(x.WindowState, y.WindowState);
    EXPECT_TRUE(x == y);
  };
  same(a, first);
  same(b, second);
}

TEST(GDisplFormTest, RefillLeavesTheMotorStateAndResultAlone) {
  Rig r;
  r.mot.ActPos[1] = 1234;
  r.qv.Res.Pinc = 55.0;
  TGDisplForm* w = r.wins.CreateDisplay();
  r.wins.ImpressAll();
  w->RecreateDisplay(kXPoints, diPower);
  EXPECT_EQ(r.mot.ActPos[1], 1234);
  EXPECT_EQ(r.qv.Res.Pinc, 55.0);
  EXPECT_EQ(w->Displ().TracesToDraw.Trace(0)->GetCount(), 3);
}

TEST(GDisplFormTest, ClosingMakesTheWindowsSettingsTheDefaults) {
  Rig r;
  TGDisplForm* w = r.wins.CreateDisplay();
  w->RecreateDisplay(kXPoints, diLogPower);
  w->SetUnit(0);
  w->parentWidget()->close();
  EXPECT_TRUE(r.wins.Windows().empty());
  EXPECT_EQ(r.wins.Defaults.NewType, diLogPower);
  EXPECT_EQ(r.wins.Defaults.Depot.OsY[diLogPower].Data.Nunit, 0);
  TGDisplForm* n = r.wins.NewDisplay();
  EXPECT_EQ(n->windowTitle(), "LogPower");
  EXPECT_EQ(n->Displ().Grf->Oy.Stp.Data.Jedn, "dBm");
}

}  // namespace
}  // namespace qz
namespace qz {
namespace {

// Windows read from a setup while the display area is not showing yet (as at the program's
// start), shown afterwards: legend and clock stand wholly inside the chart panel, a stored place
// that fits is kept, one that does not is moved in; so after the legend grows.
TEST(GDisplFormTest, ReadLegendAndClockStandWholeInsideTheChartPanel) {
  const struct {
    const char* name;
    const char* keys;  // the stored place, if any
    QPoint legend;     // where the legend must stand; x < 0: right-aligned, y < 0: at the bottom
  } cases[] = {
      {"no stored place", "", {-1, 1}},
      {"no stored place, small window", "Width=200\r\nHeight=150\r\n", {-1, 1}},
      {"no stored place, large window", "Width=700\r\nHeight=500\r\n", {-1, 1}},
      {"stored place that fits", "LgndLeft=30\r\nLgndTop=12\r\n", {30, 12}},
      {"beyond the right edge", "LgndLeft=2000\r\nLgndTop=40\r\n", {-1, 40}},
      {"beyond the corner", "LgndLeft=2000\r\nLgndTop=2000\r\n", {-1, -1}},
      {"left of and above", "LgndLeft=-40\r\nLgndTop=-3\r\n", {1, 1}},
  };
  for (bool atStart : {true, false})
    for (const auto& c : cases)
      for (int t : {diMag, diPhase, diPolar, diZSmith, diYSmith, diVSWR, diPower}) {
        SCOPED_TRACE(std::string(c.name) + ", type " + std::to_string(t) +
                     (atStart ? ", at the start" : ", in use"));
        Rig r;
        if (atStart) r.area.hide();
        IniFile ini;
        ini.SetText(QStringLiteral("[DForm_1]\r\nDsplTyp=%1\r\npTimeShow=1\r\n%2")
                        .arg(t)
                        .arg(QLatin1String(c.keys))
                        .toLatin1());
        r.wins.DisplaysFromSetup(ini);
        r.area.show();
        QApplication::processEvents();
        TGDisplForm* w = r.wins.Windows()[0];
        const QSize panel = w->Panel()->size();
        auto inside = [&panel](const QRect& g) {
          // 1 pixel from the left and top edges, 2 from the right and bottom, as a dragged panel.
          EXPECT_GE(g.left(), 1) << g.left();
          EXPECT_GE(g.top(), 1) << g.top();
          EXPECT_LE(g.left() + g.width() + 2, panel.width()) << g.left() << " " << panel.width();
          EXPECT_LE(g.top() + g.height() + 2, panel.height()) << g.top() << " " << panel.height();
        };
        const QRect legend = w->Legend()->geometry();
        inside(legend);
        inside(w->Clock()->geometry());
        EXPECT_EQ(legend.left(),
                  c.legend.x() < 0 ? panel.width() - legend.width() - 2 : c.legend.x());
        if (!QByteArray(c.keys).contains("Lgnd") && legend.top() != 1) {
          // Placed by the program, the legend left the top only for a chart text it covered
          // there (the Smith charts' top labels in the small window), and covers none now.
          const QImage& image = w->Panel()->Image();
          EXPECT_GT(TextPixelsIn(image, QRect(QPoint(legend.left(), 1), legend.size())), 0);
          EXPECT_EQ(TextPixelsIn(image, legend), 0);
        } else {
          EXPECT_EQ(legend.top(),
                    c.legend.y() < 0 ? panel.height() - legend.height() - 2 : c.legend.y());
        }
        // What the window writes is where it stands.
        EXPECT_EQ(QPoint(w->StpRecord().LgndLeft, w->StpRecord().LgndTop), legend.topLeft());
        // Every trace shown: the grown legend moves in where it would reach beyond the panel.
        for (int32_t j = 0; j < w->Displ().TracesToDraw.Count(); ++j)
          w->Displ().TracesToDraw.Trace(j)->Attr().Visible = true;
        w->AttributesEdited();
        inside(w->Legend()->geometry());
      }
}

}  // namespace
}  // namespace qz
