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

const TStpKeys<TRasterDepot>& TRasterDepot::Keys() {
  // The limit line, zoom and caption of one display type follow its axis keys in its section.
  static const TStpKeys<TRozne> ine =
      TStpKeys<TRozne>()
          .FloatForm(
              "LimValue", [](TRozne& r) -> double& { return r.Lim.Va; }, FullNumberText,
              AxisValueFromKey)
          .IntRule(
              "LimStyle", [](TRozne& r) -> int32_t& { return r.Lim.St; }, PenStyleFromKey)
          .Int(
              "LimWidth", [](TRozne& r) -> int32_t& { return r.Lim.Wi; }, 1, kMaxLimWidth)
          .Colour("LimColor", [](TRozne& r) -> TColor& { return r.Lim.Co; })
          .Int("Zoom", &TRozne::Zoom, 0, kMaxZoom)
          .Text("CapText", &TRozne::CapText)
          .Bool("CapVisible", &TRozne::CapVisible);
  const std::vector<int> offered(OfferedTypes().begin(), OfferedTypes().end());
  static const TStpKeys<TRasterDepot> keys =
      TStpKeys<TRasterDepot>()
          .Section(QStringLiteral(" DepotX_"), {kXPoints, kXReS11}, TOsSetup::Keys(),
                   [](TRasterDepot& d, int x) -> TOsSetup& { return d.OsX[size_t(x)]; })
          .Section(QStringLiteral(" DepotY_"), offered, TOsSetup::Keys(),
                   [](TRasterDepot& d, int t) -> TOsSetup& { return d.OsY[size_t(t)]; })
          .Section(QStringLiteral(" DepotY_"), offered, ine,
                   [](TRasterDepot& d, int t) -> TRozne& { return d.Ine[size_t(t)]; });
  return keys;
}

void TRasterDepot::WriteStp(IniFile& ini, const QString& mainSection) const {
  Keys().Write(*this, ini, mainSection);
}

void TRasterDepot::ReadStp(const IniFile& ini, const QString& mainSection) {
  Keys().Read(*this, ini, mainSection);
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
