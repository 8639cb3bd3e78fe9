// The display windows' trace dialog: made once, opened over any display window.

#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "display/ui/displaywindows.h"

namespace qz {

void RegisterTracePropWindow(TWindowContext& ctx) {
  TDisplayWindows* d = &ctx.displays;
  TToolWindowEntry e = WidgetEntry(QStringLiteral("TracePropDlg"), d->AttrDlg);
  e.createRank = 40;
  TWindowContext* c = &ctx;
  e.create = [c, d](const IniFile*) {
    if (!d->AttrDlg) d->AttrDlg = new TDlgAttr(c->shell.Parent());
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterTracePropWindow);

}  // namespace qz
