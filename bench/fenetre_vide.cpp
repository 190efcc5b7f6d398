#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cstring>

// The floors of the start-up benchmark: the least a Qt Widgets program does to show a window and, with
// "--texte", to show one with a label and a button, which is what loads the fonts and the style.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget fenetre;
    fenetre.resize(320, 240);
    if (argc > 1 && std::strcmp(argv[1], "--texte") == 0) {
        new QLabel(QStringLiteral("Motif de l'appel"), &fenetre);
        (new QPushButton(QStringLiteral("D\u00e9but"), &fenetre))->move(112, 48);
    }
    fenetre.show();
    return application.exec();
}
