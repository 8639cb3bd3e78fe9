#pragma once
// Pieces both numeric results windows build from: colours of the program's palette, the status
// lamp, text panels, and the popup menus of power units and reflection formats.

#include <QColor>
#include <QMenu>
#include <QString>
#include <array>

#include "results/restexts.h"
#include "results/resview.h"
#include "util/colors.h"
#include "util/ui/qcolor.h"

class QEvent;
namespace qz {
class IniFile;
}
class QLabel;
class QObject;
class QWidget;

namespace qz {

// Text colour of a label.
void SetTextColor(QLabel* label, TColor c);
// A round lamp and the text beside it.
void SetLamp(QLabel* lamp, QLabel* text, const TLamp& state);
QLabel* MakeLamp(QWidget* parent, int x, int y);
// A sunken text panel.
QLabel* MakePanel(QWidget* parent, int x, int y, int w, int h,
                  Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter);
// Tooltip and status tip of a "short|long" hint.
void SetHint(QWidget* w, const QString& hint);

// A popup menu whose checkable items carry the tags 0..n-1; `chosen` is called with the tag.
class TTagMenu : public QMenu {
 public:
  template <size_t N>
  TTagMenu(const std::array<const char*, N>& captions, QWidget* parent) : QMenu(parent) {
    for (size_t i = 0; i < N; ++i) {
      QAction* a = addAction(QString::fromLatin1(captions[i]));
      a->setCheckable(true);
      a->setData(int(i));
      items_.push_back(a);
    }
  }
  const std::vector<QAction*>& Items() const { return items_; }
  // Only the item of `tag` checked.
  void CheckTag(int tag);

 private:
  std::vector<QAction*> items_;
};

// The window keys of a results window's section: "Visible", "Top" and "Left" (limited to the
// screen when read).
void WriteWindowKeys(IniFile& ini, const QString& section, const QWidget& w);
void ReadWindowKeys(const IniFile& ini, const QString& section, QWidget& w);

// Marks on the widgets of a results window: a power row (its row number) and the reflection field.
inline constexpr const char* kRowProp = "powRow";
inline constexpr const char* kRflProp = "rflMenu";

// The power menu's items enabled and checked for the selected row.
void PreparePowMenu(TTagMenu* menu, const TResView& v);
// Row selection by a click on a power row, and the power and reflection popup menus, as both
// results windows handle them. True when the event is used up (a menu was shown).
bool RowAndPopupEvent(QObject* obj, QEvent* e, TResView& v, TTagMenu* powMenu, TTagMenu* rflMenu);

}  // namespace qz
