#include "app/ui/ddemenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "util/hints.h"

namespace qz {

namespace {
void SetActionHint(QAction* a, const char* hint) {
  const HintParts h = SplitHint(QString::fromLatin1(hint));
  a->setToolTip(h.tooltip);
  a->setStatusTip(h.statusTip);
}
}  // namespace

TDdeMenu::TDdeMenu(QMenu* menu, TDdeItem& item, TAsker& asker)
    : QObject(menu), item_(item), asker_(asker) {
  aServer_ = menu->addAction(item_.ServerCaption());
  aServer_->setCheckable(true);
  connect(aServer_, &QAction::triggered, this, [this] {
    item_.ToggleServer();
    aServer_->setChecked(item_.On);
  });

  mDelim_ = new QMenu(menu);
  auto* group = new QActionGroup(mDelim_);
  for (int d = 0; d < kDdeDelimCount; ++d) {
    QAction* a = mDelim_->addAction(QString::fromLatin1(kDdeDelims[d].menuCaption));
    a->setCheckable(true);
    a->setData(d);
    SetActionHint(a, kDdeDelims[d].hint);
    group->addAction(a);
  }
  connect(mDelim_, &QMenu::aboutToShow, this, &TDdeMenu::DelimOpening);
  connect(mDelim_, &QMenu::triggered, this,
          [this](QAction* a) { item_.SetDelim(a->data().toInt()); });
  aDelim_ = menu->addMenu(mDelim_);
  SetActionHint(aDelim_, kDdeDelimHint);

  aWait_ = menu->addAction(item_.WaitCaption());
  SetActionHint(aWait_, kDdeWaitHint);
  connect(aWait_, &QAction::triggered, this, [this] { item_.AskWait(asker_); });

  connect(menu, &QMenu::aboutToShow, this, &TDdeMenu::MenuOpening);
  MenuOpening();
}

void TDdeMenu::MenuOpening() {
  aServer_->setText(item_.ServerCaption());
  aServer_->setChecked(item_.On);
  aDelim_->setText(item_.DelimCaption());
  aWait_->setText(item_.WaitCaption());
  aDelim_->setEnabled(item_.SubItemsEnabled());
  aWait_->setEnabled(item_.SubItemsEnabled());
}

void TDdeMenu::DelimOpening() {
  for (QAction* a : mDelim_->actions()) a->setChecked(a->data().toInt() == item_.DdeDelim);
}

}  // namespace qz
