// Byte limits of the one-line fields: typing and pasting stop at the limit (a full-width character
// counts two bytes); text the program puts in is never cut.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QtTest>

class FieldLimits : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;
    TForm_Main* w = nullptr;

    void typeInto(QLineEdit* e, const QString& text) {
        e->setFocus();
        TypeText(e, text);
    }

private slots:
    void init() {
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        w = &fx->Start();
    }
    void cleanup() { fx.reset(); }

    void limitsAreTheDesignedOnes() {
        QCOMPARE(w->Edit_Zip->ByteLimit(), 16);
        QCOMPARE(w->Edit_Custo1->ByteLimit(), 80);
        QCOMPARE(w->Edit_MyZip->ByteLimit(), 8);
        QCOMPARE(w->Edit_My->ByteLimit(), 80);
        for (LimitedLineEdit* g : {w->Edit_G1, w->Edit_G2, w->Edit_G3})
            QCOMPARE(g->ByteLimit(), 30);
        for (LimitedLineEdit* e : {w->Edit_Add1, w->Edit_Add2, w->Edit_Add3, w->Edit_tel, w->Edit_MyADD1,
                                   w->Edit_MyADD2, w->Edit_MyTEL})
            QCOMPARE(e->ByteLimit(), 0);
    }

    void halfWidthTypingStopsAtTheLimit() {
        typeInto(w->Edit_MyZip, QStringLiteral("123-45678901"));
        QCOMPARE(w->Edit_MyZip->text(), QStringLiteral("123-4567"));
        typeInto(w->Edit_G1, QString(35, QLatin1Char('x')));
        QCOMPARE(w->Edit_G1->text(), QString(30, QLatin1Char('x')));
        // Half-width katakana are one byte each.
        typeInto(w->Edit_G2, QString(31, QChar(0xFF71)));
        QCOMPARE(w->Edit_G2->text(), QString(30, QChar(0xFF71)));
    }

    void fullWidthCharactersCountTwo() {
        typeInto(w->Edit_G1, QString(16, QChar(0x672C))); // 本 x16 = 32 bytes
        QCOMPARE(w->Edit_G1->text(), QString(15, QChar(0x672C)));
        // 29 bytes used: a full-width character no longer fits, a half-width one does.
        typeInto(w->Edit_G3, QString(14, QChar(0x672C)) + QLatin1Char('a'));
        TypeText(w->Edit_G3, QFromUtf8("本b"));
        QCOMPARE(w->Edit_G3->text(), QString(14, QChar(0x672C)) + QStringLiteral("ab"));
        typeInto(w->Edit_Custo1, QString(41, QChar(0x3042)));
        QCOMPARE(Cp932Bytes(w->Edit_Custo1->text()), 80);
    }

    void pasteIsCutToWhatFits() {
        w->Edit_MyZip->setFocus();
        QTest::keyClicks(w->Edit_MyZip, QStringLiteral("12"));
        QApplication::clipboard()->setText(QFromUtf8("３４５６７８"));
        QTest::keyClick(w->Edit_MyZip, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w->Edit_MyZip->text(), QFromUtf8("12３４５"));
        QCOMPARE(w->Edit_MyZip->cursorPosition(), 5);
    }

    void insertingInTheMiddleKeepsTheRest() {
        typeInto(w->Edit_MyZip, QStringLiteral("1234567"));
        w->Edit_MyZip->setCursorPosition(3);
        QTest::keyClicks(w->Edit_MyZip, QStringLiteral("-9"));
        QCOMPARE(w->Edit_MyZip->text(), QStringLiteral("123-4567"));
    }

    void programTextIsNeverCutAndCanBeShortened() {
        QString longName(60, QChar(0x3042)); // 120 bytes
        w->Edit_Custo1->setText(longName);
        QCOMPARE(w->Edit_Custo1->text(), longName);
        w->Edit_Custo1->setFocus();
        w->Edit_Custo1->end(false);
        QTest::keyClick(w->Edit_Custo1, Qt::Key_Backspace);
        QCOMPARE(w->Edit_Custo1->text(), QString(59, QChar(0x3042)));
        TypeText(w->Edit_Custo1, QStringLiteral("z")); // still over the limit: refused
        QCOMPARE(w->Edit_Custo1->text(), QString(59, QChar(0x3042)));
        // Not even by the toolkit's own length limit: a transferred line of any length arrives whole.
        QString huge(40000, QChar(0x3042));
        w->Edit_Add1->setText(huge);
        QCOMPARE(w->Edit_Add1->text().size(), huge.size());
    }

    void unlimitedFieldsTakeAnyLength() {
        typeInto(w->Edit_Add1, QString(100, QChar(0x3042)));
        QCOMPARE(w->Edit_Add1->text().size(), 100);
    }

    void inputMethodIsOffInNumberFields() {
        for (QWidget* e : {static_cast<QWidget*>(w->Edit_Zip), static_cast<QWidget*>(w->Edit_tel),
                           static_cast<QWidget*>(w->Edit_MyZip), static_cast<QWidget*>(w->Edit_MyTEL)})
            QVERIFY(!e->testAttribute(Qt::WA_InputMethodEnabled));
        for (QWidget* e : {w->Edit_Add1, w->Edit_Custo1, w->Edit_G1, w->Edit_My})
            QVERIFY(e->testAttribute(Qt::WA_InputMethodEnabled));
    }
};

QTEST_MAIN(FieldLimits)
#include "field_limits.moc"
