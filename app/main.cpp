// Program start.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvanor Ymt"));
    QLabel placeholder(QStringLiteral("Zelvanor Ymt 2.4.5 "));
    if (app.arguments().contains(QStringLiteral("--demo")))
        return 0;
    placeholder.show();
    return app.exec();
}
