// The tuner picture, made once the unit has started; the Tuner menu's View shows and hides it.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "tuner/tpicstp.h"
#include "tuner/ui/tpic.h"
#include "util/inifile.h"

namespace qz {

void RegisterTunerPicWindow(TWindowContext& ctx) {
  auto w = NewHold<TTpic>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kTpicSection), w);
  e.createPoint = TCreatePoint::UnitStart;
  e.createRank = 30;
  e.writeRank = 90;
  e.loadRank = 100;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TTpic(c->core.TunerModel, c->core.AutoTune, c->core.Cmd, c->core.Qv.PlaneExt, ini,
                   c->shell.Parent());
    TTpic* t = *w;
    t->IsRunning = [c] { return c->shell.IsSweeping(); };
    t->OnHelp = [c](int topic) { c->shell.ShowHelp(topic); };
    TProgramEvents* ev = &c->events;
    QObject::connect(ev, &TProgramEvents::PlaneExtChanged, t, [t] { t->pbTunPaint(); });
    QObject::connect(ev, &TProgramEvents::StubsMoved, t, [t] { t->ShowMotPositAll(true); });
    QObject::connect(ev, &TProgramEvents::StubsRead, t, [t](int32_t code) { t->ShowRead(code); });
    QObject::connect(ev, &TProgramEvents::AtButtonChanged, t, [t](bool on) { t->SetAtButton(on); });
    QObject::connect(ev, &TProgramEvents::ScenarioShown, t,
                     [t](bool shown) { t->SetScenarioButton(shown); });
  };
  KeepsSetup(e, w);
  e.runHook = [w](bool running) {
    if (!*w) return;
    if (running) (*w)->ZastavTimery();
    (*w)->EnableControls(!running);
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterTunerPicWindow);

}  // namespace qz
