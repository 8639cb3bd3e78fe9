#include "tuner/ui/scepagemodel.h"

#include <QPainter>
#include <QPolygon>

#include "util/format.h"

namespace qz {

TScePageModel::TScePageModel(TScePage& page, QObject* parent)
    : QAbstractTableModel(parent), page_(page) {}

int TScePageModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : page_.LastRow() + 1;
}

int TScePageModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kSceColumns - 1;
}

QVariant TScePageModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  const int col = index.column() + 1;
  if (role == Qt::DisplayRole || role == Qt::EditRole) return page_.Cell(row, col);
  if (role == Qt::ForegroundRole) {
    return QColor(PlayedRow() == row ? Qt::red : Qt::black);
  }
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

QVariant TScePageModel::headerData(int section, Qt::Orientation o, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (o == Qt::Horizontal) return SceHeaderText(section + 1);
  return page_.Cell(section + 1, 0);
}

Qt::ItemFlags TScePageModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled;
  // The stub cells of filled rows can be typed into; the dwell cell has its dialog.
  if (index.row() + 1 <= page_.LastRow() && index.column() < 3) f |= Qt::ItemIsEditable;
  return f;
}

bool TScePageModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  const bool ok = onEdit && onEdit(index.row() + 1, index.column() + 1, value.toString());
  if (ok) emit dataChanged(index, index);
  return ok;
}

void TScePageModel::Reset() {
  beginResetModel();
  endResetModel();
}

TSceRowHeader::TSceRowHeader(TScePageModel& model, QWidget* parent)
    : QHeaderView(Qt::Vertical, parent), model_(model) {
  setSectionsClickable(true);
}

void TSceRowHeader::paintSection(QPainter* p, const QRect& rect, int logicalIndex) const {
  p->save();
  p->fillRect(rect, palette().button());
  p->setPen(palette().mid().color());
  p->drawLine(rect.topRight(), rect.bottomRight());
  p->drawLine(rect.bottomLeft(), rect.bottomRight());
  const int row = logicalIndex + 1;
  p->setPen(Qt::black);
  p->drawText(rect.adjusted(1, 0, 0, 0), int(Qt::AlignLeft | Qt::AlignVCenter),
              model_.Page().Cell(row, 0));
  const int played = model_.PlayedRow();
  const bool mark = played ? row == played : row == model_.Page().SelectedRow;
  if (mark) {
    const int r = rect.right();
    const int m = rect.center().y();
    const QPolygon tri({QPoint(r - 8, m - 7), QPoint(r - 8, m + 7), QPoint(r - 1, m)});
    const QColor c = played ? Qt::red : Qt::black;
    p->setPen(c);
    p->setBrush(c);
    p->drawPolygon(tri);
  }
  p->restore();
}

}  // namespace qz
