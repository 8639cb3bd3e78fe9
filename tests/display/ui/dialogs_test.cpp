// The display dialogs over a display window: opened by the window's commands, changing the
// window only on OK.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include "common/displayrig.h"
#include "display/ui/canvasbox.h"
#include "display/ui/dlgattr.h"
#include "display/ui/dlgqzscale.h"
#include "display/ui/penfrm.h"
#include "util/ui/dialogdriver.h"

namespace qz {
namespace {

using testing::DisplayRig;
using testing::FindAction;
using testing::WhenModal;

TGDisplForm* WindowOfType(DisplayRig& r, const QString& menuText) {
  TGDisplForm* w = r.wins.CreateDisplay();
  FindAction(w->DisplayMenu(), menuText)->trigger();
  return w;
}

template <class T>
void Click(QWidget* dlg, const QString& name) {
  T* b = dlg->findChild<T*>(name);
  ASSERT_NE(b, nullptr) << name.toStdString();
  b->click();
}

// ---- scale dialog ---------------------------------------------------------------------------

TEST(ScaleDialogTest, OkStoresTheFieldsAndRepaints) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "&Mag");
  bool open = false;
  WhenModal<TDlgQzScale>([&](TDlgQzScale* d) {
    open = true;
    EXPECT_EQ(d->windowTitle(), "Chart Scaling");
    EXPECT_EQ(d->Field("Points")->text(), "3");
    EXPECT_TRUE(d->Field("Points")->isReadOnly());
    EXPECT_EQ(d->focusWidget(), d->Field("Ymax"));
    d->Automatic()->setChecked(false);
    EXPECT_TRUE(d->Field("Xmin")->isEnabled());
    d->Field("Xmin")->setText("10");
    d->Field("Xmax")->setText("2");
    d->Field("Ymin")->setText("abc");
    d->Field("Ymax")->setText("0.5");
    Click<QPushButton>(d, "OK");
  });
  FindAction(w->ChartMenu(), "&Set Scale...")->trigger();
  ASSERT_TRUE(open);
  const TOsData& x = w->Displ().Grf->Ox.Stp.Data;
  const TOsData& y = w->Displ().Grf->Oy.Stp.Data;
  EXPECT_EQ(x.MinAsk, 2.0);
  EXPECT_EQ(x.MaxAsk, 10.0);
  EXPECT_EQ(y.MinAsk, 0.5);  // "abc" gives 1, then the pair is swapped
  EXPECT_EQ(y.MaxAsk, 1.0);
  EXPECT_FALSE(w->Displ().AutoX);
  EXPECT_FALSE(y.UseDflt);
}

TEST(ScaleDialogTest, BackStaysOpenAndCancelStoresOnlyIntegral) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "Ph&ase");
  TOsData& y = w->Displ().Grf->Oy.Stp.Data;
  y.LastMin = -30;
  y.LastMax = 60;
  const TOsData xBefore = w->Displ().Grf->Ox.Stp.Data;
  TOsData yWant = y;
  yWant.Bcele = !y.Bcele;
  bool stayedOpen = false;
  WhenModal<TDlgQzScale>([&](TDlgQzScale* d) {
    d->Field("Ymin")->setText("1");
    d->Field("Ymax")->setText("2");
    Click<QPushButton>(d, "Back");
    stayedOpen = d->isVisible();
    EXPECT_EQ(d->Field("Ymin")->text(), "-30");
    EXPECT_EQ(d->Field("Ymax")->text(), "60");
    d->Integral()->setChecked(!d->Integral()->isChecked());
    d->Automatic()->setChecked(false);
    Click<QPushButton>(d, "Cancel");
  });
  FindAction(w->ChartMenu(), "&Set Scale...")->trigger();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(w->Displ().Grf->Oy.Stp.Data, yWant);
  EXPECT_EQ(w->Displ().Grf->Ox.Stp.Data, xBefore);
  EXPECT_TRUE(w->Displ().AutoX);
}

