// The power calibration dialog (Quzar > More > "&Pow Cal Factor"); it keeps nothing in the
// setup.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "setupdlg/ui/powcal.h"

namespace qz {

void RegisterPowCalWindow(TWindowContext& ctx) {
  auto w = NewHold<TPowCal>();
  TToolWindowEntry e = WidgetEntry(QStringLiteral("PowCalDlg"), w);
  e.createRank = 20;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile*) {
    *w = new TPowCal(c->core.Cmd, c->shell.Parent());
    (*w)->OnHelp = [c, w](int topic) { c->shell.ShowHelpOver(*w, topic); };
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterPowCalWindow);

}  // namespace qz
