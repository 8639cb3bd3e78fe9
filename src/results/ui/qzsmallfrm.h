#pragma once
// The reduced-size numeric results window: a small stay-on-top tool window with the reflection
// magnitude and its format, the phase and the frequency on the left and the incident ("I"),
// reflected ("R") and absorbed ("A") power on the right. Its title says which reflection is
// shown; states are shown by font colours. Popup menus choose the units and "&Show Load".

#include <QWidget>
#include <functional>

#include "results/resview.h"

class QAction;
class QLabel;
class QMenu;

namespace qz {

class IniFile;
class TCoalescedRefresh;
class TQvWin;
class TTagMenu;

inline constexpr const char* kSmallFrmSection = "QzSmallFrm";

class TQzSmallFrm : public QWidget {
  Q_OBJECT
 public:
  TQzSmallFrm(const TQvWin& qv, const IniFile* autoSetup, QWidget* parent = nullptr);

  // As the full-size window: a visible window refreshes at the next refresh tick.
  void Napln(const THresults* res);
  bool RefreshPending() const;
  void FlushRefresh();
  void RflCaption();

  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);

  TResView& View() { return v_; }

  QLabel* MagPanel() const { return lbMag_; }
  QLabel* FormatPanel() const { return lbFmt_; }
  QLabel* PhasePanel() const { return lbPha_; }
  QLabel* FreqPanel() const { return lbFre_; }
  QLabel* FreqUnit() const { return lbMHz_; }
  QLabel* PowValue(int row) const { return lbPow_[row]; }
  QLabel* PowUnit(int row) const { return lbPowU_[row]; }
  TTagMenu* PowMenu() const { return mPow_; }
  TTagMenu* RflMenu() const { return mRfl_; }
  QAction* ShowLoadAction() const { return aLoad_; }
  void PreparePowMenu();
  void PrepareRflMenu();

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Build();
  void ShowReflection();
  void ShowFrequency();
  void ShowPower();
  void ShowAll();

  const TQvWin& qv_;
  TResView v_;
  QLabel *lbMag_, *lbFmt_, *lbPha_, *lbFre_, *lbMHz_;
  QLabel* lbPow_[kPowerRows];
  QLabel* lbPowU_[kPowerRows];
  QLabel* lbPowCap_[kPowerRows];
  TTagMenu* mPow_;
  TTagMenu* mRfl_;
  QMenu* mMain_;
  QAction* aLoad_;
  TCoalescedRefresh* refresh_;
};

}  // namespace qz
