#pragma once
// The instrument socket's command tree over the remote control, and one client's state: its
// lines, its error queue of 20 (full: the last entry becomes -350), its event status bits
// (3 device-dependent, 4 execution, 5 command error), the operations *OPC? and *WAI wait for
// and the answers of each line (joined by ";", ending in LF; a query that fails answers
// nothing). Every command goes through TControl, whose refusals and texts it reports after
// the error's own text: -221,"Settings conflict;busy: running".

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "app/control.h"
#include "app/resultrecord.h"
#include "app/scpiparse.h"

namespace qz {

// The latest accepted frame as the socket reads it: its record (the bus's GetResult record,
// app/resultrecord.h) and the live data item's 15 values of this frame, comma-joined.
struct TScpiMeasured {
  TResultRecord record;
  QString item;
};
// Gives the latest frame; nothing before the first one.
using TScpiSource = std::function<std::optional<TScpiMeasured>()>;

// The "*IDN?" answer.
QString ScpiIdentity();

inline constexpr int kScpiErrorQueueSize = 20;
// Event status bits.
inline constexpr int kEsrDeviceError = 1 << 3;
inline constexpr int kEsrExecutionError = 1 << 4;
inline constexpr int kEsrCommandError = 1 << 5;

class TScpiSession {
 public:
  TScpiSession(TControl& control, TScpiSource source);

  // Where the answers go (one call a line, ending in LF).
  std::function<void(const QByteArray&)> Send;
  // False while the client has not read what it was sent: its lines wait.
  std::function<bool()> CanSend;

  // Bytes from the client; the lines are carried out as far as they may be.
  void Feed(const QByteArray& bytes);
  // Carries out the lines that wait, as far as *OPC?, *WAI and CanSend allow.
  void Process();
  // An operation *OPC? or *WAI waits for is still in progress (Process again later).
  bool Waiting();
  // A line is being carried out (a command inside it handles events).
  bool Processing() const { return processing_; }
  // Bytes received and not yet carried out.
  qsizetype QueuedBytes() const { return lines_.QueuedBytes(); }

  // The error queue (oldest first) and the event status register, for tests.
  const std::deque<QPair<int, QString>>& Errors() const { return errors_; }
  int Esr() const { return esr_; }

  // The values of the latest frame's record in its keys' order (ResultRecordValues). Empty
  // before the first frame.
  QList<QPair<QString, QVariant>> MeasuredValues() const;

 private:
  struct TPending {
    bool runStart = false;  // a run asked for: done at its first frame or its end
    bool runEnd = false;    // a run asked to end: done once it has ended
  };
  struct TCall;
  using THandler = std::function<void(TScpiSession&, TCall&)>;
  struct TEntry {
    TScpiPattern pattern;
    bool query;
    int minParams, maxParams;
    THandler run;
  };
  static const std::vector<TEntry>& Tree();

  void AddError(int code, const QString& detail = QString());
  void AddControlError(const TControlResult& r);
  // One unit of the line in progress; false when the line waits (*OPC?, *WAI).
  bool RunUnit(const QByteArray& text);
  void EndLine();
  void Measured(TCall& c, const QStringList& keys);

  TControl& control_;
  TScpiSource source_;
  TScpiLineSplitter lines_;
  // The line in progress: its units not yet carried out, its answers and its header path.
  std::deque<QByteArray> units_;
  bool inLine_ = false;
  QStringList answers_;
  QStringList path_;
  std::deque<QPair<int, QString>> errors_;
  int esr_ = 0;
  TPending pending_;
  bool processing_ = false;
};

}  // namespace qz
