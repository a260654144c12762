#pragma once
// The queue's rows, read from the queue itself. Texts are the orders' own (UTF-8, characters CP932
// cannot hold included); only the rows on screen are ever turned into Qt text, so a long file costs
// nothing here. The view knows as many rows as the last Reset or Sync told it: orders that joined the
// shared queue since are shown by the next Sync.
#include "orders/OrderQueue.h"

#include <QAbstractTableModel>

class OrderQueueModel : public QAbstractTableModel {
public:
    enum Col {
        ColStatus,
        ColRef,
        ColName,
        ColAddress,
        ColGoods,
        ColAmount,
        ColDelivery,
        ColWarnings,
        ColCount
    };

    OrderQueueModel(const orders::OrderQueue& queue, QObject* parent)
        : QAbstractTableModel(parent), queue_(queue) {}

    // The queue was given new orders.
    void Reset() {
        beginResetModel();
        rows_ = static_cast<int>(queue_.Count());
        endResetModel();
    }
    // The shared queue was read again: orders that joined it appended, every state shown anew.
    void Sync() {
        const int now = static_cast<int>(queue_.Count());
        if (now > rows_) {
            beginInsertRows({}, rows_, now - 1);
            rows_ = now;
            endInsertRows();
        }
        if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, ColCount - 1));
    }
    void RowChanged(int row) {
        if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, ColCount - 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColCount; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVariant Text(const orders::Order& o, orders::OrderState state, int row, int column) const;

    const orders::OrderQueue& queue_;
    int rows_ = 0;
};
