#include "app/ui/windowlist.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

#include "app/ui/menurules.h"

namespace qz {

QString WindowListText(int number, const QString& caption) {
  // A caption's own '&' is shown, not taken for a letter.
  QString text = caption;
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  const QString n = QString::number(number);
  return (number <= 9 ? QStringLiteral("&") + n : n) + QLatin1Char(' ') + text;
}

TWindowList::TWindowList(QMenu* menu, QMdiArea* area) : QObject(menu), menu_(menu), area_(area) {
  connect(menu, &QMenu::aboutToShow, this, &TWindowList::Refresh);
}

void TWindowList::Refresh() {
  for (QAction* a : items_) delete a;
  items_.clear();
  const QList<QMdiSubWindow*> subs = area_->subWindowList(QMdiArea::CreationOrder);
  if (!sep_) {
    sep_ = menu_->addSeparator();
    SetStaysEnabledInRun(sep_);
  }
  sep_->setVisible(!subs.isEmpty());
  QMdiSubWindow* current = area_->currentSubWindow();
  int number = 0;
  for (QMdiSubWindow* sub : subs) {
    const QString caption = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
    QAction* a = menu_->addAction(WindowListText(++number, caption));
    a->setCheckable(true);
    a->setChecked(sub == current);
    a->setStatusTip(QStringLiteral("Activate this Display Window"));
    // Going to another window does not disturb a run.
    SetStaysEnabledInRun(a);
    QPointer<QMdiSubWindow> target = sub;
    QMdiArea* area = area_;
    connect(a, &QAction::triggered, this, [target, area] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      area->setActiveSubWindow(target);
      if (QWidget* w = target->widget()) w->setFocus();
    });
    items_.append(a);
  }
}

}  // namespace qz
