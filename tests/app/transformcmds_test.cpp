// The transform and plane extension commands over a scripted asker: menu states, captions,
// the confirmation, the value entry and the refresh callbacks.
#include "app/transformcmds.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "util/folders.h"

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
  // The hint says what the formula does: a length along the waveguide.
  EXPECT_STREQ(kPlaneExtHint,
               "Measurement plane shift out of the calibration plane (length along the waveguide)");
}

// "Apply two-port" / "Remove fixture": the direction is kept by the transform, shown in the menu
// and refreshes what the transform refreshes, once per change.
TEST_F(TransformCmdsTest, DirectionIsChosenAndRefreshes) {
  EXPECT_FALSE(cmds.MenuState().removeChecked);
  cmds.SetDirection(TBilinDir::Remove);
  EXPECT_EQ(bt.Direction, TBilinDir::Remove);
  EXPECT_TRUE(cmds.MenuState().removeChecked);
  EXPECT_EQ(transformRefreshes, 1);
  cmds.SetDirection(TBilinDir::Remove);
  EXPECT_EQ(transformRefreshes, 1);
  cmds.SetDirection(TBilinDir::Apply);
  EXPECT_FALSE(cmds.MenuState().removeChecked);
  EXPECT_EQ(transformRefreshes, 2);
}

// "Load" asks for the file where the last one was, reads it and shows the reader's message.
TEST_F(TransformCmdsTest, LoadAsksForTheFileAndShowsTheMessage) {
  QFile f(dir.filePath("adapter.txt"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(
      "* INFO = Adapter A\r\n# GHZ S11_RE S11_IM S21_RE S21_IM S22_RE S22_IM\r\n"
      "2 0.5 0 1 0 0 0\r\nEND\r\n");
  f.close();
  // A typed name without extension finds the ".txt" file, as the open dialog does.
  asker.QueueFile(dir.filePath("adapter"));
  cmds.Load();
  EXPECT_TRUE(bt.GetActive());
  EXPECT_EQ(bt.Path, dir.filePath("adapter.txt"));
  const auto files = asker.Records(TAskRecord::OpenFile);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].caption, QStringLiteral("Load Text File of S-Parameters"));
  EXPECT_EQ(files[0].extra, QStringLiteral("Text file (*.txt)|*.txt|Touchstone file (*.s2p)|*.s2p|"
                                           "Any file (*.*)|*.*"));
  EXPECT_EQ(files[0].text, UserFolder() + QStringLiteral("Spar.txt"));  // a bare name
  auto msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].text, QStringLiteral("Loaded File:\n\rAdapter A"));
  EXPECT_EQ(msgs[0].type, TMsgType::Information);

  // A bad file is reported as an error; the next choice starts at it.
  const QString bad = dir.filePath("bad.txt");
  QFile b(bad);
  ASSERT_TRUE(b.open(QIODevice::WriteOnly));
  b.write("# GHZ S11_RE S11_IM S22_RE S22_IM\n1 0 0 0 0\nEND\n");
  b.close();
  asker.QueueFile(bad);
  cmds.Load();
  EXPECT_FALSE(bt.GetActive());
  msgs = asker.Records(TAskRecord::Message);
  ASSERT_EQ(msgs.size(), 2u);
  EXPECT_EQ(msgs[1].type, TMsgType::Error);
  EXPECT_EQ(asker.Records(TAskRecord::OpenFile)[1].text, dir.filePath("adapter.txt"));

  // A cancelled choice shows nothing, keeps the path and leaves the transform off.
  cmds.Load();
  EXPECT_EQ(asker.Records(TAskRecord::Message).size(), 2u);
  EXPECT_EQ(bt.Path, bad);
  EXPECT_EQ(transformRefreshes, 3);
}

}  // namespace
}  // namespace qz
