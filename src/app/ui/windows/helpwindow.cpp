// The help viewer, made at its first use.

#include "app/helppages.h"
#include "app/ui/helpviewer.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"

namespace qz {

void RegisterHelpWindow(TWindowContext& ctx) {
  auto w = NewHold<THelpViewer>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kHelpViewerSection), w);
  e.createPoint = TCreatePoint::OnDemand;
  e.createRank = 10;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile*) { *w = new THelpViewer(HelpFolder(), c->shell.Parent()); };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterHelpWindow);

}  // namespace qz
