// The serial-line items of the frame window's "Co&mmun" menu: captions and hints, the captions
// the opening menu shows for the port in use (from the port list and the configuration files
// read at the unit's start), and the COM port dialog opened from the menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/ui/communmenu.h"
#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "comm/portlist.h"
#include "comm/ui/dlgcomport.h"
#include "common/form1rig.h"
#include "util/asker.h"
#include "util/folders.h"

namespace qz {
namespace {

class Form1Commun : public qz::testing::StartedForm1Test {
 protected:
  void SetUp() override {
    showForm = false;
    startInSetUp = false;
    StartedForm1Test::SetUp();
  }
  void TearDown() override {
    StartedForm1Test::TearDown();
    ProgramPortLists() = {};
  }
  // The program started over the port list and the configuration files as they stand now.
  TForm1* Started() {
    Restart();
    return form.get();
  }
  QStringList Captions(QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
  }
  std::vector<TAskRecord> Warnings() const {
    std::vector<TAskRecord> w;
    for (const TAskRecord& r : asker.Records(TAskRecord::Message))
      if (r.type == TMsgType::Warning) w.push_back(r);
    return w;
  }
};

TEST_F(Form1Commun, ItemsCaptionsAndHints) {
  TForm1* f = Started();
  QMenu* m = f->CommunMenu();
  ASSERT_NE(m, nullptr);
  const QStringList before = Captions(m);
  ASSERT_GE(before.size(), 3);
  EXPECT_EQ(before.mid(0, 3), QStringList({"&COM Port...", "C&AN Bus (250 kBd)...", "-"}));
  QAction* com = f->CommunItems()->ComPortAction();
  EXPECT_EQ(com->toolTip(), "RS232 settings");
  EXPECT_EQ(com->statusTip(), "RS232 settings");
  EXPECT_TRUE(com->isEnabled());
  EXPECT_FALSE(f->CommunItems()->CanBusAction()->isEnabled());

  emit m->aboutToShow();
  const QStringList after = Captions(m);
  EXPECT_EQ(after.mid(0, 2), QStringList({"&COM Port...  (COM 1)", "&CAN Bus"}));
  // The live data items follow, as before.
  EXPECT_EQ(after.mid(3), before.mid(3));
}

TEST_F(Form1Commun, OpeningCaptionShowsThePortInUse) {
  const struct {
    QStringList names;
    const char* cfg;  // RS232.CFG in the per-user folder (nullptr: none)
    const char* caption;
  } cases[] = {
      {{}, nullptr, "&COM Port...  (COM 1)"},
      {{"COM3", "COM7"}, nullptr, "&COM Port...  (COM 3)"},  // the first port of the list
      {{"COM3"}, "PORTNUM=5\r\n", "&COM Port...  (COM 6)"},
      {{"COM3"}, "PortNum=99\r\nBAUDRATE=9600\r\n", "&COM Port...  (COM 100)"},
  };
  for (const auto& c : cases) {
    ProgramPortLists().names = c.names;
    ProgramPortLists().descriptions = c.names;
    QFile cfg(InUserFolder(QStringLiteral("RS232.CFG")));
    if (c.cfg) {
      ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
      cfg.write(c.cfg);
      cfg.close();
    } else {
      cfg.remove();
    }
    TForm1* f = Started();
    emit f->CommunMenu()->aboutToShow();
    EXPECT_EQ(f->CommunItems()->ComPortAction()->text(), QString::fromLatin1(c.caption));
  }
}

TEST_F(Form1Commun, DialogFromTheMenuReturnsAndWarnsWhenNotOk) {
  ProgramPortLists().names = {"COM1", "COM3"};
  ProgramPortLists().descriptions = {"Serial port (/dev/ttyS0) (COM1)",
                                     "Serial port (/dev/ttyS2) (COM3)"};
  TForm1* f = Started();
  const struct {
    const char* what;
    std::function<void(TDlgComPort&)> act;
    int result;
    bool warned;
  } cases[] = {
      {"Return", [](TDlgComPort& d) { d.ContinueButton()->click(); }, 1, false},
      {"close box", [](TDlgComPort& d) { d.close(); }, 0, true},
      {"Cancel", [](TDlgComPort& d) { d.CancelButton()->click(); }, 1, false},
  };
  for (const auto& c : cases) {
    asker.log.clear();
    bool exitEnabled = true;
    QString caption, baud;
    int rows = 0;
    f->CommunItems()->OnDialog = [&](TDlgComPort& d) {
      QTimer::singleShot(0, &d, [&] {
        exitEnabled = d.ExitButton()->isEnabled();
        caption = d.ContinueButton()->text();
        rows = d.PortList()->count();
        baud = d.BaudBox()->currentText();
        c.act(d);
      });
    };
    f->CommunItems()->ComPortAction()->trigger();
    EXPECT_EQ(caption, "&Return") << c.what;
    EXPECT_FALSE(exitEnabled) << c.what;
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(baud, "115200");
    const auto w = Warnings();
    ASSERT_EQ(w.size(), c.warned ? 1u : 0u) << c.what;
    if (c.warned) {
      EXPECT_EQ(w[0].text, "Communication test failed or skipped.");
    }
  }
}

TEST_F(Form1Commun, HelpOpensAtEstablishingCommunicationOverTheDialog) {
  TForm1* f = Started();
  bool helpOverDialog = false;
  f->CommunItems()->OnDialog = [&](TDlgComPort& d) {
    QTimer::singleShot(0, &d, [&] {
      d.HelpButton()->click();
      helpOverDialog = f->ToolWindows().Window<THelpViewer>("HelpViewer") &&
                       f->ToolWindows().Window<THelpViewer>("HelpViewer")->parentWidget() == &d;
      d.ContinueButton()->click();
    });
  };
  EXPECT_EQ(f->CommunItems()->ComPortClick(), 1);
  ASSERT_NE(f->ToolWindows().Window<THelpViewer>("HelpViewer"), nullptr);
  EXPECT_TRUE(helpOverDialog);
  // Back with the frame window once the dialog has gone.
  EXPECT_EQ(f->ToolWindows().Window<THelpViewer>("HelpViewer")->parentWidget(), f);
  EXPECT_TRUE(f->ToolWindows()
                  .Window<THelpViewer>("HelpViewer")
                  ->CurrentPage()
                  .endsWith("help/com-port.html"))
      << f->ToolWindows().Window<THelpViewer>("HelpViewer")->CurrentPage().toStdString();
}

}  // namespace
}  // namespace qz
