// kalvo-journal: totals, pruning and CSV export of the call log from the command line.

#include "storage/export_csv.h"
#include "metering/horloge_locale.h"
#include "storage/dossier_donnees.h"
#include "storage/journal_appels.h"
#include "storage/periode_appels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view aide =
    "Usage : kalvo-journal COMMANDE [OPTIONS] [FICHIER]\n"
    "\n"
    "Lit ou modifie le fichier d'enregistrement des taxes de Kalvo (par défaut\n"
    "$XDG_DATA_HOME/kalvo/sauve.tax, sinon ~/.local/share/kalvo/sauve.tax).\n"
    "\n"
    "Commandes :\n"
    "  totaux [PÉRIODE] [--detail] [FICHIER]\n"
    "                               une ligne par motif d'appel, dans l'ordre de première\n"
    "                               apparition : le motif, une tabulation, le total (1,20)\n"
    "  purge JJ.MM.AAAA [FICHIER]   supprime les appels terminés avant cette date ; ceux\n"
    "                               terminés ce jour-là sont gardés ; n'affiche rien\n"
    "  csv [PÉRIODE] [--point-virgule] [FICHIER]\n"
    "                               les appels en CSV (RFC 4180, UTF-8) : colonnes debut, fin,\n"
    "                               zone, motif, montant_cts ; dates AAAA-MM-JJTHH:MM:SS\n"
    "\n"
    "Options :\n"
    "  --du JJ.MM.AAAA              avec totaux et csv : les appels commencés ce jour-là ou après\n"
    "  --au JJ.MM.AAAA              avec totaux et csv : les appels commencés ce jour-là ou avant\n"
    "  --mois MM.AAAA               avec totaux et csv : les appels commencés dans ce mois\n"
    "  --detail                     avec totaux : ajoute à chaque motif le nombre d'appels et le\n"
    "                               temps de conversation (h:mm:ss, de la fin moins le début),\n"
    "                               puis une dernière ligne Total\n"
    "  --point-virgule              avec csv : colonnes séparées par « ; » (tableurs en français)\n"
    "  --help                       affiche cette aide\n"
    "\n"
    "Un appel compte dans la période du jour où il a commencé, comme sur une facture de\n"
    "téléphone ; --du et --au peuvent s'employer seuls ou ensemble. Avec une période, un\n"
    "enregistrement dont la date de début ne se lit pas rend le fichier corrompu (code 3).\n"
    "Un appel dont le début ou la fin ne se lit pas, ou dont la fin précède le début, compte\n"
    "pour 0:00:00 dans le temps de conversation.\n"
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
    "  1  erreur (date ou période invalide, fichier illisible, occupé ou non réécrit,\n"
    "     arguments) ; une purge qui échoue laisse le fichier intact\n"
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

// A tab or line end inside a reason would split its output line.
std::string motif_sur_une_ligne(std::string_view motif_1252) {
    std::string motif = utf8_depuis_1252(motif_1252);
    std::replace_if(
        motif.begin(), motif.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return motif;
}

void ecrit(const std::string& ligne) {
    std::fwrite(ligne.data(), 1, ligne.size(), stdout);
}

// What follows the command: its options, and the file last.
struct options {
    bool detail = false;
    bool point_virgule = false;
    std::optional<std::string_view> du, au, mois;
    std::vector<std::string_view> fichiers;

    bool periode_donnee() const { return du || au || mois; }
};

std::optional<options> lit_options(const std::vector<std::string_view>& args, std::string_view drapeau) {
    options o;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::optional<std::string_view>* valeur = args[i] == "--du"     ? &o.du
                                                  : args[i] == "--au"   ? &o.au
                                                  : args[i] == "--mois" ? &o.mois
                                                                        : nullptr;
        if (valeur != nullptr) {
            if (i + 1 == args.size() || valeur->has_value()) {
                return std::nullopt;
            }
            *valeur = args[++i];
        } else if (args[i] == drapeau) {
            (drapeau == "--detail" ? o.detail : o.point_virgule) = true;
        } else {
            o.fichiers.push_back(args[i]);
        }
    }
    return o.fichiers.size() <= 1 ? std::optional(o) : std::nullopt;
}

