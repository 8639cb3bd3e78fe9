#include <gtest/gtest.h>

#include <QAction>
#include <QShortcut>
#include <QTest>
#include <QWidget>

#include "charts/ui/rasterpanel.h"
#include "common/chartrig.h"
#include "util/asker.h"

namespace qz {
namespace {

using testing::ChartKind;

// A display-like owner window with a panel filling it.
struct PanelRig {
  QWidget owner;
  TRasterPanel* panel;
  TScriptedAsker asker;
  TScopedAsker scope{&asker};

  explicit PanelRig(ChartKind kind = ChartKind::Rect, int w = 400, int h = 300) {
    asker.quiet = true;
    owner.resize(w, h);
    panel = new TRasterPanel(MakeRaster(kind), &owner);
    owner.show();
    panel->RenderNow();
  }
  static std::unique_ptr<TRaster> MakeRaster(ChartKind kind) {
    TOsData a = testing::AxisRange(-1, 1);
    TRozne s;
    s.CapText = "Caption";
    s.CapVisible = true;
    switch (kind) {
      case ChartKind::Rect:
        return std::make_unique<TRaster>(s, a, a);
      case ChartKind::Polar:
        return std::make_unique<TCircRaster>(s, a, a);
      case ChartKind::SmithZ:
        return std::make_unique<TSmithRaster>(s, a, a, ZSmith);
      case ChartKind::SmithY:
        return std::make_unique<TSmithRaster>(s, a, a, YSmith);
      case ChartKind::Vswr:
        return std::make_unique<TOvenRaster>(s, a, a);
    }
    return nullptr;
  }
  TDLabel* LabelAt(int x, int y) {
    panel->Raster().ChildPopupMenuX = x;
    panel->Raster().ChildPopupMenuY = y;
    TDLabel* l = panel->NewLabel();
    panel->EndEdit(true);
    return l;
  }
};

TEST(RasterPanelTest, FillsItsOwnerAndKeepsTheChartInItsImage) {
  PanelRig rig;
  EXPECT_EQ(rig.panel->objectName(), "pnlPaint");
  EXPECT_EQ(rig.panel->geometry(), rig.owner.rect());
  EXPECT_EQ(rig.panel->Image().size(), QSize(400, 300));
  rig.owner.resize(500, 320);
  EXPECT_EQ(rig.panel->size(), QSize(500, 320));
  QTest::qWait(5);  // the new size is rendered once, soon
  EXPECT_EQ(rig.panel->Image().size(), QSize(500, 320));
  EXPECT_EQ(rig.panel->ChartRect().right(), 470);
}

TEST(RasterPanelTest, ChartSettingsMadeBeforeTheHandOverStay) {
  auto r = PanelRig::MakeRaster(ChartKind::Polar);
  r->Persist = true;
  r->GrdColor = clGreen;
  QWidget owner;
  owner.resize(300, 200);
  TRasterPanel panel(std::move(r), &owner);
  panel.RenderNow();
  EXPECT_TRUE(panel.Raster().Persist);
  EXPECT_EQ(panel.Raster().GrdColor, clGreen);
}

TEST(RasterPanelTest, UnchangedCircularChartReusesItsGrid) {
  PanelRig rig(ChartKind::SmithZ);
  const QImage first = rig.panel->Image().copy();
  for (int i = 0; i < 4; ++i) rig.panel->RenderNow();
  EXPECT_EQ(rig.panel->GridBuilds(), 1);
  EXPECT_EQ(rig.panel->Image(), first);
  rig.panel->Raster().iZoom = 2;  // a zoom change builds the grid again
  rig.panel->RenderNow();
  EXPECT_EQ(rig.panel->GridBuilds(), 2);
  EXPECT_NE(rig.panel->Image(), first);
}

TEST(RasterPanelTest, LiveDrawingPaintsTheImageAtOnce) {
  PanelRig rig;
  TTraces list;
  testing::FillTraces(list, {{}});
  rig.panel->Raster().AssignTraces(&list);
  rig.panel->RenderNow();
  const QImage before = rig.panel->Image().copy();
  list.Trace(0)->AddXY(-0.5, -0.5);
  rig.panel->LiveSection(list, 0);
  list.Trace(0)->AddXY(0.5, 0.5);
  rig.panel->LiveSection(list, 1);
  EXPECT_NE(rig.panel->Image(), before);
}

TEST(RasterPanelTest, ClearLeavesTheEmptyGridAndTheLabels) {
  PanelRig rig;
  TTraces list;
  testing::FillTraces(list, {testing::Sweep(50, -1, -1, 1, 0.9)});
  rig.panel->Raster().AssignTraces(&list);
  TDLabel* l = rig.LabelAt(20, 20);
  const QImage empty = rig.panel->Image().copy();
  rig.panel->RenderNow();
  ASSERT_NE(rig.panel->Image(), empty);
  rig.panel->ClrRaster();
  EXPECT_EQ(rig.panel->Image(), empty);
  EXPECT_FALSE(l->isHidden());
  EXPECT_TRUE(rig.panel->Raster().Ox.g0[0].empty());
}

TEST(RasterPanelTest, CaptionStandsAboveOrBelowTheChart) {
  PanelRig rect(ChartKind::Rect), smith(ChartKind::SmithZ);
  const QLabel* c = rect.panel->Capt()->Lbl;
  EXPECT_TRUE(c->isVisible());
  EXPECT_GE(c->height(), 13);
  EXPECT_EQ(c->geometry().bottom() + 1, rect.panel->ChartRect().top() - 4);
  EXPECT_EQ(c->geometry().center().x(), rect.panel->ChartRect().center().x());
  const QLabel* s = smith.panel->Capt()->Lbl;
  EXPECT_GT(s->y(), smith.panel->ChartRect().bottom());
  EXPECT_LT(s->geometry().bottom(), smith.panel->height());  // never cut by the panel's edge
}

TEST(RasterPanelTest, CaptionClickAsksForTheText) {
  PanelRig rig;
  rig.asker.QueueText("Load 2");
  QTest::mouseClick(rig.panel->Capt()->Lbl, Qt::LeftButton);
  const auto asked = rig.asker.Records(TAskRecord::Input);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].caption, "Chart Caption");
  EXPECT_EQ(asked[0].text, "Enter Caption Text");
  EXPECT_EQ(asked[0].extra, "Caption");
  EXPECT_EQ(rig.panel->Capt()->Lbl->text(), "Load 2");
}

