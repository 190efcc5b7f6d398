// Changes the reason of a log's first call as the call-log window does, for the benchmark: a correction
// reads and rewrites the whole log, and is measured next to a prune that keeps every record.

#include "metering/horloge_locale.h"
#include "storage/journal_corrections.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage : %s FICHIER\n", argv[0]);
        return 1;
    }
    identite_appel premier;
    {
        lecteur_journal lecteur(argv[1]);
        lignes_enregistrement lignes;
        if (!lecteur.suivant(lignes)) {
            std::fprintf(stderr, "%s : aucun appel\n", argv[1]);
            return 1;
        }
        premier.brut = lecteur.brut();
    }
    const int annee = decode(horloge_systeme{}.maintenant()).annee;
    const resultat_correction r = applique_correction(argv[1], change_motif({premier}, "Banc d'essai"), annee);
    if (!r.ok) {
        std::fprintf(stderr, "%s\n", r.message.c_str());
        return 1;
    }
    return 0;
}
