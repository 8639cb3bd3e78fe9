#pragma once
// Every display window of the frame window's display area: creation and connection, the
// program-wide defaults, the setup sections, the commands of the Window menu and run enabling.

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "core/qvwin.h"
#include "display/displayops.h"
#include "display/displdefaults.h"
#include "display/ui/dlgattr.h"
#include "display/ui/dlgqzscale.h"
#include "display/ui/gdisplform.h"

class QMdiArea;

namespace qz {

class IniFile;

class TDisplayWindows : public QObject {
  Q_OBJECT
 public:
  TDisplayWindows(QMdiArea* area, TQvWin& qv, QObject* parent = nullptr);
  ~TDisplayWindows() override;

  // Given to every window: the frame window's Run/Pause, whether a run is in progress, and
  // whether the bilinear transform is active.
  std::function<void()> RunPause;
  std::function<bool()> Running;
  std::function<bool()> BilinActive;
  // Called for every window made, after it is connected and its dialogs are wired.
  std::function<void(TGDisplForm&)> OnCreated;
  // The scale and trace dialogs all windows share (the frame window makes them at start-up);
  // one missing when a window needs it is made then, over the display area.
  QPointer<TDlgQzScale> ScaleDlg;
  QPointer<TDlgAttr> AttrDlg;
  TDlgQzScale& ScaleDialog();
  TDlgAttr& AttrDialog();

  // "New Display": the active window's type and settings become the defaults (none open: the
  // attribute sets anew), then a new window.
  TGDisplForm* NewDisplay();
  // A new window from the defaults, connected and shown.
  TGDisplForm* CreateDisplay();
  void CloseAll();
  void ResetDisplayDefaults() { Defaults.ResetDisplayDefaults(); }
  // Sections "DForm_1", "DForm_2", ... in creation order; sections of windows no longer open
  // are removed.
  void WriteDisplays(IniFile& ini);
  // One window per section "DForm_" + digits, in the file's order; none gives one default
  // window. Then the point axes follow the sweep.
  void DisplaysFromSetup(const IniFile& ini);
  void RefreshCaptions();
  // Window menu commands.
  void ImpressAll();
  void BlankAll();
  void RedrawAll();
  void EnableForRun(bool enabled);

  std::vector<TGDisplForm*> Windows() const;
  TDisplayOps& Ops() { return ops_; }
  TDisplayDefaults Defaults;

 private:
  void Forget(TGDisplForm* w);

  QMdiArea* area_;
  TQvWin& qv_;
  TDisplayOps ops_;
  std::vector<QPointer<TGDisplForm>> windows_;
  bool runEnabled_ = true;
};

}  // namespace qz