TEST(ChartLabelTest, NewLabelAtTheLastPressOpensItForEditing) {
  PanelRig rig;
  EXPECT_FALSE(rig.panel->actShowHideLabels->isVisible());
  QTest::mouseClick(rig.panel, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
  TDLabel* l = rig.panel->NewLabel();
  EXPECT_EQ(l->text(), "NewLabel");
  EXPECT_EQ(l->pos(), QPoint(120, 80));
  EXPECT_DOUBLE_EQ(l->x, 120.0 / 400);
  EXPECT_DOUBLE_EQ(l->y, 80.0 / 300);
  EXPECT_TRUE(rig.panel->actShowHideLabels->isVisible());
  EXPECT_TRUE(rig.panel->actDeleteAllLabels->isVisible());
  EXPECT_TRUE(rig.panel->EditBox()->isVisible());
  EXPECT_EQ(rig.panel->EditBox()->geometry(), QRect(l->pos(), l->size() + QSize(8, 8)));
}

TEST(ChartLabelTest, BlankInTheEditBoxGoesIntoTheText) {
  PanelRig rig;
  int spaces = 0;
  auto* run = new QShortcut(QKeySequence(Qt::Key_Space), &rig.owner);
  QObject::connect(run, &QShortcut::activated, [&] { ++spaces; });
  rig.owner.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.owner));
  QTest::keyClick(&rig.owner, Qt::Key_Space);  // the window's shortcut works outside the box
  ASSERT_EQ(spaces, 1);
  spaces = 0;
  TDLabel* l = rig.LabelAt(10, 10);
  rig.panel->SetEditLabel(l);
  TLabelEdit* e = rig.panel->EditBox();
  e->clear();
  QTest::keyClicks(e, "a b");
  QTest::keyClick(e, Qt::Key_Return);
  EXPECT_EQ(spaces, 0);
  EXPECT_EQ(l->text(), "a b");
  EXPECT_FALSE(e->isVisible());
}

