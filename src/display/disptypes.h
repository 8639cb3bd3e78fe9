#pragma once
// The display types a display window offers: what each charts, on which chart kind, with which
// traces, quantity, units, default ranges and limit; the conversion of one result into the
// values of a type; the shared limit of the reflection displays; captions, the clock text and
// the legend geometry.

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

#include "charts/osdata.h"
#include "charts/traces.h"
#include "charts/units.h"
#include "core/records.h"

namespace qz {

// Display types; the number is what the setup stores as "DsplTyp".
enum TDispInterv : int32_t {
  diMag = 0,
  diLogMag = 1,
  diVSWR = 2,
  diPhase = 3,
  diPolar = 4,
  diZSmith = 5,
  diYSmith = 6,
  diOven = 7,
  diPower = 10,
  diLogPower = 11,
  diFreq = 15,
};
inline constexpr int32_t kDispTypeCount = 20;  // 0..19, of which eleven are offered
inline constexpr int32_t kXTypeCount = 8;      // horizontal types 0..7
inline constexpr int32_t kXPoints = 3;         // "Points": the point number of the sweep
inline constexpr int32_t kXReS11 = 4;          // "Re S11": the circular charts' own axis

enum class TChartKind { Rect, Polar, ZSmith, YSmith, Oven };

struct TDispTypeInfo {
  int32_t no = 0;
  QString caption;  // window caption
  QString menu;     // "&Display" menu item
  TChartKind chart = TChartKind::Rect;
  int32_t traceCount = 1;
  TTraceTitles titles;
  QString meno;                                             // vertical quantity name
  QString jedn;                                             // its unit text
  double minDflt = 0, maxDflt = 1, minAsk = 0, maxAsk = 1;  // default range in base units
  QString limCaption;
  bool sharedLimit = false;  // the limit is the window's shared reflection magnitude
  double defLimit = 0.0;     // own default limit of the types without the shared one
  int32_t defZoom = 0;
};

// The offered types in menu order.
const std::array<int32_t, 11>& OfferedTypes();
bool IsOfferedType(int32_t t);
// A stored type that is not offered reads as the first offered type.
int32_t OfferedTypeOrFirst(int32_t t);
// The row of an offered type (the first offered type's row for any other number).
const TDispTypeInfo& DispTypeInfo(int32_t t);
// The reflection displays (types below 8) can show input or load values.
constexpr bool IsRflType(int32_t t) { return t >= 0 && t < 8; }
bool IsCircularType(int32_t t);
// Horizontal type of a display type: "Re S11" for circular charts, "Points" otherwise.
int32_t XTypeOf(int32_t t);
// A stored horizontal type that does not fit the display type is replaced by the one that does.
int32_t XTypeFor(int32_t t, int32_t storedX);

// The vertical unit table of a type and its default unit index.
const TUnits& DispUnits(int32_t t);
int32_t DefaultUnitIndex(int32_t t);
// The "&Units" item text for the current unit name.
QString UnitsMenuText(const QString& unitName);
// A unit entry text ("None" for an empty name).
QString UnitEntryText(const QString& unitName);

// Axis settings of a type as a new window has them (default range in base units; the owner
// scales it by the chosen unit), and of the two offered horizontal types.
TOsData DefaultOsY(int32_t t);
TOsData DefaultOsX(int32_t xType);

// The default range in the chosen unit: LogMag adds 20 log10 k, LogPower 10 log10 k, every other
// type multiplies by k. Always from the table, so repeated unit changes never accumulate.
void ModifDefaultY(int32_t t, TOsData& y);

// Values of one result for a type (the load values when showLoad), with k the unit factor.
// Returns how many values were written (1, 2 for the reflection plane, 3 for the powers).
int32_t Convert(int32_t t, const THresults& res, std::array<double, 3>& values, bool showLoad,
                double k);
// Appends the point of index i made of the converted values to the traces of the list: (i, v)
// per trace for scalar types, (Re, Im) for Polar and Smith, (Im, -Re) for the VSWR chart (turned
// by -90 degrees so that angle 180 lies straight up).
void AddConverted(TTraces& traces, int32_t t, int32_t i, const std::array<double, 3>& values,
                  int32_t count);

// The shared limit, kept as a reflection magnitude m: its value on a type (Mag m k, LogMag
// dB, VSWR and Oven the VSWR, Polar and Smith the radius), and the magnitude an entered value
// stands for. A negative magnitude counts as 0 and an entered VSWR below 1 as 1.
double LimitFromMag(int32_t t, double m, double k);
double MagFromLimit(int32_t t, double value, double k);
// The shared limit's initial magnitude.
inline constexpr double kDefaultLimFdrMag = 0.12;

// The window caption.
QString DisplayCaption(int32_t t, bool showLoad, bool queryAttached, bool bilinActive);
// The clock panel text.
QString ClockText(const QDateTime& t);
// Title of the limit value entry.
QString LimitValueTitle(int32_t t, const QString& unitName);

// The legend: rows of visible traces 15 pixels apart from 12, height last row + 12.
struct TLegendGeometry {
  std::array<int32_t, kDisplayTraces> rowY{};
  int32_t rows = 0;
  int32_t height = 0;
};
TLegendGeometry LegendGeometry(int32_t visibleTraces);
inline constexpr int32_t kLegendLineX0 = 5;
inline constexpr int32_t kLegendLineX1 = 26;
inline constexpr int32_t kLegendMarkerX = 15;
inline constexpr int32_t kLegendTextX = 31;

}  // namespace qz

namespace qz {
class TCanvas;
// Draws the legend of the visible traces on a canvas of width x LegendGeometry().height:
// background in the chart colour, black frame, per row the line (when lines are visible), the
// marker at x 15 (when markers are shown or moving) and the title in the line colour.
void DrawLegend(TCanvas& canvas, const TTraces& traces, TColor background, int32_t width);
// The width the legend needs for its titles.
int32_t LegendWidth(const TTextMetrics& metrics, const TTraces& traces);
}  // namespace qz