// The period typed, read by the log's own date rule (so "5.3.26" means what it means in the log).
std::optional<periode_appels> periode_de(const options& o, int annee) {
    const auto en_1252 = [](std::optional<std::string_view> s) -> std::optional<texte> {
        return s ? std::optional(cp1252_depuis_utf8(*s)) : std::nullopt;
    };
    const auto du = en_1252(o.du), au = en_1252(o.au), mois = en_1252(o.mois);
    const periode_saisie p = lit_periode(du, au, mois, annee);
    if (!p.message.empty()) {
        signale(p.message);
        return std::nullopt;
    }
    return p.periode;
}

int commande_totaux(const fs::path& journal) {
    const resultat_totaux totaux = totalise_motifs(journal);
    for (const total_motif& t : totaux.motifs) {
        ecrit(motif_sur_une_ligne(t.motif) + '\t' + texte_montant(t.centimes) + '\n');
    }
    const int code = termine(code_sortie::reussite);
    return code != code_sortie::reussite ? code : code_lecture(totaux.etat);
}

// The statement of a period; with `detail`, each reason's calls and time talked, then a total line.
int commande_releve(const fs::path& journal, const periode_appels& periode, bool detail) {
    const releve_periode r = releve(journal, periode, annee_courante(horloge_systeme{}));
    const auto ligne = [detail](std::string_view motif, const total_motif& t) {
        std::string l = motif_sur_une_ligne(motif) + '\t' + texte_montant(t.centimes);
        if (detail) {
            l += '\t' + std::to_string(t.appels) + '\t' + texte_duree(t.secondes);
        }
        return l + '\n';
    };
    for (const total_motif& t : r.motifs) {
        ecrit(ligne(t.motif, t));
    }
    if (detail) {
        ecrit(ligne("Total", r.total));
    }
    const int code = termine(code_sortie::reussite);
    return code != code_sortie::reussite ? code : code_lecture(r.lecture.etat);
}

int commande_csv(const fs::path& journal, char separateur, const periode_appels& periode) {
    const etat_lecture etat =
        exporte_csv(journal, annee_courante(horloge_systeme{}), stdout, separateur, periode);
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

// The data folder's log. A folder of another user's, or one others can write, may hold planted links: the
// program stops there.
fs::path journal_par_defaut() {
    const dossier_donnees donnees = dossier_donnees::de_l_environnement();
    if (const auto refus = donnees.refus()) {
        std::string texte = message_dossier_refuse;
        texte.replace(texte.find("%1"), 2, donnees.chemin().string());
        texte.replace(texte.find("%2"), 2, *refus);
        signale(texte);
        std::exit(code_sortie::erreur);
    }
    return donnees.journal();
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
        return args.size() > position ? fs::path(std::string(args[position])) : journal_par_defaut();
    };
    if (commande == "totaux" || commande == "csv") {
        if (const auto o = lit_options(args, commande == "totaux" ? "--detail" : "--point-virgule")) {
            const fs::path fichier = o->fichiers.empty() ? journal_par_defaut() : fs::path(std::string(o->fichiers[0]));
            const auto periode = periode_de(*o, annee_courante(horloge_systeme{}));
            if (!periode) {
                return code_sortie::erreur;
            }
            if (commande == "csv") {
                return commande_csv(fichier, o->point_virgule ? ';' : ',', *periode);
            }
            // Without a period nor detail, the plain totals as they always were.
            return o->detail || o->periode_donnee() ? commande_releve(fichier, *periode, o->detail)
                                                    : commande_totaux(fichier);
        }
    }
    if (commande == "purge" && (args.size() == 2 || args.size() == 3)) {
        return commande_purge(args[1], journal(2));
    }
    signale("Usage : kalvo-journal totaux [PÉRIODE] [--detail]|purge JJ.MM.AAAA|csv [PÉRIODE] "
            "[--point-virgule] [FICHIER] ; PÉRIODE : --du JJ.MM.AAAA, --au JJ.MM.AAAA ou --mois MM.AAAA ; "
            "kalvo-journal --help pour l'aide");
    return code_sortie::erreur;
}
