#include "setupdlg/ui/mstpform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "comm/qzcmd.h"
#include "core/qvwin.h"
#include "setupdlg/txtimingedit.h"
#include "setupdlg/ui/setupui.h"
#include "util/asker.h"
#include "util/format.h"
#include "util/inifile.h"
#include "util/ui/panels.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"
#include "util/valueinput.h"

namespace qz {

namespace {

QLabel* ValueLabel(const QString& name, const QString& hint) {
  auto* l = new QLabel;
  l->setObjectName(name);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("...to refresh ")));
  if (!hint.isEmpty()) SetHint(l, hint);
  return l;
}

void SetCheck(QCheckBox* c, bool on) {
  const QSignalBlocker block(c);
  c->setChecked(on);
}

void SelectItem(QButtonGroup* g, int item) {
  if (QAbstractButton* b = g->button(item)) {
    const QSignalBlocker block(g);
    b->setChecked(true);
  }
}

}  // namespace

TMstpForm::TMstpForm(TQzCmd& cmd, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), cmd_(cmd) {
  setObjectName(QString::fromLatin1(kMstpSection));
  setWindowTitle(QStringLiteral("CW Measurement Setup"));
  const QString ms = QStringLiteral("ms");
  const QString s = QStringLiteral("s");

  // SIGNAL
  auto* sig = new QGroupBox(QStringLiteral("SIGNAL"));
  sig->setObjectName(QStringLiteral("gbSignal"));
  auto* sg = new QGridLayout(sig);
  onPer_ = AddEntryRow(sg, 0, QStringLiteral("edSignal"), QStringLiteral("Period:"), ms,
                       QStringLiteral("Time betweeen two signal measurements|"));
  onRngBox_ = new QGroupBox(QStringLiteral("Range"));
  onRngBox_->setObjectName(QStringLiteral("rgSignalRange"));
  SetHint(onRngBox_, QStringLiteral("ADC range for signal|"));
  new QVBoxLayout(onRngBox_);
  onRng_ = new QButtonGroup(this);
  sg->addWidget(onRngBox_, 1, 0, 1, 3);
  method_ = new QLabel(QStringLiteral("Method:"));
  method_->setObjectName(QStringLiteral("lbMethod"));
  SetHint(method_, QStringLiteral("Signal and Ofset handling|"));
  methodName_ = new QLabel;
  methodName_->setObjectName(QStringLiteral("lbMethodName"));
  SetHint(methodName_, QStringLiteral("Click to change|"));
  sg->addWidget(method_, 2, 0);
  sg->addWidget(methodName_, 2, 1);
  method_->hide();
  methodName_->hide();

  // OFFSET
  auto* ofs = new QGroupBox(QStringLiteral("OFFSET"));
  ofs->setObjectName(QStringLiteral("gbOffset"));
  auto* og = new QGridLayout(ofs);
  ofsPer_ = AddEntryRow(og, 0, QStringLiteral("edOffset"), QStringLiteral("Period:"), s,
                        QStringLiteral("Time betweeen two offset measurements|"));
  connect(ofsPer_, &QLineEdit::textEdited, this, [this] { OfsPeriodChanged(); });
  ofsRngBox_ = new QGroupBox(QStringLiteral("Range"));
  ofsRngBox_->setObjectName(QStringLiteral("rgOffsetRange"));
  SetHint(ofsRngBox_, QStringLiteral("ADC range for offset|"));
  new QVBoxLayout(ofsRngBox_);
  ofsRng_ = new QButtonGroup(this);
  og->addWidget(ofsRngBox_, 1, 0, 1, 3);
  ofsEqual_ = MakeCheck(ofs, QStringLiteral("cb"), QStringLiteral("Range as Signal "),
                        QStringLiteral("Offset range = last signal range|"));
  connect(ofsEqual_, &QCheckBox::clicked, this, [this] { OfsPeriodChanged(); });
  og->addWidget(ofsEqual_, 2, 0, 1, 3);

  // FREQUENCY
  auto* fre = new QGroupBox(QStringLiteral("FREQUENCY"));
  fre->setObjectName(QStringLiteral("gbFrequency"));
  auto* fg = new QGridLayout(fre);
  fPer_ = AddEntryRow(fg, 0, QStringLiteral("edFrequency"), QStringLiteral("Period:"), ms,
                      QStringLiteral("Time between two frequency measurements|"));
  tcount_ = AddEntryRow(fg, 1, QStringLiteral("ed"), QStringLiteral("Count Time CW (us):"),
                        QString(), QStringLiteral("Counter gating time| for CW mode|"));
  auto* recCap = new QLabel(QStringLiteral("Recommended Min:"));
  SetHint(recCap, QStringLiteral("...to achieve good accuracy|"));
  recMin_ = ValueLabel(QStringLiteral("lbRecommendedMin"), QString());
  fg->addWidget(recCap, 2, 0);
  fg->addWidget(recMin_, 2, 1);
  counterOn_ = MakeCheck(fre, QStringLiteral("cb"), QStringLiteral("Counter ON"),
                         QStringLiteral("Enable/disable frequency counter|"));
  fg->addWidget(counterOn_, 3, 0, 1, 3);

  // TEMPERATURE
  auto* tmp = new QGroupBox(QStringLiteral("TEMPERATURE"));
  tmp->setObjectName(QStringLiteral("gbTemperature"));
  auto* tg = new QGridLayout(tmp);
  tPer_ = AddEntryRow(tg, 0, QStringLiteral("edTemperature"), QStringLiteral("Period:"), s,
                      QStringLiteral("Time betweeen two temperature measurements|"));
  trpt_ = AddEntryRow(tg, 1, QStringLiteral("ed"), QStringLiteral("Avrg:"), QString(),
                      QStringLiteral("Temperature averaging|"));

  // SAMPLING
  auto* smp = new QGroupBox(QStringLiteral("SAMPLING"));
  smp->setObjectName(QStringLiteral("gbSampling"));
  auto* pg = new QGridLayout(smp);
  vrpt_ = AddEntryRow(pg, 0, QStringLiteral("ed"), QStringLiteral("Nsampl:"), QString(),
                      QStringLiteral("Sample count for one measurement|"));
  fsampl_ = AddEntryRow(pg, 1, QStringLiteral("ed"), QStringLiteral("Fsampl:"),
                        QStringLiteral("Hz"), QStringLiteral("Sampling frequency|"));
  connect(vrpt_, &QLineEdit::textEdited, this, [this] { SamplingEdited(); });
  connect(fsampl_, &QLineEdit::textEdited, this, [this] { SamplingEdited(); });
  auto* timeCap = new QLabel(QStringLiteral("Time:"));
  SetHint(timeCap, QStringLiteral("Sampling time = Avrg/Fsampl|"));
  auto* stepCap = new QLabel(QStringLiteral("Step:"));
  SetHint(stepCap, QStringLiteral("Time between two samples = 1/Fsampl|"));
  time_ = ValueLabel(QStringLiteral("lbSamplingTime"), QStringLiteral("Click to refresh|"));
  step_ = ValueLabel(QStringLiteral("lbSamplingStep"), QStringLiteral("Click to refresh|"));
  time_->installEventFilter(this);
  step_->installEventFilter(this);
  pg->addWidget(timeCap, 2, 0);
  pg->addWidget(time_, 2, 1, 1, 2);
  pg->addWidget(stepCap, 3, 0);
  pg->addWidget(step_, 3, 1, 1, 2);

  // SEND PERIOD
  auto* snd = new QGroupBox(QStringLiteral("SEND PERIOD"));
  snd->setObjectName(QStringLiteral("gbSendPeriod"));
  auto* ng = new QGridLayout(snd);
  txPer_ = AddEntryRow(ng, 0, QStringLiteral("ed"), QStringLiteral("Results:"), ms,
                       QStringLiteral("Results sending period|"));
  motPer_ = AddEntryRow(ng, 1, QStringLiteral("ed"), QStringLiteral("Motors:"), ms,
                        QStringLiteral("Motor Data sending period|"));

  // SEND EVENT MASK
  mask_ = new QGroupBox(QStringLiteral("SEND EVENT MASK"));
  mask_->setObjectName(QStringLiteral("gbMask"));
  auto* mg = new QGridLayout(mask_);
  const char* const names[3] = {"Results Ready", "Result Time", "Motors Time"};
  for (int i = 0; i < 8; ++i) {
    const QString cap = i < 3 ? QString::fromLatin1(names[i]) : QStringLiteral("(not used)");
    maskBox_[i] = new QCheckBox(cap, mask_);
    maskBox_[i]->setObjectName(QStringLiteral("cbMask") + QString::number(i));
    maskBox_[i]->setEnabled(i < 3);
    connect(maskBox_[i], &QCheckBox::clicked, this, [this] { MaskClicked(); });
    mg->addWidget(maskBox_[i], i % 4, i / 4);
  }

  // Buttons
  auto* apply = MakeButton(this, QStringLiteral("&Apply"));
  apply->setDefault(true);
  auto* help = MakeButton(this, QStringLiteral("&Help"));
  auto* defaults = MakeButton(this, QStringLiteral("&Defaults"));
  auto* close = MakeButton(this, QStringLiteral("&Close"));
  connect(apply, &QPushButton::clicked, this, [this] { ApplyClick(); });
  connect(help, &QPushButton::clicked, this, [this] { HelpClick(); });
  connect(defaults, &QPushButton::clicked, this, [this] { DefaultsClick(); });
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {apply, help, defaults, close}) buttons->addWidget(b);

  auto* left = new QVBoxLayout;
  left->addWidget(sig);
  left->addWidget(ofs);
  left->addStretch();
  auto* mid = new QVBoxLayout;
  mid->addWidget(fre);
  mid->addWidget(tmp);
  mid->addWidget(smp);
  mid->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(snd);
  right->addWidget(mask_);
  right->addStretch();
  auto* cols = new QHBoxLayout;
  cols->addLayout(left);
  cols->addLayout(mid);
  cols->addLayout(right);
  auto* top = new QVBoxLayout(this);
  top->addLayout(cols);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);
}

