#pragma once
#include "history/HistoryRecord.h"

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

// The rows of one search; texts are converted only when a cell is shown.
class THistoryModel : public QAbstractTableModel {
public:
    // Before a tracking number of no known shape or with a wrong check digit, in red.
    static inline const QString kDoubtMark = QStringLiteral("※");
    // After the number of a void slip (書き損じ, or skipped in a stack), whose row is grey.
    static inline const QString kVoidMark = QString::fromUtf8("（書き損じ）");

    enum Column {
        Id,
        Time,
        Name,
        Zip,
        Address,
        Tel,
        Goods,
        SlipType,
        Tracking,
        Order,
        Delivery, // the day and slot the order asked for
        Changed,  // the order's fields changed before printing, by the main window's captions
        ReprintOf,
        Columns
    };

    using QAbstractTableModel::QAbstractTableModel;
    std::vector<history::HistoryRecord> rows;

    void Reset(std::vector<history::HistoryRecord> fresh) {
        beginResetModel();
        rows = std::move(fresh);
        endResetModel();
    }
    void SetTracking(int row, const std::string& number) {
        rows[static_cast<std::size_t>(row)].tracking = number;
        emit dataChanged(index(row, Tracking), index(row, Tracking));
    }

    void SetVoid(int row) {
        rows[static_cast<std::size_t>(row)].isVoid = true;
        emit dataChanged(index(row, 0), index(row, Columns - 1));
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : Columns; }

    QVariant data(const QModelIndex& index, int role) const override;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};
