#include "app/qt/help/ManualWindow.h"

#include "platform/qt/QtText.h"

#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// The README is built into the program (CMakeLists.txt), so the manual needs neither the network nor
// the documentation folder, which a system may leave out.
const char* const kReadme = ":/manual/README.md";
const char* const kHeading = "## 使い方";

QPointer<ManualWindow> g_window;

} // namespace

QString ManualWindow::ManualText() {
    QFile file(QString::fromLatin1(kReadme));
    if (!file.open(QIODevice::ReadOnly))
        return QFromUtf8("使い方が見つかりません（プログラムの作りに誤りがあります）");
    const QString readme = QString::fromUtf8(file.readAll());
    const qsizetype start = readme.indexOf(QLatin1Char('\n') + QFromUtf8(kHeading));
    if (start < 0) return QFromUtf8("使い方が見つかりません（プログラムの作りに誤りがあります）");
    const qsizetype end = readme.indexOf(QRegularExpression(QStringLiteral("\n## ")), start + 1);
    return readme.mid(start + 1, end < 0 ? -1 : end - start - 1);
}

ManualWindow::ManualWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ManualWindow"));
    setWindowTitle(QFromUtf8("tavo_Zaridi2 の使い方"));
    resize(720, 640);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(true);
    Browser->setMarkdown(ManualText());
    auto* close = new QPushButton(QFromUtf8("閉じる"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Browser, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
}

ManualWindow* ManualWindow::Open(QWidget* parent) {
    if (!g_window) g_window = new ManualWindow(parent);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}
