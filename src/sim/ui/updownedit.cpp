#include "sim/ui/updownedit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "util/format.h"
#include "util/numutil.h"

namespace qz {

TUpDownEdit::TUpDownEdit(int min, int max, int increment, bool wrap, QWidget* parent)
    : QWidget(parent), min_(min), max_(max), inc_(increment), wrap_(wrap) {
  edit_ = new QLineEdit(this);
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    b->setFocusPolicy(Qt::NoFocus);
  }
  auto* arrows = new QVBoxLayout;
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  arrows->addWidget(up_);
  arrows->addWidget(down_);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  row->addWidget(edit_);
  row->addLayout(arrows);
  pos_ = ClampLowWins(0, min_, max_);
  connect(up_, &QToolButton::clicked, this, [this] { Click(+1); });
  connect(down_, &QToolButton::clicked, this, [this] { Click(-1); });
  connect(edit_, &QLineEdit::editingFinished, this, &TUpDownEdit::EditingFinished);
}

QString TUpDownEdit::Text() const { return edit_->text(); }

void TUpDownEdit::SetText(const QString& t) {
  if (edit_->text() != t) edit_->setText(t);
}

void TUpDownEdit::SetPosition(int p) { pos_ = ClampLowWins(p, min_, max_); }

void TUpDownEdit::Click(int dir) {
  int p = pos_ + dir * inc_;
  if (p > max_)
    p = wrap_ ? min_ : max_;
  else if (p < min_)
    p = wrap_ ? max_ : min_;
  pos_ = p;
  edit_->setText(Format(QStringLiteral("%d"), {pos_}));
  emit PositionClicked(pos_);
}

}  // namespace qz