TEST(ScaleDialogTest, AutoWithoutDataShowsTheMessageAndChangesNothing) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "&LogMag");
  w->Displ().ResetTracesToDraw(true);
  const TOsData xBefore = w->Displ().Grf->Ox.Stp.Data;
  const TOsData yBefore = w->Displ().Grf->Oy.Stp.Data;
  int result = -1;
  WhenModal<TDlgQzScale>([&](TDlgQzScale* d) {
    QObject::connect(d, &QDialog::finished, d, [&](int res) { result = res; });
    Click<QPushButton>(d, "Auto");
  });
  FindAction(w->ChartMenu(), "&Set Scale...")->trigger();
  EXPECT_EQ(result, QDialog::Rejected);
  const auto msgs = r.asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, "No data to autoscale:\r\nMeasure or make traces visible first");
  EXPECT_EQ(w->Displ().Grf->Ox.Stp.Data, xBefore);
  EXPECT_EQ(w->Displ().Grf->Oy.Stp.Data, yBefore);
}

TEST(ScaleDialogTest, SmithZoomAndTheEnablingOfACircularDisplay) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "&Z-Smith");
  // A chart on its default range shows zoom level 0; an autoscaled one its own level.
  w->Displ().Grf->Oy.Stp.Data.UseDflt = false;
  w->Displ().Grf->iZoom = 3;
  WhenModal<TDlgQzScale>([&](TDlgQzScale* d) {
    EXPECT_EQ(d->SmithR()->currentIndex(), 3);
    EXPECT_EQ(d->SmithR()->currentText(), " 0.1");
    EXPECT_EQ(d->focusWidget(), d->SmithR());
    EXPECT_FALSE(d->Automatic()->isEnabled());
    for (const char* f : {"Xmin", "Xmax", "Ymin", "Ymax", "PolarR"}) {
      EXPECT_FALSE(d->Field(f)->isEnabled()) << f;
      EXPECT_TRUE(d->Field(f)->text().isEmpty()) << f;
    }
    d->SmithR()->setCurrentIndex(2);
    Click<QPushButton>(d, "OK");
  });
  w->OnSetScale(*w);
  EXPECT_EQ(w->Displ().Grf->iZoom, 2);
  EXPECT_FALSE(w->Displ().Grf->Ox.Stp.Data.UseDflt);
  EXPECT_FALSE(w->Displ().Grf->Oy.Stp.Data.UseDflt);
}

// ---- trace dialog ---------------------------------------------------------------------------

TEST(TraceDialogTest, EditsOfTraceTwoReachOnlyItAndTheLegendOnOk) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "Po&wer");
  w->SetLegendVisible(true);
  const TTracesAtrib before = w->Displ().TraceAttributes({});
  const QImage legendBefore = w->Legend()->grab().toImage();
  r.asker.QueueColor(clLime);
  WhenModal<TDlgAttr>([&](TDlgAttr* d) {
    auto* traces = d->findChild<QComboBox*>("TraceToEdit");
    QStringList entries;
    for (int i = 0; i < traces->count(); ++i) entries << traces->itemText(i);
    EXPECT_EQ(entries, QStringList({"1:  Pinc", "2:  Prefl", "3:  Pabs"}));
    traces->setCurrentIndex(1);
    Click<QPushButton>(d, "LineColor");
    d->findChild<QSpinBox*>("LineWidth")->setValue(3);
    // Cell 9 of the 4 x 3 grid: second column, third row.
    TCanvasBox* grid = d->ShapeGrid();
    QTest::mouseClick(grid, Qt::LeftButton, {},
                      QPoint(grid->width() * 3 / 8, grid->height() * 5 / 6));
    Click<QPushButton>(d, "OK");
  });
  FindAction(w->ChartMenu(), "&Properties...")->trigger();
  TTracesAtrib want = before;
  want[1].LinePen.Color = clLime;
  want[1].LinePen.Width = 3;
  want[1].Dots.Tvar = 9;
  EXPECT_EQ(w->Displ().TraceAttributes({}), want);
  EXPECT_EQ(w->FrmAtr()[1], want[1]);
  EXPECT_NE(w->Legend()->grab().toImage(), legendBefore);
}