TEST(ChartLabelTest, PressOnTheChartWhileEditingDropsTheText) {
  PanelRig rig;
  TDLabel* l = rig.LabelAt(10, 10);
  rig.panel->SetEditLabel(l);
  rig.panel->EditBox()->setText("changed");
  QTest::mousePress(rig.panel, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
  EXPECT_EQ(l->text(), "NewLabel");
  EXPECT_FALSE(rig.panel->EditBox()->isVisible());
}

TEST(ChartLabelTest, LabelDroppedPastTheRightEdgeEndsTwoPixelsInside) {
  PanelRig rig;
  TDLabel* l = rig.LabelAt(10, 10);
  rig.panel->DropChild(l, QPoint(1000, 50));
  EXPECT_EQ(l->geometry().right() + 1, rig.panel->width() - 2);
  EXPECT_EQ(l->pos().y(), 50);
  EXPECT_DOUBLE_EQ(l->x, double(l->pos().x()) / rig.panel->width());

  // Dragged by the pointer: the top-left follows to the drop point.
  QTest::mousePress(l, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
  QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), rig.panel->mapToGlobal(QPointF(60, 70)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(l, &move);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(2, 2), rig.panel->mapToGlobal(QPointF(60, 70)),
                 Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(l, &up);
  EXPECT_EQ(l->pos(), QPoint(60, 70));
}

TEST(ChartLabelTest, DraggedPanelIsClampedAsAPanel) {
  PanelRig rig;
  auto* legend = new QWidget(rig.panel);
  legend->resize(50, 20);
  rig.panel->MakeDraggable(legend);
  rig.panel->DropChild(legend, QPoint(390, 295));
  EXPECT_EQ(legend->pos(), QPoint(400 - 50 - 2, 300 - 20 - 2));
}

TEST(ChartLabelTest, LabelKeepsItsPlaceWhenTheWindowDoublesInWidth) {
  PanelRig rig;
  TDLabel* l = rig.LabelAt(200, 100);
  ASSERT_DOUBLE_EQ(l->x, 0.5);
  rig.owner.resize(800, 300);
  rig.panel->RenderNow();
  EXPECT_EQ(l->pos().x(), 400);
  EXPECT_EQ(l->pos().y(), 100);
}

TEST(ChartLabelTest, DeleteAllLabelsAsksFirst) {
  PanelRig rig;
  rig.LabelAt(10, 10);
  rig.LabelAt(50, 50);
  rig.asker.QueueButton(mbNo);
  rig.panel->DeleteAllLabels();
  const auto asked = rig.asker.Records(TAskRecord::Message);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, "Delete all labels?");
  EXPECT_EQ(asked[0].type, TMsgType::Warning);
  EXPECT_EQ(asked[0].buttons, mbYes | mbNo);
  EXPECT_EQ(rig.panel->Labels().size(), 2u);

  rig.asker.QueueButton(mbYes);
  rig.panel->DeleteAllLabels();
  EXPECT_TRUE(rig.panel->Labels().empty());
  EXPECT_FALSE(rig.panel->actDeleteAllLabels->isVisible());
  EXPECT_FALSE(rig.panel->actShowHideLabels->isVisible());
  rig.panel->DeleteAllLabels();  // hidden item: nothing asked
  EXPECT_EQ(rig.asker.Records(TAskRecord::Message).size(), 2u);
}

TEST(ChartLabelTest, LabelMenuCopiesRecoloursAndToggles) {
  PanelRig rig;
  TDLabel* l = rig.LabelAt(30, 40);
  TDLabel* c = rig.panel->CopyLabel(l);
  EXPECT_EQ(c->pos(), l->pos() + QPoint(5, 5));
  EXPECT_EQ(c->Style(), l->Style());
  EXPECT_EQ(rig.panel->Labels().size(), 2u);

  rig.asker.QueueColor(clYellow);
  rig.panel->ChooseLabelColor(c);
  EXPECT_EQ(c->Style().Color, clYellow);
  EXPECT_FALSE(c->Transparent());  // a chosen colour makes the label opaque
  rig.panel->ToggleLblTransp(c);
  EXPECT_TRUE(c->Transparent());

  TFontRec f;
  f.Size = 14;
  f.Bold = true;
  rig.asker.QueueFont(f);
  rig.panel->ChooseLabelFont(c);
  EXPECT_EQ(c->Style().Font, f);

  rig.panel->ShowHideLabel();
  EXPECT_TRUE(l->isHidden());
  EXPECT_TRUE(c->isHidden());
  rig.panel->DeleteLabel(c);
  EXPECT_EQ(rig.panel->Labels().size(), 1u);
}

TEST(ChartLabelTest, MenusCarryTheirTexts) {
  PanelRig rig;
  QStringList chart, label;
  for (QAction* a : rig.panel->ChartMenu()->actions()) chart << a->text();
  for (QAction* a : rig.panel->LabelMenu()->actions()) label << a->text();
  EXPECT_EQ(chart, (QStringList{"&New Label", "&Show/Hide Labels", "&Delete All Labels"}));
  EXPECT_EQ(label,
            (QStringList{"&Font...", "C&olor...", "&Edit", "&Copy", "Transparent", "&Delete"}));
}

}  // namespace
}  // namespace qz
