// The measurement setup window: its section is written, never loaded with a user setup; it
// shows itself when the automatic setup says it was visible.

#include <QPointer>

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "setupdlg/ui/mstpform.h"
#include "util/inifile.h"

namespace qz {

void RegisterMstpWindow(TWindowContext& ctx) {
  auto w = NewHold<TMstpForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kMstpSection), w);
  e.createRank = 130;
  e.writeRank = 60;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TMstpForm(c->core.Cmd, c->shell.Parent());
    const QPointer<TMstpForm> f = *w;
    c->core.Cmd.SetMeaStpRefresh([f] {
      if (f && f->isVisible()) f->PrevezmiNapln();
    });
    if (ini) (*w)->ReadStp(*ini);
  };
  e.writeStp = [w](IniFile& ini) {
    if (*w) (*w)->WriteStp(ini);
  };
  e.destroy = [c, w] {
    c->core.Cmd.SetMeaStpRefresh(nullptr);
    delete w->data();
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterMstpWindow);

}  // namespace qz
