#pragma once
// The columns of an order file the recognition could not place: one line per kind of column with a
// list of the file's headers and the first value of the chosen column beside it. The kinds asked for are
// marked; OK stays disabled until every required kind has a column (payment and total may stay "none").
#include "orders/OrderColumns.h"
#include "orders/Orders.h"

#include <QDialog>
#include <array>
#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;

class OrderMappingDialog : public QDialog {
    Q_OBJECT
public:
    // The lists open on what was recognised (and saved before); the kinds of `question.ask` are marked.
    OrderMappingDialog(const orders::MappingQuestion& question, QWidget* parent);

    orders::ColumnMapping Mapping() const;

    // Per kind of column, in the order of orders::OrderColumnInfos(): item 0 is "none", item N the
    // file's Nth column.
    std::array<QComboBox*, orders::kOrderColumnCount> Column{};
    std::array<QLabel*, orders::kOrderColumnCount> Sample{};
    QLabel* Intro = nullptr;
    QDialogButtonBox* Buttons = nullptr;

private:
    void Changed();

    std::vector<std::string> samples_; // per column of the file
    orders::ColumnMapping start_;      // what the dialog does not show (platform, IDs) is kept
};
