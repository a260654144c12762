// Order texts pasted into the real memo and transferred into the consignee fields.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

class MemoTransfer : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

    void paste(const QString& text) {
        w->Memo1->setFocus();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(w->Memo1, Qt::Key_V, Qt::ControlModifier);
    }
    void transfer() { QTest::mouseClick(w->BitBtn_1, Qt::LeftButton); }
    QStringList fields() const {
        return {w->Edit_Zip->text(), w->Edit_Add1->text(), w->Edit_Add2->text(), w->Edit_Custo1->text(),
                w->Edit_tel->text()};
    }

private slots:
    void init() {
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        w = &fx->Start();
        fx->boxes.Clear();
    }
    void cleanup() { fx.reset(); }

    void headedOrderLinesLandInTheirFields() {
        w->Edit_Add3->setText(QFromUtf8("三行目はそのまま"));
        paste(QFromUtf8("お届け先：〒123-4567\r\n住所：東京都新宿区西新宿2-8-1\r\nお名前：山田太郎 "
                        "様\r\nTEL：03-1234-5678\r\n"));
        QVERIFY(w->Memo1->palette().color(QPalette::Base) != QColor(192, 192, 192));
        transfer();
        QCOMPARE(fields(), QStringList({"123-4567", QFromUtf8("東京都新宿区西新宿2-8-1"), "",
                                        QFromUtf8("山田太郎"), "03-1234-5678"}));
        QCOMPARE(w->Edit_Add3->text(), QFromUtf8("三行目はそのまま"));
        QVERIFY(fx->boxes.Shown().empty());
        QCOMPARE(QApplication::focusWidget(), w->Edit_Zip);
        QCOMPARE(w->Panel_HelpMess->text(), QFromUtf8("お届け先の郵便番号を入力して下さい"));
        QCOMPARE(w->Memo1->document()->blockCount(), 7);
        QCOMPARE(w->Memo1->textCursor().position(), 0);
    }

    // An amount left standing from the slip before: the help bar says so, the field is marked until it
    // is entered or the slip printed, and the print question repeats it.
    void amountLeftFromTheSlipBeforeIsMarkedAfterATransfer() {
        w = &StartAfresh(
            fx, Cp932FromUtf8(
                    "[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\n")); // one whose slip type has a printer
        const QColor plain = w->KyNumEdit_PriceSub->Color();
        paste(QFromUtf8("〒530-0001\n大阪府大阪市北区梅田1-1\n山田太郎 様"));
        transfer();
        QVERIFY(!w->AmountMarked()); // no amount, nothing to mark
        w->KyNumEdit_PriceSub->SetText("12800");
        paste(QFromUtf8("〒100-0001\n東京都千代田区千代田1-1\n川口二郎 様"));
        transfer();
        QVERIFY(w->AmountMarked());
        QVERIFY(w->KyNumEdit_PriceSub->Color() != plain);
        QCOMPARE(w->Panel_HelpMess->text(),
                 QFromUtf8("代引金額 12,800円 は前のお届け先のままです。確かめてください"));
        QTest::keyClick(w->Edit_Zip, Qt::Key_F11);
        QVERIFY(fx->boxes.Shown().back().text.contains(QFromUtf8("代引金額 12,800円")));
        QVERIFY(w->AmountMarked()); // the question alone is no look at the field
        w->KyNumEdit_PriceSub->setFocus();
        QVERIFY(!w->AmountMarked());
        QCOMPARE(w->KyNumEdit_PriceSub->Color(), plain);
        QCOMPARE(w->KyNumEdit_PriceSub->Text(), std::string("12800")); // the amount itself is the user's

        // Printed as it stood: the mark goes too.
        paste(QFromUtf8("〒100-0001\n東京都千代田区千代田1-1\n川口二郎 様"));
        transfer();
        QVERIFY(w->AmountMarked());
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w->Edit_Zip, Qt::Key_F11);
        QVERIFY(fx->boxes.Errors().empty());
        QVERIFY(!w->AmountMarked());
    }

    // The memo's caption and the help bar give the same limit: the one the transfer reads by.
    void captionAndHelpBarGiveTheSameNumberOfLines() {
        const QString limit = QFromUtf8("空行を除いて7行以内");
        w->Memo1->setFocus();
        QVERIFY(w->Panel_HelpMess->text().contains(limit));
        QVERIFY(w->findChild<QLabel*>(QStringLiteral("Label_MemoNote"))->text().contains(limit));
        QVERIFY(w->Memo1->toolTip().contains(limit));
        // Seven lines after blank ones: the seventh still reaches the fields, an eighth does not.
        paste(QFromUtf8("\n\n〒530-0001\n\n大阪府大阪市北区梅田1-1\n\n山田太郎 様\n\n06-1111-2222\n\n"
                        "x\ny\nz\n\n07-9999-9999"));
        transfer();
        QCOMPARE(w->Edit_tel->text(), QStringLiteral("06-1111-2222"));
    }

    void combinedLineIsSplitAndTheMemoShowsTheProcessedLines() {
        paste(QFromUtf8("〒123-4567 東京都千代田区丸の内1-1-1\n山田太郎 様\nTEL 03-1234-5678"));
        transfer();
        QCOMPARE(fields(), QStringList({"123-4567", QFromUtf8("東京都千代田区丸の内1-1-1"), "",
                                        QFromUtf8("山田太郎"), "03-1234-5678"}));
        QStringList memo = w->Memo1->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(memo.size(), 7);
        QCOMPARE(memo.mid(0, 3), QStringList({"123-4567", QFromUtf8("山田太郎"), "03-1234-5678"}));
        QCOMPARE(memo[3].trimmed(), QFromUtf8("東京都千代田区丸の内1-1-1"));
        QCOMPARE(memo.mid(4), QStringList({"", "", ""}));
    }

    void prefectureLineJoinsTheAddress() {
        paste(QFromUtf8("神奈川県\n横浜市中区1-2-3"));
        transfer();
        QCOMPARE(w->Edit_Add1->text(), QFromUtf8("神奈川県横浜市中区1-2-3"));
    }

    void fullWidthPostcodeArrivesHalfWidth() {
        paste(QFromUtf8("〒１２３－４５６７\n大阪府大阪市北区梅田1-1\n佐藤花子"));
        transfer();
        QCOMPARE(w->Edit_Zip->text(), QStringLiteral("123-4567"));
    }

    void blankMemoSaysSoAndLeavesTheFields() {
        w->Edit_Custo1->setText(QFromUtf8("前の人"));
        w->Edit_Add1->setText(QString(21, QChar(0x3042)));
        paste(QStringLiteral("\n   \n\t\n"));
        transfer();
        QCOMPARE(fx->boxes.Shown().size(), std::size_t(1));
        QCOMPARE(fx->boxes.Shown()[0].kind, msgbox::Kind::Notice);
        QCOMPARE(fx->boxes.Shown()[0].text, QFromUtf8("転送テキストがありません"));
        QCOMPARE(w->Edit_Custo1->text(), QFromUtf8("前の人"));
        QVERIFY(w->Memo1->document()->isEmpty());
        QCOMPARE(w->Memo1->palette().color(QPalette::Base), QColor(192, 192, 192));
        QVERIFY(!w->Label_Warning->text().isEmpty()); // re-evaluated even so
    }

    void onlyTheFirstSixteenLinesCount() {
        QString text;
        for (int i = 0; i < 16; ++i)
            text += QStringLiteral("\n");
        text += QFromUtf8("東京都新宿区西新宿2-8-1\n山田太郎\n");
        paste(text);
        transfer();
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("転送テキストがありません"));
        QVERIFY(w->Memo1->document()->isEmpty());
    }

    void twentyLinesLeaveSevenInTheMemo() {
        QString text;
        for (int i = 1; i <= 20; ++i)
            text += QStringLiteral("line %1\n").arg(i);
        paste(text);
        transfer();
        QCOMPARE(w->Memo1->document()->blockCount(), 7);
        QCOMPARE(w->Memo1->verticalScrollBar()->value(), 0);
    }

    void longAddressRaisesTheWarning() {
        paste(
            QFromUtf8("〒100-0001\n東京都千代田区千代田一丁目一番一号皇居東御苑内管理事務所気付\n山田太郎"));
        transfer();
        QCOMPARE(w->Label_Warning->text(),
                 QFromUtf8("警告:おところ①の文字数が多すぎます。　おところ②へ分割してください"));
        w->Memo1->clear();
        paste(QFromUtf8("〒100-0001\n東京都千代田区1-1\n山田太郎"));
        transfer();
        QCOMPARE(w->Label_Warning->text(), QString());
    }

    void secondTelephoneAndFaxLines() {
        paste(QFromUtf8("TEL 03-1111-2222\nTEL 03-3333-4444\nFAX 03-1234-5679\n山田太郎"));
        transfer();
        QCOMPARE(w->Edit_tel->text(), QStringLiteral("03-1111-2222"));
        QCOMPARE(w->Edit_Add1->text(), QStringLiteral("FAX 03-1234-5679"));
    }
};

QTEST_MAIN(MemoTransfer)
#include "memo_transfer.moc"
