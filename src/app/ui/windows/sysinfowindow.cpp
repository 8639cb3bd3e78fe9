// The system information window, the first window of the started unit.

#include <QCoreApplication>
#include <QStatusTipEvent>

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "tuner/ui/qvtustpfrm.h"
#include "util/inifile.h"

namespace qz {

void RegisterSysInfoWindow(TWindowContext& ctx) {
  auto w = NewHold<TQvTuStpFrm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kTuStpSection), w);
  e.createPoint = TCreatePoint::UnitStart;
  e.createRank = 10;
  e.writeRank = 40;
  e.loadRank = 60;
  e.viewRank = 30;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TQvTuStpFrm(c->core.TunerModel, c->core.Cmd, c->core.Qv, ini, c->shell.Parent());
    // Its edits renew the reflection chart's areas.
    (*w)->Edits().RenewWatermark = [c] { emit c->events.TunerDescrChanged(); };
    // A loaded memory file is told in the frame window's hint panel, as status tips are.
    (*w)->Edits().ShowStatus = [c](const QString& text) {
      QStatusTipEvent tip(text);
      QCoreApplication::sendEvent(c->shell.Parent(), &tip);
    };
  };
  KeepsSetup(e, w);
  e.viewCaption = QStringLiteral("&System Info");
  e.viewHint = QStringLiteral("Show system info/modify autotune params");
  // Its pages wait for the end of a run.
  e.runHook = [w](bool running) {
    if (*w) (*w)->EnableForRun(!running);
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterSysInfoWindow);

}  // namespace qz