void TMstpForm::BuildRangeItems() {
  if (m_.RngCreated) return;
  m_.EnsureRanges(cmd_);
  for (auto [box, group, prefix] : {std::tuple{onRngBox_, onRng_, QStringLiteral("rbSignal")},
                                    std::tuple{ofsRngBox_, ofsRng_, QStringLiteral("rbOffset")}}) {
    for (int i = 0; i < m_.RangeItems.size(); ++i) {
      auto* b = new QRadioButton(m_.RangeItems[i], box);
      b->setObjectName(prefix + QString::number(i));
      box->layout()->addWidget(b);
      group->addButton(b, i);
    }
  }
}

void TMstpForm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (e->spontaneous()) return;
  BuildRangeItems();
  PrevezmiNapln();
}

void TMstpForm::PrevezmiNapln() {
  m_.PrevezmiNapln(cmd_.Qv());
  Fill();
}

void TMstpForm::Fill() {
  const TMstpView v = m_.View();
  recMin_->setText(Format(QStringLiteral("%d us"), {cmd_.Qv().GetTcountMinRecommended_us()}));
  SetHint(recMin_, QStringLiteral("For max. counting error 4 ppm"));
  SetEntryText(onPer_, v.onPeriod);
  SetEntryText(ofsPer_, v.ofsPeriod);
  SetEntryText(fPer_, v.fPeriod);
  SetEntryText(tPer_, v.tPeriod);
  SetEntryText(txPer_, v.txPeriod);
  SetCheck(maskBox_[0], v.resultsReady);
  SetCheck(maskBox_[1], v.resultTime);
  SetCheck(maskBox_[2], v.motorsTime);
  SetCheck(maskBox_[3], v.spare);
  mask_->setTitle(MstpMaskCaption(m_.Mstp.TxMask));
  SelectItem(onRng_, v.onItem);
  SelectItem(ofsRng_, v.ofsItem);
  SetCheck(ofsEqual_, v.ofsEqual);
  methodName_->setText(AkoMethodName(m_.Mstp.AkoOnOff));
  ofsRngBox_->setEnabled(!v.ofsEqual);
  SetCheck(counterOn_, v.counterOn);
  SetEntryText(vrpt_, v.vrpt);
  SetEntryText(trpt_, v.trpt);
  SetEntryText(tcount_, v.tcount);
  SetEntryText(fsampl_, v.fsampl);
  SetEntryText(motPer_, v.motPeriod);
  FillSamplingLabels(SamplingLabels(m_.VPar.Vrpt, m_.VPar.FsamplCw));
}

