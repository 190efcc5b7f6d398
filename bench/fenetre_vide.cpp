#include <QApplication>
#include <QWidget>

// The floor of the start-up benchmark: the least a Qt Widgets program does to show a window.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget fenetre;
    fenetre.resize(320, 240);
    fenetre.show();
    return application.exec();
}
