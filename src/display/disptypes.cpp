#include "display/disptypes.h"

#include <cmath>

#include "util/datetext.h"
#include "util/unitconv.h"

namespace qz {

namespace {

TDispTypeInfo Row(int32_t no, const char* caption, const char* menu, TChartKind chart,
                  std::initializer_list<const char*> titles, const char* meno, const char* jedn,
                  double minDflt, double maxDflt, double minAsk, double maxAsk,
                  const char* limCaption, bool shared, double defLimit, int32_t zoom = 0) {
  TDispTypeInfo r;
  r.no = no;
  r.caption = QString::fromLatin1(caption);
  r.menu = QString::fromLatin1(menu);
  r.chart = chart;
  r.traceCount = int32_t(titles.size());
  size_t i = 0;
  for (const char* t : titles) r.titles[i++] = QString::fromLatin1(t);
  r.meno = QString::fromLatin1(meno);
  r.jedn = QString::fromLatin1(jedn);
  r.minDflt = minDflt;
  r.maxDflt = maxDflt;
  r.minAsk = minAsk;
  r.maxAsk = maxAsk;
  r.limCaption = QString::fromLatin1(limCaption);
  r.sharedLimit = shared;
  r.defLimit = defLimit;
  r.defZoom = zoom;
  return r;
}

const std::array<TDispTypeInfo, 11>& Table() {
  using K = TChartKind;
  static const std::array<TDispTypeInfo, 11> t{{
      Row(diMag, "Mag", "&Mag", K::Rect, {"Mag"}, "Mag", "", 0, 1, 0, 0.25, "Mag", true, 0.12),
      Row(diLogMag, "LogMag", "&LogMag", K::Rect, {"dB"}, "LogMag", "dB", -80, 0, -40, 0, "LogMag",
          true, 0),
      Row(diVSWR, "VSWR", "V&SWR", K::Rect, {"SWR"}, "VSWR", "", 1, 5, 1, 2, "VSWR", true, 0),
      Row(diPhase, "Phase", "Ph&ase", K::Rect, {"Pha"}, "Phase", "Deg", -180, 180, -90, 90, "Phase",
          false, 48),
      Row(diPolar, "Polar", "&Polar", K::Polar, {"Rho"}, "Im S11", "", -1, 1, -0.25, 0.25, "Radius",
          true, 0),
      Row(diZSmith, "Z-Smith", "&Z-Smith", K::ZSmith, {"Rho"}, "", "", -1, 1, -0.25, 0.25, "Radius",
          true, 0, 3),
      Row(diYSmith, "Y-Smith", "&Y-Smith", K::YSmith, {"Rho"}, "", "", -1, 1, -0.25, 0.25, "Radius",
          true, 0),
      Row(diOven, "Oven", "&Oven", K::Oven, {"Rho"}, "Oven", "", -1, 1, -0.25, 0.2, "VSWR", true,
          0),
      Row(diPower, "Power", "Po&wer", K::Rect, {"Pinc", "Prefl", "Pabs"}, "Power", "W", 0, 10000, 0,
          6000, "Power", false, 1000),
      Row(diLogPower, "LogPower", "LogPow&er", K::Rect, {"Pinc", "Prefl", "Pabs"}, "LogPower",
          "dBkW", 30, 70, 30, 70, "LogPower", false, 35),
      Row(diFreq, "Freq", "&Freq", K::Rect, {"Freq"}, "Freq", "MHz", 500e6, 2500e6, 2425, 2475,
          "MHz", false, 2450),
  }};
  return t;
}

TUnits MakeUnits(std::initializer_list<std::pair<const char*, double>> list) {
  TUnits u;
  u.Pocet = int32_t(list.size());
  size_t i = 0;
  for (const auto& [name, factor] : list) {
    u.Nazov[i] = QString::fromLatin1(name);
    u.Prevod[i] = factor;
    ++i;
  }
  return u;
}

}  // namespace

const std::array<int32_t, 11>& OfferedTypes() {
  static const std::array<int32_t, 11> t{diMag,    diLogMag, diVSWR,  diPhase,    diPolar, diZSmith,
                                         diYSmith, diOven,   diPower, diLogPower, diFreq};
  return t;
}

bool IsOfferedType(int32_t t) {
  for (int32_t o : OfferedTypes())
    if (o == t) return true;
  return false;
}

int32_t OfferedTypeOrFirst(int32_t t) { return IsOfferedType(t) ? t : OfferedTypes()[0]; }

const TDispTypeInfo& DispTypeInfo(int32_t t) {
  for (const auto& row : Table())
    if (row.no == t) return row;
  return Table()[0];
}

bool IsCircularType(int32_t t) { return DispTypeInfo(t).chart != TChartKind::Rect; }

int32_t XTypeOf(int32_t t) { return IsCircularType(t) ? kXReS11 : kXPoints; }

int32_t XTypeFor(int32_t t, int32_t storedX) {
  (void)storedX;  // only the horizontal type of the display type fits it
  return XTypeOf(t);
}

const TUnits& DispUnits(int32_t t) {
  static const TUnits mag = MakeUnits({{"", 1.0}, {"%", 100.0}, {"mU", 1000.0}});
  static const TUnits logMag = MakeUnits({{"dB", 1.0}});
  static const TUnits phase = MakeUnits({{"Deg", 1.0}});
  static const TUnits power = MakeUnits({{"uW", 1e6}, {"mW", 1000.0}, {"W", 1.0}, {"kW", 0.001}});
  static const TUnits logPower = MakeUnits({{"dBm", 1.0}, {"dBW", 0.001}, {"dBkW", 1e-6}});
  static const TUnits freq = MakeUnits({{"MHz", 1e-6}});
  static const TUnits none = MakeUnits({{"", 1.0}});
  switch (t) {
    case diMag:
      return mag;
    case diLogMag:
      return logMag;
    case diPhase:
      return phase;
    case diPower:
      return power;
    case diLogPower:
      return logPower;
    case diFreq:
      return freq;
    default:
      return none;
  }
}

int32_t DefaultUnitIndex(int32_t t) { return (t == diPower || t == diLogPower) ? 2 : 0; }

QString UnitsMenuText(const QString& unitName) {
  if (unitName.startsWith(QChar('('))) return QStringLiteral("&Units  ") + unitName;
  return QStringLiteral("&Units");
}

QString UnitEntryText(const QString& unitName) {
  return unitName.isEmpty() ? QStringLiteral("None") : unitName;
}

TOsData DefaultOsY(int32_t t) {
  const TDispTypeInfo& r = DispTypeInfo(t);
  TOsData d;
  d.Meno = r.meno;
  d.MinDflt = r.minDflt;
  d.MaxDflt = r.maxDflt;
  d.MinAsk = d.LastMin = r.minAsk;
  d.MaxAsk = d.LastMax = r.maxAsk;
  d.UseDflt = true;
  d.Blin = true;
  d.Bfine = true;
  d.Bcele = false;
  d.Bshort = false;
  const TUnits& u = DispUnits(t);
  d.Nunit = DefaultUnitIndex(t);
  d.Nasob = u.Prevod[size_t(d.Nunit)];
  d.Jedn = u.Nazov[size_t(d.Nunit)];
  return d;
}

TOsData DefaultOsX(int32_t xType) {
  TOsData d;
  if (xType == kXReS11) {
    d.Meno = QStringLiteral("Re S11");
    d.MinDflt = d.MinAsk = d.LastMin = -1;
    d.MaxDflt = d.MaxAsk = d.LastMax = 1;
  } else {
    d.Meno = QStringLiteral("Points");
    d.MinDflt = 0;
    d.MaxDflt = 100;
    d.MinAsk = d.LastMin = 0;
    d.MaxAsk = d.LastMax = 10;
  }
  d.UseDflt = true;
  d.Blin = true;
  d.Bfine = true;
  d.Bcele = false;
  d.Bshort = false;
  return d;
}

void ModifDefaultY(int32_t t, TOsData& y) {
  const TDispTypeInfo& r = DispTypeInfo(t);
  const double k = y.Nasob;
  if (t == diLogMag || t == diLogPower) {
    const double shift = (t == diLogMag ? 20.0 : 10.0) * std::log10(k > 0 ? k : 1.0);
    y.MinDflt = r.minDflt + shift;
    y.MaxDflt = r.maxDflt + shift;
  } else {
    y.MinDflt = r.minDflt * k;
    y.MaxDflt = r.maxDflt * k;
  }
}

int32_t Convert(int32_t t, const THresults& res, std::array<double, 3>& values, bool showLoad,
                double k) {
  const double m = showLoad ? res.Mag_z : res.Mag_m;
  const double phi = showLoad ? res.Pha_z : res.Pha_m;
  const complex& rho = showLoad ? res.Rho_z : res.Rho_m;
  switch (t) {
    case diMag:
      values[0] = k * m;
      return 1;
    case diLogMag:
      values[0] = AmplToDb(m);
      return 1;
    case diVSWR:
      values[0] = RhoToSwr(m);
      return 1;
    case diPhase:
      values[0] = phi;  // the decoder gives degrees
      return 1;
    case diPolar:
    case diZSmith:
    case diYSmith:
    case diOven:
      values[0] = rho.re;
      values[1] = rho.im;
      return 2;
    case diPower:
      values[0] = k * res.Pinc;
      values[1] = k * res.Prfl;
      values[2] = k * res.Pabs;
      return 3;
    case diLogPower:
      values[0] = WattToDbm(k * res.Pinc);
      values[1] = WattToDbm(k * res.Prfl);
      values[2] = WattToDbm(k * res.Pabs);
      return 3;
    case diFreq:
      values[0] = k * res.FreD;
      return 1;
    default:
      return 0;
  }
}

void AddConverted(TTraces& traces, int32_t t, int32_t i, const std::array<double, 3>& values,
                  int32_t count) {
  if (count == 2) {
    TOneTrace* tr = traces.Trace(0);
    if (!tr) return;
    if (t == diOven)
      tr->AddXY(values[1], -values[0]);
    else
      tr->AddXY(values[0], values[1]);
    return;
  }
  for (int32_t j = 0; j < count; ++j)
    if (TOneTrace* tr = traces.Trace(j)) tr->AddXY(double(i), values[size_t(j)]);
}

double LimitFromMag(int32_t t, double m, double k) {
  m = m > 0.0 ? m : 0.0;  // NaN and negative count as no reflection
  switch (t) {
    case diMag:
      return m * k;
    case diLogMag:
      return AmplToDb(m);
    case diVSWR:
    case diOven:
      return RhoToSwr(m);
    default:
      return m;
  }
}

double MagFromLimit(int32_t t, double value, double k) {
  double m = value;
  switch (t) {
    case diMag:
      m = k != 0.0 ? value / k : value;
      break;
    case diLogMag:
      m = std::pow(10.0, value / 20.0);
      break;
    case diVSWR:
    case diOven:
      m = SwrToRho(value);
      break;
    default:
      break;
  }
  return m > 0.0 ? m : 0.0;
}

QString DisplayCaption(int32_t t, bool showLoad, bool queryAttached, bool bilinActive) {
  QString c = DispTypeInfo(t).caption;
  if (!IsRflType(t)) return c;
  if (showLoad) return c + QStringLiteral(" - Load");
  c += QStringLiteral(" - Input");
  if (!queryAttached)
    c += QStringLiteral(" (Bi not assigned)");
  else if (bilinActive)
    c += QStringLiteral(" (Transformed)");
  return c;
}

QString ClockText(const QDateTime& t) { return DateTimeText(2, t); }

QString LimitValueTitle(int32_t t, const QString& unitName) {
  QString s = QStringLiteral("Limit value - ") + DispTypeInfo(t).limCaption;
  if (unitName.startsWith(QChar('('))) s += QChar(' ') + unitName;
  return s;
}

TLegendGeometry LegendGeometry(int32_t visibleTraces) {
  TLegendGeometry g;
  g.rows =
      visibleTraces < 0 ? 0 : (visibleTraces > kDisplayTraces ? kDisplayTraces : visibleTraces);
  for (int32_t i = 0; i < g.rows; ++i) g.rowY[size_t(i)] = 12 + 15 * i;
  g.height = g.rows > 0 ? g.rowY[size_t(g.rows - 1)] + 12 : 12;
  return g;
}

}  // namespace qz

