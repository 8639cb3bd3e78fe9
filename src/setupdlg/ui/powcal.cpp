#include "setupdlg/ui/powcal.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "setupdlg/ui/setupui.h"
#include "util/asker.h"
#include "util/ui/panels.h"

namespace qz {

namespace {

QLabel* Display(const QString& name, const QString& hint) {
  QLabel* l = MakePanel(nullptr);
  l->setObjectName(name);
  SizeForChars(l, 9);
  if (!hint.isEmpty()) SetHint(l, hint);
  return l;
}

}  // namespace

TPowCal::TPowCal(TQzCmd& cmd, QWidget* parent, TAsker* asker)
    : QDialog(parent), m_(cmd), asker_(asker) {
  setObjectName(QString::fromLatin1(kPowCalName));
  setWindowTitle(QString::fromLatin1(kPowCalCaption));
  setModal(true);

  auto* mult = new QGroupBox(QStringLiteral("CAL Factor Multiplier"));
  mult->setObjectName(QStringLiteral("gbMultiplier"));
  auto* mg = new QGridLayout(mult);
  rbLin_ = new QRadioButton(QStringLiteral("Lin"));
  rbLin_->setObjectName(QStringLiteral("rbLin"));
  rbDb_ = new QRadioButton(QStringLiteral("dB"));
  rbDb_->setObjectName(QStringLiteral("rbDb"));
  rbLin_->setChecked(true);
  lbMult_ = Display(QStringLiteral("lbMultiplier"), QStringLiteral("Click Modify to change|"));
  auto* modify = MakeButton(this, QStringLiteral("&Modify"));
  SetHint(modify, QStringLiteral("Change the Multiplier|"));
  mg->addWidget(rbLin_, 0, 0);
  mg->addWidget(rbDb_, 1, 0);
  mg->addWidget(lbMult_, 0, 1);
  mg->addWidget(modify, 1, 1);

  auto* fact = new QGroupBox(QStringLiteral("Lin CAL Factor"));
  fact->setObjectName(QStringLiteral("gbFactor"));
  auto* fg = new QGridLayout(fact);
  const QString restoreHint = QStringLiteral("Click Restore to return to factory setting|");
  lbCurrent_ = Display(QStringLiteral("lbCurrent"), restoreHint);
  lbNew_ = Display(QStringLiteral("lbNew"), restoreHint);
  auto* write = MakeButton(this, QStringLiteral("&Write"));
  SetHint(write, QStringLiteral("Write new CAL factor to memory|"));
  write->setAutoDefault(true);
  write->setDefault(true);
  auto* restore = MakeButton(this, QStringLiteral("Restore"));
  SetHint(restore, QStringLiteral("Return CAL factor to 1|"));
  fg->addWidget(new QLabel(QStringLiteral("Current:")), 0, 0);
  fg->addWidget(lbCurrent_, 0, 1);
  fg->addWidget(new QLabel(QStringLiteral("New:")), 1, 0);
  fg->addWidget(lbNew_, 1, 1);
  fg->addWidget(write, 2, 0);
  fg->addWidget(restore, 2, 1);

  auto* help = MakeButton(this, QStringLiteral("&Help"));
  auto* cancel = MakeButton(this, QStringLiteral("Cancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(cancel);

  auto* top = new QVBoxLayout(this);
  top->addWidget(mult);
  top->addWidget(fact);
  top->addLayout(buttons);
  top->setSizeConstraint(QLayout::SetFixedSize);

  connect(rbLin_, &QRadioButton::toggled, this, [this](bool on) { LinClick(on); });
  connect(modify, &QPushButton::clicked, this, [this] { ModifyClick(); });
  connect(write, &QPushButton::clicked, this, [this] { WriteClick(); });
  connect(restore, &QPushButton::clicked, this, [this] { RestoreClick(); });
  connect(help, &QPushButton::clicked, this, [this] { HelpClick(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

TAsker& TPowCal::Ask() const { return asker_ ? *asker_ : Asker(); }

void TPowCal::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Once per showing, never at a mere re-activation: the Write question's box activates the
  // dialog again when it closes, and the multiplier the operator confirmed must survive it.
  if (e->spontaneous()) return;
  m_.Lin = rbLin_->isChecked();
  m_.Activate();
  Fill();
}

void TPowCal::Fill() {
  SetText(lbMult_, m_.MultText());
  SetText(lbCurrent_, m_.CurrentText());
  SetText(lbNew_, m_.NewText());
}

void TPowCal::LinClick(bool lin) {
  m_.Lin = lin;
  SetText(lbMult_, m_.MultText());
}

void TPowCal::ModifyClick() {
  m_.Modify(Ask());
  Fill();
}

void TPowCal::WriteClick() {
  if (m_.Write(Ask())) accept();
}

void TPowCal::RestoreClick() {
  if (m_.Restore(Ask())) accept();
}

void TPowCal::HelpClick() {
  if (OnHelp) OnHelp(kPowCalHelpTopic);
}

void TPowCal::reject() {
  // Only a dialog that was shown (and so activated) has a factor of its opening.
  if (isVisible()) m_.Cancel();
  QDialog::reject();
}

QString TPowCal::MultText() const { return lbMult_->text(); }
QString TPowCal::CurrentText() const { return lbCurrent_->text(); }
QString TPowCal::NewText() const { return lbNew_->text(); }

}  // namespace qz
