#include "app/ui/aboutbox.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace qz {

namespace {
QLabel* Line(QWidget* parent, QVBoxLayout* lay, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lay->addWidget(l);
  return l;
}
}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  // The box takes the size of its texts.
  lay->setSizeConstraint(QLayout::SetFixedSize);
  program_ = Line(this, lay, "ProductName");
  QFont big = program_->font();
  big.setBold(true);
  program_->setFont(big);
  file_ = Line(this, lay, "ProgramFile");
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  lay->addWidget(rule);
  unit_ = Line(this, lay, "UnitInfo");
  descr_ = Line(this, lay, "Comments");
  legal_ = Line(this, lay, "Copyright");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  lay->addWidget(buttons);
}

void TAboutBox::Napln(const TAboutStrings& s) {
  setWindowTitle(s.title);
  program_->setText(s.program);
  file_->setText(s.programFile);
  // The unit's two lines are separated by CR LF.
  QString unit = s.unit;
  unit.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  unit_->setText(unit);
  descr_->setText(s.description);
  legal_->setText(s.legalNotice);
  adjustSize();
}

}  // namespace qz
