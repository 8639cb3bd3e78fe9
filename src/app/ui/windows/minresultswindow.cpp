// The reduced-size numeric results window.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "results/ui/qzsmallfrm.h"
#include "util/inifile.h"

namespace qz {

void RegisterMinResultsWindow(TWindowContext& ctx) {
  auto w = NewHold<TQzSmallFrm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kSmallFrmSection), w);
  e.createRank = 70;
  e.writeRank = 20;
  e.loadRank = 20;
  e.viewRank = 10;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TQzSmallFrm(c->core.Qv, ini, c->shell.Parent());
    TQzSmallFrm* f = *w;
    c->results.SetSmall(f);
    QObject::connect(&c->events, &TProgramEvents::TransformChanged, f, [f] { f->RflCaption(); });
    QObject::connect(&c->events, &TProgramEvents::SetupLoaded, f, [f] { f->RflCaption(); });
    QObject::connect(&c->events, &TProgramEvents::ResultShown, f, [f](const THresults& res) {
      if (f->isVisible()) f->Napln(&res);
    });
  };
  KeepsSetup(e, w);
  e.viewCaption = QStringLiteral("&Results (Mini)");
  e.viewHint = QStringLiteral("View reduced-size numeric results window");
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterMinResultsWindow);

}  // namespace qz
