// The binding between the main window and the slip record: every field of the table reaches its
// control and comes back, a pick writes only its fields, and the watch hears every field.
#include "app/qt/form/SlipBinding.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/Cp932Codec.h"
#include "slip/SampleSlip.h"

#include <QtTest>

namespace {

// The sample with the continuous stock, which is not the window's first.
slip::Record Continuous() {
    slip::Record r = slip::SampleSlip();
    r.ComboBox_SEL = cp932::FromUtf8("連続(４インチ)");
    return r;
}

} // namespace

class SlipBindingTest : public QObject {
    Q_OBJECT
private slots:
    void everyFieldGoesInAndComesBack() {
        TForm_Main w;
        QVERIFY(w.Slip().Write(Continuous(), EveryField)); // the stock changed
        QCOMPARE(w.Slip().Read(), Continuous());
        QVERIFY(!w.Slip().Write(Continuous(), EveryField)); // now it is the same
        slip::Record odd = Continuous();
        odd.ComboBox_SEL = "?";
        odd.DateTimePicker_1 = "2026/13/01";
        QVERIFY(!w.Slip().Write(odd, EveryField)); // an unknown stock and a day that is none stay
        QCOMPARE(w.Slip().Read(), Continuous());
    }

    void aPickWritesOnlyItsFields() {
        TForm_Main w;
        const slip::Record before = w.Slip().Read();
        w.Slip().Write(Continuous(), FilledByTransfer);
        const slip::Record after = w.Slip().Read();
        for (const slip::Field& f : slip::kFields) {
            const bool moved = f.flag ? after.*f.flag != before.*f.flag : after.*f.text != before.*f.text;
            QCOMPARE(moved, (f.filledBy & slip::kTransfer) != 0);
        }
    }

    void theWatchHearsEveryField() {
        TForm_Main w;
        w.Slip().Write(Continuous(), EveryField);
        int heard = 0;
        QObject context;
        w.Slip().Watch(&context, [&heard] { ++heard; });
        for (const slip::Field& f : slip::kFields) {
            slip::Record changed = Continuous();
            if (f.flag)
                changed.*f.flag = !(changed.*f.flag);
            else if (f.kind == slip::Kind::Stock)
                changed.*f.text = cp932::FromUtf8("手差し");
            else if (f.kind == slip::Kind::Day)
                changed.*f.text = "2027/01/02";
            else
                changed.*f.text = "9";
            heard = 0;
            w.Slip().Write(changed, EveryField);
            QVERIFY2(heard > 0, f.name);
            w.Slip().Write(Continuous(), EveryField);
        }
    }
};

QTEST_MAIN(SlipBindingTest)
#include "slip_binding.moc"
