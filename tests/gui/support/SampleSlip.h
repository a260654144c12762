#pragma once
// The full sample slip: every field of the main window filled, as the print tests read it back and the
// print benchmark sends it.
#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "platform/qt/QtText.h"
#include "widgets/qt/KyNumEdit.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>

inline void FillFullSlip(TForm_Main& w) {
    w.Edit_Zip->setText("123-4567");
    w.Edit_Add1->setText(U("東京都千代田区千代田１－１"));
    w.Edit_Add2->setText(U("丸の内ビル３階"));
    w.Edit_Add3->setText(U("総務部御中"));
    w.Edit_Custo1->setText(U("山田太郎"));
    w.Edit_tel->setText("090-1234-5678");
    w.Edit_G1->setText(U("衣料品"));
    w.Edit_G2->setText(U("雑貨"));
    w.Edit_G3->setText(U("書籍"));
    w.DateTimePicker_1->setDate(QDate(2026, 12, 7));
    w.KyNumEdit_KOSUU->SetText("120");
    w.KyNumEdit_PriceSub->SetText("105000"); // the tax follows: 5000
    w.CheckBox_p2->click();
    w.CheckBox_My->setChecked(true);
    w.CheckBox_Date_1->setChecked(true);
    w.Edit_MyZip->setText("530-0001");
    w.Edit_MyADD1->setText(U("大阪府大阪市北区梅田１－１"));
    w.Edit_MyADD2->setText(U("梅田ビル"));
    w.Edit_My->setText(U("タヴォ商店"));
    w.Edit_MyTEL->setText("06-1234-5678");
}
