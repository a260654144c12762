#include "app/qt/start/ZaridiApplication.h"

#include "app/qt/common/ErrorBox.h"

#include <QLibraryInfo>
#include <QTranslator>

ZaridiApplication::ZaridiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZaridiApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    Guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void InstallJapaneseTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