TEST(TraceDialogTest, CancelAndTheEmptyCellChangeNothing) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "Po&wer");
  const TTracesAtrib before = w->Displ().TraceAttributes({});
  const bool persist = w->Displ().Grf->Persist;
  r.asker.QueueColor(clLime);
  bool cancelled = false;
  WhenModal<TDlgAttr>([&](TDlgAttr* d) {
    cancelled = true;
    Click<QPushButton>(d, "LineColor");
    d->findChild<QCheckBox*>("Persist")->setChecked(!persist);
    d->findChild<QCheckBox*>("ClearAndGo")->setChecked(false);
    Click<QPushButton>(d, "Cancel");
  });
  FindAction(w->ChartMenu(), "&Properties...")->trigger();
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(w->Displ().TraceAttributes({}), before);
  EXPECT_EQ(w->Displ().Grf->Persist, persist);
  EXPECT_TRUE(w->ClearAndGo());

  bool open = false;
  WhenModal<TDlgAttr>([&](TDlgAttr* d) {
    open = true;
    TCanvasBox* grid = d->ShapeGrid();
    const QImage shown = grid->Image().copy();
    QTest::mouseClick(grid, Qt::LeftButton, {},
                      QPoint(grid->width() * 7 / 8, grid->height() * 5 / 6));
    EXPECT_EQ(grid->Image(), shown);
    Click<QPushButton>(d, "OK");
  });
  // A click on the legend opens the same dialog.
  w->OnLegendClick(*w);
  EXPECT_TRUE(open);
  EXPECT_EQ(w->Displ().TraceAttributes({}), before);
}

TEST(TraceDialogTest, AClickOnTheLegendOpensItAndADragDoesNot) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "&Mag");
  w->SetLegendVisible(true);
  int opened = 0;
  auto settle = [&] {
    for (int i = 0; i < 50; ++i) QTest::qWait(10);
  };
  WhenModal<TDlgAttr>([&](TDlgAttr* d) {
    ++opened;
    d->reject();
  });
  QTest::mouseClick(w->Legend(), Qt::LeftButton, {}, QPoint(5, 5));
  settle();
  EXPECT_EQ(opened, 1);
  // From here on the hook only counts, so that a wrong opening cannot wait for an answer.
  w->OnLegendClick = [&](TGDisplForm&) { ++opened; };
  // A drag moves the legend and opens nothing.
  QWidget* l = w->Legend();
  const QPoint start = l->pos();
  QTest::mousePress(l, Qt::LeftButton, {}, QPoint(5, 5));
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), l->mapToGlobal(QPointF(-40, 25)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(l, &move);
  QTest::mouseRelease(l, Qt::LeftButton, {}, QPoint(5, 5));
  settle();
  EXPECT_NE(l->pos(), start);
  EXPECT_EQ(opened, 1);
  // While a run keeps the window's commands waiting, so does the legend.
  w->EnableForRun(false);
  QTest::mouseClick(w->Legend(), Qt::LeftButton, {}, QPoint(5, 5));
  settle();
  EXPECT_EQ(opened, 1);
}

