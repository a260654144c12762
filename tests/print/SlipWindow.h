#pragma once
// The real main window over the private scheduler, as the print tests start it, and the full sample
// slip (gui/support/SampleSlip.h) typed into it.
#include "Sandbox.h"

#include "app/qt/form/controls/LimitedLineEdit.h"
#include "app/qt/form/tavo_dprintUnit.h"
#include "gui/support/FormFixture.h"
#include "gui/support/SampleSlip.h"
#include "platform/qt/QtText.h"

#include <memory>

#include <QCheckBox>
#include <QDateEdit>

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
        fx->Write("tavo_a500.ini", "[" + Cp932FromUtf8("手差し") +
                                       "]\r\nPrnNoIndex=" + std::to_string(index) + "\r\ntavPrn_Top=" + top +
                                       "\r\ntavPrn_Left=" + left + "\r\n");
        TForm_Main& w = fx->Start();
        EXPECT_TRUE(fx->boxes.Errors().empty());
        fx->boxes.Clear();
        return w;
    }
};
