// The full-size numeric results window; it also lights the counter lamp of the command layer.

#include "app/simcore.h"
#include "app/ui/toolwindowentry.h"
#include "app/ui/windows/windowcontext.h"
#include "results/ui/qzresform.h"
#include "util/inifile.h"

namespace qz {

void RegisterMaxResultsWindow(TWindowContext& ctx) {
  auto w = NewHold<TQzResForm>();
  TToolWindowEntry e = WidgetEntry(QString::fromLatin1(kResFormSection), w);
  e.createRank = 80;
  e.writeRank = 10;
  e.loadRank = 10;
  e.viewRank = 20;
  TWindowContext* c = &ctx;
  e.create = [c, w](const IniFile* ini) {
    *w = new TQzResForm(c->core.Qv, ini, c->shell.Parent());
    TQzResForm* f = *w;
    f->OnStartStop = [c] { c->shell.RunPause(); };
    f->OnHelp = [c](const QString& topic) { c->shell.ShowHelpKeyword(topic); };
    c->core.Cmd.SetCounterLamp([f](bool on) { f->FreLedCounterOnOff(on); });
    c->results.SetFull(f);
    TProgramEvents* ev = &c->events;
    QObject::connect(ev, &TProgramEvents::PlaneExtChanged, f, [f] { f->SetExtCaption(); });
    QObject::connect(ev, &TProgramEvents::TransformChanged, f, [f] { f->RflCaption(); });
    QObject::connect(ev, &TProgramEvents::SetupLoaded, f, [f] {
      f->SetExtCaption();
      f->RflCaption();
    });
    // Starting the unit switched its counter; until the first result arrives the window shows
    // that it has no data.
    QObject::connect(ev, &TProgramEvents::UnitStarted, f, [f] {
      f->SetExtCaption();
      f->Napln(nullptr);
    });
    QObject::connect(ev, &TProgramEvents::ResultShown, f, [f](const THresults& res) {
      if (f->isVisible()) f->Napln(&res);
    });
  };
  KeepsSetup(e, w);
  e.viewCaption = QStringLiteral("Results (Ma&xi)");
  e.viewHint = QStringLiteral("View full-size numeric results window");
  e.destroy = [c, w] {
    c->core.Cmd.SetCounterLamp(nullptr);
    delete w->data();
  };
  e.helpRow = e.section;
  (void)ctx.windows.Register(std::move(e));
}
QZ_TOOL_WINDOW(RegisterMaxResultsWindow);

}  // namespace qz
