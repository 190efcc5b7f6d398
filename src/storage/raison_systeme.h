#pragma once

#include <string>

// Why a file operation failed, in French, from its errno: the system's own texts are English under the
// locales Kalvo meets. In the middle of a sentence ("... est inutilisable (c'est un dossier)").
std::string raison_systeme(int numero);
