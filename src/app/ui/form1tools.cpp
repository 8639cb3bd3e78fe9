// The frame window's Tools menu (file transfer with the unit, server commands, the
// reinstallation file list) and the server items of Quzar > More. The commands live in
// TXferCmds; here they get their items, hints and help page.

#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/simcore.h"
#include "app/ui/form1.h"
#include "app/ui/menuhelpkey.h"
#include "app/xfercmds.h"
#include "util/ui/panels.h"

namespace qz {

class TForm1::XferPort : public TXferPort {
 public:
  explicit XferPort(TForm1& f) : f_(f) {}
  void SetMessage(const QString& text) override { f_.SetMessage(text); }
  void SetStatusText(const QString& text) override { qz::SetText(f_.panHint_, text); }
  void ClearStatus() override {
    f_.SetMessage(QString());
    qz::SetText(f_.panHint_, QString());
  }
  void Terminate() override {
    // The exit question then offers to save the setup or to end without it.
    f_.MustTerminate = true;
    f_.close();
  }

 private:
  TForm1& f_;
};

void TForm1::BuildToolsItems() {
  xferPort_ = std::make_unique<XferPort>(*this);
  xfer_ = std::make_unique<TXferCmds>(core_->Cmd, nullptr, xferPort_.get());
  TXferCmds* x = xfer_.get();
  auto item = [this](QMenu* m, const QString& text, const QString& name, const QString& hint,
                     auto slot) {
    QAction* a = m->addAction(text);
    a->setObjectName(name);
    if (!hint.isEmpty()) SetHint(a, hint);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  auto notApplicable = [x] { x->NotApplicable(); };

  QAction* aSend =
      item(mTools_, QStringLiteral("&Send to Quzar"), QStringLiteral("miSendToQuzar"),
           QStringLiteral("Send configuration files and/or server program to Quzar unit"),
           [x] { x->SendToQuzar(); });
  QAction* aLoad =
      item(mTools_, QStringLiteral("&Load from Quzar"), QStringLiteral("miLoadFromQuzar"),
           QStringLiteral("Transfer files from Quzar unit to your computer"),
           [x] { x->LoadFromQuzar(); });
  QAction* aUpdate = item(mTools_, QStringLiteral("&Update Server"),
                          QStringLiteral("miUpdateServer"), QString(), notApplicable);
  for (QAction* a : {aSend, aLoad, aUpdate}) SetHelpContext(a, kXferHelpTopic);

  QMenu* sw = mTools_->addMenu(QStringLiteral("S&witch Server"));
  sw->menuAction()->setObjectName(QStringLiteral("miSwitchServer"));
  for (int i = 0; i < kServerModeCount; ++i) {
    const TServerMode& m = ServerMode(i);
    item(sw, QString::fromLatin1(m.caption),
         QStringLiteral("miSwitchServer") + QString::fromLatin1(m.name).remove(QChar(' ')),
         QString::fromLatin1(m.hint), [x, i] { x->SwitchServer(i); });
  }

  QMenu* reset = mTools_->addMenu(QStringLiteral("R&eset"));
  reset->menuAction()->setObjectName(QStringLiteral("miReset"));
  // F7 sits on Quzar > More's item only: one key on two actions would fire neither.
  item(reset, QStringLiteral("Re&start  Server (F7)"), QStringLiteral("miResetRestartServer"),
       QString(), [x] { x->RestartServer(); });
  item(reset, QStringLiteral("&Factory"), QStringLiteral("miResetFactory"), QString(),
       notApplicable);
  item(reset, QStringLiteral("&User-Defined"), QStringLiteral("miResetUser"), QString(),
       notApplicable);
  item(reset, QStringLiteral("&Make"), QStringLiteral("miResetMake"), QString(), notApplicable);
  item(reset, QStringLiteral("&Create CFG"), QStringLiteral("miResetCreateCfg"), QString(),
       notApplicable);
  item(reset, QStringLiteral("Create Factory"), QStringLiteral("miResetCreateFactory"), QString(),
       notApplicable);
  item(reset, QStringLiteral("Make FileList"), QStringLiteral("miMakeFileList"),
       QStringLiteral("Write full FileList.txt|"), [x] { x->MakeFileList(); });

  new TMenuHelpKey(mTools_, [this](int topic) { ShowHelp(topic); });

  // ---- Quzar > More ----
  if (!mQuzarMore_) return;
  item(mQuzarMore_, QStringLiteral("&Halt Server"), QStringLiteral("miHaltServer"),
       QStringLiteral("Terminate Quzar internal program, start Download (RS232)"),
       [x] { x->HaltServer(); });
  QAction* aRestart =
      item(mQuzarMore_, QStringLiteral("&Restart Server"), QStringLiteral("miRestartServer"),
           QString(), [x] { x->RestartServer(); });
  aRestart->setShortcut(QKeySequence(Qt::Key_F7));
}

}  // namespace qz
