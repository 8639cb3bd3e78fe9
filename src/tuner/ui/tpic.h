#pragma once
// The "Tuner View" tool window: the three-stub tuner as a picture, the operator's direct hand on
// the stub motors (step buttons with repeat, end stops, dragging, typed positions) and the view of
// autotune at work. It moves nothing itself: it writes target positions and asks the command
// layer to move the stubs; the rules live in TStubMotion and the tuner rules, the window only
// runs the repeat timers and draws.

#include <QWidget>
#include <array>
#include <functional>

#include "sim/autotune.h"
#include "sim/tunermodel.h"
#include "tuner/posindic.h"
#include "tuner/stubmotion.h"
#include "tuner/stubrules.h"
#include "tuner/tpiclayout.h"
#include "tuner/tpicstp.h"

class QAction;
class QLabel;
class QTimer;
class QToolBar;
class QToolButton;

namespace qz {

class IniFile;
class TAsker;
class TPlaneExt;
class TQzCmd;

inline constexpr int kTpicHelpTopic = 119;

class TTpic : public QWidget, public TTunerObserver, public TAutoTuneObserver {
  Q_OBJECT
 public:
  // autoSetup: the section to read at creation (nullptr keeps the defaults). asker: nullptr
  // means the installed one.
  TTpic(TTunerModel& model, TAutoTune& autoTune, TQzCmd& cmd, const TPlaneExt& planeExt,
        const IniFile* autoSetup, QWidget* parent = nullptr, TAsker* asker = nullptr);
  ~TTpic() override;

  // ---- what the window asks of the program ----
  // A measurement run is going (single tunes are made only then).
  std::function<bool()> IsRunning;
  // Opens help at a topic.
  std::function<void(int topic)> OnHelp;
  // The scenario window: shown or hidden by sbScenar, and whether it is shown. Without them the
  // button stays disabled.
  std::function<void(bool show)> OnShowScenario;
  std::function<bool()> ScenarioShown;
  // Whether a mouse button is still held down (the window system's state); a repeat tick without
  // it ends every repeat.
  std::function<bool()> MouseHeld;

  // ---- operations for the other tuner windows and the frame window ----
  void ShowMotPositAll(bool forceJe = false);
  void ShowMotPosit(int mo);
  // Reads the stub positions; false (and the flags shown) when the reading failed.
  bool ReadShow();
  // Shows the outcome of a reading of the stub positions made elsewhere.
  void ShowRead(int32_t code);
  void GetStubDrawParams();
  void SetStepSize(int st1, int st2, int st3);
  void ZastavTimery();
  // Called with false at the start of a run and during some commands in a run, with true at
  // its end; the window's controls stay as they are.
  void EnableControls(bool ena);
  // Places the extended-plane marker after the plane extension changed.
  void pbTunPaint();
  // The "AT" button follows the autotune flag.
  void SetAtButton(bool on);
  // The scenario button follows the scenario window's visibility.
  void SetScenarioButton(bool shown);
  void ShowMotErr(uint8_t flags);
  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);

  // ---- state for the program and tests ----
  TStubMotion& Motion() { return motion_; }
  const TTpicStp& Stp() const { return stp_; }
  const TTpicLayout& Layout() const { return lay_; }
  const TStubScale& Scale() const { return scale_; }
  QString MotorText(int mo) const;
  QString TuneTimeText() const;
  QString MotErrText() const;
  // The outcome of the last tune when it did not reach the target (shown in the error label's
  // place unless a motor error is shown).
  QString TuneOutcomeText() const { return tuneText_; }
  bool MotErrShown() const;
  int StubDrawnHeight(int mo) const { return height_[size_t(mo - 1)]; }
  TStubLook StubLook(int mo) const { return err_.stubs[size_t(mo - 1)]; }
  const TExtMarker& ExtMarker() const { return marker_; }
  bool ControlsEnabled() const { return controlsEnabled_; }
  bool TimerActive(int mo) const;
  // One tick of motor mo's repeat timer.
  void TimerTick(int mo);
  // The operator's commands, as the buttons and clicks give them.
  void StepPress(int mo, TSmer dir, Qt::KeyboardModifiers mods, bool rightButton);
  void StepRelease();
  void EndStopClick(int mo, bool maxExtension);
  void MotorTextClick(int mo);
  void IndicClick();
  void AllHomeClick();
  void Tune1Click();
  void AutoClick(bool on);
  void ReadPosClick();
  void ScenarClick(bool on);
  void PickBackground();

  // ---- observers ----
  void OnTunerDescriptionChanged(const TTunerModel&) override;
  void OnAtParamsChanged(const TTunerModel&) override;
  void OnStubsTuned(const TAutoTune&) override;
  void OnTuneTime(const TAutoTune&, double seconds) override;
  void OnTuneOutcome(const TAutoTune&, const TTuneOutcome& o) override;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Build();
  QToolButton* StepButton(const QRect& r, const QString& text, const QString& hint);
  void PaintPicture();
  void PicMousePress(QMouseEvent* e);
  void PicMouseMove(QMouseEvent* e);
  void PicMouseRelease();
  // A press, drag or repeat that lost its release ends as a release does.
  void EndMouseWork();
  void ShowIndicName();
  void ApplyBackground();
  void ClearTuneTime();
  bool Running() const { return IsRunning && IsRunning(); }
  TAsker& Ask() const;
  TMotState& Mot() { return model_.Mot(); }

  TTunerModel& model_;
  TAutoTune& at_;
  TQzCmd& cmd_;
  const TPlaneExt& ext_;
  TAsker* asker_;
  TStubMotion motion_;
  TTpicLayout lay_;
  TStubScale scale_;
  TTpicStp stp_;
  TMotErrView err_;
  QString tuneText_;
  TExtMarker marker_;
  std::array<int, 3> height_{4, 4, 4};
  std::array<bool, 3> held_{false, false, false};
  bool controlsEnabled_ = true;
  int32_t lastReadCode_ = 0;

  QToolBar* tb_ = nullptr;
  QAction* sbAllHome_ = nullptr;
  QAction* sbTune1_ = nullptr;
  QAction* sbAuto_ = nullptr;
  QAction* sbReadPos_ = nullptr;
  QAction* sbScenar_ = nullptr;
  QAction* sbHelp_ = nullptr;
  QWidget* pbTun_ = nullptr;
  QLabel* pTuneTime_ = nullptr;
  QLabel* lbIndic_ = nullptr;
  QLabel* lbMotErr_ = nullptr;
  QLabel* lbExt_ = nullptr;
  std::array<QLabel*, 3> lbMotor_{};
  std::array<QToolButton*, 3> sbTop_{}, sbUp_{}, sbDn_{}, sbBott_{};
  std::array<QTimer*, 3> tmMo_{};
};

}  // namespace qz
