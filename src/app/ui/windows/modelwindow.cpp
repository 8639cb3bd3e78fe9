// The model window; it replaces the program's own entry of the model and takes its places in
// the creation, write and load orders.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "sim/ui/qzmdl.h"
#include "util/inifile.h"

namespace qz {

void RegisterModelWindow(TWindowContext& ctx) {
  auto w = NewHold<TQzMdl>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kMdlSection), w);
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TQzMdl(c->core.MdlPresenter, ini, c->shell.Parent());
    TQzMdl* m = *w;
    m->OnHelp = [c](int topic) { c->shell.ShowHelp(topic); };
    c->core.ModelInitialised = true;
    // The model window shows the frequency the model took for a new nominal frequency.
    c->core.TunerHost.OnFreRechecked = [w] {
      if (*w) (*w)->ShowFre();
    };
    QObject::connect(&c->events, &TProgramEvents::ChartClosedByOperator, m, [m] {
      m->EditAndApply([](TMdlPresenter& p) { p.Ent.DutType = kDutDefined; });
    });
    // A model already on the chart (from the setup) takes the chart's value and shows it.
    TMdlEngine& model = c->core.Model;
    const TMdlHooks& hooks = c->core.MdlPresenter.Hooks;
    if (model.UseChart && hooks.ChartRho) {
      model.SimulRo = hooks.ChartRho();
      if (hooks.ChartApplied) hooks.ChartApplied(true);
    }
  };
  KeepsSetup(e, w);
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterModelWindow);

}  // namespace qz
