#include "gui/support/FormFixture.h"

#include "platform/Cp932Codec.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

BoxRecorder::BoxRecorder() {
    msgbox::SetResponder([this](msgbox::Kind kind, const QString& text) {
        shown_.push_back({kind, text});
        if (kind != msgbox::Kind::Question || answers_.empty()) return false;
        bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    });
    msgbox::SetTextResponder([this](const QString& text) -> std::optional<QString> {
        asked_.push_back(text);
        if (texts_.empty()) return QString();
        const bool cancelled = !texts_.front();
        const QString typed = texts_.front().value_or(QString());
        texts_.pop_front();
        return cancelled ? std::nullopt : std::optional<QString>(typed);
    });
}

BoxRecorder::~BoxRecorder() {
    msgbox::SetResponder({});
    msgbox::SetTextResponder({});
}

std::vector<QString> BoxRecorder::Errors() const {
    std::vector<QString> out;
    for (const ShownBox& b : shown_)
        if (b.kind == msgbox::Kind::Error) out.push_back(b.text);
    return out;
}

UserHome::UserHome() : oldHome_(qgetenv("HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", QFile::encodeName(home_.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral(".config"))));
}

UserHome::~UserHome() {
    qputenv("HOME", oldHome_);
    if (oldConfig_.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig_);
}

QString UserHome::Documents() const {
    return home_.filePath(QStringLiteral("Documents"));
}

FormFixture::FormFixture() : oldDir_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

FormFixture::~FormFixture() {
    Stop();
    QDir::setCurrent(oldDir_);
}

std::string FormFixture::File(const char* name) const {
    return QFile::encodeName(dir_.filePath(QString::fromUtf8(name))).toStdString();
}

void FormFixture::Write(const char* name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
}

std::string FormFixture::Read(const char* name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FormFixture::Exists(const char* name) const {
    return QFile::exists(QString::fromStdString(File(name)));
}

TForm_Main& FormFixture::Start() {
    printer_ = std::make_unique<THqPrinterInstance>();
    form_ = std::make_unique<TForm_Main>();
    slip97YPrn_ = std::make_unique<TForm_SLIP97YPrn>(*form_);
    d97Dot_ = std::make_unique<THq_d97_Dot>(*form_);
    form_->show();
    form_->activateWindow();
    (void)QTest::qWaitForWindowActive(form_.get());
    // The printer's part of the start-up follows the first paint, once the scheduler has answered.
    (void)QTest::qWaitFor([this] { return printer_->Ready(); }, 15000);
    return *form_;
}

void FormFixture::Stop() {
    d97Dot_.reset();
    slip97YPrn_.reset();
    form_.reset();
    printer_.reset();
}

std::string Cp932FromUtf8(const char* utf8) {
    return cp932::FromUtf8(utf8);
}

void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80 && c.isPrint())
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

InDialog::InDialog(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [this, act] {
        QWidget* d = QApplication::activeModalWidget();
        if (!d) return;
        opened = true;
        (void)QTest::qWaitForWindowActive(d);
        act(d);
        // A failed check inside must not leave the test waiting on an open dialog.
        if (auto* dialog = qobject_cast<QDialog*>(d); dialog && dialog->isVisible()) dialog->reject();
    });
}

void SelectSlipType(TForm_Main& w, int index) {
    w.ComboBox_SEL->setFocus();
    while (w.ComboBox_SEL->currentIndex() < index)
        QTest::keyClick(w.ComboBox_SEL, Qt::Key_Down);
    while (w.ComboBox_SEL->currentIndex() > index)
        QTest::keyClick(w.ComboBox_SEL, Qt::Key_Up);
}

TForm_Main& StartAfresh(std::unique_ptr<FormFixture>& fx, const std::string& registration) {
    fx.reset();
    fx = std::make_unique<FormFixture>();
    fx->Write("my0.txt", "\r\n\r\n\r\n\r\n\r\n");
    if (!registration.empty()) fx->Write("tavo_a500.ini", registration);
    return fx->Start();
}
