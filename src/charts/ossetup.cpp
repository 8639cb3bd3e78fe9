#include "charts/ossetup.h"

#include "charts/units.h"
#include "util/inifile.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/valueinput.h"

namespace qz {

double AxisValueFromKey(const QString& raw, double current) {
  return TextToFloatInRange(raw, current, -kAxisValueLimit, kAxisValueLimit, /*clamp*/ true).value;
}

int32_t NunitFromKey(int32_t stored) { return ClampLowWins(stored, 0, kMaxUnits - 1); }

void TOsSetup::WriteStp(IniFile& ini, const QString& section) const {
  ini.WriteString(section, "Meno", Data.Meno);
  ini.WriteString(section, "MinDflt", FullNumberText(Data.MinDflt));
  ini.WriteString(section, "MaxDflt", FullNumberText(Data.MaxDflt));
  ini.WriteString(section, "MinAsk", FullNumberText(Data.MinAsk));
  ini.WriteString(section, "MaxAsk", FullNumberText(Data.MaxAsk));
  ini.WriteString(section, "Jedn", Data.Jedn);
  ini.WriteInteger(section, "Nunit", Data.Nunit);
  ini.WriteBool(section, "UseDflt", Data.UseDflt);
  ini.WriteBool(section, "Bcele", Data.Bcele);
  ini.WriteBool(section, "Blin", Data.Blin);
  ini.WriteBool(section, "Bfine", Data.Bfine);
  ini.WriteBool(section, "Bshort", Data.Bshort);
}

void TOsSetup::ReadStp(const IniFile& ini, const QString& section) {
  auto number = [&](const char* key, double current) {
    if (!ini.ValueExists(section, key)) return current;
    return AxisValueFromKey(ini.ReadString(section, key, QString()), current);
  };
  Data.Meno = ini.ReadString(section, "Meno", Data.Meno);
  Data.MinDflt = number("MinDflt", Data.MinDflt);
  Data.MaxDflt = number("MaxDflt", Data.MaxDflt);
  Data.MinAsk = number("MinAsk", Data.MinAsk);
  Data.MaxAsk = number("MaxAsk", Data.MaxAsk);
  Data.Jedn = ini.ReadString(section, "Jedn", Data.Jedn);
  Data.Nunit = NunitFromKey(ini.ReadInteger(section, "Nunit", Data.Nunit));
  Data.UseDflt = ini.ReadBool(section, "UseDflt", Data.UseDflt);
  Data.Bcele = ini.ReadBool(section, "Bcele", Data.Bcele);
  Data.Blin = ini.ReadBool(section, "Blin", Data.Blin);
  Data.Bfine = ini.ReadBool(section, "Bfine", Data.Bfine);
  Data.Bshort = ini.ReadBool(section, "Bshort", Data.Bshort);
  Data.LastMin = Data.MinAsk;
  Data.LastMax = Data.MaxAsk;
}

}  // namespace qz
