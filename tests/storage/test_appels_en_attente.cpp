#include "outils_stockage.h"
#include "storage/appel_en_cours.h"
#include "storage/appels_en_attente.h"
#include "storage/verrou_journal.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace {

constexpr std::chrono::milliseconds sans_attendre{0};

std::string appel_n(int jour, const char* motif) {
    return formate_appel(appel_du(2026, 3, jour, motif, 20));
}

// Another program holding the log's lock until the object goes.
autre_processus tient_le_verrou(const fs::path& journal) {
    return autre_processus([&] {
        const verrou_journal verrou(journal, sans_attendre);
        ::raise(SIGSTOP);
        return verrou.pris();
    });
}

// The system calls of a Kalvo killed right after the log took the calls, before it forgot them elsewhere.
int tue_apres_flush(int fd) {
    ::fsync(fd);
    ::raise(SIGKILL);
    return 0;
}

} // namespace

// The log is busy: the calls wait, made as private as the log, and the next write takes them first, in order.
TEST(appels_en_attente, un_appel_refuse_attend_et_passe_avant_les_suivants) {
    dossier_temporaire d;
    const dossier_donnees donnees = d.donnees();
    ecrit_octets(d.journal(), appel_n(1, "avant"));
    ::chmod(d.journal().c_str(), 0660);
    const mode_t masque = ::umask(077);
    {
        const autre_processus kalvo_journal = tient_le_verrou(d.journal());
        for (const char* motif : {"A", "B"}) {
            const resultat_ecriture r = inscrit_appels(donnees, appel_n(2, motif), sans_attendre);
            EXPECT_TRUE(!r.ok && r.occupe) << motif;
            EXPECT_TRUE(met_en_attente(donnees, appel_n(2, motif)).ok);
        }
        EXPECT_TRUE(appels_en_attente(donnees));
        // The month's spending counts them already.
        EXPECT_EQ(depenses_du_mois(donnees, 2026, 3, 2026), 60);
        EXPECT_EQ(depenses_du_mois(donnees, 2026, 4, 2026), 0);
    }
    ::umask(masque);
    EXPECT_EQ(fs::status(donnees.appels_en_attente()).permissions(), fs::perms(0660));
    ASSERT_TRUE(inscrit_appels(donnees, appel_n(3, "C"), sans_attendre).ok);
    EXPECT_EQ(lit_octets(d.journal()),
              appel_n(1, "avant") + appel_n(2, "A") + appel_n(2, "B") + appel_n(3, "C"));
    EXPECT_FALSE(appels_en_attente(donnees));
    EXPECT_FALSE(fs::exists(donnees.appels_en_attente()));
}

// Kalvo A killed between the log's write and forgetting the calls elsewhere; Kalvo B, in another data folder
// sharing the log through a link, writes a call meanwhile. A's next start writes each call once.
TEST(appels_en_attente, tue_apres_l_ecriture_chaque_appel_une_seule_fois) {
    dossier_temporaire d;
    const dossier_donnees a = d.donnees();
    const dossier_donnees b(d.chemin() / "b");
    fs::create_directory(b.chemin());
    fs::create_symlink("../sauve.tax", b.journal());
    ASSERT_TRUE(met_en_attente(a, appel_n(2, "A1")).ok);
    ecrit_octets(a.appel_en_cours(), appel_n(2, "A2")); // the call that was ending
    ASSERT_TRUE(
        autre_processus([&] {
            return inscrit_appels(a, appel_n(2, "A2"), sans_attendre, {&tue_apres_flush, &std::rename}).ok;
        }).tue());
    EXPECT_EQ(lit_octets(d.journal()), appel_n(2, "A1") + appel_n(2, "A2"));
    EXPECT_TRUE(appels_en_attente(a));

    ASSERT_TRUE(inscrit_appels(b, appel_n(3, "B"), sans_attendre).ok);
    EXPECT_EQ(reprend_appel_interrompu(a, sans_attendre).etat, etat_reprise::enregistre);
    EXPECT_EQ(lit_octets(d.journal()), appel_n(2, "A1") + appel_n(2, "A2") + appel_n(3, "B"));
    EXPECT_FALSE(appels_en_attente(a));
    EXPECT_FALSE(fs::exists(a.appel_en_cours()));
}

// Why a write failed is said, whatever stands in place of the log's lock; a folder or a link of another
// user's is never used.
TEST(appels_en_attente, causes_dites_et_dossiers_d_autrui_refuses) {
    dossier_temporaire d;
    const int prise = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    const std::string verrou = (d.chemin() / "sauve.tax.verrou").string();
    verrou.copy(adresse.sun_path, sizeof adresse.sun_path - 1);
    ASSERT_EQ(::bind(prise, reinterpret_cast<sockaddr*>(&adresse), sizeof adresse), 0);
    const resultat_ecriture r = ajoute_appel(d.journal(), appel_du(2026, 3, 4, "x", 20));
    EXPECT_NE(r.detail.find("ce n'est pas un fichier ordinaire"), std::string::npos) << r.detail;
    ::close(prise);
    if (::geteuid() != 0) {
        return; // only root can give a file or a folder away
    }
    // A link planted by another user in place of the erase's copy never leads the erase to a private file.
    const fs::path victime = d.chemin() / "prive";
    ecrit_octets(victime, "secret");
    fs::remove(verrou);
    ecrit_octets(d.journal(), appel_n(2, "A"));
    fs::create_symlink(victime, d.chemin() / "sauve.tax.precedent");
    ASSERT_EQ(::lchown((d.chemin() / "sauve.tax.precedent").c_str(), 65534, 65534), 0);
    EXPECT_FALSE(efface_journal(d.journal()).ok);
    EXPECT_EQ(lit_octets(victime), "secret");
    EXPECT_EQ(lit_octets(d.journal()), appel_n(2, "A"));

    const dossier_donnees donnees(d.chemin() / "kalvo");
    fs::create_directory(donnees.chemin());
    // Owner, group, mode, refused; nobody's own group has another member: nobody.
    const std::tuple<uid_t, gid_t, mode_t, bool> cas[] = {{0, 0, 0700, false},
                                                          {0, 0, 0770, false},
                                                          {65534, 0, 0700, true},
                                                          {0, 0, 0707, true},
                                                          {0, 65534, 0770, true}};
    for (const auto& [proprietaire, groupe, mode, refuse] : cas) {
        ASSERT_EQ(::chown(donnees.chemin().c_str(), proprietaire, groupe), 0);
        ::chmod(donnees.chemin().c_str(), mode);
        EXPECT_EQ(donnees.refus().has_value(), refuse) << proprietaire << " " << groupe << " " << mode;
    }
}
