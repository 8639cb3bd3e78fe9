// The model window over a model: entries typed, "&Apply" pressed, the frame carries them.
#include "sim/ui/qzmdl.h"
#include "common/widgets.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QTest>

#include "../mdltesthelpers.h"
#include "core/frame.h"
#include "sim/ui/updownedit.h"
#include "util/inifile.h"

namespace qz {
namespace {

using testing::MdlRig;
using testing::ScopedRandom;

using qz::testing::Child;

TEST(QzMdlWindow, AppliedDefinedLoadReachesTheFrame) {
  MdlRig r;
  TQzMdl win(r.p, nullptr);
  EXPECT_EQ(win.windowTitle(), QStringLiteral("Quzar Model"));
  EXPECT_TRUE(win.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // Creation shows the creation values.
  EXPECT_EQ(Child<QLineEdit>(win, "edMag")->text(), QStringLiteral("0.2"));
  EXPECT_EQ(Child<TUpDownEdit>(win, "edPha")->Text(), QStringLiteral("33"));

  Child<QRadioButton>(win, "rbType0")->click();
  Child<QComboBox>(win, "cbRfl")->setCurrentIndex(kRflDb);
  Child<QLineEdit>(win, "edMag")->setText(QStringLiteral("-6.0206"));
  Child<TUpDownEdit>(win, "edPha")->SetText(QStringLiteral("-120"));
  Child<QLineEdit>(win, "edPow")->setText(QStringLiteral("2"));
  Child<QPushButton>(win, "btApply")->click();
  EXPECT_EQ(Child<QLineEdit>(win, "edPow")->text(), QStringLiteral("2"));
  EXPECT_EQ(Child<TUpDownEdit>(win, "edPha")->Position(), -120);

  ScopedRandom rnd;
  TMerObjekt f{};
  r.m.GetMobBytes(1, f);
  THresults res;
  TMotState mot;
  uint16_t nmo = 0;
  ASSERT_TRUE(DekodMerData(f, res, mot, 0.0, nmo));
  EXPECT_NEAR(res.Mag_z, 0.5, 2.0 / 4096);
  EXPECT_NEAR(res.Pha_z, -120, 0.2);
  EXPECT_DOUBLE_EQ(res.Pinc, 2000);
}

TEST(QzMdlWindow, EntryTextAndUpDownStayApart) {
  TUpDownEdit ud(-180, 180, 1, true);
  ud.SetPosition(179);
  ud.SetText(QStringLiteral("12.5"));
  EXPECT_EQ(ud.Position(), 179);  // typing does not move the position
  ud.Click(+1);
  EXPECT_EQ(ud.Position(), 180);
  ud.Click(+1);  // wraps
  EXPECT_EQ(ud.Position(), -180);
  EXPECT_EQ(ud.Text(), QStringLiteral("-180"));
  TUpDownEdit pause(0, 10000, 100, false);
  pause.SetPosition(9950);
  pause.Click(+1);
  EXPECT_EQ(pause.Position(), 10000);  // stops at the limit
}

// An Error Byte item toggles once whether its box or its text is clicked.
TEST(QzMdlWindow, AnErrorItemTogglesOnItsTextAndOnItsBoxOnce) {
  MdlRig r;
  TQzMdl win(r.p, nullptr);
  auto* list = Child<QListWidget>(win, "cblErrors");
  auto* tabs = win.findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  win.show();
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->widget(i)->isAncestorOf(list)) tabs->setCurrentIndex(i);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
  const QRect rect = list->visualItemRect(list->item(0));
  const QPoint text(rect.right() - 10, rect.center().y());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, text);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(r.m.ErrByte, 2);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, text);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(r.m.ErrByte, 0);
  // The box at the item's left edge: one click, one toggle.
  QStyleOptionViewItem opt;
  opt.initFrom(list->viewport());
  opt.rect = rect;
  opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  const QRect box =
      list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, list);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(r.m.ErrByte, 2);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  // Then the text again.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, text);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
}

