#include "display/dformstp.h"

#include <string>

#include "util/inifile.h"
#include "util/numutil.h"

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

void TDFormStp::WriteStp(IniFile& ini, const QString& s) const {
  ini.WriteInteger(s, "WindowState", WindowState);
  if (WindowState == 0) {
    ini.WriteInteger(s, "Top", Top);
    ini.WriteInteger(s, "Left", Left);
    ini.WriteInteger(s, "Width", Width);
    ini.WriteInteger(s, "Height", Height);
  }
  ini.WriteInteger(s, "LgndTop", LgndTop);
  ini.WriteInteger(s, "LgndLeft", LgndLeft);
  ini.WriteBool(s, "LgndShow", LgndShow);
  ini.WriteInteger(s, "pTimeTop", pTimeTop);
  ini.WriteInteger(s, "pTimeLeft", pTimeLeft);
  ini.WriteBool(s, "pTimeShow", pTimeShow);
  ini.WriteBool(s, "ClearAndGo", ClearAndGo);
  ini.WriteBool(s, "Persist", Persist);
  ini.WriteBool(s, "sbGmaL", sbGmaL);
  ini.WriteInteger(s, "DsplTyp", DsplTyp);
  ini.WriteInteger(s, "X-axis", Xaxis);
  ini.WriteBool(s, "AutoX", AutoX);
  // The caption's text and visibility are kept per type in the depot.
  WriteLabelStyle(ini, s, QStringLiteral("Capt"), Capt, /*withText*/ false);
  Depot.WriteStp(ini, s);
  for (int32_t j = 0; j < kDisplayTraces; ++j) Atr[size_t(j)].WriteStp(ini, s, j);
}

void TDFormStp::ReadStp(const IniFile& ini, const QString& s, int32_t clientW, int32_t clientH) {
  WindowState = ClampLowWins(ini.ReadInteger(s, "WindowState", WindowState), 0, 2);
  Top = ini.ReadInteger(s, "Top", Top);
  Left = ini.ReadInteger(s, "Left", Left);
  Width = ini.ReadInteger(s, "Width", Width);
  Height = ini.ReadInteger(s, "Height", Height);
  LgndTop = ClampLowWins(ini.ReadInteger(s, "LgndTop", LgndTop), 1, clientH - 10);
  LgndLeft = ClampLowWins(ini.ReadInteger(s, "LgndLeft", LgndLeft), 1, clientW - 10);
  LgndShow = ini.ReadBool(s, "LgndShow", LgndShow);
  pTimeTop = ClampLowWins(ini.ReadInteger(s, "pTimeTop", pTimeTop), 1, clientH - 5);
  pTimeLeft = ClampLowWins(ini.ReadInteger(s, "pTimeLeft", pTimeLeft), 1, clientW - 10);
  pTimeShow = ini.ReadBool(s, "pTimeShow", pTimeShow);
  ClearAndGo = ini.ReadBool(s, "ClearAndGo", ClearAndGo);
  Persist = ini.ReadBool(s, "Persist", Persist);
  sbGmaL = ini.ReadBool(s, "sbGmaL", sbGmaL);
  DsplTyp = OfferedTypeOrFirst(
      ClampLowWins(ini.ReadInteger(s, "DsplTyp", DsplTyp), 0, kDispTypeCount - 1));
  Xaxis = XTypeFor(DsplTyp, ini.ReadInteger(s, "X-axis", Xaxis));
  AutoX = ini.ReadBool(s, "AutoX", AutoX);
  ReadLabelStyle(ini, s, QStringLiteral("Capt"), Capt, /*withText*/ false);
  Depot.ReadStp(ini, s);
  for (int32_t j = 0; j < kDisplayTraces; ++j) Atr[size_t(j)].ReadStp(ini, s, j);
}

}  // namespace qz
