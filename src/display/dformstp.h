#pragma once
// A display window's setup section "DForm_" + n: its state, panels and type in the main section,
// the caption style with key prefix "Capt", the depot and the four trace sub-sections.

#include <QSize>
#include <QString>
#include <cstdint>

#include "charts/labelstyle.h"
#include "charts/traces.h"
#include "display/rasterdepot.h"
#include "util/winpos.h"

namespace qz {

class IniFile;

// "DForm_" followed by digits only, at any length; sub-sections (with a blank) never are.
bool IsDisplaySection(const QString& section);
QString DisplaySectionName(int32_t n);

// A display window's place inside the frame window's MDI area: position and outer size, read as
// they stand (the area scrolls to any place of its children; a window the operator moved partly
// off the area comes back there).
inline constexpr TPlaceRule kMdiChildPlaceRule{
    pkTop | pkLeft | pkWidth | pkHeight, 0, 0, 0, 0, false};

struct TDFormStp {
  int32_t WindowState = 0;                           // 0 normal, 1 minimized, 2 maximized
  int32_t Top = 0, Left = 0, Width = 0, Height = 0;  // outer place, kept in the normal state
  int32_t LgndTop = 1, LgndLeft = 1;
  bool LgndShow = true;
  int32_t pTimeTop = 1, pTimeLeft = 1;
  bool pTimeShow = false;
  bool ClearAndGo = true;
  bool Persist = false;
  bool sbGmaL = false;  // the load is shown
  int32_t DsplTyp = diMag;
  int32_t Xaxis = kXPoints;
  bool AutoX = true;
  TLabelStyle Capt;
  TRasterDepot Depot;
  TTracesAtrib Atr;

  void WriteStp(IniFile& ini, const QString& section) const;
  // Reads with the present values as defaults. The panel positions are limited into a client of
  // clientW x clientH, a type not offered reads as Mag and the horizontal type follows the type.
  void ReadStp(const IniFile& ini, const QString& section, int32_t clientW, int32_t clientH);
  // The legend and clock positions limited into a client of clientW x clientH (their sizes
  // unknown: a damaged value reads as a place inside the client).
  void LimitPanels(int32_t clientW, int32_t clientH);
  // The legend and clock, of the sizes given, wholly inside the chart panel: a place that fits
  // is kept, one that does not is moved in as a dragged panel is (ClampPanelInto).
  void FitPanels(QSize legend, QSize clock, QSize panel);
  // The outer place as a window place (never visible: the state says how the window shows).
  TWindowPlace Place() const { return TWindowPlace{Left, Top, Width, Height, false}; }
  void SetPlace(const TWindowPlace& p);

  friend bool operator==(const TDFormStp&, const TDFormStp&) = default;
};

}  // namespace qz
