#pragma once
// The scenario generator window: entries and options of the list, the input memo (list of
// wanted reflection coefficients) and the output memo (the scenario), side by side.
// "Make Sce" / "Add Sce" read the list on the GUI thread (with its questions), then compute the
// rows off it with a progress dialog that can cancel; the memo is replaced once at the end.

#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>

#include "tuner/makescestp.h"

namespace qz {

class IniFile;
class TAsker;
class TBilinTransf;
class TTunerModel;

inline constexpr int kMakeSceHelpTopic = 167;
inline constexpr char kMakeSceSection[] = "MakeSce";

class TMakeSceForm : public QWidget {
  Q_OBJECT
 public:
  // freqHz: the model's present frequency. asker: nullptr means the installed one.
  TMakeSceForm(TTunerModel& model, const TBilinTransf& transf, std::function<double()> freqHz,
               QWidget* parent = nullptr, TAsker* asker = nullptr);
  ~TMakeSceForm() override;

  std::function<void(int topic)> OnHelp;
  // Workers for the rows (0: one per core).
  int workers = 0;

  void SetScePath(const QString& path) { scePath_ = path; }
  QString ScePath() const { return scePath_; }
  // The caption by the state of the bilinear transform.
  void FrmCaption();

  void CreateList();
  void MakeSce(bool append);
  bool Busy() const { return busy_; }
  // Cancels a running generation (as the progress dialog's Cancel).
  void CancelGeneration() { cancel_ = true; }

  QString InputText() const;
  QString OutputText() const;
  void SetInputText(const QString& t);

  void WriteStp(IniFile& ini) const;
  void ReadStp(const IniFile& ini);
  // The controls as the setup record holds them.
  TMakeSceStp Stp() const;

  // Tests: called in the worker before each progress step (may block it).
  std::function<void(int done)> workerHook;

 signals:
  void GenerationFinished();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  class TUi;
  TAsker& Ask() const;
  void ApplyOptionStates();
  void SaveMemo(bool list);
  void LoadList();
  void ToClipboard(const QString& text);

  TTunerModel& model_;
  const TBilinTransf& transf_;
  std::function<double()> freqHz_;
  TAsker* asker_;
  TUi* ui_;
  QString scePath_;
  QString rhoListFile_ = QStringLiteral("RhoList01.txt");
  std::atomic<bool> cancel_{false};
  bool busy_ = false;
  class QThread* thread_ = nullptr;
};

}  // namespace qz
