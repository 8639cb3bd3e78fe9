#pragma once
// A display area with the analyzer state, a sweep of three measured frames and a scripted
// asker, for tests of display windows and their dialogs.

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>

#include "common/testframes.h"
#include "core/qvwin.h"
#include "display/ui/displaywindows.h"
#include "util/asker.h"

namespace qz::testing {

struct DisplayRig {
  DisplayRig() : qv(mot), scoped(&asker), wins(&area, qv) {
    asker.quiet = true;
    area.resize(900, 700);
    qv.LastSwp.SetNwanted(3);
    for (int i = 0; i < 3; ++i) {
      TFrameSpec s = testing::MeasSpec(1000.0 * (i + 1), complex(0.1 * (i + 1), 0.0));
      s.Pos[1] = int16_t(10 * (i + 1));
      qv.LastSwp.Add(testing::EncodedFrame(s));
    }
    wins.Running = [this] { return running; };
    wins.RunPause = [this] { ++runPauses; };
    area.show();
    QApplication::setActiveWindow(&area);
  }
  TMotState mot;
  TQvWin qv;
  TScriptedAsker asker;
  TScopedAsker scoped;
  QMdiArea area;
  TDisplayWindows wins;
  bool running = false;  // what the windows take for a run in progress
  int runPauses = 0;     // how often a window asked for Run/Pause
};

// The action of a menu (or of its submenus) with the given text; nullptr when there is none.
inline QAction* FindAction(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions()) {
    if (a->text() == text) return a;
    if (a->menu())
      if (QAction* sub = FindAction(a->menu(), text)) return sub;
  }
  return nullptr;
}

}  // namespace qz::testing