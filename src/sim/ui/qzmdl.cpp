#include "sim/ui/qzmdl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "sim/mdlentries.h"
#include "sim/ui/updownedit.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"

namespace qz {

namespace {

QLineEdit* NewEdit(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  return e;
}

}  // namespace

TQzMdl::TQzMdl(TMdlPresenter& presenter, const IniFile* autoSetup, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_(presenter) {
  setObjectName(QStringLiteral("QzMdl"));
  setWindowTitle(QStringLiteral("Quzar Model"));
  Build();
  const QSize s = qz::Screen().Size();
  m_.InitModel(autoSetup, s.width(), s.height());
  FromEntries();
  // Without a stored place the window opens at a tool window's default place.
  if (!autoSetup || !HasStoredPosition(*autoSetup, QString::fromLatin1(kMdlSection))) {
    PlaceToolWindowByDefault(*this, qz::Screen());
    m_.Ent.Left = x();
    m_.Ent.Top = y();
  }
  PlaceFromEntries();
  pages_->setCurrentIndex(0);
  lbTransient_->setVisible(false);
}

void TQzMdl::Build() {
  auto* root = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  root->addWidget(pages_);

  // ---- "DUT"
  auto* dut = new QWidget;
  auto* dutLay = new QVBoxLayout(dut);
  auto* gbType = new QGroupBox(QStringLiteral("Type"), dut);
  auto* typeLay = new QHBoxLayout(gbType);
  rgRhoType_ = new QButtonGroup(this);
  const char* types[] = {"Defined", "Match", "Animated", "Chart"};
  for (int i = 0; i < 4; ++i) {
    auto* rb = new QRadioButton(QString::fromLatin1(types[i]), gbType);
    rb->setObjectName(QStringLiteral("rbType%1").arg(i));
    rgRhoType_->addButton(rb, i);
    typeLay->addWidget(rb);
  }
  dutLay->addWidget(gbType);
  gbDefined_ = new QGroupBox(QStringLiteral("Defined Reflection Coefficient"), dut);
  auto* defLay = new QGridLayout(gbDefined_);
  edMag_ = NewEdit(gbDefined_, "edMag");
  cbRfl_ = new QComboBox(gbDefined_);
  cbRfl_->setObjectName(QStringLiteral("cbRfl"));
  cbRfl_->addItems({QStringLiteral("Mag"), QStringLiteral("dB"), QStringLiteral("VSWR")});
  edPha_ = new TUpDownEdit(kPhaUdMin, kPhaUdMax, 1, true, gbDefined_);
  edPha_->setObjectName(QStringLiteral("edPha"));
  defLay->addWidget(new QLabel(QStringLiteral("Magnitude"), gbDefined_), 0, 0);
  defLay->addWidget(edMag_, 0, 1);
  defLay->addWidget(cbRfl_, 0, 2);
  defLay->addWidget(new QLabel(QStringLiteral("Phase"), gbDefined_), 1, 0);
  defLay->addWidget(edPha_, 1, 1);
  defLay->addWidget(new QLabel(QStringLiteral("deg"), gbDefined_), 1, 2);
  SizeForChars(edMag_, 10);
  SizeForChars(edPha_->Edit(), 10);
  defLay->setColumnStretch(3, 1);
  dutLay->addWidget(gbDefined_);
  auto* uncRow = new QHBoxLayout;
  edRhoUncert_ = NewEdit(dut, "edRhoUncert");
  uncRow->addWidget(new QLabel(QStringLiteral("Uncertainty Radius"), dut));
  uncRow->addWidget(edRhoUncert_);
  uncRow->addStretch();
  SizeForChars(edRhoUncert_, 10);
  dutLay->addLayout(uncRow);
  dutLay->addStretch();
  pages_->addTab(dut, QStringLiteral("DUT"));

  // ---- "Animation"
  auto* anim = new QWidget;
  auto* animLay = new QGridLayout(anim);
  const char* heads[] = {"Center", "Start", "Stop", "Step"};
  for (int c = 0; c < 4; ++c)
    animLay->addWidget(new QLabel(QString::fromLatin1(heads[c]), anim), 0, c + 1);
  animLay->addWidget(new QLabel(QStringLiteral("Mg (%)"), anim), 1, 0);
  animLay->addWidget(new QLabel(QStringLiteral("Ph (Dg)"), anim), 2, 0);
  const char* udNames[] = {"udMagC", "udPhaC", "udMag1", "udMag2", "udPha1", "udPha2"};
  for (int i = 0; i < 6; ++i) {
    const bool isMag = i == 0 || i == 2 || i == 3;
    udAnim_[i] = isMag ? new TUpDownEdit(kAnimMagUdMin, kAnimMagUdMax, 1, true, anim)
                       : new TUpDownEdit(kAnimPhaUdMin, kAnimPhaUdMax, 1, true, anim);
    udAnim_[i]->setObjectName(QString::fromLatin1(udNames[i]));
  }
  animLay->addWidget(udAnim_[0], 1, 1);
  animLay->addWidget(udAnim_[2], 1, 2);
  animLay->addWidget(udAnim_[3], 1, 3);
  animLay->addWidget(udAnim_[1], 2, 1);
  animLay->addWidget(udAnim_[4], 2, 2);
  animLay->addWidget(udAnim_[5], 2, 3);
  cbMagStep_ = new QComboBox(anim);
  cbMagStep_->setObjectName(QStringLiteral("cbMagStep"));
  cbMagStep_->setEditable(true);
  cbMagStep_->addItems(MagStepItems());
  cbPhaStep_ = new QComboBox(anim);
  cbPhaStep_->setObjectName(QStringLiteral("cbPhaStep"));
  cbPhaStep_->setEditable(true);
  cbPhaStep_->addItems(PhaStepItems());
  animLay->addWidget(cbMagStep_, 1, 4);
  animLay->addWidget(cbPhaStep_, 2, 4);
  const QString revHint = QStringLiteral("Reverse direction on reaching limits");
  cbReverseMag_ = new QCheckBox(QStringLiteral("R"), anim);
  cbReverseMag_->setObjectName(QStringLiteral("cbReverseMag"));
  cbReversePha_ = new QCheckBox(QStringLiteral("R"), anim);
  cbReversePha_->setObjectName(QStringLiteral("cbReversePha"));
  for (QCheckBox* cb : {cbReverseMag_, cbReversePha_}) {
    cb->setToolTip(revHint);
    cb->setStatusTip(revHint);
  }
  animLay->addWidget(cbReverseMag_, 1, 5);
  animLay->addWidget(cbReversePha_, 2, 5);
  cbNoSpiral_ = new QCheckBox(QStringLiteral("Do not spiral"), anim);
  cbNoSpiral_->setObjectName(QStringLiteral("cbNoSpiral"));
  cbNoSpiral_->setToolTip(QStringLiteral("Move on constant radius circle/arc"));
  animLay->addWidget(cbNoSpiral_, 3, 1, 1, 2);
  edMeasPerPosit_ = new TUpDownEdit(kDwellMin, kDwellMax, kDwellStep, false, anim);
  edMeasPerPosit_->setObjectName(QStringLiteral("edMeasPerPosit"));
  edMeasPerPosit_->setToolTip(QStringLiteral("Repeated measurements for each load setting"));
  animLay->addWidget(new QLabel(QStringLiteral("Meas/Posit"), anim), 3, 3);
  animLay->addWidget(edMeasPerPosit_, 3, 4);
  for (TUpDownEdit* ud : udAnim_) SizeForChars(ud->Edit(), 5);
  SizeForChars(edMeasPerPosit_->Edit(), 5);
  // Rows packed at the top, spare room below and to the right.
  animLay->setRowStretch(4, 1);
  animLay->setColumnStretch(6, 1);
  pages_->addTab(anim, QStringLiteral("Animation"));

  // ---- "File" (inactive)
  auto* file = new QWidget;
  auto* fileLay = new QGridLayout(file);
  fileLay->addWidget(
      new QLabel(QStringLiteral("This functionality is under development - inactive"), file), 0, 0,
      1, 3);
  fileLay->addWidget(new QLabel(QStringLiteral("File:"), file), 1, 0);
  lbFile_ = new QLabel(QStringLiteral("No file"), file);
  fileLay->addWidget(lbFile_, 1, 1);
  fileLay->addWidget(new QLabel(QStringLiteral("Path:"), file), 2, 0);
  lbPath_ = new QLabel(QStringLiteral("No path"), file);
  fileLay->addWidget(lbPath_, 2, 1);
  fileLay->addWidget(new QPushButton(QStringLiteral("Load"), file), 3, 0);
  fileLay->addWidget(new QPushButton(QStringLiteral("Clear"), file), 3, 1);
  lbTransient_ = new QListWidget(file);
  lbTransient_->setObjectName(QStringLiteral("lbTransient"));
  lbTransient_->addItem(QStringLiteral("Transient"));
  lbTransient_->setCurrentRow(0);
  fileLay->addWidget(lbTransient_, 4, 0, 1, 3);
  FitListToRows(lbTransient_, 4);
  fileLay->setRowStretch(5, 1);
  fileLay->setColumnStretch(2, 1);
  file->setEnabled(false);
  pages_->addTab(file, QStringLiteral("File"));

  // ---- "Freq/Power/Temp"
  auto* fpt = new QWidget;
  auto* fptLay = new QGridLayout(fpt);
  edFre_ = NewEdit(fpt, "edFre");
  edFre_->setToolTip(QStringLiteral("Type frequency in MHz"));
  edFuncert_ = NewEdit(fpt, "edFuncert");
  edPow_ = NewEdit(fpt, "edPow");
  edPuncert_ = NewEdit(fpt, "edPuncert");
  edTemp_ = NewEdit(fpt, "edTemp");
  edTuncert_ = NewEdit(fpt, "edTuncert");
  struct Row {
    const char* name;
    QLineEdit* val;
    const char* unit;
    QLineEdit* unc;
    const char* uncUnit;
  } rows[] = {{"Frequency", edFre_, "", edFuncert_, "%"},
              {"Inc. Power", edPow_, "kW", edPuncert_, "%"},
              {"Temperature", edTemp_, "C", edTuncert_, "C"}};
  for (int i = 0; i < 3; ++i) {
    fptLay->addWidget(new QLabel(QString::fromLatin1(rows[i].name), fpt), i, 0);
    fptLay->addWidget(rows[i].val, i, 1);
    fptLay->addWidget(new QLabel(QString::fromLatin1(rows[i].unit), fpt), i, 2);
    fptLay->addWidget(new QLabel(QStringLiteral("Uncert."), fpt), i, 3);
    fptLay->addWidget(rows[i].unc, i, 4);
    fptLay->addWidget(new QLabel(QString::fromLatin1(rows[i].uncUnit), fpt), i, 5);
  }
  fptLay->addWidget(new QLabel(QStringLiteral("Error Byte:"), fpt), 3, 0);
  cblErrors_ = new QListWidget(fpt);
  cblErrors_->setObjectName(QStringLiteral("cblErrors"));
  for (const char* t : {"Bit 1: Overflow (2)", "Bit 4: Low Signal (16)"}) {
    auto* it = new QListWidgetItem(QString::fromLatin1(t), cblErrors_);
    it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
    it->setCheckState(Qt::Unchecked);
  }
  fptLay->addWidget(cblErrors_, 3, 1, 1, 5);
  FitListToRows(cblErrors_, 4);
  for (QLineEdit* e : {edFre_, edFuncert_, edPow_, edPuncert_, edTemp_, edTuncert_})
    SizeForChars(e, 9);
  fptLay->setRowStretch(4, 1);
  fptLay->setColumnStretch(6, 1);
  pages_->addTab(fpt, QStringLiteral("Freq/Power/Temp"));

  // ---- below the pages
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel(QStringLiteral("Pause"), this));
  edPause_ = new TUpDownEdit(kPauseMin, kPauseMax, kPauseStep, false, this);
  edPause_->setObjectName(QStringLiteral("edPause"));
  edPause_->setToolTip(QStringLiteral("Pause between two consecutive measurements"));
  bottom->addWidget(edPause_);
  SizeForChars(edPause_->Edit(), 6);
  bottom->addStretch();
  btApply_ = new QPushButton(QStringLiteral("&Apply"), this);
  btApply_->setObjectName(QStringLiteral("btApply"));
  btClose_ = new QPushButton(QStringLiteral("&Close"), this);
  btClose_->setObjectName(QStringLiteral("btClose"));
  btHelp_ = new QPushButton(QStringLiteral("&Help"), this);
  btHelp_->setObjectName(QStringLiteral("btHelp"));
  bottom->addWidget(btApply_);
  bottom->addWidget(btClose_);
  bottom->addWidget(btHelp_);
  root->addLayout(bottom);

  // ---- behaviour
  connect(btApply_, &QPushButton::clicked, this, &TQzMdl::DoApply);
  connect(btClose_, &QPushButton::clicked, this, &TQzMdl::hide);
  connect(btHelp_, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp(kMdlHelpContext);
  });
  connect(rgRhoType_, &QButtonGroup::idClicked, this, [this](int) { TypeClicked(); });
  connect(edMag_, &QLineEdit::editingFinished, this, [this] {
    if (syncing_) return;
    ToEntries();
    m_.CitajMag();
    FromEntries();
  });
  connect(cbRfl_, &QComboBox::activated, this, [this](int idx) {
    ToEntries();
    m_.RflFormatChanged(idx);
    FromEntries();
  });
  connect(edPha_, &TUpDownEdit::EditingFinished, this, [this] {
    if (syncing_) return;
    ToEntries();
    m_.CitajPha();
    FromEntries();
  });
  for (int i = 0; i < 6; ++i) {
    connect(udAnim_[i], &TUpDownEdit::EditingFinished, this, [this, i] {
      if (syncing_) return;
      ToEntries();
      m_.AnimEntryLeft(i);
      FromEntries();
    });
  }
  // The "R" boxes act on the running animation at once.
  connect(cbReverseMag_, &QCheckBox::toggled, this,
          [this](bool on) { m_.SetAnimFlag(&TAnimFlags::ReverseMag, on); });
  connect(cbReversePha_, &QCheckBox::toggled, this,
          [this](bool on) { m_.SetAnimFlag(&TAnimFlags::ReversePha, on); });
  connect(cbNoSpiral_, &QCheckBox::clicked, this, [this] { NoSpiralClicked(); });
  connect(cblErrors_, &QListWidget::itemChanged, this, [this](QListWidgetItem* it) {
    if (syncing_) return;
    m_.ErrItemClicked(cblErrors_->row(it), it->checkState() == Qt::Checked);
    FromEntries();
  });
  // A click on an item's text toggles it too, as a click on its box does. A press on the box is
  // taken by the box (no press is told) and the box toggles it itself, so only a click whose
  // press was told and did not change the item toggles it here.
  auto pressedState = std::make_shared<std::optional<Qt::CheckState>>();
  connect(cblErrors_, &QListWidget::itemPressed, this,
          [pressedState](QListWidgetItem* it) { *pressedState = it->checkState(); });
  connect(cblErrors_, &QListWidget::itemClicked, this, [pressedState](QListWidgetItem* it) {
    const std::optional<Qt::CheckState> pressed = *pressedState;
    pressedState->reset();
    if (!pressed || it->checkState() != *pressed) return;
    it->setCheckState(it->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  });
}

void TQzMdl::TypeClicked() {
  ToEntries();
  ShowDefinedState(m_.Ent.DutType == kDutDefined);
  if (m_.Ent.DutType == kDutAnimated) pages_->setCurrentIndex(1);
}

void TQzMdl::ShowDefinedState(bool defined) {
  gbDefined_->setEnabled(defined);
  // Entries that do not act show the button face.
  for (QWidget* w : {static_cast<QWidget*>(edMag_), static_cast<QWidget*>(edPha_->Edit())}) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base,
               defined ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
    w->setPalette(p);
  }
}

