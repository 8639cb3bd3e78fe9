#include "results/ui/resui.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "util/hints.h"
#include "util/inifile.h"
#include "util/winpos.h"

namespace qz {

void SetTextColor(QLabel* label, TColor c) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, ToQColor(c, pal));
  label->setPalette(pal);
}

void SetLamp(QLabel* lamp, QLabel* text, const TLamp& state) {
  const QColor c = ToQColor(state.color, lamp->palette());
  lamp->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid gray; "
                                     "border-radius: 6px;")
                          .arg(c.name()));
  lamp->setProperty("lampColor", uint(state.color));
  text->setText(state.text);
}

QLabel* MakeLamp(QWidget* parent, int x, int y) {
  auto* l = new QLabel(parent);
  l->setGeometry(x, y, 13, 13);
  return l;
}

QLabel* MakePanel(QWidget* parent, int x, int y, int w, int h, Qt::Alignment align) {
  auto* l = new QLabel(parent);
  l->setGeometry(x, y, w, h);
  l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  l->setAlignment(align);
  return l;
}

void SetHint(QWidget* w, const QString& hint) {
  const HintParts h = SplitHint(hint);
  w->setToolTip(h.tooltip);
  w->setStatusTip(h.statusTip);
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

void WriteWindowKeys(IniFile& ini, const QString& section, const QWidget& w) {
  ini.WriteBool(section, QStringLiteral("Visible"), w.isVisible());
  ini.WriteInteger(section, QStringLiteral("Top"), w.y());
  ini.WriteInteger(section, QStringLiteral("Left"), w.x());
}

void ReadWindowKeys(const IniFile& ini, const QString& section, QWidget& w) {
  const QScreen* sc = QGuiApplication::primaryScreen();
  const QSize s = sc ? sc->geometry().size() : QSize(1024, 768);
  const WindowPos p = ReadWindowPos(ini, section, WindowPos{w.x(), w.y(), 0, 0}, s.width(),
                                    s.height(), kToolWindowMargin);
  w.move(p.left, p.top);
  w.setVisible(ini.ReadBool(section, QStringLiteral("Visible"), w.isVisible()));
}

}  // namespace qz
