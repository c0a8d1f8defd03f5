#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLMERE_VERSION));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quillmere"));
    window.resize(480, 640);
    window.show();
    return app.exec();
}
