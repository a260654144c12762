#pragma once
// The application object: an error that escapes an event handler ends in the error box, not in a crash.
#include <QApplication>

class ZaridiApplication : public QApplication {
public:
    ZaridiApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Loads Qt's own Japanese texts (standard buttons, context menus) when they are installed.
void InstallJapaneseTranslations(QCoreApplication& app);