void TMstpForm::FillSamplingLabels(const TSamplingLabels& l) {
  time_->setText(l.time);
  step_->setText(l.step);
}

TMstpView TMstpForm::Entries() const {
  TMstpView v;
  v.onPeriod = onPer_->text();
  v.ofsPeriod = ofsPer_->text();
  v.fPeriod = fPer_->text();
  v.tPeriod = tPer_->text();
  v.txPeriod = txPer_->text();
  v.motPeriod = motPer_->text();
  v.onItem = onRng_->checkedId();
  v.ofsItem = ofsRng_->checkedId();
  v.ofsEqual = ofsEqual_->isChecked();
  v.resultsReady = maskBox_[0]->isChecked();
  v.resultTime = maskBox_[1]->isChecked();
  v.motorsTime = maskBox_[2]->isChecked();
  v.spare = maskBox_[3]->isChecked();
  v.vrpt = vrpt_->text();
  v.trpt = trpt_->text();
  v.tcount = tcount_->text();
  v.fsampl = fsampl_->text();
  v.counterOn = counterOn_->isChecked();
  return v;
}

void TMstpForm::MaskClicked() {
  mask_->setTitle(MstpMaskCaption(
      MaskOfBoxes(maskBox_[0]->isChecked(), maskBox_[1]->isChecked(), maskBox_[2]->isChecked())));
}

