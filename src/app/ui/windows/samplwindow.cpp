// The sampling setup dialog, made once the unit has started.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "setupdlg/ui/qzsamplform.h"
#include "util/inifile.h"

namespace qz {

void RegisterSamplWindow(TWindowContext& ctx) {
  auto w = NewHold<TQzSamplForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kSamplFormSection), w);
  e.createPoint = TCreatePoint::UnitStart;
  e.createRank = 20;
  e.writeRank = 70;
  e.loadRank = 40;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    if (*w) return;
    *w = new TQzSamplForm(c->shell.Parent());
    TQvWin& qv = c->core.Qv;
    (*w)->AssignPointers(
        &qv.FixPar, &qv.VarPar, &qv.TrgMethod, [c] { return c->shell.SingleShotDown(); },
        [c](bool on) { c->shell.SetSingleShotDown(on); }, &c->core.Cycle.n_pretrg, &qv.Pulsed,
        &qv.Rectif);
    (*w)->OnHelp = [c, w](int topic) { c->shell.ShowHelpOver(*w, topic); };
    if (ini) (*w)->ReadStp(*ini);
  };
  KeepsSetup(e, w);
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterSamplWindow);

}  // namespace qz
