#include "display/dformstp.h"

#include <string>

#include "display/panelplace.h"
#include "util/inifile.h"
#include "util/numutil.h"
#include "util/stpkeys.h"

namespace qz {

namespace {
const QString kPrefix = QStringLiteral("DForm_");
}

bool IsDisplaySection(const QString& section) {
  if (section.size() <= kPrefix.size() || !section.startsWith(kPrefix, Qt::CaseInsensitive))
    return false;
  for (qsizetype i = kPrefix.size(); i < section.size(); ++i)
    if (section[i] < QChar('0') || section[i] > QChar('9')) return false;
  return true;
}

QString DisplaySectionName(int32_t n) {
  return kPrefix + QString::fromLatin1(std::to_string(n).c_str());
}

namespace {

constexpr int64_t kAnyInt32Lo = INT32_MIN;
constexpr int64_t kAnyInt32Hi = INT32_MAX;

const TStpKeys<TDFormStp>& Keys() {
  using F = TDFormStp;
  static const TStpKeys<F> keys =
      TStpKeys<F>()
          .Int("WindowState", &F::WindowState, 0, 2)
          // The outer place is kept only in the normal state; it is read in any state.
          .Custom(
              "Top, Left, Width, Height",
              [](const F& f, IniFile& ini, const QString& s) {
                WritePlace(ini, s, f.Place(), kMdiChildPlaceRule);
              },
              [](F& f, const IniFile& ini, const QString& s) {
                f.SetPlace(ReadPlace(ini, s, f.Place(), kMdiChildPlaceRule, 0, 0));
              })
          .WrittenWhen([](const F& f) { return f.WindowState == 0; })
          // The panels are limited to the client area by ReadStp.
          .Int("LgndTop", &F::LgndTop, kAnyInt32Lo, kAnyInt32Hi)
          .Int("LgndLeft", &F::LgndLeft, kAnyInt32Lo, kAnyInt32Hi)
          .Bool("LgndShow", &F::LgndShow)
          .Int("pTimeTop", &F::pTimeTop, kAnyInt32Lo, kAnyInt32Hi)
          .Int("pTimeLeft", &F::pTimeLeft, kAnyInt32Lo, kAnyInt32Hi)
          .Bool("pTimeShow", &F::pTimeShow)
          .Bool("ClearAndGo", &F::ClearAndGo)
          .Bool("Persist", &F::Persist)
          .Bool("sbGmaL", &F::sbGmaL)
          .Int("DsplTyp", &F::DsplTyp, 0, kDispTypeCount - 1)
          .OnRead([](F& f) { f.DsplTyp = OfferedTypeOrFirst(f.DsplTyp); })
          .Int("X-axis", &F::Xaxis, kAnyInt32Lo, kAnyInt32Hi)
          .OnRead([](F& f) { f.Xaxis = XTypeFor(f.DsplTyp, f.Xaxis); })
          .Bool("AutoX", &F::AutoX)
          // The caption's text and visibility are kept per type in the depot.
          .Group(QStringLiteral("Capt"), LabelLookKeys(), &F::Capt)
          .Group("", TRasterDepot::Keys(), &F::Depot)
          .Section(QStringLiteral(" Trace_"), {0, 1, 2, 3}, TDrawAttrib::Keys(),
                   [](F& f, int j) -> TDrawAttrib& { return f.Atr[size_t(j)]; });
  return keys;
}

}  // namespace

void TDFormStp::WriteStp(IniFile& ini, const QString& s) const { Keys().Write(*this, ini, s); }

void TDFormStp::ReadStp(const IniFile& ini, const QString& s, int32_t clientW, int32_t clientH) {
  Keys().Read(*this, ini, s);
  LimitPanels(clientW, clientH);
}

void TDFormStp::SetPlace(const TWindowPlace& p) {
  Left = p.left;
  Top = p.top;
  Width = p.width;
  Height = p.height;
}

void TDFormStp::LimitPanels(int32_t clientW, int32_t clientH) {
  LgndTop = ClampLowWins(LgndTop, 1, clientH - 10);
  LgndLeft = ClampLowWins(LgndLeft, 1, clientW - 10);
  pTimeTop = ClampLowWins(pTimeTop, 1, clientH - 5);
  pTimeLeft = ClampLowWins(pTimeLeft, 1, clientW - 10);
}

void TDFormStp::FitPanels(QSize legend, QSize clock, QSize panel) {
  const QPoint l = ClampPanelInto(legend, panel, QPoint(LgndLeft, LgndTop));
  const QPoint c = ClampPanelInto(clock, panel, QPoint(pTimeLeft, pTimeTop));
  LgndLeft = l.x();
  LgndTop = l.y();
  pTimeLeft = c.x();
  pTimeTop = c.y();
}

}  // namespace qz
