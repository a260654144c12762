// What a careless or hostile working folder and clipboard give the real main window: megabyte lines
// in a sender file and in a paste, invisible format characters, temporary files left by a killed
// save, a settings file that is a symbolic link.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/controls/PasteMemo.h"
#include "gui/support/FormFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include <filesystem>

namespace {

const char* kMemoCut = "貼り付けたテキストの長すぎる部分を切りました";

} // namespace

class HostileInput : public QObject {
    Q_OBJECT
    std::unique_ptr<FormFixture> fx;

    void paste(TForm_Main& w, const QString& text) {
        w.Memo1->setFocus();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(w.Memo1, Qt::Key_V, Qt::ControlModifier);
    }

private slots:
    void init() { fx = std::make_unique<FormFixture>(); }
    void cleanup() { fx.reset(); }

    void megabyteSenderLineIsCutAndTheHelpBarSaysSo() {
        const std::string line = Cp932FromUtf8("東京都") + std::string(1 << 20, '1');
        fx->Write("my0.txt", "100-0001\r\n" + line + "\r\n\r\n" + Cp932FromUtf8("山田") + "\r\n03\r\n");
        TForm_Main& w = fx->Start();
        QVERIFY(fx->boxes.Errors().empty());
        QCOMPARE(TForm_Main::Cp(w.Edit_MyADD1), line.substr(0, 2047));
        QCOMPARE(w.Edit_My->text(), QFromUtf8("山田"));
        QCOMPARE(w.Panel_HelpMess->text(), QFromUtf8("ご依頼主の長すぎる行を 2047 バイトで切りました"));
        // The notice stays for the field the focus is in; the next field shows its own prompt.
        QTest::keyClick(w.Edit_Zip, Qt::Key_Return);
        QCOMPARE(w.Panel_HelpMess->text(), QFromUtf8("お届け先のおところ①を入力して下さい"));
        fx->Stop();
        QVERIFY(fx->Read("tavo_Zaridi2.ini").size() < 8192);
    }

    void pasteKeepsWhatTheTransferCanUseAndTheTransferCutsTheRest() {
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        TForm_Main& w = fx->Start();
        // One line of a megabyte: the memo keeps its start, the transfer cuts that to 2047 bytes.
        paste(w, QFromUtf8("〒105-0011\n東京都港区芝公園") + QString(1 << 20, QLatin1Char('1')) +
                     QFromUtf8("\n山田太郎"));
        QCOMPARE(w.Memo1->document()->findBlockByNumber(1).text().size(), PasteMemo::kLineUnitsKept);
        QCOMPARE(w.Panel_HelpMess->text(), QFromUtf8(kMemoCut));
        QTest::mouseClick(w.BitBtn_1, Qt::LeftButton);
        QCOMPARE(TForm_Main::Cp(w.Edit_Add1).size(), std::size_t{2047});
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("山田太郎"));
        QCOMPARE(w.Panel_HelpMess->text(), QFromUtf8("貼り付けた長すぎる行を 2047 バイトで切りました"));

        // Many lines: the first thousand stay.
        w.Memo1->clear();
        QString lines;
        for (int i = 0; i < 3000; ++i)
            lines += QStringLiteral("line %1\n").arg(i);
        paste(w, lines);
        QCOMPARE(w.Memo1->document()->blockCount(), int(PasteMemo::kLinesKept));
        QCOMPARE(w.Memo1->document()->lastBlock().text(), QStringLiteral("line 999"));
    }

    void memoPasteKeepsWholeCharactersAndSaysWhenItCut() {
        const QString emoji = QString::fromUtf8("😀"); // a surrogate pair
        const QString straddling = QString(PasteMemo::kLineUnitsKept - 1, QLatin1Char('a')) + emoji;
        const struct {
            QString text, kept;
            bool cut;
        } cases[] = {
            {QStringLiteral("a\nb\n"), QStringLiteral("a\nb\n"), false},
            {QString(), QString(), false},
            {straddling, QString(PasteMemo::kLineUnitsKept - 1, QLatin1Char('a')), true},
            {QString(PasteMemo::kLineUnitsKept, QLatin1Char('b')),
             QString(PasteMemo::kLineUnitsKept, QLatin1Char('b')), false},
        };
        for (const auto& c : cases) {
            bool cut = !c.cut;
            QCOMPARE(MemoPaste(c.text, cut), c.kept);
            QCOMPARE(cut, c.cut);
        }
    }

    void formatCharactersInAPasteDoNotHideThePhoneOrGarbleTheName() {
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        TForm_Main& w = fx->Start();
        paste(w, QFromUtf8("\uFEFF〒105-0011\n東京都港区芝公園4-2-8\n山\u200B田\u200D太郎 "
                           "様\nTEL\u200B03-1234-\u200E5678"));
        QTest::mouseClick(w.BitBtn_1, Qt::LeftButton);
        QCOMPARE(w.Edit_tel->text(), QStringLiteral("03-1234-5678"));
        QCOMPARE(w.Edit_Custo1->text(), QFromUtf8("山田太郎"));
        QCOMPARE(w.Edit_Zip->text(), QStringLiteral("105-0011"));
    }

    void staleTemporariesOfOurFilesAreRemovedAtStart() {
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2);
        const struct {
            const char* name;
            bool old, removed;
        } cases[] = {{".tavo_Zaridi2.ini.a1B2c3", true, true},
                     {".tavo_a500.ini.Zz9yY8", true, true},
                     {".my9.txt.000000", true, true},
                     {".tavo_Zaridi2.ini.q1W2e3", false, false}, // maybe a save of the moment
                     {".notes.txt.a1B2c3", true, false},
                     {".tavo_Zaridi2.pending.x1Y2z3", true, true},
                     {".tavo_orders.ini.x1Y2z3", true, true},
                     {".postcode.idx.x1Y2z3", true, true},
                     {".tavo_Zaridi2.pending.tavo-x1Y2z3", true, true}, // marked: of any file
                     {".shipped.csv.tavo-x1Y2z3", true, true},
                     {".postcode.idx.tavo-x1Y2z3", false, false}};
        for (const auto& c : cases) {
            fx->Write(c.name, "[tv_SAGAWAprn]\r\nE_CUS=copy\r\n");
            if (c.old) std::filesystem::last_write_time(fx->File(c.name), old);
        }
        fx->Start();
        for (const auto& c : cases)
            QVERIFY2(fx->Exists(c.name) != c.removed, c.name);
    }

    void settingsFileThatIsALinkIsSavedThroughIt() {
        QVERIFY(QDir().mkdir(QStringLiteral("kept")));
        fx->Write("kept/settings.ini", "[tv_SAGAWAprn]\r\nE_CUS=old\r\n");
        QVERIFY(QFile::link(QStringLiteral("kept/settings.ini"), QStringLiteral("tavo_Zaridi2.ini")));
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
        TForm_Main& w = fx->Start();
        QCOMPARE(w.Edit_Custo1->text(), QStringLiteral("old"));
        w.Edit_Custo1->setText(QStringLiteral("new"));
        fx->Stop();
        QVERIFY(QFileInfo(QStringLiteral("tavo_Zaridi2.ini")).isSymLink());
        QVERIFY(fx->Read("kept/settings.ini").find("E_CUS=new\r\n") != std::string::npos);
    }
};

QTEST_MAIN(HostileInput)
#include "hostile_input.moc"
