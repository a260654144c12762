// Program entry. The main window is still an empty shell.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8("◇tavo_Zaridi2"));
    window.resize(682, 663);
    window.show();
    return app.exec();
}
