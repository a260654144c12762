#pragma once
// The queue's rows, read from the queue itself. Texts are the orders' own (UTF-8, characters CP932
// cannot hold included); only the rows on screen are ever turned into Qt text, so a long file costs
// nothing here.
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
        endResetModel();
    }
    void RowChanged(int row) {
        if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, ColCount - 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(queue_.Count());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColCount; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QVariant Text(const orders::Order& o, orders::OrderState state, int column) const;

    const orders::OrderQueue& queue_;
};
