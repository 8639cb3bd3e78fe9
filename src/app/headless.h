#pragma once
// The command line's automation run: no window and no modal box (the scripted asker answers
// with the defaults and prints messages to stderr). The program is started, a user setup
// loaded, the measurement cycle run for a number of accepted frames and the current sweep saved
// as a results text file. Nothing is written into the automatic setup or a backup.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "app/cmdline.h"
#include "core/qvwin.h"
#include "util/asker.h"

namespace qz {

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadArguments = 2;

struct THeadlessReport {
  int exitCode = kExitOk;
  QString error;         // one line, when exitCode is not 0
  int64_t frames = 0;    // accepted frames of the run
  int64_t passes = 0;    // passes of the run
  double seconds = 0.0;  // duration of the run
  int32_t points = 0;    // points of the current sweep at the end
  QString ddeItem;       // the live data item's last text (empty when never published)
};

// The asker of a headless run: questions take their defaults and messages go to stderr, but
// the texts of waiting and busy windows, which only tell a watching operator that the program
// is working, stay out of the run's output.
class THeadlessAsker : public TScriptedAsker {
 public:
  void ShowWait(const QString& caption, const QString& message, int animation,
                int lastFrame) override;
  void ShowBusy(const QString& caption, int animation, int lastFrame) override;
  void SetBusyInfo(const QString& text) override;
};

// Draws the chart of --chart from the analyzer state and writes it (the window layer renders
// charts, so the program's main hands this in).
using TChartSaver =
    std::function<TChartResult(const TQvWin& qv, const TChartRequest& req, const QString& path)>;

// pump handles the pending events once per pass (may be empty). The live data item is published
// on the session bus as in a window run (without a bus, or with the name taken by an operator's
// window, the run goes on without it). Messages the run queues (data logging) go to `messages`,
// one per line. With --chart the chart is written after the results, through saveChart.
THeadlessReport RunHeadless(const CommandLine& cl, const std::function<void()>& pump,
                            QStringList* messages = nullptr, const TChartSaver& saveChart = {});

// The headless run with --serve: the program stays up without a window and answers the remote
// control on the session bus until Quit; with passes > 0 a run of that many frames starts at
// once. Nothing is written but what the calls name (never the automatic setup). pump is not
// needed: the program's event loop runs (the application object must exist). Exit code 0 after
// Quit, 1 when the bus or its name cannot be had or the start fails (error tells why).
// SaveChart of the control draws through saveChart.
THeadlessReport ServeHeadless(const CommandLine& cl, QStringList* messages = nullptr,
                              const TChartSaver& saveChart = {});

// "Measured %d frames in %1.3f s (%1.0f frames per second)."
QString HeadlessSummary(const THeadlessReport& r);

}  // namespace qz
