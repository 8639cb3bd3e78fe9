// The data logging window; it replaces the program's own entry of the data log and takes its
// places in the creation, write and load orders.

#include "app/program.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "results/logsettings.h"
#include "results/ui/logform.h"
#include "util/inifile.h"

namespace qz {

void RegisterLogWindow(TWindowContext& ctx) {
  auto w = NewHold<TLogForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kLogSection), w);
  e.viewRank = 40;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TLogForm(c->program.Log.engine, nullptr, c->shell.Parent());
    (*w)->OnHelp = [c] { c->shell.ShowHelpKeyword(QString::fromLatin1(kLogFormCaption)); };
    // The forecast sizes a data line of the latest result.
    (*w)->LatestResult = [c]() -> const THresults* { return &c->core.Qv.Res; };
    if (ini) (*w)->ReadStp(*ini);
  };
  KeepsSetup(e, w);
  e.viewCaption = QStringLiteral("&Logging Window");
  e.viewHint = QStringLiteral("View Data Logging Window");
  // Its timing and file groups wait for the end of a run.
  e.runHook = [w](bool running) {
    if (*w) (*w)->EnableForRun(!running);
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterLogWindow);

}  // namespace qz
