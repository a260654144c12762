#include "app/qt/history/HistoryModel.h"

#include "orders/Delivery.h"
#include "platform/Cp932Codec.h"
#include "platform/qt/QtText.h"
#include "slip/SlipRecord.h"
#include "tracking/SlipNumber.h"

#include <QColor>

namespace {

// Why a stored number is not one whose check digit we know to be right; "" when it is. Taken from the
// number itself, so numbers stored before the check came are marked too.
QString DoubtAbout(const std::string& number) {
    if (number.empty()) return {};
    const tracking::SlipNumber n = tracking::ReadSlipNumber(number);
    if (n.kind == tracking::SlipNumberKind::Unknown)
        return QFromUtf8("知っている形ではない番号です（確かめて保存されたもの）");
    return n.valid ? QString() : QFromUtf8("確認数字が合いません");
}

// "おなまえ、品名1": each field by the caption the main window shows it under; a name this program does
// not know (a newer one's) as it is.
QString Captions(const std::vector<std::string>& names) {
    QStringList captions;
    for (const std::string& name : names) {
        const slip::Field* f = slip::FindField(name);
        captions << (f ? QString::fromUtf8(f->caption) : QString::fromStdString(name));
    }
    return captions.join(QFromUtf8("、"));
}

} // namespace

QVariant THistoryModel::data(const QModelIndex& index, int role) const {
    const history::HistoryRecord& r = rows[static_cast<std::size_t>(index.row())];
    if (index.column() == Tracking) {
        const QString doubt = DoubtAbout(r.tracking);
        const QString text = (doubt.isEmpty() ? QString() : kDoubtMark) + FromCp932(r.tracking) +
                             (r.isVoid ? kVoidMark : QString());
        if (role == Qt::DisplayRole) return text;
        if (role == Qt::ToolTipRole) return doubt.isEmpty() ? text : text + QStringLiteral("\n") + doubt;
        if (role == Qt::ForegroundRole && !doubt.isEmpty()) return QColor(0xc0, 0, 0);
    }
    if (role == Qt::ForegroundRole && r.isVoid) return QColor(0x80, 0x80, 0x80);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const slip::Record& v = r.values;
    switch (index.column()) {
    case Id:
        return QString::number(r.id);
    case Time: // "2024-05-01T09:30:00+09:00" as "2024/05/01 09:30"
        return QString::fromStdString(r.time.substr(0, 16)).replace('-', '/').replace('T', ' ');
    case Name:
        return FromCp932(v.Edit_Custo1);
    case Zip:
        return FromCp932(v.Edit_Zip);
    case Address:
        return FromCp932(v.Edit_Add1 + " " + v.Edit_Add2 + " " + v.Edit_Add3).trimmed();
    case Tel:
        return FromCp932(v.Edit_tel);
    case Goods:
        return FromCp932(v.Edit_G1);
    case SlipType:
        return FromCp932(v.ComboBox_SEL);
    case Order:
        return FromCp932(r.order);
    case Delivery:
        return QString::fromStdString(
            orders::DeliveryShort({cp932::ToUtf8(r.delivery.day), cp932::ToUtf8(r.delivery.time)}));
    case Changed:
        return Captions(r.changed);
    case ReprintOf:
        return r.reprintOf ? QString::number(*r.reprintOf) : QString();
    }
    return {};
}

QVariant THistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const names[Columns] = {
        "No.",  "印刷日時",   "お届け先", "郵便番号",   "おところ",     "でんわ",  "品名",
        "用紙", "送り状番号", "注文番号", "お届け指定", "注文から変更", "再印刷元"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= Columns)
        return {};
    return QFromUtf8(names[section]);
}
