// The F5 preview on the real main window over the private CUPS scheduler (visible queues: 0
// "dotmatrix", A4 at 360 dpi; 1 "slip", the 10 x 4 inch continuous form at 180 dpi).
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/print/PreviewWindow.h"
#include "escp/qt/TextModeImage.h"
#include "gui/support/FormFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

#include <cups/cups.h>

class PreviewWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;

    TForm_Main& Start(const char* registration) {
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        if (registration) fx->Write("tavo_a500.ini", Cp932FromUtf8(registration));
        TForm_Main& w = fx->Start();
        w.Edit_Zip->setText("123-4567");
        return w;
    }

    // F5 in the postcode field; the preview that opened.
    TForm_Preview& PressF5(TForm_Main& w) {
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F5);
        if (!Form_Preview) qFatal("F5 opened no preview");
        (void)QTest::qWaitForWindowExposed(Form_Preview);
        return *Form_Preview;
    }

private slots:
    void init() { fx = std::make_unique<FormFixture>(); }
    void cleanup() { fx.reset(); }

    void f5ShowsTheSlipOnTheRegisteredPrintersPaperAndEscapeCloses() {
        TForm_Main& w =
            Start("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n");
        QCOMPARE(w.SpeedButton_F[5]->text(), QFromUtf8("プレビュー"));
        QCOMPARE(w.SpeedButton_F[5]->toolTip(), QFromUtf8("印刷イメージを表示します"));
        QVERIFY(w.SpeedButton_F[5]->isEnabled());
        TForm_Preview& p = PressF5(w);
        QVERIFY(p.isModal());
        QVERIFY(p.Label_Missing->isHidden());
        QVERIFY(p.Label_Error->isHidden());
        QCOMPARE(p.PageImage().size(), QSize(1800, 720)); // 10 x 4 inches at 180 dpi
        for (const char* shown : {"プリンタ: slip", "用紙: 10 x 4 in", "給紙: プリンタの既定", "180×180 dpi"})
            QVERIFY2(p.Label_Target->text().contains(QFromUtf8(shown)), shown);
        QVERIFY(w.Label_dpix->text().isEmpty()); // looking prints nothing and changes nothing

        QTest::keyClick(&p, Qt::Key_Escape);
        QTRY_VERIFY(Form_Preview == nullptr);
    }

    void zoomShowsThePaperAtItsSizeOnTheScreen() {
        TForm_Main& w =
            Start("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n");
        TForm_Preview& p = PressF5(w);
        const QSize actual(10 * p.logicalDpiX(), 4 * p.logicalDpiY());
        QTest::mouseClick(p.Button_Actual, Qt::LeftButton);
        QCOMPARE(p.Image_Page->size(), actual);
        QTest::mouseClick(p.Button_Double, Qt::LeftButton);
        QCOMPARE(p.Image_Page->size(), actual * 2);
        QTest::mouseClick(p.Button_Fit, Qt::LeftButton);
        const QSize room = p.ScrollBox_Page->viewport()->size();
        QVERIFY(p.Image_Page->width() <= room.width() && p.Image_Page->height() <= room.height());
        QVERIFY(p.Image_Page->width() >= room.width() - 10 || p.Image_Page->height() >= room.height() - 10);
    }

    void layoutErrorShowsItsMessageInsteadOfThePage() {
        TForm_Main& w =
            Start("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=1.5\r\ntavPrn_Left=0\r\n");
        TForm_Preview& p = PressF5(w);
        QVERIFY(p.PageImage().isNull());
        QVERIFY(p.Label_Error->isVisible());
        QCOMPARE(p.Label_Error->text(), QStringLiteral("'1.5' is not a valid integer value"));
        QVERIFY(p.ScrollBox_Page->isHidden());
        QVERIFY(fx->boxes.Errors().empty()); // shown in the preview, not as an error box
    }

    void f11InThePreviewAsksAsTheMainWindowDoes() {
        TForm_Main& w =
            Start("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n");
        TForm_Preview& p = PressF5(w);
        fx->boxes.AnswerNext(false);
        QTest::keyClick(&p, Qt::Key_F11);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
        QCOMPARE(fx->boxes.Shown()[0].text, QFromUtf8("印刷しますか?"));
        QVERIFY(w.Label_dpix->text().isEmpty()); // No: the printer was not asked
    }

    // Bad input: the registered printer gone, none registered, none at all. The slip still shows, on
    // the slip type's own paper (hand-fed: 9 x 5.5 inches), with a line saying what is missing.
    void missingPrinterShowsTheNominalPaperAndSaysWhichPrinterIsMissing() {
        TForm_Main& w =
            Start("[手差し]\r\nPrnName=old-slip\r\nPrnNoIndex=7\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n");
        TForm_Preview& p = PressF5(w);
        QVERIFY(p.Label_Missing->isVisible());
        QCOMPARE(p.Label_Missing->text(), QFromUtf8("登録されたプリンタ「old-slip」が見つかりません"));
        // No printer stands in for a registered one that is gone, so the preview assumes 180 dpi.
        QCOMPARE(p.PageImage().size(), QSize(9 * 180, 5 * 180 + 90));
    }

    void unregisteredSlipTypeSaysSo() {
        TForm_Main& w = Start(nullptr);
        TForm_Preview& p = PressF5(w);
        QCOMPARE(p.Label_Missing->text(), QFromUtf8("「手差し」にはプリンタが登録されていません"));
        QCOMPARE(p.PageImage().size(), QSize(9 * 360, 5 * 360 + 180));
    }

    void noPrinterAtAllStillShowsTheSlip() {
        const QByteArray server = qgetenv("CUPS_SERVER");
        cupsSetServer("127.0.0.1:1"); // nothing listens there
        TForm_Main& w =
            Start("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n");
        fx->boxes.Clear(); // the start-up's own report of the missing printer
        TForm_Preview& p = PressF5(w);
        cupsSetServer(server.constData());
        QCOMPARE(p.Label_Missing->text(), QFromUtf8("プリンタがありません（登録: 「slip」）"));
        QCOMPARE(p.PageImage().size(), QSize(9 * 180, 5 * 180 + 90)); // at 180 dpi
        QVERIFY(fx->boxes.Errors().empty());
    }
    // Text mode on "dotmatrix" (360 dpi, free sizes): the printer's character grid at 180 dpi, with the
    // characters the printer lacks in red.
    void textModeShowsThePrintersCharacterGridAndMarksThePictures() {
        int red[2] = {};
        const char* names[] = {"高橋", "髙橋"};
        for (int i = 0; i < 2; ++i) {
            fx.reset();
            fx = std::make_unique<FormFixture>();
            TForm_Main& w = Start("[手差し]\r\nPrnName=dotmatrix\r\nPrnNoIndex=0\r\nPrintMode=text\r\n");
            w.Edit_Custo1->setText(QFromUtf8(names[i]));
            TForm_Preview& p = PressF5(w);
            QCOMPARE(p.Target().dpix, 180);
            QVERIFY(p.Label_Missing->isHidden());
            QCOMPARE(p.PageImage().size(), QSize(1620, 990)); // the slip's own size, which the queue takes
            QVERIFY(p.Label_Target->text().contains(QFromUtf8("180×180 dpi")));
            QVERIFY(p.Label_Target->text().contains(QFromUtf8("文字（プリンタ内蔵フォント）")));
            const QImage page = p.PageImage().convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < page.height(); ++y)
                for (int x = 0; x < page.width(); ++x)
                    red[i] += page.pixel(x, y) == kPictureColour;
            p.reject();
        }
        QCOMPARE(red[0], 0); // 高 is the printer's own
        QVERIFY(red[1] > 30);
    }
};

QTEST_MAIN(PreviewWindow)
#include "preview_window.moc"
