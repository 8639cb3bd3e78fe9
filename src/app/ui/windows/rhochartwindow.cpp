// The reflection-coefficient chart: the model takes its load from it, and it shows the tuner's
// areas while the model uses it.

#include <QPointer>

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "display/ui/rhochart.h"
#include "sim/mdlengine.h"
#include "sim/mdlpresenter.h"
#include "util/inifile.h"

namespace qz {

void RegisterRhoChartWindow(TWindowContext& ctx) {
  auto w = NewHold<TRhoChart>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kRhoChartSection), w);
  e.createRank = 10;
  e.writeRank = 120;
  e.loadRank = 80;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TRhoChart(c->core.TunerModel, c->core.Model, c->core.Qv, c->shell.Parent());
    const QPointer<TRhoChart> chart = *w;
    if (ini) chart->ReadStp(*ini);
    TProgramEvents* ev = &c->events;
    // The model reads its load from the chart and tells what it applied.
    TMdlHooks& h = c->core.MdlPresenter.Hooks;
    h.ChartRho = [chart] { return chart ? chart->Rho() : complex(); };
    h.ChartApplied = [ev](bool useChart) { emit ev->ModelApplied(useChart); };
    h.TunerDescrRead = [ev] { emit ev->TunerDescrChanged(); };
    QObject::connect(ev, &TProgramEvents::ModelApplied, chart, [chart](bool useChart) {
      if (useChart && !chart->isVisible()) {
        chart->show();  // showing fetches the areas
        chart->raise();
      } else {
        chart->PutWmark();
      }
    });
    // The tuner description and the system information window's edits renew the areas
    // (nothing while the chart is hidden).
    QObject::connect(ev, &TProgramEvents::TunerDescrChanged, chart, [chart] { chart->PutWmark(); });
    // Areas referred to the transformed plane follow the transform.
    QObject::connect(ev, &TProgramEvents::TransformChanged, chart, [c, chart] {
      if (c->core.Model.UseChart) chart->PutWmark();
    });
    // The operator's close of the chart puts the model back to a defined load.
    chart->OnOperatorClose = [ev] { emit ev->ChartClosedByOperator(); };
  };
  KeepsSetup(e, w);
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterRhoChartWindow);

}  // namespace qz
