#include "app/ui/signalclose.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include "app/headless.h"
#include "app/signalexit.h"
#include "app/ui/form1.h"
#include "util/asker.h"

namespace qz {

namespace {

// Questions after the signal: "Terminate without saving setup?" and its like are answered Yes,
// every other box takes its Escape answer; the texts go to stderr.
class TSignalAsker : public THeadlessAsker {
 public:
  TMsgButton MessageBox(const QString& text, TMsgType type, TMsgButtons buttons,
                        const QString& caption) override {
    if (type == TMsgType::Confirmation && (buttons & mbYes)) QueueButton(mbYes);
    return THeadlessAsker::MessageBox(text, type, buttons, caption);
  }
};

bool g_outerLoopRunning = false;

// Closes the innermost modal dialog as Escape would; true when one was open.
bool RejectModal() {
  QWidget* w = QApplication::activeModalWidget();
  if (!w) return false;
  if (auto* d = qobject_cast<QDialog*>(w))
    d->reject();
  else
    w->close();
  return true;
}

// Closes the open boxes one by one and, once only the program's own loop runs (no dialog's
// loop, no question inside the close on the stack), the frame window.
void CloseWhenNoDialog(QPointer<TForm1> form) {
  if (!form) return;
  const bool modal = RejectModal();
  if (modal || !g_outerLoopRunning || QThread::currentThread()->loopLevel() > 1) {
    QTimer::singleShot(modal ? 0 : 20, form.data(), [form] { CloseWhenNoDialog(form); });
    return;
  }
  form->CloseWithAnswer(true);
}

}  // namespace

void OuterLoopStarts() {
  QTimer::singleShot(0, [] { g_outerLoopRunning = true; });
}

void CloseOnSignal(TForm1& form) {
  QPointer<TForm1> f(&form);
  TSignalExit::OnSignal([f] {
    static TSignalAsker asker;
    SetAsker(&asker);
    QTimer::singleShot(0, f.data(), [f] { CloseWhenNoDialog(f); });
  });
}

}  // namespace qz
