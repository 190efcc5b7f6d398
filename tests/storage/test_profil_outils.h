#pragma once

#include "storage/fichier_atomique.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// A fresh folder per test, and a rename that can be made to fail from the n-th call on.
class dossier_test : public ::testing::Test {
protected:
    void SetUp() override {
        std::string modele = (std::filesystem::temp_directory_path() / "kalvo-profil-XXXXXX").string();
        ASSERT_NE(::mkdtemp(modele.data()), nullptr);
        dossier = modele;
        renommages = 0;
        echec_au_renommage = 0;
        kalvo_renomme = &renomme_compte;
    }
    void TearDown() override {
        kalvo_renomme = &std::rename;
        std::filesystem::remove_all(dossier);
    }

    std::filesystem::path chemin(const std::string& nom = "Kalvo.ini") const { return dossier / nom; }

    static std::string lit(const std::filesystem::path& p) {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    static void ecrit(const std::filesystem::path& p, const std::string& octets) {
        std::ofstream(p, std::ios::binary) << octets;
    }

    static inline int renommages = 0;
    static inline int echec_au_renommage = 0; // 0: never fails

    std::filesystem::path dossier;

private:
    static int renomme_compte(const char* ancien, const char* nouveau) {
        ++renommages;
        if (echec_au_renommage != 0 && renommages >= echec_au_renommage) {
            return -1;
        }
        return std::rename(ancien, nouveau);
    }
};
