#include "comm/dlgcomportmodel.h"

#include "comm/errcodes.h"
#include "comm/portlist.h"
#include "comm/t232.h"
#include "util/format.h"
#include "util/numutil.h"
#include "util/parse.h"

namespace qz {

const char* const kComParityItems[5] = {"0 None", "1 Odd", "2 Even", "3 High", "4 Low"};
const char* const kComTimeoutItems[6] = {"1", "2", "4", "8", "16", "32"};

namespace {

QString IntText(int64_t v) { return Format(QStringLiteral("%d"), {static_cast<long long>(v)}); }

// The lowest and highest rate the baud-rate box accepts as typed.
constexpr int64_t kLowestRate = 300;
constexpr int64_t kHighestRate = 115200;

}  // namespace

QString ComPortMenuCaption(uint8_t portIndex) {
  return QString::fromLatin1(kComPortMenuCaption) +
         Format(QStringLiteral("  (COM %d)"), {int(portIndex) + 1});
}

TDlgComPortModel::TDlgComPortModel(T232& port, const PortLists& lists, WaitFn wait)
    : port_(port), lists_(lists), wait_(std::move(wait)) {
  form_.rows = lists_.descriptions;
  Connected = false;
  for (const int32_t rate : kBaudRates) form_.baudItems.append(IntText(rate));
  NaplnForm();
  WriteMessage(QString(), clBlack);
  form_.timeoutText = IntText(port_.GetRsTimeouts().readTotalConstant / 1000);
}

void TDlgComPortModel::DisableExit() {
  exitAllowed_ = false;
  form_.exitEnabled = false;
}

void TDlgComPortModel::WriteMessage(const QString& text, TColor color) {
  form_.msg = text;
  form_.msgColor = color;
}

void TDlgComPortModel::CommunAttemptMsg(int32_t code) {
  if (code == 0)
    WriteMessage(QString::fromLatin1(kComMsgConnected), clGreen);
  else
    WriteMessage(
        QString::fromLatin1(kComMsgFail) + QStringLiteral("\r\n") + ErrorText(uint32_t(code)),
        clRed);
}

void TDlgComPortModel::NaplnForm() {
  const QString name = Format(QStringLiteral("COM%d"), {(port_.GetPortIndex() % 128) + 1});
  // The names list and the rows shown are index-aligned; a name beyond the rows selects none
  // of them.
  qsizetype row = lists_.names.indexOf(name);
  if (row < 0 || row >= form_.rows.size()) row = 0;
  form_.row = form_.rows.isEmpty() ? -1 : int(row);
  const uint8_t baud = port_.GetBaudIndex();
  form_.baudText = IntText(kBaudRates[baud < kBaudCount ? baud : kDefaultBaudIndex]);
  form_.parity = ClampLowWins(int32_t(port_.GetParity()), 0, 4);
}

void TDlgComPortModel::CitajForm() {
  // With no port to choose the first port is meant.
  const QString rowText = form_.RowText();
  Cport = rowText.isEmpty() ? 0 : PortIndexFromName(rowText);
  const auto typed = ParseInt64(form_.baudText);
  const int64_t rate =
      typed && *typed >= kLowestRate && *typed <= kHighestRate ? *typed : kHighestRate;
  SpdIndex = NearestBaudIndex(rate);
  Par = uint8_t(ClampLowWins(int32_t(form_.parity), 0, 4));
}

int TDlgComPortModel::TestTimeout() {
  const auto typed = ParseInt64(form_.timeoutText);
  int64_t secs = 0;
  if (typed && *typed >= kTestTimeoutMin && *typed <= kTestTimeoutMax)
    secs = *typed;
  else
    // The stored constant is in milliseconds, yet it is limited and used as seconds: with the
    // default of 1000 ms an unreadable box gives the longest time-out.
    secs = ClampLowWins(int64_t(port_.GetRsTimeouts().readTotalConstant), int64_t(kTestTimeoutMin),
                        int64_t(kTestTimeoutMax));
  form_.timeoutText = IntText(secs);
  return int(secs);
}

void TDlgComPortModel::Changed() {
  if (OnChange) OnChange();
}

void TDlgComPortModel::Wait(int ms) {
  if (wait_) wait_(ms);
}

TComPortStep TDlgComPortModel::Show() {
  OldPort = port_.GetPortIndex();
  OldSpeedIndex = port_.GetBaudIndex();
  OldParity = port_.GetParity();
  NaplnForm();
  OldRateTxt = form_.baudText;
  form_.stopEnabled = false;
  return Stay();
}

TComPortStep TDlgComPortModel::PortClicked(int row) {
  if (searching_) return Stay();
  form_.row = row >= 0 && row < form_.rows.size() ? row : (form_.rows.isEmpty() ? -1 : 0);
  WriteMessage(QString(), clBlack);
  Connected = false;
  return Stay();
}

TComPortStep TDlgComPortModel::BaudTextChanged(const QString& text) {
  if (searching_) return Stay();
  form_.baudText = text;
  WriteMessage(QString(), clBlack);
  if (text != OldRateTxt) {
    OldRateTxt = text;
    Connected = false;
  }
  return Stay();
}

TComPortStep TDlgComPortModel::TimeoutTextChanged(const QString& text) {
  form_.timeoutText = text;
  return Stay();
}

TComPortStep TDlgComPortModel::Connect() {
  if (searching_) return Stay();
  WriteMessage(QString::fromLatin1(kComMsgEstablishing), clBlue);
  form_.stopEnabled = true;
  CitajForm();
  const int secs = TestTimeout();
  TCommTimeouts test = port_.GetRsTimeouts();
  test.readTotalConstant = uint32_t(secs) * 1000u;
  const int32_t code = port_.OpenPort(Cport, SpdIndex, Par, test, port_.GetUsbTimeouts());
  Connected = code == 0;
  form_.exitEnabled = exitAllowed_ && !Connected;
  CommunAttemptMsg(code);
  form_.stopEnabled = false;
  // The line goes back to its ordinary time-outs.
  port_.OpenPort(Cport, SpdIndex, Par, port_.GetRsTimeouts(), port_.GetUsbTimeouts());
  return Stay();
}

TComPortStep TDlgComPortModel::AutoFind() {
  if (searching_) return Stay();
  const uint8_t remembered = port_.GetBaudIndex();
  DoStop = false;
  searching_ = true;
  form_.searching = true;
  form_.stopEnabled = true;
  form_.animating = true;
  const QString rowText = form_.RowText();
  Cport = rowText.isEmpty() ? 0 : PortIndexFromName(rowText);
  attempts_.clear();
  Changed();

  for (int index = kAutoFindFirstIndex; index >= kAutoFindLastIndex; --index) {
    // The operator's input first, so that "&Stop" can be pressed between attempts.
    Wait(0);
    SpdIndex = uint8_t(index);
    const int32_t code = port_.OpenPort(Cport, SpdIndex, port_.GetParity(), port_.GetRsTimeouts(),
                                        port_.GetUsbTimeouts());
    attempts_.push_back(SpdIndex);
    NaplnForm();
    // The box shows the rate being tried (the port object keeps its stored one).
    form_.baudText = IntText(kBaudRates[index]);
    WriteMessage(QString::fromLatin1(kComMsgSearching), clBlue);
    Changed();
    Wait(kAutoFindWaitMs);
    const bool success = code == 0 && index == kAutoFindSuccessIndex;
    Connected = success;
    form_.exitEnabled = exitAllowed_ && !success;
    if (success || DoStop) break;
  }

  if (DoStop) Connected = false;
  if (!Connected) {
    SpdIndex = remembered;
    port_.OpenPort(Cport, SpdIndex, port_.GetParity(), port_.GetRsTimeouts(),
                   port_.GetUsbTimeouts());
    NaplnForm();
  }
  // A found rate stays in the box, so that "&Connect" and "C&ontinue" go on at it; the box's
  // text counts as seen.
  OldRateTxt = form_.baudText;
  form_.animating = false;
  // The message and "&Exit" follow the final state: a search stopped during its successful
  // attempt has no connection, and says so.
  CommunAttemptMsg(Connected ? 0 : int32_t(kErrConfigFileNotFound));
  form_.exitEnabled = exitAllowed_ && !Connected;
  form_.stopEnabled = false;
  form_.searching = false;
  searching_ = false;
  Changed();

  const Leave how = pending_;
  pending_ = Leave::None;
  return Carry(how);
}

TComPortStep TDlgComPortModel::Stop() {
  DoStop = true;
  form_.stopEnabled = false;
  return Stay();
}

TComPortStep TDlgComPortModel::Defaults() {
  if (searching_) return Stay();
  WriteMessage(QString(), clBlack);
  port_.SetPortDefaults();
  NaplnForm();
  if (port_.GetPortIndex() != OldPort || port_.GetBaudIndex() != OldSpeedIndex ||
      port_.GetParity() != OldParity)
    Connected = false;
  return Stay();
}

bool TDlgComPortModel::DeferDuringSearch(Leave how) {
  if (!searching_) return false;
  pending_ = how;
  Stop();
  return true;
}

TComPortStep TDlgComPortModel::Carry(Leave how) {
  switch (how) {
    case Leave::Continue:
      return Continue();
    case Leave::Cancel:
      return Cancel();
    case Leave::Exit:
      // The search may have disabled "&Exit" by connecting; the operator's choice still holds.
      return ExitNow();
    case Leave::Close:
      return Close();
    case Leave::None:
      break;
  }
  return Stay();
}

TComPortStep TDlgComPortModel::Continue() {
  if (DeferDuringSearch(Leave::Continue)) return Stay();
  if (Connected) return Leaving(TComModal::Ok);
  CitajForm();
  const int32_t code =
      port_.OpenPort(Cport, SpdIndex, Par, port_.GetRsTimeouts(), port_.GetUsbTimeouts());
  if (code != 0) {
    // The dialog stays open with the reason, so that the operator can choose again.
    CommunAttemptMsg(code);
    return Stay();
  }
  Connected = true;
  form_.exitEnabled = false;
  return Leaving(TComModal::Ok);
}

TComPortStep TDlgComPortModel::Cancel() {
  if (DeferDuringSearch(Leave::Cancel)) return Stay();
  const int32_t code = port_.OpenPort(OldPort, OldSpeedIndex, OldParity, port_.GetRsTimeouts(),
                                      port_.GetUsbTimeouts());
  Connected = code == 0;
  form_.exitEnabled = exitAllowed_ && !Connected;
  return Leaving(Connected ? TComModal::Ok : TComModal::Cancel);
}

TComPortStep TDlgComPortModel::Exit() {
  if (!form_.exitEnabled) return Stay();
  if (DeferDuringSearch(Leave::Exit)) return Stay();
  return ExitNow();
}

TComPortStep TDlgComPortModel::ExitNow() {
  if (Connected) return Leaving(TComModal::Ok);
  port_.OpenPort(OldPort, OldSpeedIndex, OldParity, port_.GetRsTimeouts(), port_.GetUsbTimeouts());
  return Leaving(TComModal::Abort);
}

TComPortStep TDlgComPortModel::Close() {
  if (DeferDuringSearch(Leave::Close)) return Stay();
  return Leaving(Connected ? TComModal::Ok : TComModal::None);
}

}  // namespace qz
