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

TDdeValues DdeValuesOf(uint8_t statByte, const THresults& res, const TMotState& mot,
                       double mmPerStep) {
  TDdeValues v;
  v.statByte = statByte;
  v.errByte = res.ErrByte;
  v.freD = res.FreD;
  v.magM = res.Mag_m;
  v.phaM = res.Pha_m;
  v.magZ = res.Mag_z;
  v.phaZ = res.Pha_z;
  v.pinc = res.Pinc;
  v.prfl = res.Prfl;
  v.temp = res.Temp;
  for (int k = kMotFirst; k <= kMotLast; ++k)
    v.stubMm[size_t(k - kMotFirst)] = double(mot.ActPos[k]) * mmPerStep;
  v.motStatus = mot.MotStatus;
  v.motError = mot.MotError;
  return v;
}

QString DdeText(const TDdeValues& v, TDdeDelim delim) {
  const int d = delim >= 0 && delim < kDdeDelimCount ? delim : ddCrLf;
  const QString sep = QString::fromLatin1(kDdeDelims[d].chars);
  const QChar point('.');
  QString s;
  s.reserve(192);
  auto add = [&](const QString& pattern, FormatArg value) {
    s += Format(pattern, {value}, point);
    s += sep;
  };
  add(QStringLiteral("%d"), int(v.statByte));
  add(QStringLiteral("%d"), int(v.errByte));
  add(QStringLiteral("%.3f"), v.freD / 1e6);
  add(QStringLiteral("%.3f"), v.magM);
  add(QStringLiteral("%.1f"), v.phaM);
  add(QStringLiteral("%.3f"), v.magZ);
  add(QStringLiteral("%.1f"), v.phaZ);
  add(QStringLiteral("%.5g"), v.pinc);
  add(QStringLiteral("%.5g"), v.prfl);
  add(QStringLiteral("%.1f"), v.temp);
  for (double mm : v.stubMm) add(QStringLiteral("%f"), mm);
  add(QStringLiteral("%d"), int(v.motStatus));
  add(QStringLiteral("%d"), int(v.motError));
  return s;
}

QString BuildDdeString(uint8_t statByte, const THresults& res, const TMotState& mot,
                       double mmPerStep, TDdeDelim delim) {
  return DdeText(DdeValuesOf(statByte, res, mot, mmPerStep), delim);
}

TDdeItem::TDdeItem(const TMerObjekt& mob, const TMotState& mot, const TTunerDescr& descr,
                   Clock* clock)
    : mob_(mob), mot_(mot), descr_(descr), timer_(clock) {}

void TDdeItem::PublishIfDue(const THresults& res) {
  // A stopped stopwatch has run out without reading the clock.
  if (!On || !timer_.TimerExpired()) return;
  values_ = DdeValuesOf(mob_[0], res, mot_, descr_.MmPerStep);
  valuesDelim_ = DdeDelim;
  textStale_ = true;
  if (OnPublish) OnPublish();
  // A wait of 0 ms runs out at once: the stopwatch stays stopped, which is the same.
  if (DdeWait_ms > 0) timer_.StartTimer(DdeWait_ms);
}

const QString& TDdeItem::DdeStr() const {
  if (textStale_) {
    ddeStr_ = DdeText(values_, valuesDelim_);
    textStale_ = false;
  }
  return ddeStr_;
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
