// Arbitrary bytes from an instrument socket's client, fed to one session over a port that
// carries nothing out: the session never crashes, every answer is one line ending in LF, the
// error queue never holds more than 20 entries, and the session still answers *IDN? after it.
#include "app/scpitree.h"
#include "fuzzcheck.h"

using qz::fuzz::Check;

namespace {

class TStillPort : public qz::TControlPort {
 public:
  bool running = false;
  bool DialogOpen() const override { return false; }
  bool Running() const override { return running; }
  int64_t FramesAccepted() const override { return running ? 1 : 0; }
  void RunPause() override { running = !running; }
  void StopUnit() override { running = false; }
  bool FinishSweep() const override { return false; }
  void ToggleFinishSweep() override {}
  bool LoadSetup(const QString&, QString&, QString& e) override { return Refuse(e); }
  bool SaveSetup(const QString&, const QString&, QString& e) override { return Refuse(e); }
  bool SaveResults(const QString&, const QString&, QString& e) override { return Refuse(e); }
  bool SaveResultsCsv(const QString&, const QString&, QString& e) override { return Refuse(e); }
  qz::TMdlEntries ModelEntries() override { return {}; }
  double NominalFreqHz() const override { return 2.45e9; }
  void EditModel(const std::function<void(qz::TMdlPresenter&)>&) override {}
  bool HasTuner() const override { return true; }
  int32_t SingleTune() override { return 0; }
  int32_t MoveStubs(const std::array<int, 3>&) override { return 0; }
  int MaxSteps() const override { return 3000; }
  double StepMm() const override { return 0.01; }
  void Quit(bool) override { running = false; }

 private:
  static bool Refuse(QString& e) {
    e = QStringLiteral("not in a fuzz run");
    return false;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TStillPort port;
  qz::TControl control(port);
  qz::TScpiMeasured frame;
  frame.record.frame = 1;
  qz::TScpiSession session(control, [&frame] { return std::optional<qz::TScpiMeasured>(frame); });
  QByteArray sent;
  session.Send = [&sent](const QByteArray& b) {
    Check(b.endsWith('\n') && b.indexOf('\n') == b.size() - 1, "an answer that is not one line",
          QString::fromLatin1(b.toPercentEncoding()));
    sent = b;
  };
  // Lines behind *WAI or *OPC? wait for a run the input started; each run ends here as the unit's
  // would, and the waiting lines go on (a line may start another run: at most one per line).
  auto endRuns = [&] {
    for (size_t i = 0; i <= size + 2 && session.Waiting(); ++i) {
      port.running = false;
      session.Process();
    }
    Check(!session.Waiting(), "lines that still wait after every run has ended");
  };
  session.Feed(qz::fuzz::Bytes(data, size));
  endRuns();
  Check(session.Errors().size() <= size_t(qz::kScpiErrorQueueSize), "more than 20 errors queued");
  // With every run ended the session answers again.
  port.running = false;
  session.Feed("\n*IDN?\n");
  endRuns();
  Check(sent == qz::ScpiIdentity().toUtf8() + '\n', "no answer after the input",
        QString::fromLatin1(sent));
  return 0;
}
