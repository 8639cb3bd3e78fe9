#pragma once
// The "System Info" tool window: which analyzer and tuner the program works with, the motor
// data with the operator's maximum stub insertion, the autotune parameters (each edited by a
// click) and a sketch of the tuner with its main lengths. "Load &Mem" replaces the tuner
// description with a tuner memory file.
//
// The window is thin: the texts come from the system information texts, every edit is one of
// TAtParamEdit's operations, and the window refills itself as an observer of the tuner model.

#include <QWidget>
#include <array>
#include <functional>

#include "sim/tunermodel.h"
#include "tuner/atparamedit.h"
#include "tuner/sysinfotext.h"

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace qz {

class IniFile;
class TAsker;
class TQvWin;
class TQzCmd;

inline constexpr int kTuStpWidth = 275;

// The pages in order.
enum TTuStpPage : int { tpQuzar = 0, tpTuner, tpMotors, tpAutotune, tpSketch, kTuStpPageCount };

class TQvTuStpFrm : public QWidget, public TTunerObserver {
  Q_OBJECT
 public:
  // autoSetup: the section to read at creation (nullptr keeps the defaults). asker: nullptr
  // means the installed one.
  TQvTuStpFrm(TTunerModel& model, TQzCmd& cmd, const TQvWin& qv, const IniFile* autoSetup,
              QWidget* parent = nullptr, TAsker* asker = nullptr);
  ~TQvTuStpFrm() override;

  // The edit operations (the Tuner menu's autotune items use the same). Its RenewWatermark is
  // the reflection chart's watermark, set by the frame window; unset while there is no chart.
  TAtParamEdit& Edits() { return edits_; }

  void FillSgAll();
  void FillSketchLabels();
  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);
  // Start (false) and end (true) of a run: the pages wait for the end.
  void EnableForRun(bool enabled);

  // "Load &Mem": asks for the file and loads it.
  void LoadMemClick();
  // Loads a memory file; an error box tells why it was refused. Returns the code.
  int32_t LoadMem(const QString& path);

  // ---- for the program and tests ----
  QTabWidget* Pages() const { return pages_; }
  QTableWidget* Grid(int page) const;
  QString Cell(int page, int row, int col) const;
  QString SketchLabel(int which) const;
  QPushButton* LoadButton() const { return btLoad_; }
  // A click on a row of the "Motors" or "Autotune" page.
  void GridClicked(int page, int row);
  // The page layout: the page control sized to the page, the button below, the window to it.
  void ApplyPageLayout();

  // ---- observer ----
  void OnTunerDescriptionChanged(const TTunerModel&) override;
  void OnAtParamsChanged(const TTunerModel&) override;

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void Build();
  QTableWidget* MakeGrid(const QStringList& captions, int firstColPercent);
  QWidget* MakeSketch();
  void SetColumn(QTableWidget* g, const QStringList& values);
  void FillIdentity();
  void FillMotors();
  void FillAutotune();
  TAsker& Ask() const;

  TTunerModel& model_;
  const TQvWin& qv_;
  TAsker* asker_;
  TAtParamEdit edits_;

  QTabWidget* pages_ = nullptr;
  std::array<QTableWidget*, kTuStpPageCount> grids_{};
  QWidget* sketch_ = nullptr;
  std::array<QLabel*, kSketchLabelCount> labels_{};
  QPushButton* btLoad_ = nullptr;
};

}  // namespace qz