TEST(TraceDialogTest, OkKeepsStoredValuesNoFieldCanShowAndSetsTheSwitches) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "&Mag");
  TDrawAttrib odd = w->Displ().TracesToDraw.Trace(0)->Attr();
  odd.LinePen.Style = psClear;
  odd.LinePen.Width = 50;
  odd.Dots.LineWidth = 100;
  w->Displ().TracesToDraw.Trace(0)->SetAttr(odd);
  WhenModal<TDlgAttr>([&](TDlgAttr* d) {
    EXPECT_EQ(d->findChild<QComboBox*>("LineStyle")->currentIndex(), -1);
    EXPECT_EQ(d->findChild<QSpinBox*>("LineWidth")->value(), 11);
    d->findChild<QCheckBox*>("Persist")->setChecked(true);
    d->findChild<QCheckBox*>("ClearAndGo")->setChecked(false);
    Click<QPushButton>(d, "OK");
  });
  FindAction(w->ChartMenu(), "&Properties...")->trigger();
  EXPECT_EQ(w->Displ().TracesToDraw.Trace(0)->Attr(), odd);
  EXPECT_TRUE(w->Displ().Grf->Persist);
  EXPECT_FALSE(w->ClearAndGo());
  // The tool buttons follow.
  for (QAction* a : w->ToolBar()->actions()) {
    if (a->toolTip() == "Persist") {
      EXPECT_TRUE(a->isChecked());
    }
    if (a->toolTip() == "Clear and Go") {
      EXPECT_FALSE(a->isChecked());
    }
  }
}

// ---- pen dialog -----------------------------------------------------------------------------

TEST(PenDialogTest, NoneUnchecksVisibleAndVisibleAgainIsSolid) {
  TPen pen{clRed, psDot, 2, pmCopy};
  TPenFrm d;
  d.AssignSenderPen(&pen);
  EXPECT_EQ(d.windowTitle(), "Line Properties");
  EXPECT_EQ(d.Style()->count(), 6);
  EXPECT_TRUE(d.Visible()->isChecked());
  emit d.Style()->activated(5);
  EXPECT_FALSE(d.Visible()->isChecked());
  EXPECT_EQ(d.Data.PenBuf.Style, psClear);
  d.Visible()->setChecked(true);
  EXPECT_EQ(d.Style()->currentText(), "Solid");
  EXPECT_EQ(d.Data.PenBuf.Style, psSolid);
  d.reject();
  EXPECT_EQ(pen, (TPen{clRed, psDot, 2, pmCopy}));
  // A width beyond the field goes back untouched.
  TPen wide{clRed, psDot, 50, pmCopy};
  d.AssignSenderPen(&wide);
  EXPECT_EQ(d.Width()->value(), kPenWidthMax);
  d.OkClick();
  EXPECT_EQ(wide, (TPen{clRed, psDot, 50, pmCopy}));
}

TEST(PenDialogTest, LimitLineStyleIsStoredForThePresentType) {
  DisplayRig r;
  TGDisplForm* w = WindowOfType(r, "Ph&ase");
  const TPen before = w->Displ().Grf->LimLine.Pen;
  WhenModal<TPenFrm>([&](TPenFrm* d) {
    EXPECT_EQ(d->windowTitle(), "Limit Line Properties");
    d->Visible()->setChecked(false);
    d->reject();
  });
  FindAction(w->ChartMenu(), "&Style...")->trigger();
  EXPECT_EQ(w->Displ().Grf->LimLine.Pen, before);

  r.asker.QueueColor(clBlue);
  WhenModal<TPenFrm>([&](TPenFrm* d) {
    d->Width()->setValue(4);
    d->ColorClick();
    d->OkClick();
  });
  FindAction(w->ChartMenu(), "&Style...")->trigger();
  TPen want = before;
  want.Width = 4;
  want.Color = clBlue;
  EXPECT_EQ(w->Displ().Grf->LimLine.Pen, want);
  // Another type and back: the pen was kept for Phase.
  FindAction(w->DisplayMenu(), "&Mag")->trigger();
  EXPECT_NE(w->Displ().Grf->LimLine.Pen, want);
  FindAction(w->DisplayMenu(), "Ph&ase")->trigger();
  EXPECT_EQ(w->Displ().Grf->LimLine.Pen, want);
}

}  // namespace
}  // namespace qz
