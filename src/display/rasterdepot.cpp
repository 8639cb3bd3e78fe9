#include "display/rasterdepot.h"

#include <string>

#include "util/inifile.h"
#include "util/numtext.h"
#include "util/numutil.h"
#include "util/stpkeys.h"

namespace qz {

void TRasterDepot::Defaults() {
  for (int32_t x = 0; x < kXTypeCount; ++x) OsX[size_t(x)].Data = DefaultOsX(x);
  for (int32_t t = 0; t < kDispTypeCount; ++t) {
    TOsData y = DefaultOsY(t);
    ModifDefaultY(t, y);
    OsY[size_t(t)].Data = y;
    const TDispTypeInfo& info = DispTypeInfo(t);
    TRozne& r = Ine[size_t(t)];
    r = TRozne{};
    r.Lim.St = psDot;
    r.Lim.Wi = 1;
    r.Lim.Co = clFuchsia;
    r.Lim.Va = info.sharedLimit ? LimitFromMag(t, kDefaultLimFdrMag, y.Nasob) : info.defLimit;
    r.Zoom = IsOfferedType(t) ? info.defZoom : 0;
    r.CapText.clear();
    r.CapVisible = false;
  }
  RewriteEnabled = true;
}

QString TRasterDepot::XSection(const QString& mainSection, int32_t xType) {
  return mainSection + QStringLiteral(" DepotX_") +
         QString::fromLatin1(std::to_string(xType).c_str());
}

QString TRasterDepot::YSection(const QString& mainSection, int32_t type) {
  return mainSection + QStringLiteral(" DepotY_") +
         QString::fromLatin1(std::to_string(type).c_str());
}

void TRasterDepot::WriteStp(IniFile& ini, const QString& mainSection) const {
  for (int32_t x : {kXPoints, kXReS11}) OsX[size_t(x)].WriteStp(ini, XSection(mainSection, x));
  for (int32_t t : OfferedTypes()) {
    const QString s = YSection(mainSection, t);
    OsY[size_t(t)].WriteStp(ini, s);
    const TRozne& r = Ine[size_t(t)];
    ini.WriteString(s, "LimValue", FullNumberText(r.Lim.Va));
    ini.WriteInteger(s, "LimStyle", r.Lim.St);
    ini.WriteInteger(s, "LimWidth", r.Lim.Wi);
    WriteColourKey(ini, s, "LimColor", r.Lim.Co);
    ini.WriteInteger(s, "Zoom", r.Zoom);
    ini.WriteString(s, "CapText", r.CapText);
    ini.WriteBool(s, "CapVisible", r.CapVisible);
  }
}

void TRasterDepot::ReadStp(const IniFile& ini, const QString& mainSection) {
  for (int32_t x : {kXPoints, kXReS11}) OsX[size_t(x)].ReadStp(ini, XSection(mainSection, x));
  for (int32_t t : OfferedTypes()) {
    const QString s = YSection(mainSection, t);
    OsY[size_t(t)].ReadStp(ini, s);
    TRozne& r = Ine[size_t(t)];
    if (ini.ValueExists(s, "LimValue"))
      r.Lim.Va = AxisValueFromKey(ini.ReadString(s, "LimValue", QString()), r.Lim.Va);
    r.Lim.St = PenStyleFromKey(ini.ReadInteger(s, "LimStyle", r.Lim.St));
    r.Lim.Wi = ClampLowWins(ini.ReadInteger(s, "LimWidth", r.Lim.Wi), 1, kMaxLimWidth);
    r.Lim.Co = ReadColourKey(ini, s, "LimColor", r.Lim.Co);
    r.Zoom = ClampLowWins(ini.ReadInteger(s, "Zoom", r.Zoom), 0, kMaxZoom);
    r.CapText = ini.ReadString(s, "CapText", r.CapText);
    r.CapVisible = ini.ReadBool(s, "CapVisible", r.CapVisible);
  }
}

bool operator==(const TRasterDepot& a, const TRasterDepot& b) {
  for (size_t x = 0; x < a.OsX.size(); ++x)
    if (!(a.OsX[x].Data == b.OsX[x].Data)) return false;
  for (size_t t = 0; t < a.OsY.size(); ++t) {
    if (!(a.OsY[t].Data == b.OsY[t].Data)) return false;
    const TRozne& p = a.Ine[t];
    const TRozne& q = b.Ine[t];
    if (p.Lim.Va != q.Lim.Va || p.Lim.St != q.Lim.St || p.Lim.Wi != q.Lim.Wi ||
        p.Lim.Co != q.Lim.Co || p.Zoom != q.Zoom || p.CapText != q.CapText ||
        p.CapVisible != q.CapVisible)
      return false;
  }
  return a.RewriteEnabled == b.RewriteEnabled;
}

}  // namespace qz
