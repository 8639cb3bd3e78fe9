#include "app/ddeitem.h"

#include "util/format.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/stpkeys.h"
#include "util/valueinput.h"

namespace qz {

const std::array<TDdeDelimInfo, kDdeDelimCount> kDdeDelims = {{
    {"&CRLF", "Carriage return + line feed (#13, #10)", "\r\n", "CRLF"},
    {"&Tab", "Tab character (#9)", "\t", "Tab"},
    {"&Space", "Space character (#32)", " ", "Space"},
    {";", "Semicolon (# 59)", ";", ";"},
}};

QString BuildDdeString(uint8_t statByte, const THresults& res, const TMotState& mot,
                       double mmPerStep, TDdeDelim delim) {
  const int d = delim >= 0 && delim < kDdeDelimCount ? delim : ddCrLf;
  const QString sep = QString::fromLatin1(kDdeDelims[d].chars);
  const QChar point('.');
  QString s = Format(QStringLiteral("%d%s"), {int(statByte), sep});
  s = Format(QStringLiteral("%s%d%s"), {s, int(res.ErrByte), sep});
  s = Format(QStringLiteral("%s%.3f%s"), {s, res.FreD / 1e6, sep}, point);
  s = Format(QStringLiteral("%s%.3f%s"), {s, res.Mag_m, sep}, point);
  s = Format(QStringLiteral("%s%.1f%s"), {s, res.Pha_m, sep}, point);
  s = Format(QStringLiteral("%s%.3f%s"), {s, res.Mag_z, sep}, point);
  s = Format(QStringLiteral("%s%.1f%s"), {s, res.Pha_z, sep}, point);
  s = Format(QStringLiteral("%s%.5g%s"), {s, res.Pinc, sep}, point);
  s = Format(QStringLiteral("%s%.5g%s"), {s, res.Prfl, sep}, point);
  s = Format(QStringLiteral("%s%.1f%s"), {s, res.Temp, sep}, point);
  for (int k = kMotFirst; k <= kMotLast; ++k)
    s = Format(QStringLiteral("%s%f%s"), {s, double(mot.ActPos[k]) * mmPerStep, sep}, point);
  s = Format(QStringLiteral("%s%d%s"), {s, int(mot.MotStatus), sep});
  s = Format(QStringLiteral("%s%d%s"), {s, int(mot.MotError), sep});
  return s;
}

TDdeItem::TDdeItem(const TMerObjekt& mob, const TMotState& mot, const TTunerDescr& descr,
                   Clock* clock)
    : mob_(mob), mot_(mot), descr_(descr), timer_(clock) {}

void TDdeItem::PublishIfDue(const THresults& res) {
  if (!On || !timer_.TimerExpired()) return;
  ddeStr_ = BuildDdeString(mob_[0], res, mot_, descr_.MmPerStep, DdeDelim);
  if (OnPublish) OnPublish(ddeStr_);
  timer_.StartTimer(DdeWait_ms);
}

QString TDdeItem::ServerCaption() const {
  return QStringLiteral("DDE Server  (") + (On ? QStringLiteral("ON") : QStringLiteral("OFF")) +
         QStringLiteral(")");
}

QString TDdeItem::DelimCaption() const {
  const int d = DdeDelim >= 0 && DdeDelim < kDdeDelimCount ? DdeDelim : ddCrLf;
  return QStringLiteral("Delimiter  (") + QString::fromLatin1(kDdeDelims[d].name) +
         QStringLiteral(")");
}

QString TDdeItem::WaitCaption() const {
  return Format(QStringLiteral("DDE Wait  (%d ms)"), {DdeWait_ms});
}

void TDdeItem::SetDelim(TDdeDelim d) {
  if (d >= 0 && d < kDdeDelimCount) DdeDelim = d;
}

void TDdeItem::AskWait(TAsker& asker) {
  DdeWait_ms = AskIntegerInRange(QString::fromLatin1(kDdeWaitPrompt), DdeWait_ms, kDdeWaitMin,
                                 kDdeWaitMax, asker);
}

namespace {

const TStpKeys<TDdeStp>& DdeKeys() {
  static const TStpKeys<TDdeStp> keys =
      TStpKeys<TDdeStp>()
          .Bool("miDdeOn", &TDdeStp::On)
          .Int("DdeDelim", &TDdeStp::DdeDelim, 0, kDdeDelimCount - 1)
          .Int("DdeWait_ms", &TDdeStp::DdeWait_ms, kDdeWaitMin, kDdeWaitMax, kDdeWaitDefault);
  return keys;
}

}  // namespace

void TDdeStp::WriteStp(IniFile& ini, const QString& section) const {
  DdeKeys().Write(*this, ini, section);
}

void TDdeStp::ReadStp(const IniFile& ini, const QString& section) {
  DdeKeys().Read(*this, ini, section);
}

}  // namespace qz
