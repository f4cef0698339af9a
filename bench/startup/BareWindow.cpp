// The yardstick of the start-up benchmark: a bare Qt program that shows one
// maximized main window with a label, and nothing else.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setCentralWidget(new QLabel(QStringLiteral("Une fenêtre Qt")));
    window.showMaximized();
    return QApplication::exec();
}
