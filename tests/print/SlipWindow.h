#pragma once
// The real main window over the private scheduler, as the print tests start it, and the full sample
// slip they type into it: every one of its 48 texts.
#include "Sandbox.h"

#include "app/qt/LimitedLineEdit.h"
#include "app/qt/tavo_dprintUnit.h"
#include "gui/support/FormFixture.h"
#include "platform/qt/QtText.h"

#include <memory>

#include <QCheckBox>
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

class SlipWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<FormFixture> fx;

    void SetUp() override {
        REQUIRE_SANDBOX();
        fx = std::make_unique<FormFixture>();
        fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
    }
    void TearDown() override { fx.reset(); }

    // Registers printer `index` with margins for the hand-fed slip type and starts the window.
    TForm_Main& StartWith(int index, const char* top, const char* left) {
        fx->Write("tavo_a500.ini", "[" + Sj("手差し") + "]\r\nPrnNoIndex=" + std::to_string(index) +
                                       "\r\ntavPrn_Top=" + top + "\r\ntavPrn_Left=" + left + "\r\n");
        TForm_Main& w = fx->Start();
        EXPECT_TRUE(fx->boxes.Errors().empty());
        fx->boxes.Clear();
        return w;
    }
};
