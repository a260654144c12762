#pragma once
#include "app/qt/orders/OrderQueueWindow.h"
#include "orders/Orders.h"

#include <QAbstractTableModel>

#include <vector>

// The queue's rows. Texts are the orders' own (UTF-8, characters CP932 cannot hold included); only
// the rows on screen are ever turned into Qt text, so a long file costs nothing here.
class OrderQueueModel : public QAbstractTableModel {
public:
    enum Col { ColStatus, ColRef, ColName, ColAddress, ColGoods, ColAmount, ColWarnings, ColCount };
    struct Entry {
        bool printed = false;
        bool held = false;
    };

    using QAbstractTableModel::QAbstractTableModel;

    void Reset(std::vector<orders::Order> list) {
        beginResetModel();
        orders = std::move(list);
        entries.assign(orders.size(), Entry{});
        current = -1;
        endResetModel();
    }
    void RowChanged(int row) {
        if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, ColCount - 1));
    }
    OrderQueueWindow::Status StatusOf(int row) const {
        const Entry& e = entries[static_cast<std::size_t>(row)];
        if (e.printed) return OrderQueueWindow::Status::Printed;
        return e.held ? OrderQueueWindow::Status::Held : OrderQueueWindow::Status::Open;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(orders.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColCount; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    QVariant data(const QModelIndex& index, int role) const override;

    std::vector<orders::Order> orders;
    std::vector<Entry> entries;
    int current = -1;

private:
    static QVariant Text(const orders::Order& o, OrderQueueWindow::Status status, int column);
};
