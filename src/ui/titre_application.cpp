#include "titre_application.h"

titre_application& titre_application::instance() {
    static titre_application titre;
    return titre;
}

void titre_application::fixe(const QString& texte) {
    titre_application& t = instance();
    if (t.texte_ == texte) {
        return;
    }
    t.texte_ = texte;
    emit t.change(texte);
}
