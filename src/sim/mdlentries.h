#pragma once
// The controls of the model window as plain data: the text of every entry and the position of
// every up-down, kept apart as the window keeps them (an entry may hold text its up-down has not
// taken). The window copies its controls into this record and back; the operations below read
// the record into the model, rewrite it from the model, and keep section "Model" of the setup.

#include <QString>
#include <QStringList>
#include <cstdint>

#include "sim/mdlanim.h"

namespace qz {

class IniFile;
class TMdlEngine;

// DUT types of the "Type" group.
enum TDutType : int { kDutDefined = 0, kDutMatch = 1, kDutAnimated = 2, kDutChart = 3 };
// Formats of the magnitude entry.
enum TRflFormat : int { kRflMag = 0, kRflDb = 1, kRflVswr = 2 };

// Items of the step lists.
const QStringList& MagStepItems();  // "0.1" .. "5" (percent)
const QStringList& PhaStepItems();  // "0.1" .. "180" (degrees)

// Limits of the up-downs.
inline constexpr int kPhaUdMin = -180, kPhaUdMax = 180;
inline constexpr int kPauseMin = 0, kPauseMax = 10000, kPauseStep = 100;
inline constexpr int kDwellStep = 10;

// The section of the setup file.
inline constexpr const char* kMdlSection = "Model";

struct TMdlEntries {
  int Top = 0, Left = 0;
  bool Visible = false;

  // "DUT" page.
  int DutType = kDutDefined;
  QString Mag = QStringLiteral("0.2");
  int RFormat = kRflMag;
  QString Pha = QStringLiteral("45");
  int UdPha = 45;
  QString RhoUncert = QStringLiteral("0");

  // "Animation" page: the six entries (centre, start, stop of magnitude in percent and phase in
  // degrees) beside the up-downs they feed.
  QString AniMagC = QStringLiteral("0"), AniPhaC = QStringLiteral("0");
  QString AniMag1 = QStringLiteral("0"), AniMag2 = QStringLiteral("100");
  QString AniPha1 = QStringLiteral("-179"), AniPha2 = QStringLiteral("180");
  TAnimControls Anim;
  int MagStepIdx = 1;  // "0.2"
  int PhaStepIdx = 3;  // "1"
  TAnimFlags Flags;

  // "File" page (inactive).
  QString MdlResPath;

  // "Freq/Power/Temp" page.
  QString Fre, Funcert = QStringLiteral("0");
  QString Pow = QStringLiteral("5.678"), Puncert = QStringLiteral("5");
  QString Temp = QStringLiteral("25"), Tuncert = QStringLiteral("0");
  bool ErrOflow = false;      // "Bit 1: Overflow (2)"
  bool ErrLowSignal = false;  // "Bit 4: Low Signal (16)"

  // Below the pages.
  QString Pause = QStringLiteral("0");
  int UdPause = 0;

  friend bool operator==(const TMdlEntries&, const TMdlEntries&) = default;
};

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
