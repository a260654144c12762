#include "app/qt/SLIP97YPrnUnit.h"

#include "app/qt/DesignGlyphs.h"
#include "app/qt/ErrorBox.h"
#include "app/qt/MessageBoxes.h"
#include "app/qt/tavo_dprintUnit.h"
#include "platform/Cp932.h"
#include "platform/qt/QtText.h"
#include "print/PrinterRegistration.h"
#include "widgets/qt/KyNumEdit.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TForm_SLIP97YPrn* Form_SLIP97YPrn = nullptr;

TForm_SLIP97YPrn::TForm_SLIP97YPrn(TForm_Main& main) : main_(main) {
    setObjectName(QStringLiteral("Form_SLIP97YPrn"));
    setWindowTitle(U("印字位置調整"));
    setModal(true);
    setFont(main.font());

    GroupBox1 = new QGroupBox(U("印字位置調整セット"), this);
    GroupBox1->setGeometry(8, 6, 174, 90);
    Label1 = new QLabel(U("TOPﾏｰｼﾞﾝ"), GroupBox1);
    Label1->setGeometry(6, 24, 76, 24);
    Label2 = new QLabel(U("LEFTﾏｰｼﾞﾝ"), GroupBox1);
    Label2->setGeometry(6, 56, 76, 24);
    for (QLabel* l : {Label1, Label2})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    KyNumEdit_TOP = new TKyNumEdit(GroupBox1);
    KyNumEdit_TOP->setObjectName(QStringLiteral("KyNumEdit_TOP"));
    KyNumEdit_TOP->setGeometry(88, 24, 76, 24);
    KyNumEdit_LEFT = new TKyNumEdit(GroupBox1);
    KyNumEdit_LEFT->setObjectName(QStringLiteral("KyNumEdit_LEFT"));
    KyNumEdit_LEFT->setGeometry(88, 56, 76, 24);
    for (TKyNumEdit* e : {KyNumEdit_TOP, KyNumEdit_LEFT})
        e->SetErrorBeep(false);

    BitBtn_MRGN = new QPushButton(U("印字位置登録"), this);
    SetGlyphLater(BitBtn_MRGN, QStyle::SP_DialogSaveButton);
    BitBtn_MRGN->setObjectName(QStringLiteral("BitBtn_MRGN"));
    BitBtn_MRGN->setGeometry(30, 102, 130, 28);
    BitBtn_MRGN->setAutoDefault(false);

    setTabOrder(KyNumEdit_TOP, KyNumEdit_LEFT);
    setTabOrder(KyNumEdit_LEFT, BitBtn_MRGN);

    KyNumEdit_TOP->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) {
        Guarded([&] { KyNumEdit_TOPKeyDown(key); });
    };
    KyNumEdit_LEFT->OnKeyDown = [this](int& key, Qt::KeyboardModifiers) {
        Guarded([&] { KyNumEdit_LEFTKeyDown(key); });
    };
    connect(BitBtn_MRGN, &QPushButton::clicked, this, [this] { Guarded([this] { BitBtn_MRGNClick(); }); });

    Form_SLIP97YPrn = this;
}

TForm_SLIP97YPrn::~TForm_SLIP97YPrn() {
    if (Form_SLIP97YPrn == this) Form_SLIP97YPrn = nullptr;
}

void TForm_SLIP97YPrn::showEvent(QShowEvent* event) {
    ApplyGlyphs(this);
    // The outer size is set on every showing, centred on the main window.
    setFixedSize(190, 160);
    QRect owner = main_.frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TForm_SLIP97YPrn::keyPressEvent(QKeyEvent* event) {
    // Enter walks the fields to the button; Enter on the button registers. The button is no default
    // button, which would take Enter away from the fields.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        focusWidget() == BitBtn_MRGN) {
        BitBtn_MRGN->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm_SLIP97YPrn::FormShow() {
    KyNumEdit_TOP->SetText(ToCp932(main_.Label_Prn_Top->text()));
    KyNumEdit_LEFT->SetText(ToCp932(main_.Label_Prn_Left->text()));
    KyNumEdit_TOP->setFocus(Qt::OtherFocusReason);
}

void TForm_SLIP97YPrn::KyNumEdit_TOPKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) focusNextPrevChild(true);
}

void TForm_SLIP97YPrn::KyNumEdit_LEFTKeyDown(int key) {
    if (key == Qt::Key_Up)
        focusNextPrevChild(false);
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        focusNextPrevChild(true);
}

void TForm_SLIP97YPrn::BitBtn_MRGNClick() {
    const std::string slipType = ToCp932(main_.ComboBox_SEL->currentText());
    if (!msgbox::AskYesNo(U("印字位置調整の余白を登録しますか?"))) return;
    PrinterRegistration r;
    r.printerName = cp932::PlainTrim(ToCp932(main_.ComboBox1->currentText()));
    r.printerIndex = ToCp932(main_.Label_PrinterIndex->text());
    r.top = KyNumEdit_TOP->Text();
    r.left = KyNumEdit_LEFT->Text();
    // This dialog finds the file in the working directory of the moment.
    const std::string path = NativePath(QDir::currentPath()) + "/" + kRegistrationFileName;
    WritePrinterRegistration(path, slipType, r);
    main_.Label_Prn_Top->setText(FromCp932(r.top));
    main_.Label_Prn_Left->setText(FromCp932(r.left));
    accept();
}
