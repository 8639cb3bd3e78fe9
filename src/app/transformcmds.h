#pragma once
// The operator commands of the bilinear transform (menu "Transform": Load, Active, Clear) and of
// the plane extension (the load's reference plane moved along the waveguide by a length in mm,
// positive towards the load), as one small object the frame window wires into its menus and tool
// bar. The window asks MenuState when the menu opens and redraws what depends on the transform or
// the extension through the two callbacks.

#include <QString>
#include <functional>

#include "core/bilintransf.h"
#include "core/planeext.h"
#include "util/asker.h"

namespace qz {

// Captions and hints of the commands.
extern const char* const kSparOpenTitle;        // "Load Text File of S-Parameters"
extern const char* const kSparOpenFilter;       // text files, Touchstone (*.s2p), any file
extern const char* const kTransformCaption;     // "Transform"
extern const char* const kTransformHint;        // "Apply bilinear transform to input ..."
extern const char* const kTransformLoadHint;    // "Load transform S-matrix"
extern const char* const kTransformActiveHint;  // "Activate/deactivate transform"
extern const char* const kTransformClearHint;   // "Clear transform data"
extern const char* const kTransformClearQuestion;
extern const char* const kTransformApplyCaption;  // "Apply two-port"
extern const char* const kTransformApplyHint;
extern const char* const kTransformRemoveCaption;  // "Remove fixture"
extern const char* const kTransformRemoveHint;
extern const char* const kPlaneExtCaption;   // "Plane &Ext"
extern const char* const kPlaneExtShortcut;  // "Ctrl+E"
extern const char* const kPlaneExtHint;
extern const char* const kPlaneExtButton;  // "Ext"
extern const char* const kPlaneExtPrompt;  // "Measurement plane extension (mm)"

// The items of the "Transform" menu as they are shown when it opens.
struct TTransformMenuState {
  QString loadCaption;    // "Load (<file name>)" with a table loaded, else "Load"
  QString activeCaption;  // "Active" when the transform is active, else "Active (NO)"
  bool activeEnabled = false;
  bool activeChecked = false;
  bool clearEnabled = false;
  bool removeChecked = false;  // "Remove fixture" is chosen, else "Apply two-port"
};

class TTransformCmds {
 public:
  // asker nullptr: the program's installed asker at the time of each command.
  TTransformCmds(TBilinTransf& bt, TPlaneExt& pe, TAsker* asker = nullptr)
      : bt_(bt), pe_(pe), asker_(asker) {}

  // Called after the transform changed (captions of the display, results and scenario
  // windows, the reflection chart's watermark).
  std::function<void()> OnTransformChanged;
  // Called after the plane extension changed (results window caption, tuner picture, the tool
  // button's hint PlaneExtButtonHint).
  std::function<void()> OnPlaneExtChanged;

  TTransformMenuState MenuState() const;

  // "Load": asks for an S-parameter file (the choice starts at the transform's last file), reads
  // it and shows the reader's message. A cancelled choice disables the transform.
  void Load();
  // "Apply two-port" / "Remove fixture": the direction of the transform.
  void SetDirection(TBilinDir d);
  // "Active": switches the transform on or off.
  void ToggleActive();
  // "Clear": after the operator's confirmation disables the transform; true when cleared.
  bool Clear();
  // "Plane Ext": asks for the extension in mm (with optional multiplier suffix) and applies it.
  void PlaneExt();
  // The hint of the "Ext" tool button.
  QString PlaneExtButtonHint() const;

 private:
  TAsker& Ask() const { return asker_ ? *asker_ : Asker(); }
  void TransformChanged() const {
    if (OnTransformChanged) OnTransformChanged();
  }

  TBilinTransf& bt_;
  TPlaneExt& pe_;
  TAsker* asker_;
};

}  // namespace qz
