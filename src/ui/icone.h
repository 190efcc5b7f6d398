#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon, drawn at the size asked so it stays sharp on any screen: a telephone handset over a
// coin on a blue tile.
QPixmap dessine_icone(int taille, qreal echelle = 1.0);
QIcon icone_kalvo();
