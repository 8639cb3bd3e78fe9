#include "display/ui/displaywindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "display/dformstp.h"
#include "util/inifile.h"

namespace qz {

TDisplayWindows::TDisplayWindows(QMdiArea* area, TQvWin& qv, QObject* parent)
    : QObject(parent), area_(area), qv_(qv), ops_(qv) {}

TDisplayWindows::~TDisplayWindows() {
  // Dialogs made here without a window to own them go with the windows.
  if (!area_) {
    delete ScaleDlg.data();
    delete AttrDlg.data();
  }
  for (TGDisplForm* w : Windows()) {
    ops_.Remove(w);
    w->OnClosed = nullptr;
  }
}

std::vector<TGDisplForm*> TDisplayWindows::Windows() const {
  std::vector<TGDisplForm*> v;
  for (const auto& w : windows_)
    if (w) v.push_back(w.data());
  return v;
}

void TDisplayWindows::Forget(TGDisplForm* w) {
  ops_.Remove(w);
  windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                [w](const QPointer<TGDisplForm>& p) { return !p || p == w; }),
                 windows_.end());
}

TGDisplForm* TDisplayWindows::CreateDisplay() {
  auto* w = new TGDisplForm(Defaults);
  w->RunPause = [this] {
    if (RunPause) RunPause();
  };
  w->Running = [this] { return Running && Running(); };
  w->OnClosed = [this](TGDisplForm* f) { Forget(f); };
  // A window destroyed without closing (with the display area) leaves the operations too.
  TDisplayView* view = w;
  connect(w, &QObject::destroyed, this, [this, view] { ops_.Remove(view); });
  w->OnTypeChosen = [this] { ops_.RefreshXaxis(); };
  w->OnSetScale = [this](TGDisplForm& f) { f.EditScale(ScaleDialog(), qv_.LastSwp.Nwanted()); };
  w->OnProperties = [this](TGDisplForm& f) { f.EditProperties(AttrDialog()); };
  w->OnLegendClick = w->OnProperties;
  w->OnLimitStyle = [](TGDisplForm& f) { f.EditLimitStyle(); };
  if (area_) {
    QMdiSubWindow* sub = area_->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->adjustSize();
  }
  windows_.emplace_back(w);
  ops_.Add(w);
  // Connection in the order the refill needs: its operation, its data, the fill, the
  // transform query, the caption.
  w->AssignConvAllProc([this](TGDisplForm& f) {
    if (f.SrcData) ops_.FillTracesAll(f, *f.SrcData);
  });
  w->AssignData(&qv_.LastSwp);
  ops_.FillTracesAll(*w, qv_.LastSwp);
  w->AssignBilinActive([this] { return BilinActive ? BilinActive() : false; });
  w->SetCaption();
  w->EnableForRun(runEnabled_);
  if (OnCreated) OnCreated(*w);
  w->show();
  return w;
}

TDlgQzScale& TDisplayWindows::ScaleDialog() {
  if (!ScaleDlg) ScaleDlg = new TDlgQzScale(area_ ? area_->window() : nullptr);
  return *ScaleDlg;
}

TDlgAttr& TDisplayWindows::AttrDialog() {
  if (!AttrDlg) AttrDlg = new TDlgAttr(area_ ? area_->window() : nullptr);
  return *AttrDlg;
}

TGDisplForm* TDisplayWindows::NewDisplay() {
  TGDisplForm* active = nullptr;
  if (area_ && area_->activeSubWindow())
    active = qobject_cast<TGDisplForm*>(area_->activeSubWindow()->widget());
  if (active) {
    active->StoreAsDefaults();
    Defaults.NewType = active->Displ().AkeY;
  } else if (Windows().empty()) {
    Defaults.ResetDisplayDefaults();
  }
  TGDisplForm* w = CreateDisplay();
  ops_.RefreshXaxis();
  return w;
}

void TDisplayWindows::CloseAll() {
  for (TGDisplForm* w : Windows()) {
    QWidget* outer = w->parentWidget() ? w->parentWidget() : w;
    outer->close();
    Forget(w);
  }
}

void TDisplayWindows::WriteDisplays(IniFile& ini) {
  for (const QString& s : ini.ReadSections())
    if (IsDisplaySection(s) || (s.startsWith("DForm_", Qt::CaseInsensitive) && s.contains(' ')))
      ini.EraseSection(s);
  int32_t n = 1;
  for (TGDisplForm* w : Windows()) w->WriteStp(ini, n++);
}

void TDisplayWindows::DisplaysFromSetup(const IniFile& ini) {
  bool any = false;
  for (const QString& s : ini.ReadSections()) {
    if (!IsDisplaySection(s)) continue;
    TGDisplForm* w = CreateDisplay();
    w->ReadStp(ini, s);
    any = true;
  }
  if (!any) CreateDisplay();
  ops_.RefreshXaxis();
}

void TDisplayWindows::RefreshCaptions() {
  for (TGDisplForm* w : Windows()) w->SetCaption();
}

void TDisplayWindows::ImpressAll() { ops_.DrawSweepAll(qv_.LastSwp); }

void TDisplayWindows::BlankAll() {
  ops_.ResetTraces(true);
  ops_.ClearDisplays(true);
  qv_.LastSwp.Clear();
}

void TDisplayWindows::RedrawAll() {
  ops_.ClearDisplays(true);
  ops_.DrawSweepAll(qv_.LastSwp);
}

void TDisplayWindows::EnableForRun(bool enabled) {
  runEnabled_ = enabled;
  for (TGDisplForm* w : Windows()) w->EnableForRun(enabled);
}

}  // namespace qz
