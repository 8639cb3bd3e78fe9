#pragma once
// What the model window shows of the model, without the window: the record of its controls
// (sim/mdlcontrols.h) and the operations the window calls when an entry is left or a control
// clicked. They read the record into the model (sim/mdlengine.h), rewrite it from the model,
// and keep section "Model" of the setup. The program core holds one over its model; the window
// copies its controls into the record and back, and a program without windows edits the record
// alone.

#include <functional>

#include "sim/mdlcontrols.h"
#include "sim/mdlentries.h"
#include "util/complex.h"

namespace qz {

class IniFile;
class TMdlEngine;

// Callbacks to windows that are created after the model (each may be unset).
struct TMdlHooks {
  // The reflection coefficient under the chart's mouse (DUT type "Chart").
  std::function<complex()> ChartRho;
  // After "&Apply": with useChart the chart is to be shown (or its marker redrawn when shown);
  // otherwise only a visible chart redraws its marker.
  std::function<void(bool useChart)> ChartApplied;
  // After a setup read: the chart marker, the tuner picture and the system information window
  // show the tuner description read.
  std::function<void()> TunerDescrRead;
};

class TMdlPresenter {
 public:
  explicit TMdlPresenter(TMdlEngine& model) : m_(model) {}
  TMdlPresenter(const TMdlPresenter&) = delete;
  TMdlPresenter& operator=(const TMdlPresenter&) = delete;

  TMdlEngine& Model() { return m_; }
  const TMdlEngine& Model() const { return m_; }

  // The window's controls.
  TMdlEntries Ent;
  TMdlHooks Hooks;

  // ---- entry handling -----------------------------------------------------------------------

  // Reads the magnitude entry in its format into Mg11, Rloss and Swr.
  void CitajMag();
  // The magnitude format list changed: the entry is rewritten from the stored value.
  void RflFormatChanged(int format);
  // Reads the phase entry (limited to -180..180) into Faza; the up-down takes its rounded value.
  void CitajPha();
  // One of the six animation entries was left (0..5: MagC, PhaC, Mag1, Mag2, Pha1, Pha2): when
  // its text is a number, the up-down takes its rounded value.
  void AnimEntryLeft(int which);
  // Reads the frequency entry (MHz when no unit is given); a value far from the nominal
  // frequency is replaced by the nominal one.
  void CitajFre();
  // The nominal frequency changed (a new tuner description): the frequency entry is read again
  // and rewritten.
  void RecheckFre();
  // Error list: checking one item unchecks the other; ErrByte follows the list.
  void ErrItemClicked(int item, bool checked);
  void ErrByteToList();
  // One of the animation's boxes ("R" of magnitude or phase, "No spiral"): it acts on the
  // running animation at once.
  void SetAnimFlag(bool TAnimFlags::*flag, bool on);
  // The animation's controls changed outside "&Apply" ("No spiral"): the running animation
  // takes them at once.
  void AnimControlsChanged();

  // "&Apply": reads every entry into the model and rewrites the entries (ShowValues).
  void Apply();
  // Rewrites the entries from the model.
  void ShowValues();

  // The model's state at creation, the automatic setup read (when given) and applied.
  void InitModel(const IniFile* autoSetup, int screenWidth, int screenHeight);

  // ---- section "Model" ----------------------------------------------------------------------

  // What the section keeps now.
  TMdlStp Stp() const;
  void WriteStp(IniFile& ini) const;
  // Reads the section into the entries and the tuner description from the whole file; then the
  // windows that show the tuner are told. Values are limited to their controls' ranges.
  void ReadStp(const IniFile& ini, int screenWidth, int screenHeight);
  // A setup loaded after start-up: ReadStp, then the error list and "&Apply", so the frames
  // carry what the window shows.
  void LoadStp(const IniFile& ini, int screenWidth, int screenHeight);

 private:
  void ShowMag();
  // The animation's boxes of the record into the model.
  void FlagsToModel();

  TMdlEngine& m_;
};

}  // namespace qz
