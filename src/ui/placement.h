#pragma once

class QDialog;
class QFrame;
class QLabel;
class QWidget;

// Windows are laid out in fixed pixels at 96 dpi; Qt scales these device-independent pixels on HiDPI screens.

// A fixed-size dialog of the given client size, centred on the screen when shown.
void fixe_cadre_dialogue(QDialog* dialogue, int largeur, int hauteur);

// A label at its place, sized to its text, so no text is clipped.
void place_etiquette(QLabel* etiquette, int gauche, int haut);

// A lowered frame around a group of controls. It only draws lines: it stays beneath the controls it
// surrounds and lets their clicks through.
QFrame* cree_cadre(QWidget* parent, const char* nom, int gauche, int haut, int largeur, int hauteur);

// Centres a top-level window's client area on its screen, at the same place at every showing whatever the
// window manager's frame.
void centre_sur_ecran(QWidget* fenetre);

// Moves a top-level window the least needed to lie within its screen's free area (its top-left corner
// first, when it is larger).
void garde_sur_ecran(QWidget* fenetre);