#include "charts/canvas.h"
#include "charts/raster.h"

namespace qz {

int32_t LegendWidth(const TTextMetrics& metrics, const TTraces& traces) {
  int32_t w = 0;
  for (int32_t j = 0; j < traces.Count(); ++j) {
    const TOneTrace* t = traces.Trace(j);
    if (t->Attr().Visible) w = std::max(w, metrics.TextWidth(t->Title));
  }
  return kLegendTextX + w + 6;
}

void DrawLegend(TCanvas& canvas, const TTraces& traces, TColor background, int32_t width) {
  int32_t visible = 0;
  for (int32_t j = 0; j < traces.Count(); ++j)
    if (traces.Trace(j)->Attr().Visible) ++visible;
  const TLegendGeometry g = LegendGeometry(visible);
  canvas.SetClip(TClip{});
  canvas.FillRect(TRectI{0, 0, width, g.height}, background);
  canvas.Pen = TPen{};
  canvas.Brush = TBrush{clWhite, bsClear};
  canvas.Rectangle(TRectI{0, 0, width, g.height});
  int32_t row = 0;
  for (int32_t j = 0; j < traces.Count() && row < g.rows; ++j) {
    const TOneTrace* t = traces.Trace(j);
    const TDrawAttrib& a = t->Attr();
    if (!a.Visible) continue;
    const int32_t y = g.rowY[size_t(row++)];
    if (a.LineVisible) {
      canvas.Pen = a.LinePen;
      canvas.Pen.Mode = pmCopy;
      canvas.Line(TPt{kLegendLineX0, y}, TPt{kLegendLineX1, y});
    }
    if (a.Dots.Visible || a.Dots.Moving) {
      TRaster::SetCanvForDots(canvas, *t);
      canvas.Pen.Mode = pmCopy;
      TRaster::DotG(a.Dots.Tvar, a.Dots.Dsize, canvas, TPt{kLegendMarkerX, y});
    }
    canvas.Font.Color = a.LinePen.Color;
    canvas.Text(TPt{kLegendTextX, y - canvas.TextHeight(t->Title) / 2}, t->Title);
  }
}

}  // namespace qz
