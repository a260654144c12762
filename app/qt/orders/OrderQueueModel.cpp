#include "app/qt/orders/OrderQueueModel.h"

#include "platform/qt/QtText.h"

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QStringList>

#include <initializer_list>
#include <string>

namespace {

using orders::OrderState;
using orders::Severity;

QString JoinNonEmpty(std::initializer_list<const std::string*> parts, const QString& separator) {
    QStringList list;
    for (const std::string* p : parts)
        if (!p->empty()) list << QFromUtf8(*p);
    return list.join(separator);
}

// The warning the list shows first: a problem before any note.
const orders::OrderWarning* Headline(const orders::Order& o) {
    for (const orders::OrderWarning& w : o.warnings)
        if (w.severity == Severity::Problem) return &w;
    return o.warnings.empty() ? nullptr : &o.warnings.front();
}

} // namespace

QVariant OrderQueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const kHeads[] = {"状態", "注文番号", "お名前",     "お届け先",
                                         "品名", "代引金額", "お届け指定", "注意"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColCount)
        return QFromUtf8(kHeads[section]);
    return {};
}

QVariant OrderQueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const orders::Order& o = queue_.At(row);
    const OrderState state = queue_.State(row);
    switch (role) {
    case Qt::DisplayRole:
        return Text(o, state, index.row(), index.column());
    case Qt::ToolTipRole:
        if (index.column() == ColWarnings && !o.warnings.empty()) {
            QStringList all;
            for (const orders::OrderWarning& w : o.warnings)
                all << (w.severity == Severity::Problem ? QFromUtf8("要確認: ") : QFromUtf8("お知らせ: ")) +
                           QFromUtf8(w.text);
            return all.join(QLatin1Char('\n'));
        }
        return {};
    case Qt::ForegroundRole:
        if (state == OrderState::Printed || state == OrderState::Cancelled) return QColor(128, 128, 128);
        if (state == OrderState::Claimed && index.column() == ColStatus) return QColor(0, 64, 160);
        if (index.column() == ColWarnings)
            return o.HasProblem() ? QColor(176, 0, 0) : QColor(112, 112, 112); // notes stay quiet
        return {};
    case Qt::BackgroundRole:
        if (state == OrderState::Held || state == OrderState::Claimed) return QColor(224, 224, 224);
        if (state == OrderState::Open && o.HasProblem()) return QColor(255, 248, 208);
        return {};
    case Qt::FontRole:
        if (queue_.Current() == row) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant OrderQueueModel::Text(const orders::Order& o, OrderState state, int row, int column) const {
    const slip::Record& f = o.fields;
    switch (column) {
    case ColStatus:
        switch (state) {
        case OrderState::Printed:
            return QFromUtf8("印刷済");
        case OrderState::Held:
            return QFromUtf8("保留");
        case OrderState::Cancelled:
            return QFromUtf8("取消");
        case OrderState::Claimed: // another desk's
            return QFromUtf8("作業中（%1）").arg(FromCp932(queue_.Row(static_cast<std::size_t>(row)).desk));
        case OrderState::Open:
            break;
        }
        return QFromUtf8("未印刷");
    case ColRef:
        return QFromUtf8(o.ref);
    case ColName:
        return QFromUtf8(f.Edit_Custo1);
    case ColAddress:
        return (f.Edit_Zip.empty() ? QString() : QFromUtf8("〒") + QFromUtf8(f.Edit_Zip) + QLatin1Char(' ')) +
               JoinNonEmpty({&f.Edit_Add1, &f.Edit_Add2, &f.Edit_Add3}, QStringLiteral(" "));
    case ColGoods:
        return JoinNonEmpty({&f.Edit_G1, &f.Edit_G2, &f.Edit_G3}, QStringLiteral(" / "));
    case ColAmount:
        if (!f.CheckBox_p1) return QString();
        return QLocale(QLocale::Japanese, QLocale::Japan)
                   .toString(QFromUtf8(f.KyNumEdit_PriceSub).toLongLong()) +
               QFromUtf8("円");
    case ColDelivery:
        return QFromUtf8(orders::DeliveryShort(o.delivery));
    case ColWarnings: {
        const orders::OrderWarning* w = Headline(o);
        if (!w) return QString();
        QString text =
            (w->severity == Severity::Problem ? QFromUtf8("確認が必要: ") : QString()) + QFromUtf8(w->text);
        if (o.warnings.size() > 1) text += QFromUtf8("（ほか%1件）").arg(o.warnings.size() - 1);
        return text;
    }
    default:
        return {};
    }
}
