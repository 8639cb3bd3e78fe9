#include "setupdlg/ui/qzsamplform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "setupdlg/ui/setupui.h"
#include "util/asker.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"
#include "util/valueinput.h"

namespace qz {

namespace {

// "Top" and "Left" only.
constexpr TPlaceRule kSamplPlaceRule{pkTop | pkLeft, kToolWindowMargin, 0, 0, kToolWindowMargin};

QString L(const char* s) { return QString::fromLatin1(s); }

QComboBox* UnitSelector(const QString& name) {
  auto* c = new QComboBox;
  c->setObjectName(name);
  c->addItems({QStringLiteral("us"), QStringLiteral("ms"), QStringLiteral("s")});
  return c;
}

void SetTime(QLabel* value, QLabel* unit, const TTimeText& t) {
  value->setText(t.value);
  unit->setText(TimeUnitName(t.unit));
}

void SetTime(QLineEdit* value, QComboBox* unit, const TTimeText& t) {
  SetEntryText(value, t.value);
  const QSignalBlocker block(unit);
  unit->setCurrentIndex(t.unit);
}

void SetCheck(QCheckBox* c, bool on) {
  const QSignalBlocker block(c);
  c->setChecked(on);
}

}  // namespace

TQzSamplForm::TQzSamplForm(QWidget* parent) : QDialog(parent) {
  setObjectName(L(kSamplFormSection));
  setWindowTitle(L(kSamplFormCaption));
  setModal(true);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("Pages"));
  auto* cw = new QWidget;
  auto* rc = new QWidget;
  auto* pu = new QWidget;
  cw->setObjectName(QStringLiteral("tsCW"));
  rc->setObjectName(QStringLiteral("tsRectified"));
  pu->setObjectName(QStringLiteral("tsPulsed"));
  BuildCw(cw);
  BuildRect(rc);
  BuildPuls(pu);
  pages_->addTab(cw, QStringLiteral("CW"));
  pages_->addTab(rc, QStringLiteral("Rectified"));
  pages_->addTab(pu, QStringLiteral("Pulsed"));
  connect(pages_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });

  auto* help = MakeButton(this, QStringLiteral("&Help"));
  auto* cancel = MakeButton(this, QStringLiteral("&Cancel"));
  auto* refresh = MakeButton(this, QStringLiteral("&Refresh"));
  auto* apply = MakeButton(this, QStringLiteral("&Apply"));
  apply->setDefault(true);
  connect(help, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp(kSamplHelpTopic);
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(refresh, &QPushButton::clicked, this, [this] { RefreshClick(); });
  connect(apply, &QPushButton::clicked, this, [this] { ApplyClick(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(refresh);
  buttons->addWidget(apply);

  auto* top = new QVBoxLayout(this);
  top->addWidget(pages_);
  top->addWidget(BuildCommon());
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  pages_->setCurrentIndex(wfCW);
  m_.ShowAll();
  Fill();
  PageChanged();
}

void TQzSamplForm::BuildCw(QWidget* page) {
  auto* g = new QGridLayout(page);
  const QString p = QStringLiteral("cw");
  cwTime_ = AddValueRow(g, 0, p, L(kLblSamplingTime), &cwTimeU_);
  cwCount_ = AddEntryRow(g, 1, p, L(kLblSampleCount), QString());
  cwRate_ = AddEntryRow(g, 2, p, L(kLblSamplingRate), QStringLiteral("Hz"));
  cwStep_ = AddValueRow(g, 3, p, QStringLiteral("Sampling Step"), &cwStepU_);
  cwCountTime_ = AddEntryRow(g, 4, p, L(kLblCountTime), QStringLiteral("us"));
  cwWarn_ = new QLabel(QStringLiteral("Sampling Time is very long!"));
  cwWarn_->setObjectName(QStringLiteral("cwWarning"));
  cwWarn_->setStyleSheet(QStringLiteral("color: red"));
  g->addWidget(cwWarn_, 5, 0, 1, 3);
  auto* def = MakeButton(page, QStringLiteral("Defaults"));
  def->setObjectName(QStringLiteral("btCwDefaults"));
  connect(def, &QPushButton::clicked, this, [this] { DefaultsClick(wfCW); });
  g->addWidget(def, 6, 1);
  g->setRowStretch(7, 1);
}

void TQzSamplForm::BuildRect(QWidget* page) {
  auto* g = new QGridLayout(page);
  const QString p = QStringLiteral("rc");
  rcRipple_ = AddEntryRow(g, 0, p, L(kLblRippleFreq), QStringLiteral("Hz"));
  rcPeriods_ = AddEntryRow(g, 1, p, L(kLblRipplePeriods), QString());
  rcCount_ = AddEntryRow(g, 2, p, L(kLblSampleCount), QString());
  rcTime_ = AddValueRow(g, 3, p, L(kLblSamplingTime), &rcTimeU_);
  QLabel* rateUnit = nullptr;
  rcRate_ = AddValueRow(g, 4, p, L(kLblSamplingRate), &rateUnit);
  rateUnit->setText(QStringLiteral("Hz"));
  rcStep_ = AddValueRow(g, 5, p, QStringLiteral("Sampling Step"), &rcStepU_);
  rcAcc_ = AddEntryRow(g, 6, p, L(kLblAcceptLevel), QStringLiteral("%"));
  rcCountTime_ = AddEntryRow(g, 7, p, L(kLblCountTime), QStringLiteral("us"));
  rcSamples_ = MakeCheck(page, p, QStringLiteral("Send Samples"));
  g->addWidget(rcSamples_, 8, 0, 1, 2);
  auto* def = MakeButton(page, QStringLiteral("Defaults"));
  def->setObjectName(QStringLiteral("btRectDefaults"));
  connect(def, &QPushButton::clicked, this, [this] { DefaultsClick(wfRectified); });
  g->addWidget(def, 9, 1);
}

void TQzSamplForm::BuildPuls(QWidget* page) {
  auto* g = new QGridLayout(page);
  const QString p = QStringLiteral("pu");
  puTime_ = AddEntryRow(g, 0, p, L(kLblSamplingTime), QString());
  puTimeU_ = UnitSelector(QStringLiteral("puSamplingTimeUnit"));
  g->addWidget(puTimeU_, 0, 2);
  puCount_ = AddEntryRow(g, 1, p, L(kLblSampleCount), QString());
  puMax_ = AddEntryRow(g, 2, p, L(kLblMaxPeriod), QString());
  puMaxU_ = UnitSelector(QStringLiteral("puMaxPeriodUnit"));
  g->addWidget(puMaxU_, 2, 2);
  QLabel* rateUnit = nullptr;
  puRate_ = AddValueRow(g, 3, p, L(kLblSamplingRate), &rateUnit);
  rateUnit->setText(QStringLiteral("Hz"));
  puStep_ = AddValueRow(g, 4, p, QStringLiteral("Sampling Step"), &puStepU_);
  puAcc_ = AddEntryRow(g, 5, p, L(kLblAcceptLevel), QStringLiteral("%"));
  puCountTime_ = AddEntryRow(g, 6, p, L(kLblCountTime), QStringLiteral("us"));
  puSamples_ = MakeCheck(page, p, QStringLiteral("Send Samples"));
  g->addWidget(puSamples_, 7, 0, 1, 2);
  auto* def = MakeButton(page, QStringLiteral("Defaults"));
  def->setObjectName(QStringLiteral("btPulsDefaults"));
  connect(def, &QPushButton::clicked, this, [this] { DefaultsClick(wfPulsed); });
  g->addWidget(def, 8, 1);
}

QWidget* TQzSamplForm::BuildCommon() {
  auto* box = new QGroupBox;
  box->setObjectName(QStringLiteral("gbCommon"));
  auto* g = new QGridLayout(box);
  trgLevel_ = AddEntryRow(g, 0, QString(), L(kLblTrigLevel), QStringLiteral("%"),
                          QStringLiteral("Triggering level (%)|"));
  preTrig_ = AddEntryRow(g, 1, QString(), L(kLblPreTrig), QString(),
                         QStringLiteral("Number of pre-trigger points to display|"));
  freeRun_ = MakeCheck(box, QString(), QStringLiteral("Free Run"),
                       QStringLiteral("Measure without triggering|"));
  counterOn_ = MakeCheck(box, QString(), QStringLiteral("Counter ON"),
                         QStringLiteral("Enable/disable Quzar internal frequency counter|"));
  singleShot_ = MakeCheck(box, QString(), QStringLiteral("Single-Shot"),
                          QStringLiteral("Individual samples sent once, then Quzar is stopped|"));
  g->addWidget(freeRun_, 0, 3);
  g->addWidget(counterOn_, 1, 3);
  g->addWidget(singleShot_, 2, 3);
  return box;
}

void TQzSamplForm::AssignPointers(TFixPar* fpar, TVarPar* vpar, TTrgMethod* trgMeth,
                                  std::function<bool()> oneShotGet,
                                  std::function<void(bool)> oneShotSet, int32_t* pretrg,
                                  TPulsed* puls, TRectif* rect) {
  fPFix = fpar;
  fPVar = vpar;
  fPTrgMethod = trgMeth;
  oneShotGet_ = std::move(oneShotGet);
  oneShotSet_ = std::move(oneShotSet);
  fPPretrg = pretrg;
  fPPuls = puls;
  fPRect = rect;
}

int TQzSamplForm::ActivePage() const { return pages_->currentIndex(); }

void TQzSamplForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (e->spontaneous()) return;
  if (fPFix && fPVar && fPRect && fPPuls) {
    m_.Take(*fPFix, *fPVar, *fPRect, *fPPuls, fPPretrg ? *fPPretrg : 0,
            oneShotGet_ ? oneShotGet_() : false, fPTrgMethod ? *fPTrgMethod : 0);
  }
  {
    const QSignalBlocker block(pages_);
    pages_->setCurrentIndex(m_.MyVar.Waveform <= wfPulsed ? int(m_.MyVar.Waveform) : 0);
  }
  Fill();
  PageChanged();
}

void TQzSamplForm::Fill() {
  const TSamplView& v = m_.View;
  SetTime(cwTime_, cwTimeU_, v.cwTime);
  SetEntryText(cwCount_, v.cwCount);
  SetEntryText(cwRate_, v.cwRate);
  SetTime(cwStep_, cwStepU_, v.cwStep);
  SetEntryText(cwCountTime_, v.cwCountTime);
  cwWarn_->setVisible(v.cwTooLong);

  SetEntryText(rcRipple_, v.rcRippleFreq);
  SetEntryText(rcPeriods_, v.rcPeriods);
  SetEntryText(rcCount_, v.rcCount);
  SetTime(rcTime_, rcTimeU_, v.rcTime);
  rcRate_->setText(v.rcRate);
  SetTime(rcStep_, rcStepU_, v.rcStep);
  SetEntryText(rcAcc_, v.rcAccLvl);
  SetEntryText(rcCountTime_, v.rcCountTime);
  SetCheck(rcSamples_, v.rcSamples);

  SetTime(puTime_, puTimeU_, v.puTime);
  SetEntryText(puCount_, v.puCount);
  SetTime(puMax_, puMaxU_, v.puMaxPeriod);
  puRate_->setText(v.puRate);
  SetTime(puStep_, puStepU_, v.puStep);
  SetEntryText(puAcc_, v.puAccLvl);
  SetEntryText(puCountTime_, v.puCountTime);
  SetCheck(puSamples_, v.puSamples);

  SetCheck(freeRun_, v.freeRun);
  SetEntryText(trgLevel_, v.trgLevel);
  SetEntryText(preTrig_, v.preTrig);
  SetCheck(counterOn_, v.counterOn);
  SetCheck(singleShot_, v.singleShot);
}

TSamplView TQzSamplForm::Entries() const {
  TSamplView v = m_.View;
  v.cwCount = cwCount_->text();
  v.cwRate = cwRate_->text();
  v.cwCountTime = cwCountTime_->text();
  v.rcRippleFreq = rcRipple_->text();
  v.rcPeriods = rcPeriods_->text();
  v.rcCount = rcCount_->text();
  v.rcAccLvl = rcAcc_->text();
  v.rcCountTime = rcCountTime_->text();
  v.rcSamples = rcSamples_->isChecked();
  v.puTime = {puTime_->text(), puTimeU_->currentIndex()};
  v.puCount = puCount_->text();
  v.puMaxPeriod = {puMax_->text(), puMaxU_->currentIndex()};
  v.puAccLvl = puAcc_->text();
  v.puCountTime = puCountTime_->text();
  v.puSamples = puSamples_->isChecked();
  v.freeRun = freeRun_->isChecked();
  v.trgLevel = trgLevel_->text();
  v.preTrig = preTrig_->text();
  v.counterOn = counterOn_->isChecked();
  v.singleShot = singleShot_->isChecked();
  return v;
}

void TQzSamplForm::PageChanged() {
  // Triggering and single-shot sending belong to the block waveforms.
  const bool block = ActivePage() != wfCW;
  for (QLineEdit* e : {trgLevel_, preTrig_}) {
    e->setEnabled(block);
    SetInputColour(e, block);
  }
  freeRun_->setEnabled(block);
  singleShot_->setEnabled(block);
}

void TQzSamplForm::ReportErrors() {
  if (m_.error_str.isEmpty()) return;
  Asker().MessageBox(SamplErrorText(m_.error_str), TMsgType::Error, mbOK);
}

void TQzSamplForm::RefreshClick() {
  m_.Read(ActivePage(), Entries());
  Fill();
  ReportErrors();
}

void TQzSamplForm::ApplyClick() {
  RefreshClick();
  if (fPFix && fPVar && fPRect && fPPuls) {
    int32_t pre = fPPretrg ? *fPPretrg : 0;
    bool oneShot = false;
    TTrgMethod trg = fPTrgMethod ? *fPTrgMethod : 0;
    m_.WriteBack(*fPFix, *fPVar, *fPRect, *fPPuls, pre, oneShot, trg);
    if (fPPretrg) *fPPretrg = pre;
    if (oneShotSet_) oneShotSet_(oneShot);
    if (fPTrgMethod) *fPTrgMethod = trg;
  }
  accept();
}

void TQzSamplForm::DefaultsClick(int page) {
  if (!AskYesNo(SamplDefaultsQuestion(page))) return;
  m_.Defaults(page);
  Fill();
}

void TQzSamplForm::WriteStp(IniFile& ini) const {
  const QString section = L(kSamplFormSection);
  for (const QString& s : ini.ReadSections())
    if (s.compare(section, Qt::CaseInsensitive) == 0) ini.EraseSection(s);
  WriteWindowPlace(ini, section, *this, kSamplPlaceRule);
}

void TQzSamplForm::ReadStp(const IniFile& ini) { ReadStp(ini, Screen()); }

void TQzSamplForm::ReadStp(const IniFile& ini, const TScreenService& screen) {
  ReadWindowPlace(ini, L(kSamplFormSection), *this, kSamplPlaceRule, screen);
}

}  // namespace qz
