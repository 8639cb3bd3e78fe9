// The transmission timing dialog.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "setupdlg/ui/txtimingform.h"
#include "util/inifile.h"

namespace qz {

void RegisterTxTimingWindow(TWindowContext& ctx) {
  auto w = NewHold<TTxTimingForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kTxTimingSection), w);
  e.createRank = 120;
  e.writeRank = 80;
  e.loadRank = 50;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TTxTimingForm(c->core.Cmd, c->shell.Parent());
    (*w)->OnHelp = [c, w](int topic) { c->shell.ShowHelpOver(*w, topic); };
    if (ini) (*w)->ReadStp(*ini);
  };
  KeepsSetup(e, w);
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterTxTimingWindow);

}  // namespace qz
