// The single-shot commands window: its section is read once, at creation, from the automatic
// setup; its results and stub readings reach whichever windows show them.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "comm/qzcmd.h"
#include "setupdlg/trgcmds.h"
#include "setupdlg/ui/trgform.h"
#include "util/inifile.h"

namespace qz {

void RegisterTrgWindow(TWindowContext& ctx) {
  auto w = NewHold<TTrgForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kTrgSection), w);
  e.createRank = 90;
  e.writeRank = 50;
  e.viewRank = 50;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TTrgForm(c->core.Cmd, c->core.TunerModel, ini, c->shell.Parent());
    TTrgDisplays& d = (*w)->Displays();
    TProgramEvents* ev = &c->events;
    d.Napln = [ev](const THresults& res) { emit ev->ResultShown(res); };
    d.ReadShow = [c, ev] {
      const int32_t code = c->core.Cmd.ReadMotStatus();
      emit ev->StubsRead(code);
      return code == kCmdOk;
    };
    d.ShowMotPositAll = [ev] { emit ev->StubsMoved(); };
    d.SetAtButton = [ev](bool on) { emit ev->AtButtonChanged(on); };
  };
  e.writeStp = [w](IniFile& ini) {
    if (*w) (*w)->WriteStp(ini);
  };
  e.viewCaption = QStringLiteral("Singl&e-Shots Commands");
  e.viewHint = QStringLiteral("Open special Comands Window");
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterTrgWindow);

}  // namespace qz
