#include "app/qt/print/Hq_d97Y_DotUnit.h"

#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/qt/QtText.h"
#include "print/SlipCanvas.h"
#include "printer/HqPrinter.h"
#include "printer/qt/HqPrinterDialogs.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>

THq_d97_Dot* Hq_d97_Dot = nullptr;

THq_d97_Dot::THq_d97_Dot(TForm_Main& main) : main_(main) {
    setObjectName(QStringLiteral("Hq_d97_Dot"));
    HqPrintDialog1 = new THqPrintDialog(this);
    HqPrinterSetupDialog1 = new THqPrinterSetupDialog(this);
    Hq_d97_Dot = this;
}

THq_d97_Dot::~THq_d97_Dot() {
    if (Hq_d97_Dot == this) Hq_d97_Dot = nullptr;
}

SlipFields GatherSlipFields(const TForm_Main& m) {
    auto caption = [](const QLabel* l) { return ToCp932(l->text()); };
    SlipFields f;
    f.dpix = caption(m.Label_dpix);
    f.dpiy = caption(m.Label_dpiy);
    f.prnTop = caption(m.Label_Prn_Top);
    f.prnLeft = caption(m.Label_Prn_Left);
    f.zip = TForm_Main::Cp(m.Edit_Zip);
    f.add1 = TForm_Main::Cp(m.Edit_Add1);
    f.add2 = TForm_Main::Cp(m.Edit_Add2);
    f.add3 = TForm_Main::Cp(m.Edit_Add3);
    f.custo1 = TForm_Main::Cp(m.Edit_Custo1);
    f.tel = TForm_Main::Cp(m.Edit_tel);
    f.g1 = TForm_Main::Cp(m.Edit_G1);
    f.g2 = TForm_Main::Cp(m.Edit_G2);
    f.g3 = TForm_Main::Cp(m.Edit_G3);
    // The Japanese short date: four-digit year, month and day zero-padded, whatever the locale.
    f.date = ToCp932(m.DateTimePicker_1->date().toString(QStringLiteral("yyyy/MM/dd")));
    f.dateChecked = m.CheckBox_Date_1->isChecked();
    f.kosuu = m.KyNumEdit_KOSUU->Text();
    f.priceSub = m.KyNumEdit_PriceSub->Text();
    f.taxSub = m.KyNumEdit_TaxSub->Text();
    f.p1 = m.CheckBox_p1->isChecked();
    f.p2 = m.CheckBox_p2->isChecked();
    f.p3 = m.CheckBox_p3->isChecked();
    f.myChecked = m.CheckBox_My->isChecked();
    f.myZip = TForm_Main::Cp(m.Edit_MyZip);
    f.myAdd1 = TForm_Main::Cp(m.Edit_MyADD1);
    f.myAdd2 = TForm_Main::Cp(m.Edit_MyADD2);
    f.my = TForm_Main::Cp(m.Edit_My);
    f.myTel = TForm_Main::Cp(m.Edit_MyTEL);
    return f;
}

void THq_d97_Dot::SLIP97_Prn() {
    // The whole layout is made before the first text, so a bad caption leaves the page untouched.
    std::vector<SlipDraw> draws = LayoutSlip(GatherSlipFields(main_));
    DrawSlip(HqPrinter().GetCanvas(), draws);
}
