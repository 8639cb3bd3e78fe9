#pragma once
// The operator's edits of the autotune parameters, the largest magnitude to tune, the maximum
// stub insertion and the tuner description (a memory file). The system information window and
// the Tuner menu's autotune items call the same operations.
//
// A parameter the unit keeps is changed only when the unit took it: the new value is stored,
// sent, the result reported by name, and the old value comes back when the command failed.
// Every change ends with the common update of the tuner, so every window shows it and the
// autotune uses it from the next frame.

#include <QString>
#include <functional>

#include "tuner/sysinfotext.h"

namespace qz {

class TAsker;
class TQzCmd;
class TTunerModel;

// Questions of the edits, exact as asked.
extern const char* const kAskTarget;
extern const char* const kAskToler;
extern const char* const kAskSkip;
extern const char* const kAskSmooth;
extern const char* const kAskDelay;
extern const char* const kAskHyst;
extern const char* const kAskMaxMag;
extern const char* const kAskDefaults;
extern const char* const kAskMaxInsert;

class TAtParamEdit {
 public:
  // asker: nullptr means the installed one.
  TAtParamEdit(TTunerModel& model, TQzCmd& cmd, TAsker* asker = nullptr);

  // Renews the reflection-coefficient chart's watermark when the chart is visible; may be unset
  // (no chart).
  std::function<void()> RenewWatermark;

  // One click on a row of the "Autotune" page.
  void EditRow(int row);
  void EditTarget();
  void EditToler();
  void EditSkip();
  void EditSmooth();
  void ToggleWaitRF();
  void EditDelay();
  void EditHyst();
  void EditMaxMag();
  // "[Defaults...]": true when the operator said yes.
  bool SetDefaults();

  // "Max steps / Travel": the operator's maximum stub insertion (0 = the tuner's own travel).
  void EditMaxInsert();
  // Any click on the "Motors" page: the description is derived again and shown everywhere.
  void MotorsClicked();

  // Shows a text in the frame window's status bar; may be unset.
  std::function<void(const QString&)> ShowStatus;

  // Loads a tuner memory file; 0, or the error code (95, 96) with nothing changed. A loaded
  // file is told in the status bar (LoadMemOkText). The file's folder is where the next
  // choice of a file starts.
  int32_t LoadMem(const QString& path);
  // The error box text of a failed load: the code's text, ": " and the file.
  static QString LoadMemErrorText(int32_t code, const QString& path);
  // "Tuner memory loaded: " and the file's name.
  static QString LoadMemOkText(const QString& path);
  // The file the open dialog proposes: "tun.mem" in the folder of the last file chosen while
  // that folder exists, else in the per-user folder's "TunMem/" (where the shipped files are),
  // else in the per-user folder.
  QString LoadMemProposal() const;

 private:
  TAsker& Ask() const;
  // Asks for an integer of a parameter the autotune-parameters command sends.
  template <typename T>
  void EditSent(T& field, const char* prompt, int32_t lo, int32_t hi, const char* name);
  // Gives the command, reports it under name and restores on failure; then the common update.
  void Commit(const char* name, int32_t code, const std::function<void()>& restore);
  void Watermark() {
    if (RenewWatermark) RenewWatermark();
  }

  TTunerModel& model_;
  TQzCmd& cmd_;
  TAsker* asker_;
  QString lastMemFolder_;
};

}  // namespace qz
