// Printer registration per slip type, the F7 printer choice and the print-position dialog, on the real
// main window over the private CUPS scheduler (visible queues: 0 "dotmatrix", 1 "slip").
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "gui/support/FormFixture.h"
#include "printer/HqPrinter.h"
#include "printer/qt/HqPrinterDialogs.h"
#include "widgets/qt/KyNumEdit.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const char* kHand = "手差し";
const char* kCont = "連続(４インチ)";

void ChoosePrinter(QWidget* d, int printer, int paper, bool ok) {
    auto* dialog = qobject_cast<TPrinterChoiceForm*>(d);
    QVERIFY(dialog);
    dialog->ComboBox_Printer->setCurrentIndex(printer);
    if (paper >= 0) dialog->ComboBox_Paper->setCurrentIndex(paper);
    dialog->Buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
}

QStringList Margins(TForm_Main& w) {
    return {w.Label_PrinterIndex->text(), w.Label_Prn_Top->text(), w.Label_Prn_Left->text()};
}

} // namespace

class PrinterRegistration : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;

    TForm_Main& Start() {
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        TForm_Main& w = fx->Start();
        return w;
    }

private slots:
    void init() { fx = std::make_unique<FormFixture>(); }
    void cleanup() { fx.reset(); }

    void unregisteredSlipTypeShowsNoPrinterAndSaysSo() {
        TForm_Main& w = Start();
        QVERIFY(fx->boxes.Errors().empty()); // told on the display, not in a box
        QCOMPARE(Margins(w), QStringList({"0", "0", "0"}));
        QCOMPARE(w.ComboBox1->currentIndex(), -1);
        QCOMPARE(w.ComboBox1->placeholderText() + w.ComboBox2->placeholderText(),
                 QFromUtf8("この用紙の印刷先が登録されていません"));
        QCOMPARE(w.ComboBox2->count(), 0);
        QVERIFY(!fx->Exists("tavo_a500.ini")); // reading registers nothing
        QVERIFY(w.Edit_Zip->hasFocus());       // the first showing ran to its end
    }

    void switchingSlipTypesSwitchesPrinterAndMargins() {
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=10\r\n"
                                "tavPrn_Left=20\r\n[連続(４インチ)]\r\nPrnName=dotmatrix\r\n"
                                "PrnNoIndex=0\r\ntavPrn_Top=-3\r\ntavPrn_Left=7\r\n"));
        TForm_Main& w = Start();
        QCOMPARE(w.ComboBox_SEL->currentText(), QFromUtf8(kHand));
        QCOMPARE(Margins(w), QStringList({"1", "10", "20"}));
        QCOMPARE(HqPrinter().GetIndex(), 1);
        QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
        QCOMPARE(w.ComboBox2->currentText(), QString("10 x 4 in"));
        QCOMPARE(w.ComboBox3->currentText(), QFromUtf8("プリンタの既定")); // the driver's own feed

        SelectSlipType(w, 1);
        QCOMPARE(w.ComboBox_SEL->currentText(), QFromUtf8(kCont));
        QCOMPARE(Margins(w), QStringList({"0", "-3", "7"}));
        QCOMPARE(HqPrinter().GetIndex(), 0);
        QCOMPARE(w.ComboBox1->currentText(), QString("dotmatrix"));
        QCOMPARE(w.ComboBox2->currentText(), QString("10 x 4 in")); // the slip's own size, not A4

        SelectSlipType(w, 0);
        QCOMPARE(Margins(w), QStringList({"1", "10", "20"}));
        QCOMPARE(HqPrinter().GetIndex(), 1);
        QVERIFY(fx->boxes.Shown().empty()); // no prompt at any switch
    }

    void storedSlipTypeLoadsItsRegistrationAtStartUp() {
        fx->Write("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\nComboBox_SEL=1\r\n");
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[連続(４インチ)]\r\nPrnNoIndex=1\r\ntavPrn_Top=4\r\ntavPrn_Left=5\r\n"));
        TForm_Main& w = Start();
        QCOMPARE(Margins(w), QStringList({"1", "4", "5"}));
        QCOMPARE(HqPrinter().GetIndex(), 1);
    }

    void registeringWritesTheChosenPrinterAndKeepsTheMargins() {
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[手差し]\r\nPrnNoIndex=0\r\ntavPrn_Top=12\r\ntavPrn_Left=-5\r\n"));
        TForm_Main& w = Start();
        QStringList offered;
        InDialog user([&](QWidget* d) {
            offered << qobject_cast<TPrinterChoiceForm*>(d)->ComboBox_Printer->currentText()
                    << d->windowTitle();
            ChoosePrinter(d, 1, 1, true);
        });
        QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        QVERIFY(user.opened);
        // The dialog opens on the registered printer and says which slip type it registers for; the
        // registration is confirmed.
        QCOMPARE(offered, QStringList({"dotmatrix", QFromUtf8("「手差し」の印刷先を登録")}));
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
        QCOMPARE(fx->boxes.Shown()[0].kind, msgbox::Kind::Notice);
        QCOMPARE(fx->boxes.Shown()[0].text, QFromUtf8("「手差し」の印刷先を「slip」に登録しました"));
        QCOMPARE(Margins(w), QStringList({"1", "12", "-5"}));
        QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
        QCOMPARE(w.ComboBox2->currentText(), QString("9 x 5.5 in"));
        QCOMPARE(
            fx->Read("tavo_a500.ini"),
            Cp932FromUtf8("[手差し]\r\nPrnNoIndex=1\r\ntavPrn_Top=12\r\ntavPrn_Left=-5\r\nPrnName=slip\r\n"));
        QVERIFY(fx->boxes.Errors().empty());
    }

    void newSectionListsItsKeysInOrder() {
        TForm_Main& w = Start();
        SelectSlipType(w, 1);
        InDialog user([](QWidget* d) { ChoosePrinter(d, 1, -1, true); });
        QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        QVERIFY(user.opened);
        QCOMPARE(
            fx->Read("tavo_a500.ini"),
            Cp932FromUtf8(
                "[連続(４インチ)]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\ntavPrn_Left=0\r\n"));
    }

    void cancelOrEscapeLeavesTheRegistrationAsItWas() {
        const std::string file = Cp932FromUtf8("[手差し]\r\nPrnNoIndex=1\r\n");
        const std::function<void(QWidget*)> leave[] = {
            [](QWidget* d) { ChoosePrinter(d, 0, -1, false); },
            [](QWidget* d) {
                qobject_cast<TPrinterChoiceForm*>(d)->ComboBox_Printer->setCurrentIndex(0);
                QTest::keyClick(d, Qt::Key_Escape);
            }};
        for (const auto& act : leave) {
            fx.reset();
            fx = std::make_unique<FormFixture>();
            fx->Write("tavo_a500.ini", file);
            TForm_Main& w = Start();
            InDialog user(act);
            QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
            QVERIFY(user.opened);
            QCOMPARE(HqPrinter().GetIndex(), 1);
            QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
            QCOMPARE(fx->Read("tavo_a500.ini"), file);
        }
    }

    void registeredPrinterThatIsGoneFallsBackToTheFirstSilently() {
        fx->Write("tavo_a500.ini",
                  Cp932FromUtf8("[手差し]\r\nPrnNoIndex=1\r\n[連続(４インチ)]\r\nPrnNoIndex=7\r\n"));
        TForm_Main& w = Start();
        QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
        SelectSlipType(w, 1);
        QVERIFY(fx->boxes.Shown().empty());
        QCOMPARE(HqPrinter().GetIndex(), 0);
        QCOMPARE(w.Label_PrinterIndex->text(), QString("7"));
        QCOMPARE(w.ComboBox1->currentText(), QString("slip")); // the displays keep their contents
    }

    void registeredNameWinsOverTheIndexItWasRegisteredAt() {
        const std::string file =
            Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=0\r\ntavPrn_Top=2\r\n");
        fx->Write("tavo_a500.ini", file);
        TForm_Main& w = Start();
        QVERIFY(fx->boxes.Errors().empty());
        QCOMPARE(HqPrinter().GetIndex(), 1);
        QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
        QCOMPARE(Margins(w), QStringList({"1", "2", "0"}));
        QCOMPARE(fx->Read("tavo_a500.ini"), file); // reading registers nothing
    }

    void registeredPrinterThatCannotPrintIsReportedAndNoOtherStandsIn() {
        const struct {
            const char* name;
            const char* message;
        } cases[] = {{"gone", "登録されたプリンタ「gone」が見つかりません"},
                     {"rejecting", "登録されたプリンタ「rejecting」は印刷を受け付けていません"}};
        for (const auto& c : cases) {
            fx.reset();
            fx = std::make_unique<FormFixture>();
            fx->Write("tavo_a500.ini",
                      Cp932FromUtf8("[手差し]\r\nPrnName=") + c.name + "\r\nPrnNoIndex=0\r\n");
            TForm_Main& w = Start();
            QCOMPARE(fx->boxes.Errors(), std::vector<QString>{QFromUtf8(c.message)});
            QCOMPARE(w.ComboBox1->currentIndex(), -1); // no printer shown as the slip type's
            QCOMPARE(w.ComboBox2->count(), 0);

            // F11 says so again before asking anything.
            fx->boxes.Clear();
            w.Edit_Zip->setFocus();
            QTest::keyClick(w.Edit_Zip, Qt::Key_F11);
            QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
            QCOMPARE(fx->boxes.Errors(), std::vector<QString>{QFromUtf8(c.message)});

            // Another slip type, with no printer registered, says so on its display; coming back
            // reports again.
            fx->boxes.Clear();
            SelectSlipType(w, 1);
            QVERIFY(fx->boxes.Errors().empty());
            QCOMPARE(w.ComboBox1->placeholderText() + w.ComboBox2->placeholderText(),
                     QFromUtf8("この用紙の印刷先が登録されていません"));
            SelectSlipType(w, 0);
            QCOMPARE(fx->boxes.Errors(), std::vector<QString>{QFromUtf8(c.message)});

            // Registering margins meanwhile keeps the registered name, not whatever is current.
            InDialog margins([&](QWidget* d) {
                TypeText(qobject_cast<TForm_SLIP97YPrn*>(d)->KyNumEdit_TOP, "9");
                fx->boxes.AnswerNext(true);
                QTest::mouseClick(qobject_cast<TForm_SLIP97YPrn*>(d)->BitBtn_MRGN, Qt::LeftButton);
            });
            QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
            QVERIFY(margins.opened);
            QCOMPARE(fx->Read("tavo_a500.ini"), Cp932FromUtf8("[手差し]\r\nPrnName=") + c.name +
                                                    "\r\nPrnNoIndex=0\r\ntavPrn_Top=9\r\ntavPrn_Left=0\r\n");

            // Registering a printer mends it: the dialog opens on the first printer.
            QString offered;
            InDialog user([&](QWidget* d) {
                offered = qobject_cast<TPrinterChoiceForm*>(d)->ComboBox_Printer->currentText();
                ChoosePrinter(d, 1, -1, true);
            });
            fx->boxes.Clear();
            QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
            QVERIFY(user.opened);
            QVERIFY(fx->boxes.Errors().empty());
            QCOMPARE(offered, QString("dotmatrix"));
            QCOMPARE(fx->Read("tavo_a500.ini"),
                     Cp932FromUtf8(
                         "[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=9\r\ntavPrn_Left=0\r\n"));
            SelectSlipType(w, 1);
            SelectSlipType(w, 0);
            QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
            fx.reset();
        }
    }

    void printerIndexThatIsNotANumberIsReportedAndNothingIsRegistered() {
        const std::string file = Cp932FromUtf8("[手差し]\r\nPrnNoIndex=x1\r\n");
        fx->Write("tavo_a500.ini", file);
        TForm_Main& w = Start();
        QCOMPARE(fx->boxes.Errors(),
                 std::vector<QString>{QStringLiteral("'x1' is not a valid integer value")});
        fx->boxes.Clear();
        InDialog user([](QWidget* d) { ChoosePrinter(d, 1, -1, true); });
        QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        QVERIFY(!user.opened);
        QCOMPARE(fx->boxes.Errors(),
                 std::vector<QString>{QStringLiteral("'x1' is not a valid integer value")});
        QCOMPARE(fx->Read("tavo_a500.ini"), file);
    }

    void f7ChoiceGoesToTheSettingsFileNotToTheRegistration() {
        TForm_Main& w = Start();
        w.Edit_Zip->setFocus();
        InDialog user([](QWidget* d) { ChoosePrinter(d, 1, -1, true); });
        QTest::keyClick(w.Edit_Zip, Qt::Key_F7);
        QVERIFY(user.opened);
        QCOMPARE(HqPrinter().GetIndex(), 1);
        QCOMPARE(w.Label_PrinterIndex->text(), QString("1"));
        QCOMPARE(w.ComboBox1->currentText(), QString("slip"));
        QVERIFY(!fx->Exists("tavo_a500.ini"));
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("ZaRIDI2prnno=1\r\n") != std::string::npos);
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("ZaRIDI2prnName=slip\r\n") != std::string::npos);

        // The next F7 opens on the stored choice; a slip type change brings the registered one back.
        QString offered;
        InDialog again([&](QWidget* d) {
            offered = qobject_cast<TPrinterChoiceForm*>(d)->ComboBox_Printer->currentText();
            ChoosePrinter(d, 1, -1, false);
        });
        HqPrinter().SetIndex(0);
        QTest::keyClick(w.Edit_Zip, Qt::Key_F7);
        QCOMPARE(offered, QString("slip"));
        SelectSlipType(w, 1);
        SelectSlipType(w, 0);
        QCOMPARE(HqPrinter().GetIndex(), 0);
    }

    void f7OpensOnTheChosenPrinterByNameWhereverItStandsNow() {
        // Chosen when "slip" was the first printer; the index alone would now mean "dotmatrix".
        fx->Write("tavo_Zaridi2.ini", "[tv_SAGAWAprn]\r\nZaRIDI2prnno=0\r\nZaRIDI2prnName=slip\r\n");
        TForm_Main& w = Start();
        QString offered;
        InDialog user([&](QWidget* d) {
            offered = qobject_cast<TPrinterChoiceForm*>(d)->ComboBox_Printer->currentText();
            ChoosePrinter(d, 1, -1, false);
        });
        w.Edit_Zip->setFocus();
        QTest::keyClick(w.Edit_Zip, Qt::Key_F7);
        QVERIFY(user.opened);
        QCOMPARE(offered, QString("slip"));
        QVERIFY(fx->Read("tavo_Zaridi2.ini").find("ZaRIDI2prnno=1\r\n") != std::string::npos);
    }

    void printPositionDialogShowsAndRegistersTheMargins() {
        fx->Write(
            "tavo_a500.ini",
            Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=3\r\ntavPrn_Left=4\r\n"));
        TForm_Main& w = Start();
        QString caption, group;
        QSize size;
        QStringList shown;
        InDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<TForm_SLIP97YPrn*>(d);
            QVERIFY(dlg);
            caption = dlg->windowTitle();
            size = dlg->size();
            group = dlg->GroupBox1->title();
            shown << dlg->KyNumEdit_TOP->text() << dlg->KyNumEdit_LEFT->text();
            QVERIFY(dlg->KyNumEdit_TOP->hasFocus());
            TypeText(dlg->KyNumEdit_TOP, "12");
            QTest::keyClick(dlg->KyNumEdit_TOP, Qt::Key_Return);
            QVERIFY(dlg->KyNumEdit_LEFT->hasFocus());
            TypeText(dlg->KyNumEdit_LEFT, "-5");
            fx->boxes.AnswerNext(true);
            QTest::mouseClick(dlg->BitBtn_MRGN, Qt::LeftButton);
        });
        QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
        QVERIFY(user.opened);
        QCOMPARE(caption, QFromUtf8("印字位置調整"));
        QCOMPARE(group, QFromUtf8("印字位置調整セット"));
        QCOMPARE(size, QSize(190, 418));
        QCOMPARE(shown, QStringList({"3", "4"}));
        QCOMPARE(fx->boxes.Shown().at(0).text, QFromUtf8("印字位置調整の余白を登録しますか?"));
        QVERIFY(!Form_SLIP97YPrn->isVisible());
        QCOMPARE(Margins(w), QStringList({"1", "12", "-5"}));
        QCOMPARE(
            fx->Read("tavo_a500.ini"),
            Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=12\r\ntavPrn_Left=-5\r\n"));
    }

    // The next slip's number typed (or scanned: the digits and Enter) into the dialog's field, over a
    // counter at 512547514334: NextSlipNo afterwards, or the error that refused the number.
    void nextSlipNumberIsCheckedWhereItIsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("error");
        QTest::newRow("folded and kept") << QFromUtf8("５１２５－４７５１－４３４５") << "512547514345"
                                         << "";
        QTest::newRow("wrong check digit")
            << "512547514346"
            << "512547514334" << QFromUtf8("送り状番号が正しくありません（確認数字）");
        QTest::newRow("not a stack's shape") << "13112383852"
                                             << "512547514334" << QFromUtf8("12桁");
        QTest::newRow("emptied: cleared") << ""
                                          << ""
                                          << "";
    }
    void nextSlipNumberIsCheckedWhereItIsTyped() {
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(QString, error);
        const std::string section = Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\nNextSlipNo=");
        fx->Write("tavo_a500.ini", section + "512547514334\r\n");
        TForm_Main& w = Start();
        QString shown;
        InDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<TForm_SLIP97YPrn*>(d);
            shown = dlg->Edit_NextSlipNo->text();
            dlg->Edit_NextSlipNo->clear();
            TypeText(dlg->Edit_NextSlipNo, typed);
            fx->boxes.AnswerNext(true);
            QTest::keyClick(dlg->Edit_NextSlipNo, Qt::Key_Return);
        });
        QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
        QCOMPARE(shown, QString("512547514334"));
        QCOMPARE(fx->Read("tavo_a500.ini"), section + after.toStdString() + "\r\n");
        const std::vector<QString> errors = fx->boxes.Errors();
        QCOMPARE(errors.size(), std::size_t{!error.isEmpty()});
        if (!error.isEmpty()) QVERIFY2(errors[0].contains(error), qPrintable(errors[0]));
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1}); // the question, or the refusal in its place
    }

    void millimetresMeasuredOnTheTestPageMoveTheMarginsInWholeDots() {
        fx->Write(
            "tavo_a500.ini",
            Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=3\r\ntavPrn_Left=4\r\n"));
        TForm_Main& w = Start();
        QString resolution;
        QStringList after;
        InDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<TForm_SLIP97YPrn*>(d);
            resolution = dlg->Label_Resolution->text();
            TypeText(dlg->KyNumEdit_RIGHT, "-1.5"); // at 180 dpi: -10.6 dots
            TypeText(dlg->KyNumEdit_DOWN, "2");     // 14.2 dots
            QTest::mouseClick(dlg->BitBtn_MmAdd, Qt::LeftButton);
            after << dlg->KyNumEdit_TOP->text() << dlg->KyNumEdit_LEFT->text()
                  << dlg->KyNumEdit_RIGHT->text();
            fx->boxes.AnswerNext(true);
            QTest::mouseClick(dlg->BitBtn_MRGN, Qt::LeftButton);
        });
        QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
        QVERIFY(user.opened);
        QVERIFY2(resolution.contains(QFromUtf8("180×180 dpi")) && resolution.contains("0.141"),
                 qPrintable(resolution));
        QCOMPARE(after, QStringList({"17", "-7", ""}));
        QCOMPARE(Margins(w), QStringList({"1", "17", "-7"}));
        QCOMPARE(
            fx->Read("tavo_a500.ini"),
            Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=17\r\ntavPrn_Left=-7\r\n"));
    }

    void enterFromTheLeftMarginReachesTheButtonAndEnterThereRegisters() {
        TForm_Main& w = Start();
        bool onButton = false;
        InDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<TForm_SLIP97YPrn*>(d);
            TypeText(dlg->KyNumEdit_TOP, "6");
            QTest::keyClick(dlg->KyNumEdit_TOP, Qt::Key_Return);
            TypeText(dlg->KyNumEdit_LEFT, "-2");
            QTest::keyClick(dlg->KyNumEdit_LEFT, Qt::Key_Return);
            onButton = dlg->BitBtn_MRGN->hasFocus();
            fx->boxes.AnswerNext(true);
            QTest::keyClick(dlg->BitBtn_MRGN, Qt::Key_Return);
        });
        QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
        QVERIFY(user.opened);
        QVERIFY(onButton);
        QCOMPARE(fx->boxes.Shown().size(), std::size_t{1});
        QCOMPARE(Margins(w), QStringList({"0", "6", "-2"}));
        QVERIFY(!Form_SLIP97YPrn->isVisible());
    }

    void answeringNoKeepsTheDialogOpenAndWritesNothing() {
        TForm_Main& w = Start();
        bool stillOpen = false;
        QString typed;
        InDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<TForm_SLIP97YPrn*>(d);
            TypeText(dlg->KyNumEdit_TOP, "8");
            fx->boxes.AnswerNext(false);
            QTest::mouseClick(dlg->BitBtn_MRGN, Qt::LeftButton);
            stillOpen = dlg->isVisible();
            typed = dlg->KyNumEdit_TOP->text();
            // Up from the left margin goes back to the top one.
            dlg->KyNumEdit_LEFT->setFocus();
            QTest::keyClick(dlg->KyNumEdit_LEFT, Qt::Key_Up);
            QVERIFY(dlg->KyNumEdit_TOP->hasFocus());
            dlg->reject();
        });
        QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
        QVERIFY(user.opened);
        QVERIFY(stillOpen);
        QCOMPARE(typed, QString("8"));
        QVERIFY(!fx->Exists("tavo_a500.ini"));
        QCOMPARE(Margins(w), QStringList({"0", "0", "0"}));
    }

    void emptiedMarginIsRegisteredEmpty() {
        TForm_Main& w = Start();
        InDialog user([&](QWidget* d) {
            auto* dlg = qobject_cast<TForm_SLIP97YPrn*>(d);
            dlg->KyNumEdit_LEFT->setFocus();
            QTest::keyClick(dlg->KyNumEdit_LEFT, Qt::Key_Delete);
            fx->boxes.AnswerNext(true);
            QTest::mouseClick(dlg->BitBtn_MRGN, Qt::LeftButton);
        });
        QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
        QVERIFY(user.opened);
        QCOMPARE(Margins(w), QStringList({"0", "0", ""}));
        QVERIFY(fx->Read("tavo_a500.ini").find("tavPrn_Left=\r\n") != std::string::npos);
    }
    void registrationOffersThePrintModeAndEveryRegistrationKeepsIt() {
        TForm_Main& w = Start();
        QString startedAt;
        bool offered = false;
        auto chooseText = [&](QWidget* d) {
            auto* dlg = qobject_cast<TPrinterChoiceForm*>(d);
            offered = dlg->ComboBox_Mode->isVisibleTo(dlg);
            startedAt = dlg->ComboBox_Mode->currentText();
            dlg->ComboBox_Mode->setCurrentIndex(1);
            ChoosePrinter(d, 1, -1, true);
        };
        {
            InDialog user(chooseText);
            QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        }
        QVERIFY(offered);
        QCOMPARE(startedAt, QFromUtf8("グラフィック（ドライバ）")); // graphics unless registered otherwise
        QCOMPARE(fx->Read("tavo_a500.ini"),
                 Cp932FromUtf8("[手差し]\r\nPrnName=slip\r\nPrnNoIndex=1\r\ntavPrn_Top=0\r\n"
                               "tavPrn_Left=0\r\nPrintMode=text\r\n"));
        QCOMPARE(w.SlipPrintMode(), PrintMode::Text);

        // New margins keep the mode; the next registration starts at it.
        {
            InDialog margins([&](QWidget* d) {
                TypeText(qobject_cast<TForm_SLIP97YPrn*>(d)->KyNumEdit_TOP, "9");
                fx->boxes.AnswerNext(true);
                QTest::mouseClick(qobject_cast<TForm_SLIP97YPrn*>(d)->BitBtn_MRGN, Qt::LeftButton);
            });
            QTest::mouseClick(w.BitBtn_PrnSet2, Qt::LeftButton);
            QVERIFY(margins.opened);
        }
        QVERIFY(fx->Read("tavo_a500.ini").find("tavPrn_Top=9\r\ntavPrn_Left=0\r\nPrintMode=text\r\n") !=
                std::string::npos);
        {
            InDialog again(chooseText);
            QTest::mouseClick(w.BitBtn_PrnSet, Qt::LeftButton);
        }
        QCOMPARE(startedAt, QFromUtf8("文字（プリンタ内蔵フォント）"));
        SelectSlipType(w, 1); // a slip type registered with none prints in graphics
        QCOMPARE(w.SlipPrintMode(), PrintMode::Graphics);
    }
};

QTEST_MAIN(PrinterRegistration)
#include "printer_registration.moc"
