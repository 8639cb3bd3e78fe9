#pragma once
// A display window: a child of the frame window's display area that charts the results in one
// display type, with its own menu bar, the right-hand tool bar, the legend and the clock panel.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>

#include "charts/labelstyle.h"
#include "charts/ui/rasterpanel.h"
#include "core/onesweep.h"
#include "display/dformstp.h"
#include "display/displ.h"
#include "display/displayops.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;

namespace qz {

// The keyword the labels box's "Help" asks with.
inline constexpr const char* kLabelsHelpKeyword = "Labels";

class TIniFile;
struct TDisplayDefaults;
class TLegend;
class TDlgQzScale;
class TDlgAttr;
class TAttrDlgData;

class TGDisplForm : public QWidget, public TDisplayView {
  Q_OBJECT
 public:
  // A window from the program-wide defaults (copied), of their type for new windows.
  explicit TGDisplForm(TDisplayDefaults& defaults, QWidget* parent = nullptr);
  ~TGDisplForm() override;

  // ---- connection to the frame window ----
  void AssignConvAllProc(std::function<void(TGDisplForm&)> op) { ConvertAll = std::move(op); }
  void AssignData(const TOneSweep* sweep) { SrcData = sweep; }
  void AssignBilinActive(std::function<bool()> query) { BilinActive = std::move(query); }
  // The frame window's Run/Pause and whether a run is in progress (Space and Escape).
  std::function<void()> RunPause;
  std::function<bool()> Running;
  // Commands that open the dialogs of the scale, attributes and pens (set by their owner).
  std::function<void(TGDisplForm&)> OnSetScale;
  std::function<void(TGDisplForm&)> OnProperties;
  std::function<void(TGDisplForm&)> OnLimitStyle;
  std::function<void(TGDisplForm&)> OnLegendClick;
  // Help for the labels box.
  std::function<void()> OnLabelsHelp;
  // The window is closing (its settings are already the program-wide defaults).
  std::function<void(TGDisplForm*)> OnClosed;
  // A type was chosen from the menu: the frame window adjusts every point axis.
  std::function<void()> OnTypeChosen;

  // A client of 330 x 220 beside the tool bar, below the menu bar.
  QSize sizeHint() const override;

  void PutTrace();
  void SetCaption();
  void RecreateDisplay(int32_t xType, int32_t type);
  void WriteStp(IniFile& ini, int32_t n);
  void ReadStp(const IniFile& ini, const QString& section);
  // Everything this window keeps in the setup, as it is now.
  TDFormStp StpRecord();
  // The depot, caption style and trace attributes become the program-wide defaults.
  void StoreAsDefaults();
  // Menus and buttons are disabled during a run.
  void EnableForRun(bool enabled);

  // ---- TDisplayView ----
  TDispl& Displ() override { return *displ_; }
  bool ShowLoad() const override { return showLoad_; }
  bool ClearAndGo() const override { return clearAndGo_; }
  void ChartChanged() override;
  void RepaintAll() override;
  void ClearChart() override;

  // ---- commands ----
  void SetShowLoad(bool load);
  void SetUnit(int32_t n);
  void DoAutoscale();
  void DoDefault();
  void AskLimitValue();
  void ArrangePanels();
  void RefreshClock();
  void ShowLabelsHelp();
  void SetLegendVisible(bool on);
  void SetClockVisible(bool on);
  void SetClearAndGo(bool on);
  void SetPersist(bool on);
  // The dialogs: the scale dialog over this window's chart (repaint on OK), the trace dialog
  // over its traces, and the limit line's pen of the present type.
  void EditScale(TDlgQzScale& dlg, int32_t npts);
  void EditProperties(TDlgAttr& dlg);
  void EditLimitStyle();
  // The trace dialog's copies taken: attributes, persistence and clear-and-go.
  void ApplyAttributes(const TAttrDlgData& data);
  // The traces' attributes were edited: the window keeps them as its own and redraws legend and
  // traces.
  void AttributesEdited();
  void Blank();
  void ClearAndRedraw();

  // The readout for the pointer at `p` of the chart panel (shown in the frame window's hint panel
  // while the pointer moves over the chart).
  QString ReadoutAt(QPoint p) const;

  // The texts over the chart panel: the chart's own, the caption and the labels shown.
  std::vector<TTextBox> ChartTexts() const;

  TRasterPanel* Panel() const { return panel_; }
  QWidget* Legend() const;
  QLabel* Clock() const { return clock_; }
  QMenuBar* MenuBar() const { return menuBar_; }
  QToolBar* ToolBar() const { return toolBar_; }
  QMenu* DisplayMenu() const { return mDisplay_; }
  QMenu* ChartMenu() const { return mChart_; }
  QMenu* UnitsMenu() const { return mUnits_; }
  QAction* ShowInputButton() const { return bInput_; }
  QAction* ShowLoadButton() const { return bLoad_; }
  int MinH() const { return minH_; }
  const TTracesAtrib& FrmAtr() const { return frmAtr_; }
  const TRasterDepot& FormDepot() const { return depot_; }

  const TOneSweep* SrcData = nullptr;
  std::function<void(TGDisplForm&)> ConvertAll;
  std::function<bool()> BilinActive;
  double Lgnd_x = 0.0, Lgnd_y = 0.0, Time_x = 0.0, Time_y = 0.0;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void DisplayMenuOpening();
  void ChartMenuOpening();
  void CaptionToRaster();
  void CaptionFromRaster();
  void Refill();
  void PlacePanels();
  void RefreshLegend();
  void RememberPanelPlace(QWidget* w);
  // Moves legend and clock to places read from the setup, limited into the chart panel as it
  // is now, and remembers them.
  void PlaceReadPanels(QPoint legend, QPoint clock);
  void ShowReadout(const QString& text);

  TDisplayDefaults& defaults_;
  TRasterDepot depot_;
  TLabelStyle captStyle_;
  TTracesAtrib frmAtr_;
  std::unique_ptr<TDispl> displ_;
  TRasterPanel* panel_ = nullptr;
  TLegend* legend_ = nullptr;
  QLabel* clock_ = nullptr;
  QTimer clockTimer_;
  QMenuBar* menuBar_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QMenu* mDisplay_ = nullptr;
  QMenu* mUnits_ = nullptr;
  QMenu* mChart_ = nullptr;
  QActionGroup* typeGroup_ = nullptr;
  QAction* aShowLoad_ = nullptr;
  QAction* aLegend_ = nullptr;
  QAction* aTime_ = nullptr;
  QAction* aCaptVisible_ = nullptr;
  QAction* aClearAndGo_ = nullptr;
  QAction* aPersist_ = nullptr;
  QAction* bInput_ = nullptr;
  QAction* bLoad_ = nullptr;
  QAction* bClearAndGo_ = nullptr;
  QAction* bPersist_ = nullptr;
  bool showLoad_ = false;
  bool clearAndGo_ = true;
  bool runEnabled_ = true;
  bool placing_ = false;
  QPoint clockPress_;
  QPoint legendPress_;
  bool sized_ = false;
  // Legend and clock places read while the window was not showing: placed again once the chart
  // panel has the size the window shows it in.
  std::optional<std::pair<QPoint, QPoint>> readPanels_;
  bool panelsPlaced_ = false;  // the operator or the setup has placed legend and clock
  int minH_ = 0;
};

}  // namespace qz