void TQzMdl::NoSpiralClicked() {
  const bool spiral = !cbNoSpiral_->isChecked();
  udAnim_[3]->setEnabled(spiral);
  cbMagStep_->setEnabled(spiral);
  cbReverseMag_->setEnabled(spiral);
  ToEntries();
  m_.AnimControlsChanged();
  FromEntries();
}

void TQzMdl::ToEntries() {
  if (syncing_) return;
  TMdlEntries& e = m_.Ent;
  e.Top = y();
  e.Left = x();
  e.Visible = isVisible();
  e.DutType = rgRhoType_->checkedId() < 0 ? e.DutType : rgRhoType_->checkedId();
  e.Mag = edMag_->text();
  e.RFormat = cbRfl_->currentIndex();
  e.Pha = edPha_->Text();
  e.UdPha = edPha_->Position();
  e.RhoUncert = edRhoUncert_->text();
  QString* texts[6] = {&e.AniMagC, &e.AniPhaC, &e.AniMag1, &e.AniMag2, &e.AniPha1, &e.AniPha2};
  int* uds[6] = {&e.Anim.UdMagC, &e.Anim.UdPhaC, &e.Anim.UdMag1,
                 &e.Anim.UdMag2, &e.Anim.UdPha1, &e.Anim.UdPha2};
  for (int i = 0; i < 6; ++i) {
    *texts[i] = udAnim_[i]->Text();
    *uds[i] = udAnim_[i]->Position();
  }
  e.MagStepIdx = cbMagStep_->currentIndex();
  e.PhaStepIdx = cbPhaStep_->currentIndex();
  e.Anim.MagStepTxt = cbMagStep_->currentText();
  e.Anim.PhaStepTxt = cbPhaStep_->currentText();
  e.Flags.ReverseMag = cbReverseMag_->isChecked();
  e.Flags.ReversePha = cbReversePha_->isChecked();
  e.Flags.NoSpiral = cbNoSpiral_->isChecked();
  e.Anim.MeasPerPositTxt = edMeasPerPosit_->Text();
  e.Anim.UdDwell = edMeasPerPosit_->Position();
  e.Fre = edFre_->text();
  e.Funcert = edFuncert_->text();
  e.Pow = edPow_->text();
  e.Puncert = edPuncert_->text();
  e.Temp = edTemp_->text();
  e.Tuncert = edTuncert_->text();
  e.ErrOflow = cblErrors_->item(0)->checkState() == Qt::Checked;
  e.ErrLowSignal = cblErrors_->item(1)->checkState() == Qt::Checked;
  e.Pause = edPause_->Text();
  e.UdPause = edPause_->Position();
}

