// What the windows show must show whole at their own size: the slip-type and tax-rate lists, the
// print-position dialog's resolution lines, the history's tracking and order columns, and characters
// beyond the basic plane in the order list.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/history/HistoryModel.h"
#include "app/qt/history/HistoryWindow.h"
#include "app/qt/orders/OrderQueueWindow.h"
#include "app/qt/print/SLIP97YPrnUnit.h"
#include "gui/support/FormFixture.h"

#include <QComboBox>
#include <QGlyphRun>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTextLayout>
#include <QtTest>

namespace {

// The room a closed list gives its current item's text.
int TextRoom(const QComboBox* box) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    option.frame = box->hasFrame();
    option.subControls = QStyle::SC_All;
    return box->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
        .width();
}

// Every character of `text` has a glyph in `font` or in one the toolkit falls back to.
bool Draws(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty()) return false;
    for (const QGlyphRun& run : runs)
        for (quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

} // namespace

class ScreenFit : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

private slots:
    void init() { w = &StartAfresh(fx, Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\n")); }
    void cleanup() {
        OrderQueueWindow::SetFileChooser({});
        fx.reset();
    }

    void listsShowTheirItemsWhole() {
        for (QComboBox* box : {w->ComboBox_SEL, w->ComboBox_TaxRate}) {
            for (int i = 0; i < box->count(); ++i)
                QVERIFY2(box->fontMetrics().horizontalAdvance(box->itemText(i)) <= TextRoom(box),
                         qPrintable(box->itemText(i)));
        }
        QCOMPARE(w->ComboBox_SEL->itemText(1), QFromUtf8("連続(４インチ)"));
    }

    void printPositionDialogShowsBothResolutionLinesWhole() {
        QStringList lines;
        bool fits = false;
        InDialog user([&](QWidget* d) {
            auto* label = d->findChild<QLabel*>(QStringLiteral("Label_Resolution"));
            QVERIFY(label);
            lines = label->text().split(QLatin1Char('\n'));
            const QFontMetrics m = label->fontMetrics();
            fits = lines.size() * m.lineSpacing() <= label->contentsRect().height();
            for (const QString& line : lines)
                fits = fits && m.horizontalAdvance(line) <= label->contentsRect().width();
        });
        QTest::mouseClick(w->BitBtn_PrnSet2, Qt::LeftButton);
        QVERIFY(user.opened);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].startsWith(QFromUtf8("1ドット = ")), qPrintable(lines[1]));
        QVERIFY2(fits, qPrintable(lines.join(QLatin1Char('|'))));
    }

    void historyShowsTrackingAndOrderAtItsFirstSize() {
        w->SpeedButton_F6Click();
        auto* h = w->findChild<THistoryWindow*>();
        QVERIFY(h && h->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(h));
        QHeaderView* header = h->Grid->horizontalHeader();
        for (int column : {int(THistoryModel::Tracking), int(THistoryModel::Order), int(THistoryModel::Time),
                           int(THistoryModel::Name), int(THistoryModel::Tel)}) {
            const int right = header->sectionViewportPosition(column) + header->sectionSize(column);
            QVERIFY2(header->sectionViewportPosition(column) >= 0 && right <= h->Grid->viewport()->width(),
                     qPrintable(h->Grid->model()->headerData(column, Qt::Horizontal).toString()));
        }
        h->close();
    }

    void orderListDrawsCharactersBeyondTheBasicPlane() {
        OrderQueueWindow::SetFileChooser([](const QString&) { return QString(); });
        QTest::keyClick(w->Edit_Zip, Qt::Key_F8);
        QVERIFY(w->OrderQueue());
        for (const char* name : {"髙橋 𠮷雄", "𩸽の開き", "𡈽屋"})
            QVERIFY2(Draws(w->OrderQueue()->Table->font(), QFromUtf8(name)), name);
    }
};

QTEST_MAIN(ScreenFit)
#include "screen_fit.moc"
