#pragma once
// The modal COM port dialog: the port list, the parity shown, the baud-rate and time-out boxes,
// the test, search and leaving buttons and the message. Its rules are TDlgComPortModel's; the
// window mirrors the model's form and hands every operator action to it.
//
// The dialog is shown with exec() and destroyed by its owner after exec() has returned; leaving
// it (by any button or the close box) while the baud-rate search runs first stops the search.

#include <QDialog>
#include <functional>

#include "comm/dlgcomportmodel.h"

class QButtonGroup;
class QComboBox;
class QEventLoop;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace qz {

class TAnimation;
class T232;
struct PortLists;

class TDlgComPort : public QDialog {
  Q_OBJECT
 public:
  // wait: the search's wait between attempts (nullptr: the event loop runs for the time; tests
  // pass their own).
  TDlgComPort(T232& port, const PortLists& lists, QWidget* parent = nullptr,
              TDlgComPortModel::WaitFn wait = {});
  ~TDlgComPort() override;

  TDlgComPortModel& Model() { return m_; }

  // The caller's choices before showing.
  void SetContinueCaption(const QString& caption);
  void DisableExit();
  // Opens help at a keyword ("Establishing Communication").
  std::function<void(const QString& keyword)> OnHelp;

  // Controls, for tests.
  QListWidget* PortList() const { return lbCommPorts_; }
  QComboBox* BaudBox() const { return cbBaudRate_; }
  QComboBox* TimeoutBox() const { return cbTmout_; }
  QGroupBox* ParityGroup() const { return rgParity_; }
  QLabel* MessageLabel() const { return lbMsg_; }
  TAnimation* Animation() const { return anim_; }
  QPushButton* DefaultsButton() const { return bDefaults_; }
  QPushButton* ConnectButton() const { return bConnect_; }
  QPushButton* AutoFindButton() const { return bAutoFind_; }
  QPushButton* StopButton() const { return bStop_; }
  QPushButton* ContinueButton() const { return bContinue_; }
  QPushButton* CancelButton() const { return bCancel_; }
  QPushButton* ExitButton() const { return bExit_; }
  QPushButton* HelpButton() const { return bHelp_; }
  // The message label's distance from the top of its group (a red message sits higher).
  int MessageTop() const;

  // The close box and Escape.
  void reject() override;
  // The search's waits (with the event loop running) that lasted their whole time; a stop or
  // a leaving ends a wait early, and such a wait is not counted.
  int WaitsRunOut() const { return waitsRunOut_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  // Shows the model's form; closes the dialog when the step says so.
  void Apply(const TComPortStep& step);
  void Mirror(const TComPortForm& f);
  void Wait(int ms);

  TDlgComPortModel m_;
  TDlgComPortModel::WaitFn testWait_;
  QEventLoop* waitLoop_ = nullptr;
  int waitsRunOut_ = 0;
  bool mirroring_ = false;

  QListWidget* lbCommPorts_ = nullptr;
  QGroupBox* rgParity_ = nullptr;
  QButtonGroup* parityButtons_ = nullptr;
  QComboBox* cbBaudRate_ = nullptr;
  QComboBox* cbTmout_ = nullptr;
  QLabel* lbMsg_ = nullptr;
  QVBoxLayout* msgLayout_ = nullptr;
  TAnimation* anim_ = nullptr;
  QPushButton* bDefaults_ = nullptr;
  QPushButton* bConnect_ = nullptr;
  QPushButton* bAutoFind_ = nullptr;
  QPushButton* bStop_ = nullptr;
  QPushButton* bContinue_ = nullptr;
  QPushButton* bCancel_ = nullptr;
  QPushButton* bExit_ = nullptr;
  QPushButton* bHelp_ = nullptr;
};

}  // namespace qz
