// The yardstick of the cold-start benchmark: a bare Qt 6 window with 30 line edits and nothing else,
// built with the program's compiler settings and measured by the same first-paint hook.
#include "platform/qt/FirstPaint.h"

#include <QApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* grid = new QGridLayout(&window);
    for (int i = 0; i < 30; ++i)
        grid->addWidget(new QLineEdit(&window), i / 3, i % 3);
    window.setWindowTitle(QStringLiteral("bare window"));
    first_paint::ExitAfterFirstPaintIfAsked(window);
    window.show();
    return app.exec();
}