TEST(QzMdlWindow, TheDefinedEntriesShowWhetherTheyActHoweverTheTypeChanged) {
  MdlRig r;
  TQzMdl win(r.p, nullptr);
  const QColor entry = win.palette().color(QPalette::Base);
  const QColor face = win.palette().color(QPalette::Button);
  ASSERT_NE(entry, face);
  auto* mag = Child<QLineEdit>(win, "edMag");
  auto* pha = Child<TUpDownEdit>(win, "edPha")->Edit();
  // A click on a type, or the type set by the program (the chart closed gives back "Defined",
  // a remote call or a setup sets another), and the entries follow.
  struct Step {
    const char* click;  // a type button, or nothing: the type below set by the program
    int type;
    bool defined;
  };
  const Step steps[] = {
      {"rbType3", kDutChart, false},    {nullptr, kDutDefined, true},
      {nullptr, kDutMatch, false},      {"rbType0", kDutDefined, true},
      {"rbType2", kDutAnimated, false}, {nullptr, kDutDefined, true},
  };
  for (const Step& s : steps) {
    if (s.click)
      Child<QRadioButton>(win, s.click)->click();
    else
      win.EditAndApply([&s](TMdlPresenter& p) { p.Ent.DutType = s.type; });
    SCOPED_TRACE(::testing::Message() << (s.click ? s.click : "set") << " " << s.type);
    ASSERT_EQ(r.p.Ent.DutType, s.type);
    EXPECT_EQ(mag->palette().color(QPalette::Base), s.defined ? entry : face);
    EXPECT_EQ(pha->palette().color(QPalette::Base), s.defined ? entry : face);
    EXPECT_EQ(mag->parentWidget()->isEnabled(), s.defined);  // the "Defined" group
  }
}

TEST(QzMdlWindow, ErrorItemsAndFilePageAndClose) {
  MdlRig r;
  TQzMdl win(r.p, nullptr);
  auto* list = Child<QListWidget>(win, "cblErrors");
  list->item(0)->setCheckState(Qt::Checked);
  EXPECT_EQ(r.m.ErrByte, 2);
  list->item(1)->setCheckState(Qt::Checked);
  EXPECT_EQ(r.m.ErrByte, 16);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  auto* tabs = win.findChild<QTabWidget*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->count(), 4);
  EXPECT_FALSE(tabs->widget(2)->isEnabled());
  EXPECT_EQ(tabs->currentIndex(), 0);
  Child<QRadioButton>(win, "rbType2")->click();
  EXPECT_EQ(tabs->currentIndex(), 1);
  win.show();
  EXPECT_TRUE(win.close() || !win.isVisible());
  EXPECT_FALSE(win.isVisible());
  int help = 0;
  win.OnHelp = [&](int c) { help = c; };
  Child<QPushButton>(win, "btHelp")->click();
  EXPECT_EQ(help, kMdlHelpContext);
}

TEST(QzMdlWindow, SetupRoundTripThroughTheWindow) {
  MdlRig a;
  TQzMdl wa(a.p, nullptr);
  Child<QLineEdit>(wa, "edTemp")->setText(QStringLiteral("44"));
  Child<QCheckBox>(wa, "cbReversePha")->setChecked(true);
  Child<TUpDownEdit>(wa, "udPha2")->Click(-1);
  IniFile ini;
  wa.WriteStp(ini);
  MdlRig b;
  TQzMdl wb(b.p, &ini);
  EXPECT_EQ(Child<QLineEdit>(wb, "edTemp")->text(), QStringLiteral("44"));
  EXPECT_DOUBLE_EQ(b.m.Temp, 44);
  EXPECT_TRUE(Child<QCheckBox>(wb, "cbReversePha")->isChecked());
  EXPECT_EQ(Child<TUpDownEdit>(wb, "udPha2")->Position(), 179);
}

}  // namespace
}  // namespace qz
