#include "app/qt/print/PreviewWindow.h"

#include "app/qt/common/ErrorBox.h"
#include "app/qt/common/SlipDesk.h"
#include "escp/TextModePaper.h"
#include "escp/qt/QtGlyphSource.h"
#include "escp/qt/TextModeImage.h"
#include "platform/Conversions.h"
#include "platform/RuntimeErrors.h"
#include "platform/qt/QtText.h"
#include "print/qt/SlipImage.h"
#include "printer/HqPrinter.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

TForm_Preview* Form_Preview = nullptr;

namespace {

QString NameOrDash(const std::string& cp932) {
    return cp932.empty() ? QStringLiteral("—") : FromCp932(cp932);
}

QString MarginText(const std::string& caption) {
    return caption.empty() ? QStringLiteral("0") : FromCp932(caption);
}

} // namespace

TForm_Preview::TForm_Preview(SlipDesk& desk) : QDialog(&desk.DeskWindow()), desk_(desk) {
    setObjectName(QStringLiteral("Form_Preview"));
    setWindowTitle(QFromUtf8("プレビュー"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setFont(desk.DeskWindow().font());
    resize(880, 600);

    Label_Target = new QLabel(this);
    Label_Target->setObjectName(QStringLiteral("Label_Target"));
    Label_Target->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_Missing = new QLabel(this);
    Label_Missing->setObjectName(QStringLiteral("Label_Missing"));
    Label_Missing->setStyleSheet(QStringLiteral("color: #c00000"));
    Label_Missing->setWordWrap(true);
    Label_Error = new QLabel(this);
    Label_Error->setObjectName(QStringLiteral("Label_Error"));
    Label_Error->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    Label_Error->setAlignment(Qt::AlignCenter);
    Label_Error->setWordWrap(true);

    Image_Page = new QLabel;
    Image_Page->setObjectName(QStringLiteral("Image_Page"));
    ScrollBox_Page = new QScrollArea(this);
    ScrollBox_Page->setWidget(Image_Page);
    ScrollBox_Page->setAlignment(Qt::AlignCenter);
    ScrollBox_Page->setBackgroundRole(QPalette::Dark);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QFromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus); // the keys stay with the window: F11 and Escape
        return b;
    };
    Button_Fit = button("Button_Fit", "全体");
    Button_Actual = button("Button_Actual", "100%");
    Button_Double = button("Button_Double", "200%");
    Button_Print = button("Button_Print", "F11 印刷");
    Button_Close = button("Button_Close", "閉じる");
    for (QPushButton* b : {Button_Fit, Button_Actual, Button_Double})
        b->setCheckable(true);

    auto* bar = new QHBoxLayout;
    bar->addWidget(Button_Fit);
    bar->addWidget(Button_Actual);
    bar->addWidget(Button_Double);
    bar->addStretch();
    bar->addWidget(Button_Print);
    bar->addWidget(Button_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_Target);
    layout->addWidget(Label_Missing);
    layout->addWidget(Label_Error, 1);
    layout->addWidget(ScrollBox_Page, 1);
    layout->addLayout(bar);

    connect(Button_Fit, &QPushButton::clicked, this, [this] { SetZoom(Zoom::Fit); });
    connect(Button_Actual, &QPushButton::clicked, this, [this] { SetZoom(Zoom::Actual); });
    connect(Button_Double, &QPushButton::clicked, this, [this] { SetZoom(Zoom::Double); });
    connect(Button_Print, &QPushButton::clicked, this, [this] { Guarded([this] { desk_.AskAndPrint(); }); });
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::reject);
    Form_Preview = this;
}

TForm_Preview::~TForm_Preview() {
    if (Form_Preview == this) Form_Preview = nullptr;
}

