#include "setupdlg/ui/txtimingform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "comm/qzcmd.h"
#include "setupdlg/ui/setupui.h"
#include "util/inifile.h"
#include "util/ui/screen.h"
#include "util/ui/windowplace.h"
#include "util/valueinput.h"

namespace qz {

namespace {

constexpr TPlaceRule kTxWriteRule{pkVisible | pkTop | pkLeft, kToolWindowMargin, 0, 0,
                                  kToolWindowMargin};
constexpr TPlaceRule kTxReadRule{pkTop | pkLeft, kToolWindowMargin, 0, 0, kToolWindowMargin};

}  // namespace

TTxTimingForm::TTxTimingForm(TQzCmd& cmd, QWidget* parent) : QDialog(parent), cmd_(cmd) {
  setObjectName(QString::fromLatin1(kTxTimingSection));
  setWindowTitle(QStringLiteral("TX Timing"));
  setModal(true);

  auto* per = new QGroupBox(QStringLiteral("PERIODICITY"));
  per->setObjectName(QStringLiteral("gbPeriodicity"));
  auto* g = new QGridLayout(per);
  const QString ms = QStringLiteral("ms");
  on_ = AddEntryRow(g, 0, QStringLiteral("ed"), QStringLiteral("Measurement:"), ms,
                    QStringLiteral("Quzar measurement period|"));
  tx_ = AddEntryRow(g, 1, QStringLiteral("ed"), QStringLiteral("Results Refresh:"), ms,
                    QStringLiteral("Results sending period|"));
  mot_ = AddEntryRow(g, 2, QStringLiteral("ed"), QStringLiteral("Motors Refresh:"), ms,
                     QStringLiteral("Motor Data sending period|"));

  mask_ = new QGroupBox;
  mask_->setObjectName(QStringLiteral("gbMask"));
  auto* mv = new QVBoxLayout(mask_);
  ready_ = MakeCheck(mask_, QStringLiteral("cb"), QStringLiteral("Results Ready"));
  refresh_ = MakeCheck(mask_, QStringLiteral("cb"), QStringLiteral("Results Refresh"));
  motors_ = MakeCheck(mask_, QStringLiteral("cb"), QStringLiteral("Motors Refresh"));
  for (QCheckBox* c : {ready_, refresh_, motors_}) {
    mv->addWidget(c);
    connect(c, &QCheckBox::clicked, this, [this] { MaskClicked(); });
  }

  auto* help = MakeButton(this, QStringLiteral("&Help"));
  auto* defaults = MakeButton(this, QStringLiteral("&Defaults"));
  auto* cancel = MakeButton(this, QStringLiteral("&Cancel"));
  auto* apply = MakeButton(this, QStringLiteral("&Apply"));
  apply->setDefault(true);
  connect(help, &QPushButton::clicked, this, [this] {
    if (OnHelp) OnHelp(kTxTimingHelpTopic);
  });
  connect(defaults, &QPushButton::clicked, this, [this] { DefaultsClick(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply, &QPushButton::clicked, this, [this] { ApplyClick(); });
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {help, defaults, cancel, apply}) buttons->addWidget(b);

  auto* top = new QVBoxLayout(this);
  top->addWidget(per);
  top->addWidget(mask_);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);
  PrevezmiNapln();
}

void TTxTimingForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) PrevezmiNapln();
}

void TTxTimingForm::PrevezmiNapln() {
  m_.PrevezmiNapln(cmd_.Qv());
  Fill();
}

void TTxTimingForm::Fill() {
  const TTxTimingView v = m_.View();
  SetEntryText(on_, v.onPeriod);
  SetEntryText(tx_, v.txPeriod);
  SetEntryText(mot_, v.motPeriod);
  for (auto [c, on] : {std::pair{ready_, v.resultsReady}, std::pair{refresh_, v.resultsRefresh},
                       std::pair{motors_, v.motorsRefresh}}) {
    const QSignalBlocker block(c);
    c->setChecked(on);
  }
  mask_->setTitle(TxMaskCaption(m_.Mstp.TxMask));
}

TTxTimingView TTxTimingForm::Entries() const {
  return {on_->text(),         tx_->text(),           mot_->text(),
          ready_->isChecked(), refresh_->isChecked(), motors_->isChecked()};
}

void TTxTimingForm::MaskClicked() {
  mask_->setTitle(
      TxMaskCaption(MaskOfBoxes(ready_->isChecked(), refresh_->isChecked(), motors_->isChecked())));
}

void TTxTimingForm::ApplyClick() {
  m_.Apply(cmd_, Entries());
  Fill();
  accept();
}

void TTxTimingForm::DefaultsClick() {
  if (!AskYesNo(QString::fromLatin1(kMeaStpDefaultsQuestion))) return;
  m_.Defaults();
  Fill();
}

void TTxTimingForm::WriteStp(IniFile& ini) const {
  WriteWindowPlace(ini, QString::fromLatin1(kTxTimingSection), *this, kTxWriteRule);
}

void TTxTimingForm::ReadStp(const IniFile& ini) { ReadStp(ini, Screen()); }

void TTxTimingForm::ReadStp(const IniFile& ini, const TScreenService& screen) {
  ReadWindowPlace(ini, QString::fromLatin1(kTxTimingSection), *this, kTxReadRule, screen);
}

}  // namespace qz
