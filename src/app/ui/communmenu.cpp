#include "app/ui/communmenu.h"

#include <QAction>
#include <QMenu>

#include "app/ui/helprequests.h"
#include "comm/dlgcomportmodel.h"
#include "comm/t232.h"
#include "comm/ui/dlgcomport.h"
#include "util/asker.h"
#include "util/hints.h"
#include "util/ui/dialogparent.h"

namespace qz {

TCommunMenu::TCommunMenu(QMenu* menu, T232& port, const PortLists& lists, QWidget* owner)
    : QObject(menu), port_(port), lists_(lists), owner_(owner) {
  aComPort_ = menu->addAction(QString::fromLatin1(kComPortMenuCaption));
  aComPort_->setObjectName(QStringLiteral("miComPort"));
  const HintParts h = SplitHint(QString::fromLatin1(kComPortMenuHint));
  aComPort_->setToolTip(h.tooltip);
  aComPort_->setStatusTip(h.statusTip);
  connect(aComPort_, &QAction::triggered, this, [this] { ComPortClick(); });
  aCanBus_ = menu->addAction(QString::fromLatin1(kCanBusMenuCaption));
  aCanBus_->setObjectName(QStringLiteral("miCanBus"));
  // No bus adapter is served by this build.
  aCanBus_->setEnabled(false);
  connect(menu, &QMenu::aboutToShow, this, &TCommunMenu::MenuOpening);
}

void TCommunMenu::MenuOpening() {
  aComPort_->setText(ComPortMenuCaption(port_.GetPortIndex()));
  aCanBus_->setText(QString::fromLatin1(kCanBusMenuOpenCaption));
}

int TCommunMenu::ComPortClick() {
  int result = 0;
  {
    // Made here and destroyed only after exec() has returned.
    TDlgComPort dlg(port_, lists_, owner_);
    dlg.SetContinueCaption(QString::fromLatin1(kComPortReturnCaption));
    dlg.DisableExit();
    MarkHelpRow(&dlg, QString::fromLatin1(kHelpOriginComPort));
    dlg.OnHelp = [this, &dlg](const QString& keyword) {
      if (OnHelp) OnHelp(&dlg, keyword);
    };
    if (OnDialog) OnDialog(dlg);
    result = ExecAbove(dlg);
  }
  if (result != int(TComModal::Ok)) Asker().ShowWarning(QString::fromLatin1(kComTestFailed));
  return result;
}

}  // namespace qz
