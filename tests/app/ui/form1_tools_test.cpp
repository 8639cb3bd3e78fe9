// The Tools menu and Quzar > More's server items in the frame window: captions and hints, the
// one F7 key, F1 on the transfer items, and a server switch that ends the program through the
// exit question.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/ui/form1.h"
#include "app/ui/helpviewer.h"
#include "common/form1rig.h"
#include "util/asker.h"
#include "util/folders.h"

namespace qz {
namespace {

class Form1Tools : public qz::testing::StartedForm1Test {
 protected:
  Form1Tools() { showForm = false; }
  QAction* Find(const QString& name) const {
    auto* a = form->findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name.toStdString();
    return a;
  }
  QMenu* More() const {
    for (QAction* a : form->QuzarMenu()->actions())
      if (a->menu() && a->text() == QStringLiteral("More")) return a->menu();
    return nullptr;
  }
  QStringList Messages() const {
    QStringList l;
    for (const TAskRecord& r : asker.Records(TAskRecord::Message)) l << r.text;
    return l;
  }
};

// Captions of a menu and its submenus, each followed by its tooltip when it has a hint.
QStringList Items(const QMenu* m, const QString& indent = QString()) {
  QStringList out;
  for (const QAction* a : m->actions()) {
    if (a->isSeparator()) continue;
    QString line = indent + a->text();
    if (!a->statusTip().isEmpty() || a->toolTip() != QString(a->text()).remove(QChar('&')))
      line += QStringLiteral(" | ") + a->toolTip() + QStringLiteral(" | ") + a->statusTip();
    out << line;
    if (a->menu()) out << Items(a->menu(), indent + QStringLiteral("  "));
  }
  return out;
}

TEST_F(Form1Tools, ToolsMenuItemsAndHints) {
  ASSERT_NE(form->ToolsMenu(), nullptr);
  EXPECT_TRUE(form->ToolsMenu()->menuAction()->isVisible());
  const QStringList want = {
      "&Send to Quzar | Send configuration files and/or server program to Quzar unit | Send "
      "configuration files and/or server program to Quzar unit",
      "&Load from Quzar | Transfer files from Quzar unit to your computer | Transfer files from "
      "Quzar unit to your computer",
      "&Update Server",
      "S&witch Server",
      "  &RS232 | Start RS232 Quzar internal program | Start RS232 Quzar internal program",
      "  &CAN Bus | Start CAN Bus Quzar internal program | Start CAN Bus Quzar internal program",
      "  &Download (RS232) | Start RS232 Download Quzar internal program | Start RS232 Download "
      "Quzar internal program",
      "R&eset",
      "  Re&start  Server (F7)",
      "  &Factory",
      "  &User-Defined",
      "  &Make",
      "  &Create CFG",
      "  Create Factory",
      // Without a long hint the short one.
      "  Make FileList | Write full FileList.txt | Write full FileList.txt",
  };
  EXPECT_EQ(Items(form->ToolsMenu()), want);
  // The reinstall command of the unit's maker is not part of this build.
  for (QAction* a : form->findChildren<QAction*>())
    EXPECT_FALSE(a->text().contains(QStringLiteral("Rei&nstall")));

  QMenu* more = More();
  ASSERT_NE(more, nullptr);
  const QStringList moreItems = Items(more);
  ASSERT_GE(moreItems.size(), 2);
  EXPECT_EQ(moreItems.mid(moreItems.size() - 2),
            QStringList({"&Halt Server | Terminate Quzar internal program, start Download (RS232) "
                         "| Terminate Quzar internal program, start Download (RS232)",
                         "&Restart Server"}));
}

TEST_F(Form1Tools, HardwareOnlyItemsSayTheyDoNotApply) {
  for (const char* name : {"miUpdateServer", "miResetFactory", "miResetUser", "miResetMake",
                           "miResetCreateCfg", "miResetCreateFactory"})
    Find(QString::fromLatin1(name))->trigger();
  EXPECT_EQ(Messages(),
            QStringList(6, QStringLiteral("Function is not applicable in simulation.")));
}

TEST_F(Form1Tools, F7IsOneActionAndBothRestartItemsAskTheSameQuestion) {
  QList<QAction*> withF7;
  for (QAction* a : form->findChildren<QAction*>())
    if (a->shortcut() == QKeySequence(Qt::Key_F7)) withF7 << a;
  ASSERT_EQ(withF7.size(), 1);
  EXPECT_EQ(withF7[0], Find(QStringLiteral("miRestartServer")));

  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(form.get(), Qt::Key_F7);
  Find(QStringLiteral("miResetRestartServer"))->trigger();
  const QString q = QStringLiteral(
      "Are you sure you wish to terminate and restart Quzar Server program?\r\nIf yes, you should "
      "also restart this QzmSoft program.\r\n\r\nContinue?");
  EXPECT_EQ(Messages(), QStringList({q, q}));
}

TEST_F(Form1Tools, F1OnAHighlightedTransferItemOpensItsHelpPage) {
  QMenu* tools = form->ToolsMenu();
  form->show();
  const size_t asked = asker.log.size();
  struct Case {
    const char* item;
    bool help;
  };
  const Case cases[] = {{"miSendToQuzar", true},
                        {"miLoadFromQuzar", true},
                        {"miUpdateServer", true},
                        {"miSwitchServer", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    if (form->ToolWindows().Window<THelpViewer>("HelpViewer"))
      form->ToolWindows().Window<THelpViewer>("HelpViewer")->hide();
    // The menu is open with the item highlighted, as the operator has it.
    tools->popup(QPoint(0, 0));
    tools->setActiveAction(Find(QString::fromLatin1(c.item)));
    QTest::keyClick(tools, Qt::Key_F1);
    tools->hide();
    const bool shown = form->ToolWindows().Window<THelpViewer>("HelpViewer") &&
                       form->ToolWindows().Window<THelpViewer>("HelpViewer")->isVisible();
    EXPECT_EQ(shown, c.help);
    if (shown) {
      EXPECT_TRUE(form->ToolWindows()
                      .Window<THelpViewer>("HelpViewer")
                      ->CurrentPage()
                      .endsWith(QStringLiteral("/file-transfer.html")))
          << form->ToolWindows().Window<THelpViewer>("HelpViewer")->CurrentPage().toStdString();
    }
  }
  // Nothing was sent or asked.
  EXPECT_EQ(asker.log.size(), asked);
}

TEST_F(Form1Tools, SendingReportsAndLeavesTheStatusBarEmpty) {
  const QString file = UserFolder() + QStringLiteral("Qzm.cfg");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  form->MessagePanel()->setText(QStringLiteral("Quzar Stopped"));
  asker.QueueFiles({file, UserFolder() + QStringLiteral("tun.mem")});
  Find(QStringLiteral("miSendToQuzar"))->trigger();
  EXPECT_EQ(Messages().back(),
            QStringLiteral("File Transfer Report:\r\n\r\nQZM.CFG :   "
                           "PASS\r\nTUN.MEM :   Upload forbidden - use QzmTool"));
  EXPECT_EQ(form->MessagePanel()->text(), QString());
  EXPECT_EQ(form->HintPanel()->text(), QString());
  EXPECT_FALSE(asker.busyVisible);
  ASSERT_EQ(asker.Records(TAskRecord::BusyInfo).size(), 2u);
  EXPECT_EQ(asker.Records(TAskRecord::BusyInfo)[1].text,
            QStringLiteral("Sending (2 of 2) : ") + UserFolder() + QStringLiteral("tun.mem"));
}

TEST_F(Form1Tools, SwitchServerEndsTheProgramThroughTheTerminatingQuestion) {
  form->show();
  bool exited = false;
  form->OnExit = [&] { exited = true; };
  asker.QueueButton(mbOK);  // switch
  asker.QueueButton(mbOK);  // save the setup and end
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  guard.start(10000);
  QTimer::singleShot(0, form.get(),
                     [&] { Find(QStringLiteral("miSwitchServerCANBus"))->trigger(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_TRUE(exited);
  EXPECT_TRUE(form->MustTerminate);
  const QStringList m = Messages();
  ASSERT_EQ(m.size(), 2);
  EXPECT_TRUE(
      m[0].startsWith(QStringLiteral("QUZAR internal Server program is about to be\r\nterminated "
                                     "and restarted in CAN Bus mode.")));
  EXPECT_EQ(m[1],
            QStringLiteral(
                "Terminating QzSim\r\n(Press Abort or Escape to terminate without saving setup)"));
  // OK saved the setup.
  EXPECT_TRUE(QFileInfo::exists(Auto()));
}

}  // namespace
}  // namespace qz