void TMstpForm::OfsPeriodChanged() {
  SetEntryText(ofsPer_, m_.CheckOfsPeriod(ofsPer_->text()));
  ofsRngBox_->setEnabled(!ofsEqual_->isChecked());
}

void TMstpForm::SamplingEdited() {
  FillSamplingLabels({QString::fromLatin1(kClickHere), QString::fromLatin1(kToRefresh)});
}

void TMstpForm::SamplingLabelClick() {
  const TMstpEdit::TSamplingRefresh r = m_.RefreshSampling(vrpt_->text(), fsampl_->text());
  SetEntryText(vrpt_, r.vrpt);
  SetEntryText(fsampl_, r.fsampl);
  FillSamplingLabels(r.labels);
}

bool TMstpForm::eventFilter(QObject* obj, QEvent* e) {
  if ((obj == time_ || obj == step_) && e->type() == QEvent::MouseButtonRelease) {
    SamplingLabelClick();
    return true;
  }
  return QWidget::eventFilter(obj, e);
}

void TMstpForm::ApplyClick() {
  m_.Apply(cmd_, Entries());
  Fill();
}

void TMstpForm::DefaultsClick() {
  if (!AskYesNo(QString::fromLatin1(kMeaStpDefaultsQuestion))) return;
  m_.Defaults();
  Fill();
}

void TMstpForm::HelpClick() {
  Asker().MessageBox(QStringLiteral("Info: Help cancelled"), TMsgType::Information, mbOK);
}

void TMstpForm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kMstpSection), *this, kToolPlaceRule);
}

void TMstpForm::ReadStp(const IniFile& ini) { ReadStp(ini, Screen()); }

void TMstpForm::ReadStp(const IniFile& ini, const TScreenService& screen) {
  // A window that shows itself now gets its range buttons and values first: they change its
  // fixed size, and a size changed after the place is given would lift it by its title bar.
  const QString section = QString::fromLatin1(kMstpSection);
  const QSize s = screen.Size();
  if (ReadPlace(ini, section, CurrentPlace(*this), kToolPlaceRule, s.width(), s.height()).visible) {
    BuildRangeItems();
    PrevezmiNapln();
  }
  ReadWindowPlace(ini, section, *this, kToolPlaceRule, screen);
}

}  // namespace qz
