// The transform and plane extension commands over a scripted asker: menu states, captions,
// the confirmation, the value entry and the refresh callbacks.
#include "core/transformcmds.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace qz {
namespace {

class TransformCmdsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    asker.quiet = true;
    cmds.OnTransformChanged = [this] { ++transformRefreshes; };
    cmds.OnPlaneExtChanged = [this] { ++planeRefreshes; };
  }
  QString WriteGoodFile() {
    const QString p = dir.filePath("spar1.txt");
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# MHZ S11.RE S11.IM S21.RE S21.IM S22.RE S22.IM\n2450 0 0 1 0 0 0\nEND\n");
    return p;
  }
  QTemporaryDir dir;
  TScriptedAsker asker;
  TBilinTransf bt;
  TPlaneExt pe;
  TTransformCmds cmds{bt, pe, &asker};
  int transformRefreshes = 0;
  int planeRefreshes = 0;
};

void ExpectMenu(const TTransformMenuState& m, const char* load, const char* active,
                bool activeEnabled, bool checked, bool clearEnabled) {
  EXPECT_EQ(m.loadCaption, QString::fromLatin1(load));
  EXPECT_EQ(m.activeCaption, QString::fromLatin1(active));
  EXPECT_EQ(m.activeEnabled, activeEnabled);
  EXPECT_EQ(m.activeChecked, checked);
  EXPECT_EQ(m.clearEnabled, clearEnabled);
}

TEST_F(TransformCmdsTest, MenuFollowsLoadActiveAndClear) {
  ExpectMenu(cmds.MenuState(), "Load", "Active (NO)", false, false, false);

  asker.QueueFile(WriteGoodFile());
  cmds.Load();
  EXPECT_EQ(transformRefreshes, 1);
  ExpectMenu(cmds.MenuState(), "Load (spar1.txt)", "Active", true, true, true);

  cmds.ToggleActive();
  EXPECT_EQ(transformRefreshes, 2);
  ExpectMenu(cmds.MenuState(), "Load (spar1.txt)", "Active (NO)", true, false, true);
  cmds.ToggleActive();
  ExpectMenu(cmds.MenuState(), "Load (spar1.txt)", "Active", true, true, true);

  asker.QueueButton(mbNo);
  EXPECT_FALSE(cmds.Clear());
  EXPECT_TRUE(bt.GetActive());
  EXPECT_EQ(transformRefreshes, 3);
  asker.QueueButton(mbYes);
  EXPECT_TRUE(cmds.Clear());
  EXPECT_EQ(transformRefreshes, 4);
  ExpectMenu(cmds.MenuState(), "Load", "Active (NO)", false, false, false);

  const auto q = asker.Records(TAskRecord::Message);
  ASSERT_GE(q.size(), 2u);
  EXPECT_EQ(q[q.size() - 1].text,
            QStringLiteral("Clear the transform of input reflection coefficient?"));
  EXPECT_EQ(q[q.size() - 1].buttons, TMsgButtons(mbYes | mbNo));
}

TEST_F(TransformCmdsTest, PlaneExtensionEntryAndHint) {
  asker.QueueText(QStringLiteral("250"));
  cmds.PlaneExt();
  EXPECT_EQ(pe.Extension, 250.0);
  EXPECT_TRUE(pe.Bexten);
  EXPECT_EQ(planeRefreshes, 1);
  EXPECT_EQ(cmds.PlaneExtButtonHint(), QStringLiteral("Plane extension  (250 mm)|"));
  const auto in = asker.Records(TAskRecord::Input);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_TRUE(in[0].text.contains(QStringLiteral("Measurement plane extension (mm)")));

  // A multiplier suffix: 1.5k mm.
  asker.QueueText(QStringLiteral("1.5k"));
  cmds.PlaneExt();
  EXPECT_EQ(pe.Extension, 1500.0);
  EXPECT_EQ(cmds.PlaneExtButtonHint(), QStringLiteral("Plane extension  (1.5 m)|"));

  // Cancel keeps the present extension.
  asker.QueueCancel();
  cmds.PlaneExt();
  EXPECT_EQ(pe.Extension, 1500.0);
}

}  // namespace
}  // namespace qz
