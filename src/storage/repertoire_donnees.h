#pragma once

#include <filesystem>

// The folder that holds the settings file and the call log: $XDG_DATA_HOME/kalvo, or
// ~/.local/share/kalvo when the variable is unset or empty. Built anew on each call; not created.
std::filesystem::path repertoire_donnees();

// Creates the data folder (and its parents) when missing. False when it cannot be had as a folder.
bool assure_repertoire_donnees();
