// The scenario window, made after the tuner picture; the Tuner menu's Scenario and the
// picture's scenario button show and hide it. A measured play owns the unit until it ends, and
// a play under way ends before the program closes.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "core/onesweep.h"
#include "tuner/scestp.h"
#include "tuner/tpicstp.h"
#include "tuner/ui/scenario.h"
#include "tuner/ui/tpic.h"
#include "util/asker.h"
#include "util/inifile.h"

namespace qz {

void RegisterScenarioWindow(TWindowContext& ctx) {
  auto w = NewHold<TScenario>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kScenarioSection), w);
  e.createPoint = TCreatePoint::UnitStart;
  e.createRank = 40;
  e.writeRank = 100;
  e.loadRank = 110;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    TTpic* tpic = c->windows.Window<TTpic>(QString::fromLatin1(kTpicSection));
    *w = new TScenario(c->core.TunerModel, c->core.Cmd, c->core.Qv, tpic, nullptr,
                       c->shell.Parent());
    TScenario* s = *w;
    TProgramEvents* ev = &c->events;
    s->IsSweeping = [c] { return c->shell.IsSweeping(); };
    // The play itself stops a running measurement before it starts.
    s->RunPause = [c] { c->shell.RunPauseNow(); };
    s->RedrawAll = [c] { c->shell.RedrawDisplays(); };
    s->ShowResult = [ev](const THresults& res) { emit ev->ResultShown(res); };
    s->Separator = [c] { return c->shell.Separator(); };
    s->NormalSweepCapacity = [c] {
      const TQvWin& qv = c->core.Qv;
      return SweepCapacity(qv.PtsPerSwp, qv.VarPar.Waveform, qv.Rectif, qv.Pulsed);
    };
    s->OnHelp = [c](int topic) { c->shell.ShowHelp(topic); };
    s->SetScePath = [ev](const QString& path) { emit ev->ScenarioPathChosen(path); };
    s->OnVisibility = [ev](bool shown) { emit ev->ScenarioShown(shown); };
    QObject::connect(ev, &TProgramEvents::ScenarioRequested, s, [s](bool on) {
      s->setVisible(on);
      if (on) s->raise();
    });
    if (tpic) {
      tpic->OnShowScenario = [ev](bool on) { emit ev->ScenarioRequested(on); };
      tpic->ScenarioShown = [w] { return *w && (*w)->isVisible(); };
      tpic->SetScenarioButton(false);
    }
    // Read once the callbacks are in place: a window stored as visible shows itself.
    if (ini) s->ReadStp(*ini);
  };
  KeepsSetup(e, w);
  e.holdsUnit = [w] { return *w && (*w)->MeasuredPlaying(); };
  // A play runs inside its button's handler: it ends first (a measured play still completes
  // its files) and the window closes again once the play has returned.
  e.endBeforeClose = [w](std::function<void()> closeAgain) {
    if (!*w || !(*w)->Playing()) return false;
    (*w)->StopPlay();
    (*w)->AfterPlay(std::move(closeAgain));
    return true;
  };
  e.destroy = [c, w] {
    if (!*w) return;
    // The pages are kept for the next run; a failure is reported, the exit goes on.
    if (!c->shell.Aborting()) {
      const QString err = (*w)->SaveAtExit();
      if (!err.isEmpty()) Asker().ShowError(err);
    }
    if (TTpic* tpic = c->windows.Window<TTpic>(QString::fromLatin1(kTpicSection))) {
      tpic->OnShowScenario = nullptr;
      tpic->ScenarioShown = nullptr;
    }
    delete w->data();
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterScenarioWindow);

}  // namespace qz
