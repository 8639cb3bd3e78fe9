#include "app/transformcmds.h"

#include <QFileInfo>

#include "util/fileops.h"
#include "util/valueinput.h"

namespace qz {

const char* const kSparOpenTitle = "Load Text File of S-Parameters";
const char* const kSparOpenFilter =
    "Text file (*.txt)|*.txt|Touchstone file (*.s2p)|*.s2p|Any file (*.*)|*.*";
const char* const kTransformCaption = "Transform";
const char* const kTransformHint = "Apply bilinear transform to input reflection coefficient";
const char* const kTransformLoadHint = "Load transform S-matrix";
const char* const kTransformActiveHint = "Activate/deactivate transform";
const char* const kTransformClearHint = "Clear transform data";
const char* const kTransformApplyCaption = "Apply two-port";
const char* const kTransformApplyHint =
    "The measured reflection coefficient loads port 2 of the two-port; its input is shown";
const char* const kTransformRemoveCaption = "Remove fixture";
const char* const kTransformRemoveHint =
    "The measured reflection coefficient is seen at port 1 (towards the analyzer); port 2 is "
    "shown";
const char* const kTransformClearQuestion = "Clear the transform of input reflection coefficient";
const char* const kPlaneExtCaption = "Plane &Ext";
const char* const kPlaneExtShortcut = "Ctrl+E";
const char* const kPlaneExtHint =
    "Measurement plane shift out of the calibration plane (length along the waveguide)";
const char* const kPlaneExtButton = "Ext";
const char* const kPlaneExtPrompt = "Measurement plane extension (mm)";

TTransformMenuState TTransformCmds::MenuState() const {
  TTransformMenuState m;
  const bool loaded = bt_.FEnabled;
  const bool active = bt_.GetActive();
  m.activeEnabled = loaded;
  m.activeChecked = active;
  m.activeCaption = active ? QStringLiteral("Active") : QStringLiteral("Active (NO)");
  m.clearEnabled = loaded;
  m.removeChecked = bt_.Direction == TBilinDir::Remove;
  const FileNameParts p = SplitFileName(NormalizePath(bt_.Path));
  const QString fileName = p.name + p.ext;
  m.loadCaption = loaded && !bt_.Path.isEmpty()
                      ? QStringLiteral("Load (") + fileName + QStringLiteral(")")
                      : QStringLiteral("Load");
  return m;
}

void TTransformCmds::Load() {
  TAsker& asker = Ask();
  QString chosen = asker.OpenFileName(QString::fromLatin1(kSparOpenTitle), bt_.StartPath(),
                                      QString::fromLatin1(kSparOpenFilter));
  if (chosen.isEmpty()) {
    bt_.LoadCancelled();
    TransformChanged();
    return;
  }
  // The default extension, as the open dialog adds it to a typed name without one.
  if (!QFileInfo::exists(chosen) && SplitFileName(chosen).ext.isEmpty() &&
      QFileInfo::exists(chosen + QStringLiteral(".txt"))) {
    chosen += QStringLiteral(".txt");
  }
  const TSparLoad r = bt_.LoadAndConvert(chosen);
  if (r.isError) {
    asker.ShowError(r.message);
  } else {
    asker.ShowInfo(r.message);
  }
  TransformChanged();
}

void TTransformCmds::SetDirection(TBilinDir d) {
  if (bt_.Direction == d) return;
  bt_.Direction = d;
  TransformChanged();
}

void TTransformCmds::ToggleActive() {
  bt_.SetActive(!bt_.GetActive());
  TransformChanged();
}

bool TTransformCmds::Clear() {
  if (!AskYesNo(QString::fromLatin1(kTransformClearQuestion), Ask())) return false;
  bt_.Clear();
  TransformChanged();
  return true;
}

void TTransformCmds::PlaneExt() {
  const TAskedValue v = AskValue(QString::fromLatin1(kPlaneExtPrompt), pe_.Extension, Ask());
  pe_.SetValue(v.value);
  if (OnPlaneExtChanged) OnPlaneExtChanged();
}

QString TTransformCmds::PlaneExtButtonHint() const {
  return QStringLiteral("Plane extension  (") + pe_.MsgStr + QStringLiteral(")|");
}

}  // namespace qz
