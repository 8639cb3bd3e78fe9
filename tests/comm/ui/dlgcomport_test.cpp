// The COM port dialog on the offscreen platform, driven through its buttons, boxes and close
// box: what it shows, what each way of leaving returns from exec(), and the search with its
// animation and stop.

#include "comm/ui/dlgcomport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "common/comportrig.h"
#include "util/ui/animation.h"
#include "util/ui/qcolor.h"

namespace qz {
namespace {

using testing::ComLists;
using ::testing::NiceMock;
using testing::TFakePort;

// A dialog over COM1, COM3, COM7 with the port on COM3 at 115200 baud; the search's wait runs
// `during(attempt)` in the wait of each attempt (1-based) and returns at once.
class ComPortWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    port.Store(2, 9);
    dlg = std::make_unique<TDlgComPort>(port, lists, nullptr, [this](int ms) {
      if (ms > 0 && during) during(++attempt);
    });
  }
  // exec() with `act` run once the dialog is up; returns exec()'s result.
  int Exec(std::function<void()> act) {
    QTimer::singleShot(0, dlg.get(), [act] { act(); });
    return dlg->exec();
  }
  QColor MsgColor() const { return dlg->MessageLabel()->palette().color(QPalette::WindowText); }

  NiceMock<TFakePort> port;
  PortLists lists = ComLists({1, 3, 7});
  std::unique_ptr<TDlgComPort> dlg;
  int attempt = 0;
  std::function<void(int)> during;
};

TEST_F(ComPortWindow, CaptionControlsAndHints) {
  dlg->show();
  EXPECT_EQ(dlg->windowTitle(), "COM Port Setting (8 data bits, 1 stop bit)");
  EXPECT_TRUE(dlg->isModal());
  ASSERT_EQ(dlg->PortList()->count(), 3);
  EXPECT_EQ(dlg->PortList()->item(1)->text(), "Serial port (/dev/ttyS2) (COM3)");
  EXPECT_EQ(dlg->PortList()->currentRow(), 1);
  EXPECT_EQ(dlg->BaudBox()->count(), 10);
  EXPECT_EQ(dlg->BaudBox()->itemText(0), "300");
  EXPECT_EQ(dlg->BaudBox()->currentText(), "115200");
  EXPECT_EQ(dlg->TimeoutBox()->count(), 6);
  EXPECT_EQ(dlg->TimeoutBox()->itemText(5), "32");
  EXPECT_EQ(dlg->TimeoutBox()->currentText(), "1");
  const auto radios = dlg->ParityGroup()->findChildren<QRadioButton*>();
  ASSERT_EQ(radios.size(), 5);
  EXPECT_EQ(radios[4]->text(), "4 Low");
  EXPECT_TRUE(radios[0]->isChecked());
  EXPECT_FALSE(dlg->ParityGroup()->isEnabled());  // shown only
  EXPECT_TRUE(dlg->ContinueButton()->isDefault());
  EXPECT_FALSE(dlg->StopButton()->isEnabled());
  EXPECT_TRUE(dlg->ExitButton()->isEnabled());
  EXPECT_FALSE(dlg->Animation()->isVisible());
  EXPECT_TRUE(dlg->MessageLabel()->font().bold());
  EXPECT_EQ(dlg->MessageLabel()->text(), "");

  const struct {
    QWidget* w;
    const char* caption;  // nullptr: not a button
    const char* hint;
  } cases[] = {
      {dlg->BaudBox(), nullptr, "Data transmission speed: must be equal to that of meas system"},
      {dlg->DefaultsButton(), "&Defaults", "Set COM port defaults (COM1, 115200 Baud, no parity)"},
      {dlg->ConnectButton(), "&Connect", "Try current COM settings"},
      {dlg->AutoFindButton(), "&AutoFind", "Try to find Baudrate automatically"},
      {dlg->StopButton(), "&Stop", "Stop AutoFind"},
      {dlg->ContinueButton(), "C&ontinue", "Continue program using current COM settings"},
      {dlg->CancelButton(), "Cancel", "Return to original COM settings"},
      {dlg->ExitButton(), "&Exit", "Terminate program execution"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.w->toolTip(), QString::fromLatin1(c.hint));
    if (c.caption) {
      EXPECT_EQ(static_cast<QPushButton*>(c.w)->text(), QString::fromLatin1(c.caption));
    }
  }
  EXPECT_EQ(dlg->HelpButton()->text(), "&Help");
}

