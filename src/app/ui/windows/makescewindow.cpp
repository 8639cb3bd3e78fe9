// The scenario generator, opened by the scenario window's "Create".

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "tuner/ui/makesce.h"
#include "util/inifile.h"
#include "util/ui/dialogparent.h"

namespace qz {

void RegisterMakeSceWindow(TWindowContext& ctx) {
  auto w = NewHold<TMakeSceForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kMakeSceSection), w);
  e.createRank = 110;
  e.writeRank = 130;
  e.loadRank = 90;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TMakeSceForm(
        c->core.TunerModel, c->core.Qv.BiTr, [c] { return c->core.Model.f_Hz; }, c->shell.Parent());
    TMakeSceForm* m = *w;
    m->OnHelp = [c](int topic) { c->shell.ShowHelp(topic); };
    if (ini) m->ReadStp(*ini);
    TProgramEvents* ev = &c->events;
    QObject::connect(ev, &TProgramEvents::TransformChanged, m, [m] { m->FrmCaption(); });
    QObject::connect(ev, &TProgramEvents::ScenarioPathChosen, m, [m](const QString& path) {
      m->SetScePath(path);
      ShowAbove(*m);
    });
  };
  KeepsSetup(e, w);
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterMakeSceWindow);

}  // namespace qz
