#pragma once

class QApplication;
class dossier_donnees;
class horloge_locale;

// Style, font and icon shared by the program and the window tests, so both see the same windows.
void prepare_application(QApplication& application);

// Creates the windows in their fixed order, runs the message loop until the main window is closed, then
// destroys them (the main window first ends a running call and saves). Returns the exit code.
int lance_kalvo(QApplication& application, const horloge_locale& horloge, const dossier_donnees& donnees);