void TQzMdl::FromEntries() {
  syncing_ = true;
  const TMdlEntries& e = m_.Ent;
  if (QAbstractButton* b = rgRhoType_->button(e.DutType)) b->setChecked(true);
  edMag_->setText(e.Mag);
  cbRfl_->setCurrentIndex(e.RFormat);
  edPha_->SetText(e.Pha);
  edPha_->SetPosition(e.UdPha);
  edRhoUncert_->setText(e.RhoUncert);
  const QString texts[6] = {e.AniMagC, e.AniPhaC, e.AniMag1, e.AniMag2, e.AniPha1, e.AniPha2};
  const int uds[6] = {e.Anim.UdMagC, e.Anim.UdPhaC, e.Anim.UdMag1,
                      e.Anim.UdMag2, e.Anim.UdPha1, e.Anim.UdPha2};
  for (int i = 0; i < 6; ++i) {
    udAnim_[i]->SetText(texts[i]);
    udAnim_[i]->SetPosition(uds[i]);
  }
  cbMagStep_->setCurrentIndex(e.MagStepIdx);
  cbPhaStep_->setCurrentIndex(e.PhaStepIdx);
  cbMagStep_->setEditText(e.Anim.MagStepTxt);
  cbPhaStep_->setEditText(e.Anim.PhaStepTxt);
  cbReverseMag_->setChecked(e.Flags.ReverseMag);
  cbReversePha_->setChecked(e.Flags.ReversePha);
  cbNoSpiral_->setChecked(e.Flags.NoSpiral);
  edMeasPerPosit_->SetText(e.Anim.MeasPerPositTxt);
  edMeasPerPosit_->SetPosition(e.Anim.UdDwell);
  edFre_->setText(e.Fre);
  edFuncert_->setText(e.Funcert);
  edPow_->setText(e.Pow);
  edPuncert_->setText(e.Puncert);
  edTemp_->setText(e.Temp);
  edTuncert_->setText(e.Tuncert);
  cblErrors_->item(0)->setCheckState(e.ErrOflow ? Qt::Checked : Qt::Unchecked);
  cblErrors_->item(1)->setCheckState(e.ErrLowSignal ? Qt::Checked : Qt::Unchecked);
  edPause_->SetText(e.Pause);
  edPause_->SetPosition(e.UdPause);
  lbPath_->setText(e.MdlResPath.isEmpty() ? QStringLiteral("No path") : e.MdlResPath);
  const bool spiral = !e.Flags.NoSpiral;
  udAnim_[3]->setEnabled(spiral);
  cbMagStep_->setEnabled(spiral);
  cbReverseMag_->setEnabled(spiral);
  // However the type changed (a click, the chart closed, a setup, a remote call), the defined
  // load's entries show whether they act.
  ShowDefinedState(e.DutType == kDutDefined);
  syncing_ = false;
}

void TQzMdl::EditAndApply(const std::function<void(TMdlPresenter&)>& edit) {
  ToEntries();
  edit(m_);
  FromEntries();
  DoApply();
}

void TQzMdl::DoApply() {
  ToEntries();
  m_.Apply();
  FromEntries();
}

void TQzMdl::RecheckFre() {
  ToEntries();
  m_.RecheckFre();
  FromEntries();
}

void TQzMdl::ShowFre() { edFre_->setText(m_.Ent.Fre); }

void TQzMdl::PlaceFromEntries() {
  ApplyPlace(*this, TWindowPlace{m_.Ent.Left, m_.Ent.Top, 0, 0, m_.Ent.Visible},
             pkTop | pkLeft | pkVisible);
}

void TQzMdl::WriteStp(IniFile& ini) {
  ToEntries();
  m_.WriteStp(ini);
}

void TQzMdl::ReadStp(const IniFile& ini) {
  ToEntries();
  const QSize s = qz::Screen().Size();
  m_.LoadStp(ini, s.width(), s.height());
  FromEntries();
  PlaceFromEntries();
}

void TQzMdl::closeEvent(QCloseEvent* e) {
  e->ignore();
  hide();
}

}  // namespace qz
