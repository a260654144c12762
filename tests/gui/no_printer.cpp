// A machine without a running scheduler, on the real main window: it starts without a box and says once,
// in Japanese, what is missing and where to read on; F11 saves the slip as the PDF the scheduler would
// have been sent; the preview works as always.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/print/PreviewWindow.h"
#include "gui/support/FormFixture.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace {

// What a poppler tool says about `pdf`.
QString Poppler(const char* tool, const QString& pdf) {
    QProcess p;
    QStringList arguments{pdf};
    if (QByteArray(tool) == "pdftotext") arguments << QStringLiteral("-"); // to standard output
    p.start(QString::fromLatin1(tool), arguments);
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool AnyBoxSays(const BoxRecorder& boxes, const QString& part) {
    for (const ShownBox& b : boxes.Shown())
        if (b.text.contains(part)) return true;
    return false;
}

} // namespace

class NoPrinter : public QObject {
    Q_OBJECT
    QByteArray server_;
    std::unique_ptr<FormFixture> fx;

    TForm_Main& Start() {
        fx->Write("my0.txt",
                  Cp932FromUtf8("160-0023\r\n東京都新宿区西新宿1-2-3\r\n\r\n見本茶舗\r\n03-1234-0000\r\n"));
        return fx->Start();
    }

private slots:
    void initTestCase() {
        // Nothing listens there: the program finds no scheduler, as on a machine without CUPS.
        server_ = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", "/nonexistent/tavo-zaridi2-test/cups.sock");
    }
    void cleanupTestCase() { qputenv("CUPS_SERVER", server_); }
    void init() { fx = std::make_unique<FormFixture>(); }
    void cleanup() { fx.reset(); }

    void startsWithoutABoxAndSaysOnceWhatIsMissing() {
        TForm_Main& w = Start();
        QVERIFY(fx->boxes.Shown().empty());
        const QString said = w.StatusBar1->currentMessage();
        QCOMPARE(
            said,
            QFromUtf8(
                "印刷できるプリンタがありません（CUPS が動いていません）。準備は README の「プリンタの準備」"
                "（F1 ヘルプ）にあります"));
        QVERIFY(w.StatusBar1->fontMetrics().horizontalAdvance(said) <= w.StatusBar1->width() - 12);
        QCOMPARE(w.ComboBox1->placeholderText(), QFromUtf8("プリンタがありません"));
        QCOMPARE(w.ComboBox2->placeholderText(), QFromUtf8("F11 で PDF に保存できます"));
        SelectSlipType(w, 1); // a change of slip type says nothing more
        QVERIFY(fx->boxes.Shown().empty());
        QCOMPARE(w.StatusBar1->currentMessage(), said);
    }

    void f7AndRegisteringSayItInJapanese() {
        TForm_Main& w = Start();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F7);
        QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{2});
        for (const ShownBox& b : fx->boxes.Shown()) {
            QCOMPARE(b.kind, msgbox::Kind::Notice);
            QCOMPARE(
                b.text,
                QFromUtf8(
                    "印刷できるプリンタがありません（CUPS が動いていません）。\nプリンタの準備は README の"
                    "「プリンタの準備」（F1 ヘルプ）にあります"));
        }
        QVERIFY(!fx->Exists("tavo_a500.ini"));
    }

    void f11SavesTheSlipAsOnePdfPageInTheDocumentsFolder() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1); // continuous: 10 x 4 in
        w.Edit_Zip->setText(QStringLiteral("530-0001"));
        w.Edit_Add1->setText(QFromUtf8("大阪府大阪市北区梅田1-1"));
        w.Edit_Custo1->setText(QFromUtf8("山田 太郎/様"));
        w.Edit_G1->setText(QFromUtf8("はちみつ"));
        w.Edit_G1->setFocus();
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w.Edit_G1, Qt::Key_F11);
        QVERIFY(fx->boxes.Errors().empty());
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{2});
        QCOMPARE(fx->boxes.Shown()[0].text,
                 QFromUtf8("印刷できるプリンタがありません（CUPS が動いていません）\n送り状を PDF "
                           "にして「%1」に保存しますか?")
                     .arg(fx->home.Documents()));
        const QString day = w.DateTimePicker_1->date().toString(QStringLiteral("yyyy-MM-dd"));
        const QString pdf =
            QDir(fx->home.Documents()).filePath(QFromUtf8("送り状_%1_山田 太郎様.pdf").arg(day));
        QCOMPARE(fx->boxes.Shown()[1].text, QFromUtf8("送り状を PDF で保存しました\n") + pdf);
        QVERIFY(QFile::exists(pdf));
        const QString info = Poppler("pdfinfo", pdf);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("720 x 288 pts")), qPrintable(info));
        QString text = Poppler("pdftotext", pdf);
        text.remove(
            QRegularExpression(QStringLiteral("\\s"))); // the postcode's digits stand in boxes of their own
        for (const char* part : {"5300001", "大阪府大阪市北区梅田1-1", "山田", "はちみつ"})
            QVERIFY2(text.contains(QFromUtf8(part)), qPrintable(text));

        // The next slip for the same consignee on the same day takes the next name, and No saves nothing.
        fx->boxes.AnswerNext(true);
        QTest::keyClick(w.Edit_G1, Qt::Key_F11);
        QVERIFY(QFile::exists(
            QDir(fx->home.Documents()).filePath(QFromUtf8("送り状_%1_山田 太郎様 (2).pdf").arg(day))));
        fx->boxes.Clear();
        QTest::keyClick(w.Edit_G1, Qt::Key_F11);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
        QCOMPARE(QDir(fx->home.Documents()).entryList(QDir::Files).size(), 2);
        QVERIFY(!AnyBoxSays(fx->boxes, QStringLiteral("THqPrinter")));
    }

    void previewShowsTheSlipOnItsOwnPaper() {
        TForm_Main& w = Start();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F5);
        QVERIFY(Form_Preview);
        QVERIFY(!Form_Preview->Label_Missing->isHidden());
        QVERIFY(Form_Preview->Label_Missing->text().startsWith(QFromUtf8("プリンタがありません")));
        QVERIFY(Form_Preview->Label_Error->text().isEmpty());
        QVERIFY(fx->boxes.Shown().empty());
        Form_Preview->close();
    }
};

QTEST_MAIN(NoPrinter)
#include "no_printer.moc"
