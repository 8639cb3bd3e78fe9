#pragma once
// The "Data Logging" tool window: the schedule ("Timing"), the file ("Log File") and the
// progress of a log. The log itself lives in TLogEngine; the window keeps the engine's entries
// equal to its controls, shows its state and turns its queued messages into message boxes once
// the measurement pass that caused them is over.

#include <QWidget>
#include <functional>
#include <optional>

#include "results/logengine.h"
#include "results/logforecast.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace qz {

class IniFile;
class TAsker;
class TCoalescedRefresh;
class TLed;

inline constexpr const char* kLogFormCaption = "Data Logging";
inline constexpr const char* kLogPrepareTitle = "Prepare Log File";
inline constexpr const char* kLogFileFilter =
    "Text file (*.txt, *.log)|*.txt;*.log|Any file (*.*)|*.*";
inline constexpr const char* kLogCsvFilter = "CSV file (*.csv)|*.csv|Any file (*.*)|*.*";

class TLogForm : public QWidget {
  Q_OBJECT
 public:
  // asker: nullptr uses the program-wide one.
  explicit TLogForm(TLogEngine& engine, TAsker* asker = nullptr, QWidget* parent = nullptr);
  ~TLogForm() override;

  TLogEngine& Engine() { return engine_; }
  // "&Help".
  std::function<void()> OnHelp;
  // The latest result, whose data line sizes the forecast after Prepare (none: a result of
  // zeros).
  std::function<const THresults*()> LatestResult;
  // Room on the disk of a path (default: the file system's answer).
  std::function<std::optional<int64_t>(const QString&)> FreeBytes = LogFreeBytes;

  // Section "LogForm": window keys ("Visible", "Top", "Left", limited to the screen of the window
  // kit) and the log's own keys; the controls show what was read.
  void ReadStp(const IniFile& ini);
  void WriteStp(IniFile& ini) const;

  // The "Timing" and "Log File" groups are disabled while a run is in progress; "Progress"
  // stays readable, with the rate and size of the log.
  void EnableForRun(bool enabled);

  // "&Prepare...": ends a running log as "Stop" does, asks for the file and prepares it.
  void PrepareClick();
  // "Stop".
  void StopClick();
  // Shows the engine's queued messages, oldest first.
  void ShowQueuedMessages();
  // While the window is visible, the engine's changes (every logged record) are shown at the
  // next refresh tick, at most one refresh about every 16 ms; a hidden window follows at once.
  bool RefreshPending() const;
  void FlushRefresh();

  // For tests: the texts shown.
  QString StatusText() const;
  QString LogFileGroupTitle() const;
  QString RecordedText() const;
  QString ElapsedText() const;
  QString NameText() const;
  QString PathText() const;
  QColor LedColor() const;
  // The forecast under the file ("" when hidden) and whether it is shown in red.
  QString ForecastText() const;
  bool ForecastWarns() const;
  QString RateText() const;
  QString WrittenText() const;
  QGroupBox* ProgressGroup() const { return gbProgress_; }
  // The controls, to be driven by tests.
  QSpinBox* DurationBox(int i) const { return dur_[i]; }     // 0 days .. 3 seconds
  QSpinBox* IntervalBox(int i) const { return interv_[i]; }  // 0 hours .. 2 seconds
  QLineEdit* RecordsEdit() const { return records_; }
  QLineEdit* SamplesEdit() const { return samples_; }
  QLineEdit* InfoEdit() const { return info_; }
  QRadioButton* CommaButton() const { return comma_; }
  QRadioButton* CsvButton() const { return csv_; }
  QGroupBox* TimingGroup() const { return gbTiming_; }

 private:
  void EntriesToEngine();
  void EntriesToControls();
  void Refresh();
  // The forecast of a prepared or running log, anew.
  void UpdateForecast();
  TAsker& Ask() const;

  TLogEngine& engine_;
  TAsker* asker_;
  TCoalescedRefresh* refresh_;
  bool filling_ = false;
  bool messagesPending_ = false;
  bool forecastDirty_ = true;
  std::optional<double> forecastRate_;
  bool forecastWarn_ = false;

  QGroupBox* gbTiming_;
  QGroupBox* gbFile_;
  QGroupBox* gbProgress_;
  QSpinBox* dur_[4];
  QSpinBox* interv_[3];
  QLineEdit* name_;
  QLineEdit* path_;
  QLineEdit* info_;
  QRadioButton* point_;
  QRadioButton* comma_;
  QGroupBox* sepBox_ = nullptr;
  QRadioButton* text_ = nullptr;
  QRadioButton* csv_ = nullptr;
  QLineEdit* records_;
  QLineEdit* samples_;
  QPushButton* btPrepare_;
  QLabel* forecast_;
  QLabel* recorded_;
  QLabel* elapsed_;
  QLabel* rate_;
  QLabel* written_;
  QLabel* status_;
  TLed* led_;
  QPushButton* btHelp_;
  QPushButton* btStop_;
};

}  // namespace qz
