#include "app/qt/orders/OrderQueueModel.h"

#include "platform/qt/QtText.h"

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QStringList>

#include <initializer_list>
#include <string>

namespace {

QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString JoinNonEmpty(std::initializer_list<const std::string*> parts, const QString& separator) {
    QStringList list;
    for (const std::string* p : parts)
        if (!p->empty()) list << Q(*p);
    return list.join(separator);
}

} // namespace

QVariant OrderQueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeads[] = {"状態", "注文番号", "お名前", "お届け先",
                                         "品名", "代引金額", "注意"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColCount)
        return U(kHeads[section]);
    return {};
}

QVariant OrderQueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    const orders::Order& o = orders[static_cast<std::size_t>(row)];
    const OrderQueueWindow::Status status = StatusOf(row);
    switch (role) {
    case Qt::DisplayRole:
        return Text(o, status, index.column());
    case Qt::ToolTipRole:
        if (index.column() == ColWarnings && !o.warnings.empty()) {
            QStringList all;
            for (const std::string& w : o.warnings)
                all << Q(w);
            return all.join(QLatin1Char('\n'));
        }
        return {};
    case Qt::ForegroundRole:
        if (status == OrderQueueWindow::Status::Printed) return QColor(128, 128, 128);
        if (index.column() == ColWarnings) return QColor(176, 0, 0);
        return {};
    case Qt::BackgroundRole:
        if (status == OrderQueueWindow::Status::Held) return QColor(224, 224, 224);
        if (status == OrderQueueWindow::Status::Open && !o.warnings.empty()) return QColor(255, 248, 208);
        return {};
    case Qt::FontRole:
        if (row == current) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant OrderQueueModel::Text(const orders::Order& o, OrderQueueWindow::Status status, int column) {
    const slip::Record& f = o.fields;
    switch (column) {
    case ColStatus:
        return status == OrderQueueWindow::Status::Printed ? U("印刷済")
               : status == OrderQueueWindow::Status::Held  ? U("保留")
                                                           : U("未印刷");
    case ColRef:
        return Q(o.ref);
    case ColName:
        return Q(f.Edit_Custo1);
    case ColAddress:
        return (f.Edit_Zip.empty() ? QString() : U("〒") + Q(f.Edit_Zip) + QLatin1Char(' ')) +
               JoinNonEmpty({&f.Edit_Add1, &f.Edit_Add2, &f.Edit_Add3}, QStringLiteral(" "));
    case ColGoods:
        return JoinNonEmpty({&f.Edit_G1, &f.Edit_G2, &f.Edit_G3}, QStringLiteral(" / "));
    case ColAmount:
        if (!f.CheckBox_p1) return QString();
        return QLocale(QLocale::Japanese, QLocale::Japan).toString(Q(f.KyNumEdit_PriceSub).toLongLong()) + U("円");
    case ColWarnings:
        if (o.warnings.empty()) return QString();
        if (o.warnings.size() == 1) return Q(o.warnings.front());
        return Q(o.warnings.front()) + U("（ほか%1件）").arg(o.warnings.size() - 1);
    default:
        return {};
    }
}
