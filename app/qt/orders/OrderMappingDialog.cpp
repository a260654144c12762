#include "app/qt/orders/OrderMappingDialog.h"

#include "app/qt/common/AppTitle.h"
#include "orders/OrderText.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

OrderMappingDialog::OrderMappingDialog(const orders::MappingQuestion& question, QWidget* parent)
    : QDialog(parent), samples_(question.table.samples), start_(question.mapping) {
    const orders::OrderTable& table = question.table;
    const orders::ColumnMapping& start = question.mapping;
    setWindowTitle(QFromUtf8("注文ファイルの列の割り当て") + QStringLiteral(" - ") + AppTitle());
    auto* layout = new QVBoxLayout(this);
    const QString file = QFileInfo(QString::fromStdString(table.path)).fileName();
    Intro = new QLabel(
        question.Required().empty()
            ? QFromUtf8(
                  "「%"
                  "1」の支払方法・合計金額の列が分かりませんでした。代金引換の注文があれば、◆の項目に使う列を"
                  "選んで下さい（代引がなければ「（なし）」のままで取り込めます）。\n"
                  "選んだ割り当ては保存され、同じ形のファイルでは次から聞きません。")
                  .arg(file)
            : QFromUtf8("「%"
                        "1」の列が分かりませんでした。各項目に使う列を選んで下さい（＊は必須、◆は分からなかっ"
                        "た項目で"
                        "す）。\n"
                        "選んだ割り当ては保存され、同じ形のファイルでは次から聞きません。")
                  .arg(file),
        this);
    Intro->setWordWrap(true);
    layout->addWidget(Intro);

    QStringList columns{QFromUtf8("（なし）")};
    for (std::size_t c = 0; c < table.header.size(); ++c)
        columns << QFromUtf8("%1列目: %2")
                       .arg(c + 1)
                       .arg(QString::fromStdString(orders::Excerpt(table.header[c], 30)));

    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    grid->addWidget(new QLabel(QFromUtf8("項目")), 0, 0);
    grid->addWidget(new QLabel(QFromUtf8("ファイルの列")), 0, 1);
    grid->addWidget(new QLabel(QFromUtf8("最初の値")), 0, 2);
    const auto& infos = orders::OrderColumnInfos();
    for (std::size_t i = 0; i < infos.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        QString caption =
            QString::fromUtf8(infos[i].caption.data(), static_cast<int>(infos[i].caption.size()));
        const bool asked =
            std::find(question.ask.begin(), question.ask.end(), infos[i].column) != question.ask.end();
        auto* label = new QLabel((infos[i].required ? QFromUtf8("＊") : QString()) +
                                 (asked ? QFromUtf8("◆") : QString()) + caption);
        if (asked) label->setStyleSheet(QStringLiteral("font-weight: bold; color: #b00000"));
        grid->addWidget(label, row, 0);
        Column[i] = new QComboBox;
        Column[i]->addItems(columns);
        Column[i]->setCurrentIndex(start[infos[i].column] + 1); // kNoColumn is -1
        grid->addWidget(Column[i], row, 1);
        Sample[i] = new QLabel;
        Sample[i]->setMinimumWidth(220);
        grid->addWidget(Sample[i], row, 2);
        connect(Column[i], &QComboBox::currentIndexChanged, this, &OrderMappingDialog::Changed);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(scroll);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(QFromUtf8("取り込む"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QFromUtf8("キャンセル"));
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(Buttons);
    resize(760, 640);
    Changed();
}

orders::ColumnMapping OrderMappingDialog::Mapping() const {
    orders::ColumnMapping m = start_;
    const auto& infos = orders::OrderColumnInfos();
    for (std::size_t i = 0; i < infos.size(); ++i)
        m[infos[i].column] = Column[i]->currentIndex() - 1;
    return m;
}

void OrderMappingDialog::Changed() {
    for (std::size_t i = 0; i < Column.size(); ++i) {
        const int c = Column[i]->currentIndex() - 1;
        Sample[i]->setText(
            c >= 0 && static_cast<std::size_t>(c) < samples_.size()
                ? QString::fromStdString(orders::Excerpt(samples_[static_cast<std::size_t>(c)], 30))
                : QString());
    }
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(orders::MissingColumns(Mapping()).empty());
}
