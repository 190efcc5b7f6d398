#include "references.h"

TForm1* Form1 = nullptr;
TAboutBox* AboutBox = nullptr;
TTarifs_dlg* Tarifs_dlg = nullptr;
TAjout_zone* Ajout_zone = nullptr;
Tvisualisation* visualisation = nullptr;
