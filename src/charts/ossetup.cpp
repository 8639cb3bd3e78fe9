#include "charts/ossetup.h"

#include "charts/units.h"
#include "util/inifile.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/stpkeys.h"
#include "util/valueinput.h"

namespace qz {

double AxisValueFromKey(const QString& raw, double current) {
  return TextToFloatInRange(raw, current, -kAxisValueLimit, kAxisValueLimit, /*clamp*/ true).value;
}

int32_t NunitFromKey(int32_t stored) { return ClampLowWins(stored, 0, kMaxUnits - 1); }

const TStpKeys<TOsSetup>& TOsSetup::Keys() {
  using D = TOsData;
  static const TStpKeys<D> data =
      TStpKeys<D>()
          .Text("Meno", &D::Meno)
          .FloatForm("MinDflt", &D::MinDflt, FullNumberText, AxisValueFromKey)
          .FloatForm("MaxDflt", &D::MaxDflt, FullNumberText, AxisValueFromKey)
          .FloatForm("MinAsk", &D::MinAsk, FullNumberText, AxisValueFromKey)
          .FloatForm("MaxAsk", &D::MaxAsk, FullNumberText, AxisValueFromKey)
          .Text("Jedn", &D::Jedn)
          .IntRule("Nunit", &D::Nunit, NunitFromKey)
          .Bool("UseDflt", &D::UseDflt)
          .Bool("Bcele", &D::Bcele)
          .Bool("Blin", &D::Blin)
          .Bool("Bfine", &D::Bfine)
          .Bool("Bshort", &D::Bshort);
  static const TStpKeys<TOsSetup> keys =
      TStpKeys<TOsSetup>().Group("", data, &TOsSetup::Data).OnRead([](TOsSetup& o) {
        o.Data.LastMin = o.Data.MinAsk;
        o.Data.LastMax = o.Data.MaxAsk;
      });
  return keys;
}

void TOsSetup::WriteStp(IniFile& ini, const QString& section) const {
  Keys().Write(*this, ini, section);
}

void TOsSetup::ReadStp(const IniFile& ini, const QString& section) {
  Keys().Read(*this, ini, section);
}

}  // namespace qz
