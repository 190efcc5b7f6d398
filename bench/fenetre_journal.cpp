// The call-log window on a large log: the time to show its first period, then to switch to each other
// period, and how much the process grew for it next to the log's size.
//   kalvo-bench-journal LOG   (run offscreen; the log is copied into a data folder of its own)

#include "fenetre_principale.h"
#include "journal_appels.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The last month of the generated log, so that "Ce mois-ci" holds a month of calls.
class horloge_fixe final : public horloge_locale {
public:
    horodatage maintenant() const override { return encode_date(2025, 12, 20) + encode_heure(12, 0, 0, 0); }
    std::int64_t ms_continues() const override { return 0; }
};

long memoire_residente_ko() {
    std::ifstream etat("/proc/self/status");
    for (std::string ligne; std::getline(etat, ligne);) {
        if (ligne.rfind("VmRSS:", 0) == 0) {
            return std::stol(ligne.substr(6));
        }
    }
    return -1;
}

// Milliseconds the action takes, with the events it posts (layout, painting) handled.
template <typename action> double chronometre(action a) {
    const auto debut = std::chrono::steady_clock::now();
    a();
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - debut).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LOG\n", argv[0]);
        return 2;
    }
    // The offscreen platform warns about every window feature it lacks; those warnings say nothing of Kalvo.
    static const QtMessageHandler suivant =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& contexte, const QString& texte) {
            if (!texte.startsWith(QLatin1String("This plugin does not support"))) {
                suivant(type, contexte, texte);
            }
        });
    QApplication application(argc, argv);
    const fs::path dossier = fs::temp_directory_path() / ("kalvo-bench-journal-" + std::to_string(getpid()));
    fs::create_directories(dossier);
    fs::copy_file(argv[1], dossier / "sauve.tax", fs::copy_options::overwrite_existing);
    const double mo = static_cast<double>(fs::file_size(argv[1])) / 1048576.0;
    {
        const horloge_fixe horloge;
        const dossier_donnees donnees(dossier);
        TForm1 principale(horloge, donnees);
        QApplication::processEvents();
        const long avant = memoire_residente_ko();
        fenetre_journal* journal = nullptr;
        const double premiere = chronometre([&] {
            principale.Journaldesappels1Click();
            journal = principale.journal_appels;
        });
        std::printf(
            "call-log window, %.1f Mo log: first period (%d calls) shown in %.1f ms (target <= 500 ms)\n", mo,
            journal->appels->model()->rowCount(), premiere);
        for (const int choix :
             {fenetre_journal::tout, fenetre_journal::mois_dernier, fenetre_journal::cette_annee,
              fenetre_journal::tout, fenetre_journal::ce_mois}) {
            const double t = chronometre([&] { journal->periode->setCurrentIndex(choix); });
            std::printf("  switch to \"%s\" (%d calls): %.1f ms (target <= 100 ms)\n",
                        journal->periode->itemText(choix).toUtf8().constData(),
                        journal->appels->model()->rowCount(), t);
        }
        journal->periode->setCurrentIndex(fenetre_journal::tout);
        QApplication::processEvents();
        const double croissance = static_cast<double>(memoire_residente_ko() - avant) / 1024.0;
        std::printf("  process growth with every call shown: %.1f Mo, %.2f x the log (target <= 3 x)\n",
                    croissance, croissance / mo);
        lecture_appels tous;
        const double lecture = chronometre([&] { tous = lit_appels(donnees.journal(), {}, 2025); });
        appels_periode tous_la_periode;
        const double filtre = chronometre([&] { tous_la_periode = appels_de_la_periode(tous, {}); });
        const double regroupement =
            chronometre([&] { regroupe_par_motif(tous.appels, tous_la_periode.places); });
        std::printf(
            "  of which the core: reading every call %.1f ms, taking a period %.1f ms, per reason %.1f ms\n",
            lecture, filtre, regroupement);
    }
    fs::remove_all(dossier);
    return 0;
}
