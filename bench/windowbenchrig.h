#pragma once
// What the window-program benchmarks share: the offscreen platform and a private profile (unless
// the caller chose others), a quiet scripted asker, and the frame window with its unit started
// and the model's pause at 0, its window hidden.

#include <QString>
#include <QTemporaryDir>
#include <cstdio>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "sim/ui/qzmdl.h"
#include "util/asker.h"

namespace qz::bench {

// Before the application object exists.
inline void UseOffscreenAndProfile(const QTemporaryDir& profile) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QZSIM_PROFILE"))
    qputenv("QZSIM_PROFILE", profile.path().toLocal8Bit());
}

// False (with the reason on stderr) when the unit does not start.
inline bool StartAtFullSpeed(TForm1& form) {
  QString msg;
  if (!form.StartUnit(msg)) {
    std::fprintf(stderr, "The unit did not start: %s\n", qPrintable(msg));
    return false;
  }
  return true;
}

// The model at pause 0 (after the frame window is shown), its window hidden.
inline void ModelWithoutPause(TForm1& form) {
  TMdlEntries& entries = form.Core().MdlPresenter.Ent;
  entries.Pause = QStringLiteral("0");
  entries.UdPause = 0;
  form.ToolWindows().Window<TQzMdl>("Model")->FromEntries();
  form.ToolWindows().Window<TQzMdl>("Model")->DoApply();
  form.ToolWindows().Window<TQzMdl>("Model")->hide();
}

// A scripted asker that answers nothing aloud.
struct TQuietAsker : TScriptedAsker {
  TQuietAsker() { quiet = true; }
};

// The frame window of a benchmark with its quiet asker; Start starts the unit, shows the window
// (at the given size when one is given) and puts the model at full speed.
struct TBenchProgram {
  TQuietAsker asker;
  TScopedAsker scoped{&asker};
  TForm1 form;
  bool Start(QSize size = QSize()) {
    if (!StartAtFullSpeed(form)) return false;
    if (size.isValid()) form.resize(size);
    form.show();
    ModelWithoutPause(form);
    return true;
  }
};

}  // namespace qz::bench