TEST_F(ComPortWindow, ExecResultOfEachWayOut) {
  const struct {
    const char* what;
    std::function<void(TDlgComPort&)> act;
    int result;
  } cases[] = {
      {"Continue at once", [](TDlgComPort& d) { d.ContinueButton()->click(); }, 1},
      {"close box", [](TDlgComPort& d) { d.close(); }, 0},
      {"Escape", [](TDlgComPort& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 0},
      {"Cancel", [](TDlgComPort& d) { d.CancelButton()->click(); }, 1},
      {"Exit", [](TDlgComPort& d) { d.ExitButton()->click(); }, 3},
      {"Connect, then the close box",
       [](TDlgComPort& d) {
         d.ConnectButton()->click();
         d.close();
       },
       1},
  };
  for (const auto& c : cases) {
    TDlgComPort d(port, lists);
    QTimer::singleShot(0, &d, [&] { c.act(d); });
    EXPECT_EQ(d.exec(), c.result) << c.what;
    EXPECT_FALSE(d.isVisible()) << c.what;
  }
}

TEST_F(ComPortWindow, ConnectShowsTheResultInGreen) {
  dlg->show();
  dlg->TimeoutBox()->lineEdit()->clear();
  QTest::keyClicks(dlg->TimeoutBox()->lineEdit(), "61");
  dlg->ConnectButton()->click();
  EXPECT_EQ(dlg->MessageLabel()->text(), "CONNECTION ESTABLISHED");
  EXPECT_EQ(MsgColor(), ToQColor(clGreen));
  EXPECT_EQ(dlg->MessageTop(), 7);
  EXPECT_EQ(dlg->TimeoutBox()->currentText(), "60");
  EXPECT_FALSE(dlg->ExitButton()->isEnabled());
  EXPECT_TRUE(dlg->Model().Connected);
}

TEST_F(ComPortWindow, OperatorChangesClearTheConnectionCodeFillingDoesNot) {
  dlg->show();
  dlg->ConnectButton()->click();
  // "&Defaults" refills the baud box from code: no operator change of the rate.
  dlg->DefaultsButton()->click();
  EXPECT_TRUE(dlg->Model().Connected);
  EXPECT_EQ(dlg->MessageLabel()->text(), "");

  QTest::keyClick(dlg->BaudBox()->lineEdit(), Qt::Key_Backspace);
  EXPECT_FALSE(dlg->Model().Connected);
  EXPECT_EQ(dlg->Model().OldRateTxt, "11520");

  dlg->ConnectButton()->click();
  ASSERT_TRUE(dlg->Model().Connected);
  const QRect r = dlg->PortList()->visualItemRect(dlg->PortList()->item(2));
  QTest::mouseClick(dlg->PortList()->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_FALSE(dlg->Model().Connected);
  dlg->Model().CitajForm();
  EXPECT_EQ(dlg->Model().Cport, 6);
}

TEST_F(ComPortWindow, AutoFindAnimatesAndConnectsAt9600) {
  dlg->show();
  struct Seen {
    bool animVisible, animRunning, stop, connect, list;
    QString msg, baud;
  };
  std::vector<Seen> seen;
  during = [&](int) {
    seen.push_back({dlg->Animation()->isVisible(), dlg->Animation()->Active(),
                    dlg->StopButton()->isEnabled(), dlg->ConnectButton()->isEnabled(),
                    dlg->PortList()->isEnabled(), dlg->MessageLabel()->text(),
                    dlg->BaudBox()->currentText()});
  };
  dlg->AutoFindButton()->click();
  ASSERT_EQ(seen.size(), 5u);
  const char* const tried[] = {"115200", "57600", "38400", "19200", "9600"};
  for (size_t i = 0; i < seen.size(); ++i) {
    const Seen& s = seen[i];
    EXPECT_TRUE(s.animVisible && s.animRunning && s.stop);
    EXPECT_FALSE(s.connect || s.list);
    EXPECT_EQ(s.msg, "Searching for Communication...");
    EXPECT_EQ(s.baud, tried[i]);
  }
  // The rate found stays in the box; the stored index (115200) is unchanged.
  EXPECT_EQ(dlg->BaudBox()->currentText(), "9600");
  EXPECT_TRUE(dlg->Model().Connected);
  EXPECT_EQ(dlg->MessageLabel()->text(), "CONNECTION ESTABLISHED");
  EXPECT_EQ(MsgColor(), ToQColor(clGreen));
  EXPECT_FALSE(dlg->Animation()->isVisible());
  EXPECT_FALSE(dlg->Animation()->Active());
  EXPECT_FALSE(dlg->StopButton()->isEnabled());
  EXPECT_FALSE(dlg->ExitButton()->isEnabled());
  EXPECT_TRUE(dlg->ConnectButton()->isEnabled());
  EXPECT_EQ(port.GetBaudIndex(), 9);
}

TEST_F(ComPortWindow, StopButtonDuring19200) {
  dlg->show();
  QCoreApplication::processEvents();
  // Nothing moves while the operator reaches for Stop, nor when the message turns red.
  const QSize atRest = dlg->size();
  const QPoint stopAt = dlg->StopButton()->pos();
  during = [&](int a) {
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->size(), atRest) << "attempt " << a;
    EXPECT_EQ(dlg->StopButton()->pos(), stopAt) << "attempt " << a;
    if (a == 4) dlg->StopButton()->click();
  };
  dlg->AutoFindButton()->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(dlg->size(), atRest);
  EXPECT_EQ(dlg->Model().Attempts().size(), 4u);
  EXPECT_EQ(dlg->MessageLabel()->text(), "COMMUNICATION FAIL:\r\nConfiguration file not found");
  EXPECT_EQ(MsgColor(), ToQColor(clRed));
  EXPECT_EQ(dlg->MessageTop(), 0);  // 7 pixels higher than the others
  EXPECT_FALSE(dlg->Model().Connected);
  EXPECT_TRUE(dlg->ExitButton()->isEnabled());
}

TEST_F(ComPortWindow, LeavingDuringTheSearchStopsItAndExecReturnsAfterwards) {
  const struct {
    const char* what;
    std::function<void(TDlgComPort&)> leave;
    int result;
  } cases[] = {
      {"Continue", [](TDlgComPort& d) { d.ContinueButton()->click(); }, 1},
      {"Cancel", [](TDlgComPort& d) { d.CancelButton()->click(); }, 1},
      {"Exit", [](TDlgComPort& d) { d.ExitButton()->click(); }, 3},
      {"close box", [](TDlgComPort& d) { d.close(); }, 0},
  };
  for (const auto& c : cases) {
    int n = 0;
    bool visibleAfterLeave = false;
    TDlgComPort* dp = nullptr;
    TDlgComPort d(port, lists, nullptr, [&](int ms) {
      if (ms == 0 || ++n != 2) return;
      c.leave(*dp);
      visibleAfterLeave = dp->isVisible();
    });
    dp = &d;
    QTimer::singleShot(0, &d, [&] { d.AutoFindButton()->click(); });
    EXPECT_EQ(d.exec(), c.result) << c.what;
    EXPECT_TRUE(visibleAfterLeave) << c.what;  // nothing closed while the search ran
    EXPECT_EQ(d.Model().Attempts().size(), 2u) << c.what;
    EXPECT_FALSE(d.Model().Searching());
    EXPECT_FALSE(d.Animation()->Active());
  }
}

TEST_F(ComPortWindow, TheRealWaitLetsStopEndTheSearch) {
  // The event loop runs while the search waits: a stop clicked by a timer is seen and ends the
  // search after its first attempt, without waiting out the attempt (the whole search takes
  // five waits of 500 ms, each of which would run out).
  TDlgComPort d(port, lists);
  d.show();
  QTimer::singleShot(0, &d, [&] { d.StopButton()->click(); });
  d.AutoFindButton()->click();
  EXPECT_EQ(d.Model().Attempts().size(), 1u);
  EXPECT_EQ(d.WaitsRunOut(), 0);
  EXPECT_FALSE(d.Model().Connected);
  EXPECT_EQ(d.MessageLabel()->text(), "COMMUNICATION FAIL:\r\nConfiguration file not found");
}

TEST_F(ComPortWindow, HelpAndTheCallersChoices) {
  QString keyword;
  dlg->OnHelp = [&](const QString& k) { keyword = k; };
  dlg->SetContinueCaption(QStringLiteral("&Return"));
  dlg->DisableExit();
  dlg->show();
  dlg->HelpButton()->click();
  EXPECT_EQ(keyword, "Establishing Communication");
  EXPECT_EQ(dlg->ContinueButton()->text(), "&Return");
  EXPECT_FALSE(dlg->ExitButton()->isEnabled());
  dlg->ConnectButton()->click();
  dlg->BaudBox()->lineEdit()->clear();
  QTest::keyClicks(dlg->BaudBox()->lineEdit(), "9600");
  EXPECT_FALSE(dlg->ExitButton()->isEnabled());
}

TEST(ComPortWindowEmpty, NoPortsNoRowAndPortZero) {
  NiceMock<TFakePort> port;
  const PortLists none;
  TDlgComPort d(port, none);
  d.show();
  EXPECT_EQ(d.PortList()->count(), 0);
  EXPECT_EQ(d.PortList()->currentRow(), -1);
  EXPECT_CALL(port, OpenPort(0, 9, 0, ::testing::_, ::testing::_));
  QTimer::singleShot(0, &d, [&] { d.ContinueButton()->click(); });
  EXPECT_EQ(d.exec(), 1);
}

}  // namespace
}  // namespace qz
