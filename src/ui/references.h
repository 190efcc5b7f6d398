#pragma once

class TForm1;
class TAboutBox;
class TTarifs_dlg;
class TAjout_zone;
class Tvisualisation;

// The windows reach each other through these; each is set when its window is created and cleared when it
// is destroyed.
extern TForm1* Form1;
extern TAboutBox* AboutBox;
extern TTarifs_dlg* Tarifs_dlg;
extern TAjout_zone* Ajout_zone;
extern Tvisualisation* visualisation;
