#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrelon");
    QMainWindow window;
    window.setWindowTitle("Kestrelon");
    window.resize(1000, 700);
    window.show();
    return app.exec();
}
