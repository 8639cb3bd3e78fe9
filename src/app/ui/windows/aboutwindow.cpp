// The about box, made at the program start in its place; Help > "&About..." fills and shows it.

#include "app/ui/aboutbox.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"

namespace qz {

void RegisterAboutWindow(TWindowContext& ctx) {
  auto w = NewHold<TAboutBox>();
  TToolWindowEntry e = WidgetEntry(QStringLiteral("AboutBox"), w);
  e.createRank = 60;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile*) { *w = new TAboutBox(c->shell.Parent()); };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterAboutWindow);

}  // namespace qz
