#pragma once
// The full-size numeric results window "Quzar Measurement Results": the reflection coefficient
// in a large panel with its format, phase, "Show Load" and the plane extension; frequency with
// the counter lamp; temperature; incident, reflected and absorbed power each in its own unit
// with the signal lamp; the unit's error byte; and the buttons "&Help", "Close" and
// "Start/Stop". It stays on top, is created once and only hidden when closed.

#include <QWidget>
#include <functional>

#include "results/resview.h"
#include "util/ui/panels.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qz {

class IniFile;
class TCoalescedRefresh;
class TQvWin;
class TTagMenu;

inline constexpr const char* kResFormSection = "QzResForm";
inline constexpr const char* kResHelpTopic = "Results Windows";

class TQzResForm : public QWidget {
  Q_OBJECT
 public:
  // qv is read for the counter state, the bilinear transform and the plane extension text.
  // The window's position and visibility come from the automatic setup (may be null).
  TQzResForm(const TQvWin& qv, const IniFile* autoSetup, QWidget* parent = nullptr);

  // Shows a copy of the result (nullptr: no data). A visible window refreshes its fields at the
  // next refresh tick (at most one refresh about every 16 ms, always with the latest result); a
  // hidden one at once.
  void Napln(const THresults* res);
  // A refresh is waiting for its tick.
  bool RefreshPending() const;
  // Runs a waiting refresh now.
  void FlushRefresh();
  void RflCaption();
  void SetExtCaption();
  // The frequency counter was switched by command.
  void FreLedCounterOnOff(bool on);

  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);

  // The frame window's Run/Pause command and the help viewer (unset: nothing happens).
  std::function<void()> OnStartStop;
  std::function<void(const QString& topic)> OnHelp;

  TResView& View() { return v_; }

  // Controls, for tests.
  QLabel* MagPanel() const { return lbMag_; }
  QLabel* FormatPanel() const { return lbFmt_; }
  QLabel* PhasePanel() const { return lbPha_; }
  QGroupBox* RflBox() const { return gbRfl_; }
  QCheckBox* ShowLoadBox() const { return cbLoad_; }
  QLabel* ExtLabel() const { return lbExt_; }
  QLabel* FreqPanel() const { return lbFre_; }
  QLabel* FreqStatus() const { return lbFreSt_; }
  QLabel* FreqLampLabel() const { return ledFre_; }
  QLabel* TempPanel() const { return lbTemp_; }
  QLabel* TempUnit() const { return lbTUnit_; }
  QLabel* TempStatus() const { return lbTempSt_; }
  QLabel* PowValue(int row) const { return lbPow_[row]; }
  QLabel* PowUnit(int row) const { return lbPowU_[row]; }
  QLabel* PowStatus() const { return lbPowSt_; }
  QLabel* PowLampLabel() const { return ledPow_; }
  QLabel* ErrLabel() const { return lbErr_; }
  TTagMenu* PowMenu() const { return mPow_; }
  TTagMenu* RflMenu() const { return mRfl_; }
  QPushButton* HelpButton() const { return btHelp_; }
  QPushButton* CloseButton() const { return btClose_; }
  QPushButton* StartStopButton() const { return btRun_; }

  // Sets the check marks and enabled items of the popup menus as they open.
  void PreparePowMenu();
  void PrepareRflMenu();

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Build();
  void ShowReflection();
  void ShowFrequency();
  void ShowPower();
  void ShowTemperature();
  void ShowErrByte();
  void ShowAll();

  const TQvWin& qv_;
  TResView v_;

  QGroupBox* gbRfl_;
  QLabel *lbMag_, *lbFmt_, *lbPha_, *lbExt_;
  QCheckBox* cbLoad_;
  QLabel *lbFre_, *lbFreSt_;
  TLed* ledFre_;
  QLabel *lbTemp_, *lbTUnit_, *lbTempSt_;
  TLed* ledTemp_;
  QLabel* lbPow_[kPowerRows];
  QLabel* lbPowU_[kPowerRows];
  QLabel* lbPowCap_[kPowerRows];
  QLabel* lbPowSt_;
  TLed* ledPow_;
  QLabel* lbErr_;
  QPushButton *btHelp_, *btClose_, *btRun_;
  TTagMenu* mPow_;
  TTagMenu* mRfl_;
  TCoalescedRefresh* refresh_;
};

}  // namespace qz
