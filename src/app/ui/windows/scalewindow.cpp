// The display windows' scale dialog: made once, opened over any display window.

#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "display/ui/displaywindows.h"

namespace qz {

void RegisterScaleWindow(TWindowContext& ctx) {
  TDisplayWindows* d = &ctx.displays;
  TToolWindowEntry e = WidgetEntry(QStringLiteral("ScaleDlg"), d->ScaleDlg);
  e.createRank = 50;
  TWindowContext* c = &ctx;
  e.create = [c, d](const IniFile*) {
    if (!d->ScaleDlg) d->ScaleDlg = new TDlgQzScale(c->shell.Parent());
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterScaleWindow);

}  // namespace qz
