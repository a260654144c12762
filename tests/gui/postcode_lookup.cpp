// The postcode data in the real main window, over a small index written into its working folder (the
// window prefers that one to the index beside the program): the address from a postcode on Enter, the
// pick list, the check after a transfer and before printing, the postcode from an address, and an
// index that cannot be used.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/postcode/PostcodeChoice.h"
#include "gui/support/FormFixture.h"
#include "postcode/IndexBuilder.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

struct DataRow {
    const char *code, *pref, *city, *town, *street = "", *office = "";
};
const DataRow kRows[] = {
    {"5300001", "大阪府", "大阪市北区", "梅田"},
    {"4520961", "愛知県", "清須市", "春日明河原"},
    {"4520961", "愛知県", "清須市", "春日一番割"},
    {"4520961", "愛知県", "清須市", "春日壱屋敷"},
    {"1008994", "東京都", "千代田区", "丸の内", "２丁目７－２", "東京中央郵便局"},
    {"6008023", "京都府", "京都市下京区", "富永町"},
    {"6008351", "京都府", "京都市下京区", "富永町"},
};

std::string SampleIndex() {
    postcode::IndexBuilder b;
    for (const DataRow& r : kRows)
        b.Add({r.code, Cp932FromUtf8(r.pref), Cp932FromUtf8(r.city), Cp932FromUtf8(r.town),
               Cp932FromUtf8(r.street), Cp932FromUtf8(r.office), "", *r.office != '\0'});
    return b.Build("2025-09-30");
}

QWidget* Focus() {
    return QApplication::focusWidget();
}

const QString kAsk = QFromUtf8("印刷しますか?");

} // namespace

class PostcodeLookup : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

    void start(const std::string& index) {
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        fx->Write("postcode.idx", index);
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[手差し]\r\nPrnNoIndex=0\r\n")); // slips print on the first printer
        w = &fx->Start();
        fx->boxes.Clear();
    }
    // Types `zip` into the field and presses Enter there.
    void enterZip(QLineEdit* field, const QString& zip) {
        field->setFocus(Qt::TabFocusReason);
        TypeText(field, zip);
        QTest::keyClick(field, Qt::Key_Return);
    }
    // Runs `act` on the pick list once it shows; whatever it leaves open is closed.
    void onChoice(std::function<void(PostcodeChoice*, QLineEdit* filter, QListWidget* list)> act) {
        QTimer::singleShot(0, this, [act] {
            auto* choice = qobject_cast<PostcodeChoice*>(QApplication::activePopupWidget());
            if (!choice) return;
            act(choice, choice->findChild<QLineEdit*>(QStringLiteral("PostcodeChoiceFilter")),
                choice->findChild<QListWidget*>(QStringLiteral("PostcodeChoiceList")));
            if (choice->isVisible()) choice->reject();
        });
    }
    void transfer(const QString& memo) {
        w->Memo1->setPlainText(memo);
        QTest::mouseClick(w->BitBtn_1, Qt::LeftButton);
    }

