#pragma once
// The remote control on the session bus: object "/Control", interface "local.QzSim.Control" of
// the program's service "local.QzSim". Its methods, properties and signal carry the calls of
// TControl; a refused call answers a D-Bus error whose text tells why:
//   local.QzSim.Control.Error.Busy        a dialog is open, or a run holds what the call needs
//   local.QzSim.Control.Error.WrongState  "running" (Run), "not running" (Pause)
//   org.freedesktop.DBus.Error.InvalidArgs a value out of its limits, a path that cannot be
//                                          written (refused before any write)
//   org.freedesktop.DBus.Error.Failed     the command itself failed (its message)
//
// The typed reads GetResult() -> a{sv} and GetResults(t sinceFrame) -> (aa{sv}, t missed) give
// the records of app/resultrecord.h with their keys in order. RunStarted(u run, t firstFrame)
// tells each run's start; PropertiesChanged tells every change of Running and, during a run,
// FramesAccepted at most every 100 ms; both once more before RunEnded.

#include <QBasicTimer>
#include <QDBusContext>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

#include "app/control.h"
#include "app/recordbus.h"

namespace qz {

inline constexpr const char* kControlPath = "/Control";
inline constexpr const char* kControlInterface = "local.QzSim.Control";
inline constexpr const char* kControlErrorBusy = "local.QzSim.Control.Error.Busy";
inline constexpr const char* kControlErrorState = "local.QzSim.Control.Error.WrongState";
// The least interval between two notifications of FramesAccepted during a run.
inline constexpr int kFramesNotifyMs = 100;

class TControlBus : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "local.QzSim.Control")
  Q_PROPERTY(bool Running READ Running)
  Q_PROPERTY(qulonglong FramesAccepted READ FramesAccepted)
  Q_PROPERTY(QString LastError READ LastError)

 public:
  // The control's deferred tasks (TControl::Defer) are the program's (app/deferredcalls.h).
  explicit TControlBus(TControl& control, QObject* parent = nullptr);
  ~TControlBus() override;

  // Registers the object on the session bus, whose name the program holds already. False (with
  // the reason in ErrorText) when there is no bus or the path is taken.
  bool Register();
  void Unregister();
  bool Registered() const { return registered_; }
  const QString& ErrorText() const { return error_; }

  bool Running() const { return control_.Running(); }
  qulonglong FramesAccepted() const { return qulonglong(control_.FramesAccepted()); }
  QString LastError() const { return control_.LastError(); }

 public slots:
  void Run();
  void Pause();
  void Stop();
  void Finish(bool on);
  void LoadSetup(const QString& path);
  void SaveSetup(const QString& path, const QString& comment);
  void SaveResults(const QString& path, const QString& comment);
  void SaveResultsCsv(const QString& path, const QString& comment);
  void SetModelLoad(double magnitude, double phaseDeg);
  void SetModelValue(const QString& key, const QString& value);
  // The command's result code and its text.
  void AutoTune(int& code, QString& text);
  void MoveStubs(double mm1, double mm2, double mm3, int& code, QString& text);
  void Quit(bool saveSetup);
  void SaveChart(const QString& type, const QString& path, uint width, uint height);
  // The typed reads (the names are qualified for the bus's type lookup).
  qz::TBusRecord GetResult();
  QList<qz::TBusRecord> GetResults(qulonglong sinceFrame, qulonglong& missed);

 signals:
  void RunEnded(const QString& reason);
  void RunStarted(uint run, qulonglong firstFrame);

 private:
  // Answers a refused call with its error; a change of Running it made is told.
  void Answer(const TControlResult& r);
  void timerEvent(QTimerEvent* e) override;
  // PropertiesChanged of the control with Running (when given) and/or FramesAccepted.
  void SendProperties(std::optional<bool> running, bool frames);
  // Running told when it differs from what was told last.
  void TellRunning();
  void Started(uint32_t run, uint64_t firstFrame);
  void Ended(const QString& reason);

  TControl& control_;
  bool registered_ = false;
  QString error_;
  bool toldRunning_ = false;
  qulonglong toldFrames_ = 0;
  QBasicTimer framesTimer_;
  QElapsedTimer sinceFramesTold_;
};

}  // namespace qz
