// kalvo-journal: totals, pruning and CSV export of the call log from the command line.

#include "journal/export_csv.h"
#include "metering/horloge_locale.h"
#include "storage/journal_appels.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view aide =
    "Usage : kalvo-journal COMMANDE [FICHIER]\n"
    "\n"
    "Lit ou modifie le fichier d'enregistrement des taxes de Kalvo (par défaut\n"
    "$XDG_DATA_HOME/kalvo/sauve.tax, sinon ~/.local/share/kalvo/sauve.tax).\n"
    "\n"
    "Commandes :\n"
    "  totaux [FICHIER]             une ligne par motif d'appel, dans l'ordre de première\n"
    "                               apparition : le motif, une tabulation, le total (1,20)\n"
    "  purge JJ.MM.AAAA [FICHIER]   supprime les appels terminés avant cette date ; ceux\n"
    "                               terminés ce jour-là sont gardés ; n'affiche rien\n"
    "  csv [--point-virgule] [FICHIER]\n"
    "                               les appels en CSV (RFC 4180, UTF-8) : colonnes debut, fin,\n"
    "                               zone, motif, montant_cts ; dates AAAA-MM-JJTHH:MM:SS\n"
    "  --point-virgule              avec csv : colonnes séparées par « ; » (tableurs en français)\n"
    "  --help                       affiche cette aide\n"
    "\n"
    "La casse des motifs est ignorée ; un motif vide compte comme <<motif non-spécifié>>.\n"
    "En CSV, une zone ou un motif qui commence par =, +, -, @, une tabulation ou un retour\n"
    "chariot reçoit une apostrophe devant, pour qu'un tableur ne l'exécute pas comme une\n"
    "formule ; les montants restent tels quels.\n"
    "La purge attend quelques secondes que Kalvo ait fini d'écrire dans le fichier ; elle\n"
    "échoue s'il reste occupé.\n"
    "Une année à deux chiffres (26, 97) désigne la plus récente année qui finit ainsi,\n"
    "l'année en cours comprise.\n"
    "\n"
    "Codes de sortie :\n"
    "  0  réussite\n"
    "  1  erreur (date invalide, fichier illisible, occupé ou non réécrit, arguments) ; une\n"
    "     purge qui échoue laisse le fichier intact\n"
    "  2  le fichier n'existe pas\n"
    "  3  le fichier est corrompu : totaux et csv donnent ce qui précède l'enregistrement fautif\n";

enum code_sortie : int { reussite = 0, erreur = 1, absent = 2, corrompu = 3 };

void signale(std::string_view message) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
}

// The output must be complete for a script to trust the exit code.
int termine(int code) {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        signale("kalvo-journal : écriture impossible sur la sortie standard");
        return code_sortie::erreur;
    }
    return code;
}

int code_lecture(etat_lecture etat) {
    switch (etat) {
    case etat_lecture::complet:
        return code_sortie::reussite;
    case etat_lecture::absent:
        signale(message_journal_absent);
        return code_sortie::absent;
    case etat_lecture::corrompu:
        signale(message_journal_corrompu);
        return code_sortie::corrompu;
    case etat_lecture::erreur_lecture:
        signale(message_journal_illisible);
        return code_sortie::erreur;
    }
    return code_sortie::erreur;
}

int annee_courante(const horloge_locale& horloge) {
    return decode(horloge.maintenant()).annee;
}

int commande_totaux(const fs::path& journal) {
    const resultat_totaux totaux = totalise_motifs(journal);
    for (const total_motif& t : totaux.motifs) {
        // A tab or line end inside a reason would split its output line.
        std::string motif = utf8_depuis_1252(t.motif);
        for (char& c : motif) {
            c = (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
        }
        const std::string ligne = motif + '\t' + texte_montant(t.centimes) + '\n';
        std::fwrite(ligne.data(), 1, ligne.size(), stdout);
    }
    const int code = termine(code_sortie::reussite);
    return code != code_sortie::reussite ? code : code_lecture(totaux.etat);
}

int commande_csv(const fs::path& journal, char separateur) {
    const etat_lecture etat = exporte_csv(journal, annee_courante(horloge_systeme{}), stdout, separateur);
    const int code = termine(code_sortie::reussite);
    return code != code_sortie::reussite ? code : code_lecture(etat);
}

int commande_purge(std::string_view texte_date, const fs::path& journal) {
    const int annee = annee_courante(horloge_systeme{});
    // The date is read by the log's own conversion, so "5.3.26" means what it means in the log.
    const texte date_1252 = cp1252_depuis_utf8(texte_date);
    const auto jours = convertit_date(date_1252, annee);
    if (!jours) {
        signale(message_date_invalide(date_1252));
        return code_sortie::erreur;
    }
    const resultat_purge resultat = purge_avant_jour(journal, *jours, annee);
    if (resultat.etat != etat_purge::fait) {
        signale(resultat.message);
        return resultat.etat == etat_purge::absent ? code_sortie::absent : code_sortie::erreur;
    }
    return code_sortie::reussite;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const std::string_view a : args) {
        if (a == "--help" || a == "-h") {
            std::fwrite(aide.data(), 1, aide.size(), stdout);
            return termine(code_sortie::reussite);
        }
    }
    const std::string_view commande = args.empty() ? std::string_view{} : args[0];
    const auto journal = [&](std::size_t position) {
        return args.size() > position ? fs::path(std::string(args[position])) : chemin_journal();
    };
    if (commande == "totaux" && args.size() <= 2) {
        return commande_totaux(journal(1));
    }
    if (commande == "csv") {
        std::vector<std::string_view> reste(args.begin() + 1, args.end());
        const auto option = std::find(reste.begin(), reste.end(), "--point-virgule");
        const char separateur = option != reste.end() ? ';' : ',';
        if (option != reste.end()) {
            reste.erase(option);
        }
        if (reste.size() <= 1) {
            return commande_csv(reste.empty() ? chemin_journal() : fs::path(std::string(reste[0])),
                                separateur);
        }
    }
    if (commande == "purge" && (args.size() == 2 || args.size() == 3)) {
        return commande_purge(args[1], journal(2));
    }
    signale("Usage : kalvo-journal totaux|purge JJ.MM.AAAA|csv [--point-virgule] [FICHIER] ; "
            "kalvo-journal --help pour l'aide");
    return code_sortie::erreur;
}