private slots:
    void init() { start(SampleIndex()); }
    void cleanup() { fx.reset(); }

    void enterFillsTheEmptyAddressAndMovesOn() {
        QCOMPARE(w->Edit_Zip->toolTip(), QString()); // nothing was opened at start-up
        struct {
            QLineEdit *zip, *add1, *next;
            QString typed;
        } cases[] = {
            {w->Edit_Zip, w->Edit_Add1, w->Edit_Add1, QStringLiteral("5300001")},
            {w->Edit_Zip, w->Edit_Add1, w->Edit_Add1, QFromUtf8("５３０－０００１")},
            {w->Edit_MyZip, w->Edit_MyADD1, w->Edit_MyADD1, QStringLiteral("530-0001")},
        };
        for (auto& c : cases) {
            c.zip->clear();
            c.add1->clear();
            enterZip(c.zip, c.typed);
            QCOMPARE(c.add1->text(), QFromUtf8("大阪府大阪市北区梅田"));
            QCOMPARE(Focus(), c.next);
            QCOMPARE(c.add1->cursorPosition(), int(c.add1->text().size()));
        }
        QCOMPARE(w->Edit_Zip->toolTip(), QFromUtf8("郵便番号データ 2025-09-30"));

        w->Edit_Add1->setText(QFromUtf8("自分で書いた住所"));
        enterZip(w->Edit_Zip, QString());
        QCOMPARE(w->Edit_Add1->text(), QFromUtf8("自分で書いた住所"));
        QCOMPARE(Focus(), w->Edit_Add1);
    }

    void businessCodeBringsStreetAndOfficeName() {
        enterZip(w->Edit_Zip, QStringLiteral("100-8994"));
        QCOMPARE(w->Edit_Add1->text(), QFromUtf8("東京都千代田区丸の内２丁目７－２"));
        QCOMPARE(w->Edit_Add2->text(), QFromUtf8("東京中央郵便局"));

        w->Edit_Add1->clear();
        w->Edit_Add2->setText(QFromUtf8("総務部"));
        enterZip(w->Edit_Zip, QString());
        QCOMPARE(w->Edit_Add2->text(), QFromUtf8("総務部")); // a second line the user wrote stays
    }

    void unknownCodeChangesNothingAndSaysSo() {
        enterZip(w->Edit_Zip, QStringLiteral("123-4567"));
        QCOMPARE(Focus(), w->Edit_Add1);
        QCOMPARE(w->Edit_Add1->text(), QString());
        QCOMPARE(w->Panel_HelpMess->text(), QFromUtf8("郵便番号が見つかりません"));
    }

    void severalTownsArePickedFromAList() {
        // Enter picks the row moved to; Escape picks nothing; typing narrows.
        struct {
            std::function<void(QLineEdit*, QListWidget*)> keys;
            QString expected;
        } cases[] = {
            {[](QLineEdit* f, QListWidget*) {
                 QTest::keyClick(f, Qt::Key_Down);
                 QTest::keyClick(f, Qt::Key_Return);
             },
             QFromUtf8("愛知県清須市春日一番割")},
            {[](QLineEdit* f, QListWidget*) { QTest::keyClick(f, Qt::Key_Escape); }, QString()},
            {[](QLineEdit* f, QListWidget* list) {
                 TypeText(f, QFromUtf8("壱"));
                 int shown = 0;
                 for (int i = 0; i < list->count(); ++i)
                     shown += list->item(i)->isHidden() ? 0 : 1;
                 QCOMPARE(shown, 1);
                 QTest::keyClick(f, Qt::Key_Return);
             },
             QFromUtf8("愛知県清須市春日壱屋敷")},
        };
        for (auto& c : cases) {
            w->Edit_Zip->clear();
            w->Edit_Add1->clear();
            QString heading;
            int rows = 0;
            onChoice([&](PostcodeChoice* choice, QLineEdit* filter, QListWidget* list) {
                heading = choice->findChild<QLabel*>(QStringLiteral("PostcodeChoiceHeading"))->text();
                rows = list->count();
                c.keys(filter, list);
            });
            enterZip(w->Edit_Zip, QStringLiteral("4520961"));
            QCOMPARE(rows, 3);
            QVERIFY2(heading.contains(QStringLiteral("452-0961")) &&
                         heading.contains(QStringLiteral("2025-09-30")),
                     qPrintable(heading));
            QCOMPARE(w->Edit_Add1->text(), c.expected);
            QTRY_COMPARE(Focus(), w->Edit_Add1); // once the window is active again after the list
            QCOMPARE(w->Edit_Add1->cursorPosition(), int(c.expected.size()));
        }
    }

    void mismatchIsShownAfterTransferAndAskedBeforePrinting() {
        const QString warning = QFromUtf8("郵便番号と住所が一致しません（〒530-0001 大阪府大阪市北区梅田）");
        transfer(QFromUtf8("〒530-0001\n大阪府大阪市北区曽根崎1-2\n山田太郎"));
        QCOMPARE(w->Label_ZipWarning->text(), warning);
        QCOMPARE(w->Label_Warning->text(), QString());

        // With the length warning too: both show; printing is only asked, with the line above.
        w->Edit_Add1->setText(
            QFromUtf8("大阪府大阪市北区曽根崎一丁目二番地の長い長い長いビル名")); // > 40 bytes
        w->Edit_Add1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(w->Edit_Add1, Qt::Key_F11);
        QCOMPARE(w->Label_ZipWarning->text(), warning);
        QVERIFY(!w->Label_Warning->text().isEmpty());
        QCOMPARE(fx->boxes.Shown().size(), std::size_t(1));
        QCOMPARE(fx->boxes.Shown()[0].text, warning + u'\n' + kAsk);
        QCOMPARE(Focus(), w->Edit_G1); // answered No: nothing printed

        // An address that fits: no line, the plain question.
        fx->boxes.Clear();
        w->Edit_Add1->setText(QFromUtf8("大阪府大阪市北区梅田1-1"));
        QTest::keyClick(w->Edit_G1, Qt::Key_F11);
        QCOMPARE(w->Label_ZipWarning->text(), QString());
        QCOMPARE(fx->boxes.Shown().at(0).text, kAsk);
    }

    void transferWithoutPostcodeTakesItFromTheAddress() {
        transfer(QFromUtf8("大阪府大阪市北区梅田1-1\n山田太郎"));
        QCOMPARE(w->Edit_Zip->text(), QStringLiteral("530-0001"));
        QCOMPARE(w->Panel_HelpMess->text(), QFromUtf8("住所から郵便番号を補いました"));

        transfer(QFromUtf8("京都府京都市下京区富永町100\n山田太郎"));
        QCOMPARE(w->Edit_Zip->text(), QString());
        QCOMPARE(w->Label_ZipWarning->text(),
                 QFromUtf8("住所に合う郵便番号が複数あります（〒600-8023、〒600-8351）"));
    }

    // Seven digits in any spelling become NNN-NNNN, as the slip's boxes take them: when the field is
    // left, and when an order or a recorded slip fills it. Other text stays as typed.
    void sevenDigitPostcodeIsWrittenWithItsHyphen() {
        const struct {
            const char* typed;
            const char* shown;
            bool fitsSender; // the sender's field takes 8 bytes
        } cases[] = {{"5300001", "530-0001", true},     {"５３００００１", "530-0001", false},
                     {"〒530 0001", "530-0001", false}, {"530-0001", "530-0001", true},
                     {"53000", "53000", true},          {"12345678", "12345678", true}};
        for (QLineEdit* zip :
             {static_cast<QLineEdit*>(w->Edit_Zip), static_cast<QLineEdit*>(w->Edit_MyZip)}) {
            for (const auto& c : cases) {
                if (zip == w->Edit_MyZip && !c.fitsSender) continue;
                zip->clear();
                zip->setFocus(Qt::TabFocusReason);
                TypeText(zip, QFromUtf8(c.typed));
                w->Edit_G1->setFocus(Qt::TabFocusReason); // left without Enter
                QCOMPARE(zip->text(), QFromUtf8(c.shown));
            }
        }
        slip::Record order;
        order.Edit_Zip = "1000001";
        order.Edit_Custo1 = Cp932FromUtf8("山田");
        w->LoadOrder(order, {"R-1"});
        QCOMPARE(w->Edit_Zip->text(), QStringLiteral("100-0001"));
        slip::Record recorded = w->SlipValues();
        recorded.Edit_Zip = Cp932FromUtf8("６００８２１６");
        recorded.Edit_MyZip = "6008216";
        w->LoadRecorded(recorded);
        QCOMPARE(w->Edit_Zip->text(), QStringLiteral("600-8216"));
        QCOMPARE(w->Edit_MyZip->text(), QStringLiteral("600-8216"));
    }

    void damagedIndexIsToldOnceAndTheWindowGoesOn() {
        cleanup();
        start(SampleIndex().substr(0, 100)); // truncated
        enterZip(w->Edit_Zip, QStringLiteral("530-0001"));
        QCOMPARE(Focus(), w->Edit_Add1);
        QCOMPARE(w->Edit_Add1->text(), QString());
        // It says what to do, and all of it shows in the bar.
        const QString said = w->Panel_HelpMess->text();
        QVERIFY(said.startsWith(QFromUtf8("郵便番号データが使えません")));
        QVERIFY(said.contains(QStringLiteral("--import-postcodes")) &&
                said.contains(QStringLiteral("KEN_ALL")));
        QVERIFY2(w->Panel_HelpMess->fontMetrics().horizontalAdvance(said) <=
                     w->Panel_HelpMess->contentsRect().width() - w->Panel_HelpMess->indent(),
                 qPrintable(said));

        enterZip(w->Edit_Zip, QString());
        QCOMPARE(w->Panel_HelpMess->text(), QFromUtf8("お届け先のおところ①を入力して下さい"));
        transfer(QFromUtf8("〒530-0001\n大阪府大阪市北区曽根崎1-2\n山田太郎"));
        QTest::keyClick(w->Edit_Zip, Qt::Key_F11);
        QCOMPARE(w->Label_ZipWarning->text(), QString());
        QCOMPARE(fx->boxes.Shown().at(0).text, kAsk);

        // An import puts a good index in its place: the next lookup uses it.
        fx->Write("postcode.idx", SampleIndex());
        w->Edit_Add1->clear();
        enterZip(w->Edit_Zip, QString());
        QCOMPARE(w->Edit_Add1->text(), QFromUtf8("大阪府大阪市北区梅田"));
    }
};

QTEST_MAIN(PostcodeLookup)
#include "postcode_lookup.moc"
