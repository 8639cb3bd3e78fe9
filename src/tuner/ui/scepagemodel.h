#pragma once
// The table of one scenario page: the stub and dwell cells of the filled rows and the empty
// row after them. Column 0 of the page (the row numbers with the marker of the selected or
// played row) is the vertical header, so it never scrolls away.

#include <QAbstractTableModel>
#include <QHeaderView>
#include <functional>

#include "tuner/scepage.h"

namespace qz {

class TScePageModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TScePageModel(TScePage& page, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  TScePage& Page() { return page_; }
  // The rows changed (count or contents).
  void Reset();
  // The row being played, or 0 when none (its text is drawn red).
  int PlayedRow() const { return playedRow_ ? playedRow_() : 0; }
  std::function<int()> playedRow_;
  // A typed stub cell: row, column (1..3) and text; false keeps the old value.
  std::function<bool(int row, int col, const QString& text)> onEdit;

 private:
  TScePage& page_;
};

// Column 0: the row number one pixel from the left and a triangle at the right edge, red on the
// played row during a play, otherwise black on the selected row.
class TSceRowHeader : public QHeaderView {
  Q_OBJECT
 public:
  explicit TSceRowHeader(TScePageModel& model, QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  TScePageModel& model_;
};

}  // namespace qz
