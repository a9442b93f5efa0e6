// The yardstick of the start-up benchmark: a bare Qt program that shows an empty window and ends as soon as the
// window has been shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget ventana;
    ventana.resize(400, 300);
    ventana.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
