#include "comm/dlgcomportmodel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "comm/errcodes.h"
#include "common/comportrig.h"

namespace qz {
namespace {

using ::testing::_;
using testing::ComLists;
using ::testing::Field;
using ::testing::NiceMock;
using ::testing::Return;
using testing::TFakePort;

const char* const kFailNoConfig = "COMMUNICATION FAIL:\r\nConfiguration file not found";

// A dialog shown over COM1, COM3, COM7 with the port on COM3 at `baudIndex`; the search's wait
// records its lengths and runs `during(attempt)` in the wait of each attempt (1-based).
class ComDlg : public ::testing::Test {
 protected:
  void Open(int baudIndex = 9, int portIndex = 2) {
    port.Store(portIndex, baudIndex);
    dlg = std::make_unique<TDlgComPortModel>(port, lists, [this](int ms) {
      waits.push_back(ms);
      if (ms > 0 && during) during(++attempt);
    });
    dlg->Show();
  }
  NiceMock<TFakePort> port;
  PortLists lists = ComLists({1, 3, 7});
  std::unique_ptr<TDlgComPortModel> dlg;
  std::vector<int> waits;
  int attempt = 0;
  std::function<void(int)> during;
};

TEST_F(ComDlg, CreationFillsTheForm) {
  port.StoreReadConstant(4999);
  Open(6);
  const TComPortForm& f = dlg->Form();
  EXPECT_EQ(f.rows, lists.descriptions);
  EXPECT_EQ(f.row, 1);  // COM3
  EXPECT_EQ(f.baudItems, QStringList({"300", "600", "1200", "2400", "4800", "9600", "19200",
                                      "38400", "57600", "115200"}));
  EXPECT_EQ(f.baudText, "19200");
  EXPECT_EQ(f.timeoutText, "4");  // whole seconds of 4999 ms
  EXPECT_EQ(f.parity, 0);
  EXPECT_EQ(f.msg, "");
  EXPECT_FALSE(f.stopEnabled);
  EXPECT_TRUE(f.exitEnabled);
  EXPECT_FALSE(f.animating);
  EXPECT_FALSE(dlg->Connected);
  EXPECT_EQ(dlg->OldPort, 2);
  EXPECT_EQ(dlg->OldSpeedIndex, 6);
  EXPECT_EQ(dlg->OldRateTxt, "19200");
}

TEST_F(ComDlg, RowOfTheStoredPort) {
  const struct {
    PortLists lists;
    int portIndex;
    int row;
  } cases[] = {
      {ComLists({1, 3, 7}), 6, 2},    // COM7
      {ComLists({1, 3, 7}), 130, 1},  // index taken mod 128: COM3
      {ComLists({1, 3, 7}), 4, 0},    // COM5 is not there: the first row
      {ComLists({}), 2, -1},          // nothing to select
  };
  for (const auto& c : cases) {
    NiceMock<TFakePort> p;
    if (c.portIndex > 100) {
      p.Init({Format(QStringLiteral("COM%d"), {c.portIndex + 1})});  // beyond the key's range
    } else {
      p.Store(c.portIndex, 9);
    }
    TDlgComPortModel m(p, c.lists);
    EXPECT_EQ(m.Form().row, c.row) << c.portIndex;
  }
}

TEST_F(ComDlg, CitajFormReadsPortBaudAndParity) {
  const struct {
    QStringList rows;  // descriptions; the first is selected
    const char* baud;
    int cport;
    int spd;
  } cases[] = {
      {{"USB Serial Port (COM4)"}, "14400", 3, 5},  // 9600 and 19200 equally far: the lower
      {{"COM1"}, "19000", 0, 6},
      {{"Com4"}, "300", 0, 0},
      {{"Serial port (/dev/ttyS9) (COM10)"}, "115200", 9, 9},
      {{"COM3"}, "299", 2, 9},  // outside 300 .. 115200: 115200
      {{"COM3"}, "115201", 2, 9},
      {{"COM3"}, "921600", 2, 9},
      {{"COM3"}, "9600x", 2, 9},
      {{"COM3"}, "", 2, 9},
      {{"COM3"}, " 4800 ", 2, 4},
      {{}, "2400", 0, 3},  // no row: port 0
  };
  for (const auto& c : cases) {
    PortLists l;
    l.names = c.rows;
    l.descriptions = c.rows;
    NiceMock<TFakePort> p;
    TDlgComPortModel m(p, l);
    m.BaudTextChanged(QString::fromLatin1(c.baud));
    m.CitajForm();
    EXPECT_EQ(m.Cport, c.cport) << c.baud;
    EXPECT_EQ(m.SpdIndex, c.spd) << c.baud;
    EXPECT_EQ(m.Par, 0);
  }
}

TEST_F(ComDlg, LeavingTheDialog) {
  enum Ev { Continue, Cancel, Exit, Close };
  const struct {
    bool connectFirst;
    Ev ev;
    TComModal modal;
  } cases[] = {
      {false, Continue, TComModal::Ok},  // at once: the test succeeds on leaving
      {false, Cancel, TComModal::Ok},    // the old settings open: connected
      {false, Exit, TComModal::Abort},
      {false, Close, TComModal::None},  // the close box before any test: not OK
      {true, Continue, TComModal::Ok},
      {true, Close, TComModal::Ok},
      {true, Cancel, TComModal::Ok},
  };
  for (const auto& c : cases) {
    NiceMock<TFakePort> p;
    p.Store(2, 9);
    TDlgComPortModel m(p, lists);
    m.Show();
    if (c.connectFirst) m.Connect();
    TComPortStep s;
    switch (c.ev) {
      case Continue:
        s = m.Continue();
        break;
      case Cancel:
        s = m.Cancel();
        break;
      case Exit:
        s = m.Exit();
        break;
      case Close:
        s = m.Close();
        break;
    }
    EXPECT_TRUE(s.closes) << c.ev;
    EXPECT_EQ(s.modal, c.modal) << c.ev << c.connectFirst;
  }
}

TEST_F(ComDlg, ExitAndCancelReopenTheOldSettings) {
  Open(5);
  dlg->PortClicked(2);
  dlg->BaudTextChanged("57600");
  EXPECT_CALL(port, OpenPort(2, 5, 0, _, _)).WillOnce(Return(0));
  EXPECT_EQ(dlg->Exit().modal, TComModal::Abort);
  EXPECT_CALL(port, OpenPort(2, 5, 0, _, _)).WillOnce(Return(kErrTransmit));
  const TComPortStep s = dlg->Cancel();
  EXPECT_EQ(s.modal, TComModal::Cancel);
  EXPECT_TRUE(s.form.exitEnabled);
}

TEST_F(ComDlg, ARefusedLineKeepsTheDialogOpenWithTheReason) {
  Open();
  EXPECT_CALL(port, OpenPort).WillRepeatedly(Return(kErrTransmit));
  const TComPortStep s = dlg->Continue();
  EXPECT_FALSE(s.closes);
  EXPECT_EQ(s.form.msg, "COMMUNICATION FAIL:\r\n" + ErrorText(kErrTransmit));
  EXPECT_EQ(s.form.msgColor, clRed);
  const TComPortStep c = dlg->Connect();
  EXPECT_FALSE(dlg->Connected);
  EXPECT_TRUE(c.form.exitEnabled);
  EXPECT_EQ(c.form.msgColor, clRed);
}

TEST_F(ComDlg, ConnectTestsTheFormsSettingsWithTheTestTimeout) {
  Open();
  dlg->PortClicked(2);  // COM7
  dlg->BaudTextChanged("2400");
  dlg->TimeoutTextChanged("8");
  {
    ::testing::InSequence seq;
    EXPECT_CALL(port, OpenPort(6, 3, 0, Field(&TCommTimeouts::readTotalConstant, 8000u), _));
    EXPECT_CALL(port, OpenPort(6, 3, 0, TCommTimeouts{}, TCommTimeouts{}));
  }
  const TComPortStep s = dlg->Connect();
  EXPECT_TRUE(dlg->Connected);
  EXPECT_EQ(s.form.msg, "CONNECTION ESTABLISHED");
  EXPECT_EQ(s.form.msgColor, clGreen);
  EXPECT_FALSE(s.form.exitEnabled);
  EXPECT_FALSE(s.form.stopEnabled);
  EXPECT_EQ(port.GetBaudIndex(), 9);  // opening stores nothing
}

TEST_F(ComDlg, TestTimeoutRule) {
  const struct {
    const char* text;
    int storedMs;
    int secs;
  } cases[] = {
      {"0", 1000, 60}, {"61", 1000, 60},  {"x", 1000, 60},    {"", 1000, 60},
      {"1", 1000, 1},  {"60", 1000, 60},  {" 16 ", 1000, 16}, {"2.5", 1000, 60},
      {"x", 20, 20},   {"x", 100000, 60},  // the stored milliseconds limited and taken as seconds
  };
  for (const auto& c : cases) {
    NiceMock<TFakePort> p;
    p.StoreReadConstant(c.storedMs);
    TDlgComPortModel m(p, lists);
    m.Show();
    m.TimeoutTextChanged(QString::fromLatin1(c.text));
    ::testing::InSequence seq;
    EXPECT_CALL(p, OpenPort(_, _, _,
                            Field(&TCommTimeouts::readTotalConstant, uint32_t(c.secs) * 1000u), _));
    EXPECT_CALL(p, OpenPort(_, _, _, p.GetRsTimeouts(), _));
    const TComPortStep s = m.Connect();
    EXPECT_EQ(s.form.timeoutText, Format(QStringLiteral("%d"), {c.secs})) << c.text;
    ::testing::Mock::VerifyAndClearExpectations(&p);
  }
}

TEST_F(ComDlg, ChangesClearTheConnection) {
  const struct {
    std::function<void(TDlgComPortModel&)> change;
    bool connected;
    const char* what;
  } cases[] = {
      {[](TDlgComPortModel& m) { m.PortClicked(0); }, false, "port row"},
      {[](TDlgComPortModel& m) { m.BaudTextChanged("9600"); }, false, "new rate text"},
      {[](TDlgComPortModel& m) { m.BaudTextChanged("115200"); }, true, "same rate text"},
      {[](TDlgComPortModel& m) { m.Defaults(); }, true, "defaults already in force"},
      {[](TDlgComPortModel& m) { m.TimeoutTextChanged("4"); }, true, "time-out"},
  };
  for (const auto& c : cases) {
    NiceMock<TFakePort> p;
    p.Store(2, 9);
    TDlgComPortModel m(p, lists);
    m.Show();
    m.Connect();
    c.change(m);
    EXPECT_EQ(m.GetCommunResult(), c.connected) << c.what;
    if (!c.connected) {
      EXPECT_EQ(m.Form().msg, "") << c.what;
    }
  }
}

TEST_F(ComDlg, DefaultsSetTheFastestRateAndClearTheConnection) {
  Open(5);
  dlg->Connect();
  ASSERT_TRUE(dlg->Connected);
  EXPECT_CALL(port, OpenPort(0, 9, 0, TCommTimeouts{}, TCommTimeouts{}));
  const TComPortStep s = dlg->Defaults();
  EXPECT_EQ(port.GetBaudIndex(), 9);
  EXPECT_EQ(s.form.baudText, "115200");
  EXPECT_EQ(s.form.msg, "");
  EXPECT_FALSE(dlg->Connected);
}

TEST_F(ComDlg, AutoFindTriesFastestFirstAndConnectsAt9600) {
  Open(7);
  {
    ::testing::InSequence seq;
    for (int i = 9; i >= 5; --i) EXPECT_CALL(port, OpenPort(2, i, 0, _, _));
  }
  std::vector<TComPortForm> seen;
  dlg->OnChange = [&] { seen.push_back(dlg->Form()); };
  const TComPortStep s = dlg->AutoFind();
  EXPECT_FALSE(s.closes);
  EXPECT_EQ(dlg->Attempts(), std::vector<uint8_t>({9, 8, 7, 6, 5}));
  EXPECT_EQ(waits, std::vector<int>({0, 500, 0, 500, 0, 500, 0, 500, 0, 500}));
  EXPECT_TRUE(dlg->Connected);
  EXPECT_EQ(s.form.msg, "CONNECTION ESTABLISHED");
  EXPECT_EQ(s.form.msgColor, clGreen);
  EXPECT_FALSE(s.form.exitEnabled);
  EXPECT_FALSE(s.form.stopEnabled);
  EXPECT_FALSE(s.form.animating);
  // The stored index stays; the box shows each rate tried, then the one found.
  EXPECT_EQ(port.GetBaudIndex(), 7);
  EXPECT_EQ(s.form.baudText, "9600");
  EXPECT_EQ(dlg->OldRateTxt, "9600");
  std::vector<QString> rates;
  for (const TComPortForm& f : seen) rates.push_back(f.baudText);
  EXPECT_EQ(rates,
            std::vector<QString>({"38400", "115200", "57600", "38400", "19200", "9600", "9600"}));
  // Going on uses the rate found.
  dlg->CitajForm();
  EXPECT_EQ(dlg->SpdIndex, 5);
  // While it searched: the animation ran, "&Stop" was usable and the blue search message shown.
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(seen[1].animating);
  EXPECT_TRUE(seen[1].stopEnabled);
  EXPECT_TRUE(seen[1].searching);
  EXPECT_EQ(seen[1].msg, "Searching for Communication...");
  EXPECT_EQ(seen[1].msgColor, clBlue);
}

TEST_F(ComDlg, StopEndsTheSearchAfterItsAttempt) {
  // Stop pressed during attempt k: k attempts, no connection, the stored rate back. Stopping
  // during the fifth (successful) attempt also reads as a failure.
  for (int k = 1; k <= 5; ++k) {
    NiceMock<TFakePort> p;
    p.Store(2, 8);
    int n = 0;
    TDlgComPortModel* mp = nullptr;
    std::vector<QString> shown;
    TDlgComPortModel m(p, lists, [&](int ms) {
      if (ms == 0) return;
      shown.push_back(mp->Form().baudText);
      if (++n == k) mp->Stop();
    });
    mp = &m;
    m.Show();
    const TComPortStep s = m.AutoFind();
    EXPECT_EQ(int(m.Attempts().size()), k);
    EXPECT_FALSE(m.Connected) << k;
    EXPECT_TRUE(m.DoStop);
    EXPECT_EQ(m.SpdIndex, 8) << k;
    EXPECT_EQ(s.form.msg, kFailNoConfig) << k;
    EXPECT_EQ(s.form.msgColor, clRed);
    EXPECT_TRUE(s.form.exitEnabled) << k;
    EXPECT_FALSE(s.form.stopEnabled);
    EXPECT_EQ(s.form.baudText, "57600");  // the stored rate again
    const std::vector<QString> tried = {"115200", "57600", "38400", "19200", "9600"};
    EXPECT_EQ(shown, std::vector<QString>(tried.begin(), tried.begin() + k)) << k;
  }
}

TEST_F(ComDlg, StopDuring19200) {
  Open();
  during = [this](int a) {
    if (a == 4) dlg->Stop();
  };
  const TComPortStep s = dlg->AutoFind();
  EXPECT_EQ(dlg->Attempts(), std::vector<uint8_t>({9, 8, 7, 6}));
  EXPECT_EQ(s.form.msg, kFailNoConfig);
  EXPECT_FALSE(dlg->Connected);
}

TEST_F(ComDlg, LeavingDuringASearchStopsItFirst) {
  enum Ev { Continue, Cancel, Exit, Close };
  const struct {
    Ev ev;
    TComModal modal;
  } cases[] = {
      {Continue, TComModal::Ok},
      {Cancel, TComModal::Ok},
      {Exit, TComModal::Abort},
      {Close, TComModal::None},
  };
  for (const auto& c : cases) {
    NiceMock<TFakePort> p;
    int n = 0;
    TDlgComPortModel* mp = nullptr;
    TComPortStep inner;
    TDlgComPortModel m(p, lists, [&](int ms) {
      if (ms == 0 || ++n != 2) return;
      switch (c.ev) {
        case Continue:
          inner = mp->Continue();
          break;
        case Cancel:
          inner = mp->Cancel();
          break;
        case Exit:
          inner = mp->Exit();
          break;
        case Close:
          inner = mp->Close();
          break;
      }
    });
    mp = &m;
    m.Show();
    const TComPortStep s = m.AutoFind();
    EXPECT_FALSE(inner.closes) << c.ev;  // nothing closes while the search runs
    EXPECT_EQ(m.Attempts().size(), 2u) << c.ev;
    EXPECT_TRUE(s.closes) << c.ev;
    EXPECT_EQ(s.modal, c.modal) << c.ev;
    EXPECT_FALSE(m.Searching());
  }
}

TEST_F(ComDlg, SearchIgnoresSettingChangesAndASecondSearch) {
  Open();
  during = [this](int a) {
    if (a != 1) return;
    dlg->Connect();
    dlg->Defaults();
    dlg->PortClicked(2);
    dlg->BaudTextChanged("300");
    dlg->AutoFind();
  };
  dlg->AutoFind();
  EXPECT_EQ(dlg->Attempts().size(), 5u);
  EXPECT_EQ(dlg->Form().row, 1);
  EXPECT_EQ(dlg->Form().baudText, "9600");
  EXPECT_TRUE(dlg->Connected);
}

TEST_F(ComDlg, ExitDisabledByTheCallerStaysDisabled) {
  Open();
  dlg->DisableExit();
  std::vector<bool> exitSeen;
  during = [&](int a) {
    exitSeen.push_back(dlg->Form().exitEnabled);
    if (a == 2) dlg->Stop();
  };
  const TComPortStep s = dlg->AutoFind();
  EXPECT_EQ(exitSeen, std::vector<bool>({false, false}));
  EXPECT_FALSE(s.form.exitEnabled);
  EXPECT_FALSE(dlg->Exit().closes);
}

TEST(CommunAttemptMsg, TextsAndColours) {
  NiceMock<TFakePort> p;
  const PortLists l;
  TDlgComPortModel m(p, l);
  const struct {
    int32_t code;
    const char* msg;
    TColor color;
  } cases[] = {
      {0, "CONNECTION ESTABLISHED", clGreen},
      {1, "COMMUNICATION FAIL:\r\nConfiguration file not found", clRed},
      {141, "COMMUNICATION FAIL:\r\nIllegal error code", clRed},
      {-1, "COMMUNICATION FAIL:\r\nIllegal error code", clRed},
  };
  for (const auto& c : cases) {
    m.CommunAttemptMsg(c.code);
    EXPECT_EQ(m.Form().msg, QString::fromLatin1(c.msg)) << c.code;
    EXPECT_EQ(m.Form().msgColor, c.color) << c.code;
  }
  m.SetCommunResult(true);
  EXPECT_TRUE(m.GetCommunResult());
}

}  // namespace
}  // namespace qz
