#pragma once
// The serial-line items of the "Co&mmun" menu: "&COM Port..." opens the COM port dialog (its
// continue button reads "&Return" and "&Exit" is unusable, because the program goes on either
// way), and "C&AN Bus (250 kBd)...", which this build does not offer. Opening the menu shows the
// port in use in the first item's caption.

#include <QObject>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace qz {

class T232;
class TDlgComPort;
struct PortLists;

class TCommunMenu : public QObject {
  Q_OBJECT
 public:
  // Adds the two items to `menu`; dialogs are shown over `owner`.
  TCommunMenu(QMenu* menu, T232& port, const PortLists& lists, QWidget* owner);

  // Opens help at a keyword while the dialog is up.
  std::function<void(QDialog* dialog, const QString& keyword)> OnHelp;
  // Told when the dialog has been made, before it is shown (tests drive it from here).
  std::function<void(TDlgComPort& dialog)> OnDialog;

  // What opening the menu does: the captions.
  void MenuOpening();
  // "&COM Port...": the dialog; a result other than OK is warned about. Returns the result.
  int ComPortClick();

  QAction* ComPortAction() const { return aComPort_; }
  QAction* CanBusAction() const { return aCanBus_; }

 private:
  T232& port_;
  const PortLists& lists_;
  QWidget* owner_;
  QAction* aComPort_;
  QAction* aCanBus_;
};

}  // namespace qz
