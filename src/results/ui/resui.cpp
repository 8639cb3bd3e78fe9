#include "results/ui/resui.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QWidget>

namespace qz {

void SetLamp(TLed* lamp, QLabel* text, const TLamp& state) {
  SetLamp(lamp, text, state.color, state.text);
}

void TTagMenu::CheckTag(int tag) {
  for (QAction* a : items_) a->setChecked(a->data().toInt() == tag);
}

void PreparePowMenu(TTagMenu* menu, const TResView& v) {
  const TPowMenuState st = v.PowMenu();
  for (QAction* a : menu->Items()) a->setEnabled(st.enabled[a->data().toInt()]);
  menu->CheckTag(st.checked);
}

bool RowAndPopupEvent(QObject* obj, QEvent* e, TResView& v, TTagMenu* powMenu, TTagMenu* rflMenu) {
  const QVariant row = obj->property(kRowProp);
  if (row.isValid()) {
    if (e->type() == QEvent::MouseButtonPress) {
      v.SetRow(TKtoryVykon(row.toInt()));
    } else if (e->type() == QEvent::ContextMenu) {
      v.SetRow(TKtoryVykon(row.toInt()));
      powMenu->popup(static_cast<QContextMenuEvent*>(e)->globalPos());
      return true;
    }
  } else if (obj->property(kRflProp).isValid() && e->type() == QEvent::ContextMenu) {
    rflMenu->popup(static_cast<QContextMenuEvent*>(e)->globalPos());
    return true;
  }
  return false;
}

}  // namespace qz
