#pragma once
// The model window's operations on its controls' record (sim/mdlcontrols.h): they read the
// record into the model, rewrite it from the model, and keep section "Model" of the setup.

#include <QString>
#include <QStringList>
#include <cstdint>

#include "sim/mdlcontrols.h"

namespace qz {

class IniFile;
class TMdlEngine;

// What section "Model" keeps of the model: the entries, and the error byte and the results
// path the model holds itself. The tuner description's keys go into the same section but
// belong to the tuner model.
struct TMdlStp {
  TMdlEntries Ent;
  uint8_t ErrByte = 0;
  QString MdlResPath;

  friend bool operator==(const TMdlStp&, const TMdlStp&) = default;
  void WriteStp(IniFile& ini, const QString& section) const;
  // Every key limited to its control's range; the texts shown beside the up-downs follow them.
  // "Top" and "Left" are read as they stand: the window keeps them on its screen.
  void ReadStp(const IniFile& ini, const QString& section);
};

// Callbacks to windows created after the model; each may be unset.
struct TMdlHooks;

// ---- entry handling (the window calls these when an entry is left or a control clicked) ----

// Reads the magnitude entry in its format into Mg11, Rloss and Swr.
void CitajMag(TMdlEngine& m);
// The magnitude format list changed: the entry is rewritten from the stored value.
void RflFormatChanged(TMdlEngine& m, int format);
// Reads the phase entry (limited to -180..180) into Faza; the up-down takes its rounded value.
void CitajPha(TMdlEngine& m);
// One of the six animation entries was left (0..5: MagC, PhaC, Mag1, Mag2, Pha1, Pha2): when
// its text is a number, the up-down takes its rounded value.
void AnimEntryLeft(TMdlEngine& m, int which);
// Reads the frequency entry (MHz when no unit is given); a value far from the nominal frequency
// is replaced by the nominal one.
void CitajFre(TMdlEngine& m);
// The nominal frequency changed (a new tuner description): the frequency entry is read again
// and rewritten.
void RecheckFre(TMdlEngine& m);
// Error list: checking one item unchecks the other; ErrByte follows the list.
void ErrItemClicked(TMdlEngine& m, int item, bool checked);
void ErrByteToList(TMdlEngine& m);

// "&Apply": reads every entry into the model and rewrites the entries (ShowValues).
void Apply(TMdlEngine& m);
// Rewrites the entries from the model.
void ShowValues(TMdlEngine& m);

// The model's state at creation, the automatic setup read (when given) and applied.
void InitModel(TMdlEngine& m, const IniFile* autoSetup, int screenWidth, int screenHeight);

// ---- section "Model" ----------------------------------------------------------------------

void WriteStp(const TMdlEngine& m, IniFile& ini);
// Reads the section into the entries and the tuner description from the whole file; then the
// windows that show the tuner are told. Values are limited to their controls' ranges.
void ReadStp(TMdlEngine& m, const IniFile& ini, int screenWidth, int screenHeight);
// A setup loaded after start-up: ReadStp, then the error list and "&Apply", so the frames carry
// what the window shows.
void LoadStp(TMdlEngine& m, const IniFile& ini, int screenWidth, int screenHeight);

}  // namespace qz
