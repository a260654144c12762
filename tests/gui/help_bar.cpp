// The main window's help bar: a notice outlasts one prompt and no more, plain outcomes leave a waiting
// notice alone, and a hint stands in the bar only while the pointer rests on its button.
#include "app/qt/common/HelpBar.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class HelpBarTest : public QObject {
    Q_OBJECT
private slots:
    void aNoticeOutlastsOnePrompt() {
        QLabel bar;
        HelpBar help(&bar);
        help.Prompt(QStringLiteral("first"));
        QCOMPARE(bar.text(), QStringLiteral("first"));
        help.Notice(QStringLiteral("notice"));
        help.Say(QStringLiteral("outcome")); // shown, the notice still waits
        QCOMPARE(bar.text(), QStringLiteral("outcome"));
        help.Prompt(QStringLiteral("second"));
        QCOMPARE(bar.text(), QStringLiteral("notice"));
        help.Prompt(QStringLiteral("third"));
        QCOMPARE(bar.text(), QStringLiteral("third"));
    }

    void aHintStandsOnlyWhileThePointerRests() {
        QLabel bar;
        QPushButton button;
        HelpBar help(&bar);
        help.Hint(&button, QStringLiteral("hint"));
        help.Say(QStringLiteral("before"));
        QEvent enter(QEvent::Enter), leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &enter);
        QCOMPARE(bar.text(), QStringLiteral("hint"));
        QCoreApplication::sendEvent(&button, &leave);
        QCOMPARE(bar.text(), QStringLiteral("before"));
        QCoreApplication::sendEvent(&button, &enter);
        help.Say(QStringLiteral("meanwhile")); // what came meanwhile stays
        QCoreApplication::sendEvent(&button, &leave);
        QCOMPARE(bar.text(), QStringLiteral("meanwhile"));
    }
};

QTEST_MAIN(HelpBarTest)
#include "help_bar.moc"
