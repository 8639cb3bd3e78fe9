#pragma once
// The "Scenario" tool window: named pages of stub settings, each a table of rows, edited by
// hand, from the present stub positions or at random, loaded from and saved to scenario files,
// and played plainly or with measurements. The pages, files and plays are the GUI-free
// TSceBook, scenario file and TScePlay; the window shows them and hands them the operator's
// commands.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/resultstext.h"
#include "tuner/scepage.h"
#include "tuner/sceplay.h"
#include "tuner/scestp.h"

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTableView;
class QToolButton;

namespace qz {

class IniFile;
class TAsker;
class TQvWin;
class TQzCmd;
class TTpic;
class TTunerModel;
class TScePageModel;

inline constexpr int kScenarioHelpTopic = 123;
inline constexpr char kSceAtExitFile[] = "QzSim0.sce";

class TScenario : public QWidget {
  Q_OBJECT
 public:
  // autoSetup: the section to read at creation (nullptr keeps the defaults). asker: nullptr
  // means the installed one.
  TScenario(TTunerModel& model, TQzCmd& cmd, TQvWin& qv, TTpic* tpic, const IniFile* autoSetup,
            QWidget* parent = nullptr, TAsker* asker = nullptr);
  ~TScenario() override;

  // ---- what the window asks of the program (each may be unset) ----
  std::function<bool()> IsSweeping;
  std::function<void()> RunPause;
  std::function<void()> RedrawAll;
  std::function<void(const THresults&)> ShowResult;
  // The frame window's decimal separator of saved texts.
  std::function<QChar()> Separator;
  std::function<int32_t()> NormalSweepCapacity;
  std::function<void(int topic)> OnHelp;
  // The scenario generator takes the last scenario path; "Create" stays disabled without it.
  std::function<void(const QString& path)> SetScePath;
  // Told when the window is shown or hidden.
  std::function<void(bool shown)> OnVisibility;

  // ---- commands ----
  void AddClick();
  void DeleteClick();
  void ClearClick();
  void RandomClick();
  void NewPageClick();
  void CopyPageClick();
  void RenamePageClick();
  void DeletePageClick();
  void DeleteAllClick();
  void DwellTimeClick();
  void DwellAllClick();
  void CountClick();
  void PeriodClick();
  void MeasPerPositClick();
  void SaveClick();
  void LoadClick();
  // Loads a scenario file as Load does, without the dialog; false (with the messages shown)
  // when it was refused.
  bool LoadFile(const QString& path);
  bool SaveFile(const QString& path);
  // The play button pressed (true) or released.
  void PlayClick(bool down);
  void CreateClick();
  // A click on column 0 of row r (selects it) or on a dwell cell.
  void RowHeaderClick(int row);
  void CellClick(int row, int col);
  void CellDoubleClick();
  // A typed stub cell.
  bool EditCell(int row, int col, const QString& text);

  // Ends a play (also a measured one, which still completes its files) within one wait slice.
  void StopPlay();
  bool Playing() const { return play_->Playing(); }
  bool MeasuredPlaying() const { return play_->MeasuredPlaying(); }
  // The wait slices (each at most 50 ms) the plays of this window have taken so far.
  int WaitSlices() const { return waitSlices_; }
  // Called once the play in progress has returned (at once when none is running).
  void AfterPlay(std::function<void()> then);

  // The pages to "QzSim0.sce" in the user folder when any has rows; "" or the failure text.
  QString SaveAtExit();

  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);

  // ---- state for the program and tests ----
  TSceBook& Book() { return book_; }
  TSceStp& Stp() { return stp_; }
  TScePlay& Play() { return *play_; }
  // The tab page and table of page i.
  QTableView* Table(int i) const;
  QTabWidget* Tabs() const { return tabs_; }
  QString StatusText() const;
  bool EditingEnabled() const { return editing_; }
  void SetMeasure(bool on);
  void SetCyclic(bool on);
  QMenu* PopupMenu() const { return popup_; }
  // Refreshes the captions of the popup menu from the present values.
  void UpdateMenuCaptions();

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  class TPorts;
  friend class TPorts;

  void Build();
  QToolButton* Button(const char* name, const QString& text, const char* hint);
  // The tabs again from the book (after a load, a new, copied or deleted page).
  void RebuildTabs();
  // Removes every table (before pages are deleted or replaced).
  void DropTabs();
  void RefreshActive();
  TScePageModel* ModelOf(int i) const;
  void EnableEditing(bool on);
  void SetCaption(const QString& path);
  QString FileFilter() const;
  QString InitialPath(const QString& path) const;
  TAsker& Ask() const;
  int MaxSteps() const;
  double StepMm() const;
  void MoveStubs(const std::array<int, 3>& steps);

  TTunerModel& model_;
  int waitSlices_ = 0;
  TQzCmd& cmd_;
  TQvWin& qv_;
  QPointer<TTpic> tpic_;
  TAsker* asker_;
  std::unique_ptr<TPorts> ports_;
  std::unique_ptr<TScePlay> play_;
  TSceBook book_;
  TSceStp stp_;
  bool textsExist_ = false;
  bool editing_ = true;
  std::vector<std::function<void()>> afterPlay_;

  QTabWidget* tabs_ = nullptr;
  std::vector<TScePageModel*> models_;
  QLabel* pnStatus_ = nullptr;
  QToolButton* sbAdd_ = nullptr;
  QToolButton* sbClr_ = nullptr;
  QToolButton* sbRnd_ = nullptr;
  QToolButton* sbDelete_ = nullptr;
  QToolButton* sbOpen_ = nullptr;
  QToolButton* sbSave_ = nullptr;
  QToolButton* sbPlay_ = nullptr;
  QToolButton* sbCyclic_ = nullptr;
  QToolButton* sbMeasure_ = nullptr;
  QToolButton* sbCre_ = nullptr;
  QToolButton* sbHelp_ = nullptr;
  QMenu* popup_ = nullptr;
  QAction* miDwellTime_ = nullptr;
  QAction* miCount_ = nullptr;
  QAction* miPeriod_ = nullptr;
  QAction* miMeasPerPosit_ = nullptr;
  QAction* miSynchro_ = nullptr;
  QAction* miAddZero_ = nullptr;
  QAction* miAddMax_ = nullptr;
  QAction* miMeasure_ = nullptr;
  QAction* miCreate_ = nullptr;
};

}  // namespace qz
