#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// The log lock. Kalvo and kalvo-journal may write the call log at the same moment; every writer (append,
// erase, prune, recovery) holds this lock for its whole read-copy-replace, so that none works on a copy
// another is about to replace. It is an advisory lock on a file of its own beside the log
// ("sauve.tax.verrou", beside the link's target when the log is a link); kalvo.verrou could not serve, as
// Kalvo holds that one for its whole run. The lock goes with the object, or with the process however it ends.
class verrou_journal {
public:
    enum class etat {
        pris,
        occupe,         // another writer kept it for the whole wait
        pas_un_fichier, // the log exists and is not a regular file: nothing may write it
        erreur,         // the lock file cannot be had; message() says why
    };

    // Waits up to `attente` for the lock.
    verrou_journal(const std::filesystem::path& journal, std::chrono::milliseconds attente);
    ~verrou_journal();
    verrou_journal(const verrou_journal&) = delete;
    verrou_journal& operator=(const verrou_journal&) = delete;

    etat resultat() const { return etat_; }
    bool pris() const { return etat_ == etat::pris; }
    // Why the lock was not taken, in French (UTF-8), as the end of a sentence about the log.
    const std::string& raison() const { return raison_; }

private:
    int fd_ = -1;
    etat etat_ = etat::erreur;
    std::string raison_;
};

// What kalvo-journal waits: long enough for a prune of a large log.
inline constexpr std::chrono::milliseconds attente_verrou_journal{5000};
// What the window waits, never long enough to be seen: a call the log cannot take waits in the data folder,
// and an erase or a prune is refused as busy.
inline constexpr std::chrono::milliseconds essai_bref{200};
