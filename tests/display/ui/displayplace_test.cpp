// Display windows open where they were closed: ten saves and re-creations of eleven windows
// give the very places written first, and the legend and clock stay where the operator put them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <vector>

#include "common/displayrig.h"
#include "display/dformstp.h"
#include "display/ui/displaywindows.h"
#include "display/ui/gdisplform.h"
#include "util/inifile.h"
#include "util/ui/screen.h"

namespace qz {
namespace {

using Rig = testing::DisplayRig;

struct Kept {
  int top, left, width, height, lgndTop, lgndLeft, timeTop, timeLeft;
  bool operator==(const Kept&) const = default;
};

Kept KeptOf(const IniFile& ini, const QString& s) {
  auto v = [&](const char* k) { return int(ini.ReadInteger(s, QString::fromLatin1(k), -1)); };
  return {v("Top"),     v("Left"),     v("Width"),    v("Height"),
          v("LgndTop"), v("LgndLeft"), v("pTimeTop"), v("pTimeLeft")};
}

std::vector<Kept> AllKept(const IniFile& ini) {
  std::vector<Kept> r;
  for (int n = 1; ini.SectionExists(DisplaySectionName(n)); ++n)
    r.push_back(KeptOf(ini, DisplaySectionName(n)));
  return r;
}

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// As at a start: the windows are made from the setup before the frame window shows.
void OpenAsAtStart(Rig& r, const IniFile& ini) {
  r.area.hide();
  r.area.resize(1590, 881);
  r.wins.DisplaysFromSetup(ini);
  r.area.show();
  Settle();
}

TEST(DisplayPlace, TenSaveAndRecreateCyclesKeepElevenWindowsWhereTheyWere) {
  const TFixedScreen screen(QSize(1920, 1080));
  const TScopedScreen scoped(&screen);
  // Eleven windows as an operator left them: each at a place of its own, 300 high, the legend
  // and the clock moved from their default places.
  QByteArray text;
  std::vector<Kept> first;
  for (int i = 0; i < 11; ++i) {
    const Kept k{20 * i, 30 * i, 338 + 10 * i, 300, 10 + i, 215 - 5 * i, 30 + i, 40 + i};
    first.push_back(k);
    text += "[" + DisplaySectionName(i + 1).toLatin1() + "]\r\nWindowState=0\r\n";
    text += QStringLiteral("Top=%1\r\nLeft=%2\r\nWidth=%3\r\nHeight=%4\r\n")
                .arg(k.top)
                .arg(k.left)
                .arg(k.width)
                .arg(k.height)
                .toLatin1();
    text += QStringLiteral(
                "LgndTop=%1\r\nLgndLeft=%2\r\npTimeShow=1\r\npTimeTop=%3\r\n"
                "pTimeLeft=%4\r\nDsplTyp=%5\r\n")
                .arg(k.lgndTop)
                .arg(k.lgndLeft)
                .arg(k.timeTop)
                .arg(k.timeLeft)
                .arg(i % 11)
                .toLatin1();
  }
  IniFile ini;
  ini.SetText(text);
  for (int cycle = 0; cycle < 10; ++cycle) {
    IniFile next;
    {
      Rig r;
      OpenAsAtStart(r, ini);
      r.wins.WriteDisplays(next);
    }
    const std::vector<Kept> now = AllKept(next);
    ASSERT_EQ(now.size(), first.size()) << "cycle " << cycle;
    for (size_t i = 0; i < now.size(); ++i) {
      EXPECT_EQ(now[i], first[i]) << "cycle " << cycle << ", window " << i + 1 << ": " << now[i].top
                                  << "," << now[i].left << " " << now[i].width << "x"
                                  << now[i].height << ", legend " << now[i].lgndLeft << ","
                                  << now[i].lgndTop;
    }
    ini.SetText(next.Text());
  }
}

TEST(DisplayPlace, AStoredPlaceTooLowForTheToolBarGivesTheLeastClientAndIsWrittenAsApplied) {
  IniFile ini;
  ini.SetText(
      "[DForm_1]\r\nWindowState=0\r\nTop=10\r\nLeft=20\r\nWidth=300\r\nHeight=30\r\n"
      "LgndTop=500\r\nLgndLeft=900\r\npTimeShow=1\r\npTimeTop=700\r\npTimeLeft=800\r\n");
  Rig r;
  OpenAsAtStart(r, ini);
  ASSERT_EQ(r.wins.Windows().size(), 1u);
  TGDisplForm* w = r.wins.Windows()[0];
  // The client never gets lower than the window's tool bar.
  EXPECT_GE(w->height() - w->MenuBar()->height(), w->MinH());
  IniFile out;
  r.wins.WriteDisplays(out);
  const Kept k = KeptOf(out, DisplaySectionName(1));
  const QWidget* outer = w->parentWidget();
  EXPECT_EQ(k.height, outer->height());
  EXPECT_EQ(k.width, outer->width());
  EXPECT_GT(k.height, 30);
  // Legend and clock inside the client the window got.
  EXPECT_LE(k.lgndLeft, w->Panel()->width() - 10);
  EXPECT_LE(k.lgndTop, w->Panel()->height() - 10);
  EXPECT_LE(k.timeLeft, w->Panel()->width() - 10);
  EXPECT_LE(k.timeTop, w->Panel()->height() - 5);
  // Read again, it stays as it is.
  IniFile again;
  {
    Rig r2;
    OpenAsAtStart(r2, out);
    r2.wins.WriteDisplays(again);
  }
  EXPECT_EQ(KeptOf(again, DisplaySectionName(1)), k);
}

}  // namespace
}  // namespace qz