void TForm_Preview::Refresh() {
    const std::string slipType = desk_.StockName();
    // The registration as the main window's handlers find it: in the folder recorded at start-up.
    const std::string registrations = RegistrationFilePath(desk_.WorkingDir());
    target_ = CurrentPrintTarget(HqPrinter(), slipType, FindPrinterRegistration(registrations, slipType),
                                 desk_.PrinterIndexText());
    const bool text = desk_.SlipPrintMode() == PrintMode::Text;
    if (text) target_ = escp::TextModeTarget(target_, HqPrinter(), slipType);
    LayoutCaptions captions = desk_.SlipCaptions();

    Label_Target->setText(
        QFromUtf8(
            "プリンタ: %1　　用紙: %2　　給紙: %3　　解像度: %4×%5 dpi　　余白: 上 %6 / 左 %7 ドット　　%8")
            .arg(NameOrDash(target_.printer), NameOrDash(target_.paper), NameOrDash(target_.source))
            .arg(target_.dpix)
            .arg(target_.dpiy)
            .arg(MarginText(captions.prnTop), MarginText(captions.prnLeft))
            .arg(text ? QFromUtf8("文字（プリンタ内蔵フォント）: 赤は図形で印字する文字")
                      : QFromUtf8("グラフィック")));
    Label_Missing->setText(FromCp932(target_.missing));
    Label_Missing->setVisible(!target_.missing.empty());

    // The print job's own fields, at the resolution it would write into Label_dpix and Label_dpiy.
    captions.dpix = IntToStr(target_.dpix);
    captions.dpiy = IntToStr(target_.dpiy);
    PdfPageSetup setup;
    setup.width = target_.page.width;
    setup.length = target_.page.length;
    setup.originX = target_.page.originX;
    setup.originY = target_.page.originY;
    setup.resolutionX = target_.dpix;
    setup.resolutionY = target_.dpiy;
    try {
        const std::vector<SlipDraw> draws = LayoutSlip(captions, desk_.SlipValues());
        if (text) {
            QtGlyphSource glyphs;
            const escp::TextModeJob job = escp::RenderTextMode(draws, escp::PageDotsOf(target_.page), glyphs);
            page_ = RenderTextModeImage(target_.page, PlacementOf(captions), job, glyphs);
        } else {
            page_ = RenderSlipImage(setup, PlacementOf(captions), draws, true);
        }
        Label_Error->clear();
    } catch (const Exception& e) {
        page_ = QImage();
        Label_Error->setText(FromCp932(e.Message()));
    }
    Label_Error->setVisible(page_.isNull());
    ScrollBox_Page->setVisible(!page_.isNull());
    if (isVisible()) ShowPage(); // else the showing scales it, to the window's real size
}

void TForm_Preview::SetZoom(Zoom zoom) {
    zoom_ = zoom;
    ShowPage();
}

void TForm_Preview::ShowPage() {
    Button_Fit->setChecked(zoom_ == Zoom::Fit);
    Button_Actual->setChecked(zoom_ == Zoom::Actual);
    Button_Double->setChecked(zoom_ == Zoom::Double);
    if (page_.isNull()) {
        Image_Page->clear();
        return;
    }
    // 100 % is the paper's own size on this screen; a non-square resolution scales each way apart.
    double sx = logicalDpiX() / static_cast<double>(target_.dpix);
    double sy = logicalDpiY() / static_cast<double>(target_.dpiy);
    if (zoom_ == Zoom::Double) {
        sx *= 2;
        sy *= 2;
    } else if (zoom_ == Zoom::Fit) {
        const QSize room = ScrollBox_Page->viewport()->size() - QSize(8, 8);
        const double fit =
            std::min(room.width() / (page_.width() * sx), room.height() / (page_.height() * sy));
        sx *= fit;
        sy *= fit;
    }
    const QSize size(std::max(1, qRound(page_.width() * sx)), std::max(1, qRound(page_.height() * sy)));
    Image_Page->setPixmap(
        QPixmap::fromImage(page_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    Image_Page->resize(size);
}

void TForm_Preview::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F11) {
        Guarded([this] { desk_.AskAndPrint(); });
        return;
    }
    QDialog::keyPressEvent(event); // Escape closes
}

void TForm_Preview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowPage();
}

void TForm_Preview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (zoom_ == Zoom::Fit && isVisible()) ShowPage();
}
