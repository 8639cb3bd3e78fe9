#pragma once
// What a tool window's registration gets: the program (its core, registry and events), the
// display windows, the frame window's shell and the results port of the measurement cycle.
// Each registration file announces itself with QZ_TOOL_WINDOW; RegisterAllToolWindows runs them
// all (the frame window does, once, before any window is created).

#include <QStringList>

#include "app/programevents.h"
#include "app/ui/frameshell.h"
#include "app/ui/resultsport.h"

namespace qz {

class TDisplayWindows;
class TProgram;
class TSimCore;
class TToolWindows;

struct TWindowContext {
  TProgram& program;
  TSimCore& core;
  TToolWindows& windows;
  TProgramEvents& events;
  TDisplayWindows& displays;
  TFrameShell& shell;
  // The numeric results windows as the cycle reaches them (each fills its own place).
  TResultsPort& results;
};

using TWindowRegistration = void (*)(TWindowContext&);

// Keeps one registration in the program's list (QZ_TOOL_WINDOW makes one per file).
struct TWindowAnnouncement {
  TWindowAnnouncement(const char* name, TWindowRegistration registration);
};

// Runs every announced registration (in the order of their names, so the run is the same on
// every build); the registry orders the windows by their ranks.
void RegisterAllToolWindows(TWindowContext& ctx);
// The names of the announced registrations.
QStringList AnnouncedToolWindows();

}  // namespace qz

#define QZ_TOOL_WINDOW(fn) static const ::qz::TWindowAnnouncement qzToolWindow_##fn(#fn, &fn)
