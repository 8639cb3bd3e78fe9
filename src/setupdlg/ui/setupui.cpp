#include "setupdlg/ui/setupui.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>

#include "util/colors.h"
#include "util/ui/panels.h"
#include "util/ui/qcolor.h"

namespace qz {

QString NameFromCaption(const QString& prefix, const QString& caption) {
  QString n = prefix;
  for (QChar c : caption)
    if (c.isLetterOrNumber()) n += c;
  return n;
}

QLineEdit* AddEntryRow(QGridLayout* g, int row, const QString& prefix, const QString& caption,
                       const QString& unit, const QString& hint, QLabel** captionLabel) {
  auto* lbl = new QLabel(caption);
  auto* e = new QLineEdit;
  e->setObjectName(NameFromCaption(prefix, caption));
  e->setAlignment(Qt::AlignRight);
  e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  SetInputColour(e, true);
  lbl->setBuddy(e);
  g->addWidget(lbl, row, 0);
  g->addWidget(e, row, 1);
  if (!unit.isEmpty()) g->addWidget(new QLabel(unit), row, 2);
  if (!hint.isEmpty()) {
    SetHint(lbl, hint);
    SetHint(e, hint);
  }
  if (captionLabel) *captionLabel = lbl;
  return e;
}

QLabel* AddValueRow(QGridLayout* g, int row, const QString& prefix, const QString& caption,
                    QLabel** unit) {
  auto* v = new QLabel;
  v->setObjectName(NameFromCaption(prefix, caption));
  v->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  v->setMaximumWidth(v->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  g->addWidget(new QLabel(caption), row, 0);
  g->addWidget(v, row, 1);
  auto* u = new QLabel;
  u->setObjectName(v->objectName() + QStringLiteral("Unit"));
  g->addWidget(u, row, 2);
  if (unit) *unit = u;
  return v;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& prefix, const QString& caption,
                     const QString& hint) {
  auto* c = new QCheckBox(caption, parent);
  c->setObjectName(NameFromCaption(prefix, caption));
  if (!hint.isEmpty()) SetHint(c, hint);
  return c;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(NameFromCaption(QStringLiteral("bt"), caption));
  b->setAutoDefault(false);
  return b;
}

void SetInputColour(QLineEdit* e, bool enabled) {
  QPalette p = e->palette();
  const QColor c = enabled ? ToQColor(clYellow, p) : p.color(QPalette::Window);
  p.setColor(QPalette::Active, QPalette::Base, c);
  p.setColor(QPalette::Inactive, QPalette::Base, c);
  p.setColor(QPalette::Disabled, QPalette::Base, c);
  e->setPalette(p);
}

void SetEntryText(QLineEdit* e, const QString& text) {
  const QSignalBlocker block(e);
  e->setText(text);
}

}  // namespace qz
