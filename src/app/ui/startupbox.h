#pragma once
// The start-up files that are there but were not read (and a lock or socket that could not be
// had), told once the frame window is up: one line each on stderr, and one warning box with
// every line, so that the operator sees the window the settings belong to.

#include <QStringList>

namespace qz {

class TForm1;

// The lines told: the program core's start-up lines, then `more`.
QStringList StartupBoxLines(TForm1& form, const QStringList& more);
// Prints the lines and shows the box from the event loop, once it runs (nothing without a line).
void ShowStartupLinesOnceUp(TForm1& form, const QStringList& more);

}  // namespace qz
