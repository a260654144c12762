// The printer choice dialog over the private CUPS scheduler, driven as a user would.
#include "printer/qt/CupsPrinter.h"
#include "printer/qt/HqPrinterDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class PrinterSetupDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<THqPrinter> printer;

    // Runs Execute while `act` plays the user inside the open dialog.
    static bool Run(TPrinterChoiceForm& dialog, const std::function<void(TPrinterChoiceForm&)>& act) {
        bool acted = false;
        QTimer::singleShot(0, &dialog, [&] {
            acted = true;
            act(dialog);
        });
        bool result = dialog.Execute();
        if (!acted) qWarning("the dialog did not open");
        return result;
    }

    static QStringList Items(QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    static void Ok(TPrinterChoiceForm& d) { d.Buttons->button(QDialogButtonBox::Ok)->click(); }

private slots:
    void init() {
        if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("CUPS_SERVER unset: start scripts/cups-sandbox (scripts/test does)");
        printer = std::make_unique<THqPrinter>(std::make_unique<CupsPrinter>());
        SetHqPrinter(printer.get());
    }
    void cleanup() {
        SetHqPrinter(nullptr);
        printer.reset();
    }

    void showsVisiblePrintersAndTheCurrentSettings() {
        THqPrinterSetupDialog dialog;
        QStringList printers, papers, bins;
        QString paper, bin;
        Run(dialog, [&](TPrinterChoiceForm& d) {
            printers = Items(d.ComboBox_Printer);
            papers = Items(d.ComboBox_Paper);
            bins = Items(d.ComboBox_Bin);
            paper = d.ComboBox_Paper->currentText();
            bin = d.ComboBox_Bin->currentText();
            d.reject();
        });
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("プリンタの設定"));
        QCOMPARE(printers, QStringList({"dotmatrix", "slip"}));
        QCOMPARE(papers, QStringList({"10 x 4 in", "9 x 5.5 in", "A4"}));
        // The scheduler names no default source for the driver: the printer's own setting is offered first.
        QCOMPARE(bins, QStringList({QString::fromUtf8("プリンタの既定"), "Tractor Feed", "Manual Feed",
                                    "Front Tractor"}));
        QCOMPARE(paper, QString("10 x 4 in"));
        QCOMPARE(bin, QString::fromUtf8("プリンタの既定"));
    }

    void choosingAnotherPrinterShowsItsListsAndDefaults() {
        THqPrinterSetupDialog dialog;
        int papers = -1;
        QString paper;
        bool binEnabled = true;
        Run(dialog, [&](TPrinterChoiceForm& d) {
            d.ComboBox_Printer->setCurrentIndex(0);
            papers = d.ComboBox_Paper->count();
            paper = d.ComboBox_Paper->currentText();
            binEnabled = d.ComboBox_Bin->isEnabled() || d.ComboBox_Bin->count() > 0;
            d.reject();
        });
        QCOMPARE(papers, 4);
        QCOMPARE(paper, QString("A4"));
        QVERIFY(!binEnabled);
    }

    void okMakesTheChoiceCurrent() {
        // The object has read the current settings before: only the refresh after OK shows the change.
        QCOMPARE(printer->GetPaperSizeIndex(), 0);
        QCOMPARE(printer->GetBinIndex(), 0);
        THqPrinterSetupDialog dialog;
        bool ok = Run(dialog, [](TPrinterChoiceForm& d) {
            d.ComboBox_Paper->setCurrentIndex(1);
            d.ComboBox_Bin->setCurrentIndex(2);
            Ok(d);
        });
        QVERIFY(ok);
        QCOMPARE(printer->GetIndex(), 1);
        QCOMPARE(printer->GetPaperSizeIndex(), 1);
        QCOMPARE(printer->GetBinIndex(), 2);
        QCOMPARE(printer->GetBinNumber(), 4);
    }

    void slipFormIsOfferedAndPreselectedWhereTheQueueTakesFreeSizes() {
        printer->SetSlipForm({720, 288}); // the continuous slip
        THqPrinterSetupDialog dialog;
        QStringList papers;
        QString paper;
        bool ok = Run(dialog, [&](TPrinterChoiceForm& d) {
            d.ComboBox_Printer->setCurrentIndex(0); // the sample 24-pin driver
            papers = Items(d.ComboBox_Paper);
            paper = d.ComboBox_Paper->currentText();
            Ok(d);
        });
        QVERIFY(ok);
        QCOMPARE(papers, QStringList({"Letter", "Legal", "A4", "377.83 x 279.4 mm", "10 x 4 in"}));
        QCOMPARE(paper, QString("10 x 4 in"));
        const PageGeometry page = printer->GetPageGeometry();
        QCOMPARE(page.width, 720.0);
        QCOMPARE(page.length, 288.0);
    }

    void okOnAnotherPrinterSwitchesToIt() {
        THqPrintDialog dialog;
        bool ok = Run(dialog, [](TPrinterChoiceForm& d) {
            d.ComboBox_Printer->setCurrentIndex(0);
            d.ComboBox_Paper->setCurrentIndex(0);
            Ok(d);
        });
        QVERIFY(ok);
        QCOMPARE(printer->GetIndex(), 0);
        QCOMPARE(printer->GetPaperSizeNumber(), 1); // Letter
        TPoint dpi;
        printer->GetResolution(dpi);
        QCOMPARE(dpi.X, 360);
    }

    void cancelChangesNothing() {
        THqPrinterSetupDialog dialog;
        bool ok = Run(dialog, [](TPrinterChoiceForm& d) {
            d.ComboBox_Printer->setCurrentIndex(0);
            d.Buttons->button(QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(!ok);
        QCOMPARE(printer->GetIndex(), 1);
        QCOMPARE(printer->GetPaperSizeIndex(), 0);
    }

    void escapeCountsAsCancel() {
        THqPrinterSetupDialog dialog;
        bool ok = Run(dialog, [](TPrinterChoiceForm& d) {
            d.ComboBox_Paper->setCurrentIndex(2);
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QVERIFY(!ok);
        QCOMPARE(printer->GetPaperSizeIndex(), 0);
    }
};

QTEST_MAIN(PrinterSetupDialogTest)
#include "PrinterSetupDialog.moc"
