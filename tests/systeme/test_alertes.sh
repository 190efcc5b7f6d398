#!/bin/sh
# A call left running: with the clock running 600 times fast, the long call's message shows after an hour
# while the meter goes on, and "Terminer l'appel à ..." writes what "Fin" would have written an hour after
# the start. Usage: test_alertes.sh PATH_TO_KALVO PATH_TO_LIBFAKETIMEMT (on an Xvfb of its own)
kalvo=$1
faketime=$2
. "$(dirname "$0")/commun.sh"
e=$(printf '\351')
a=$(printf '\340')

# Ticks every 10 s: 8 ms at that speed.
printf '%s\r\n' '[Divers]' "Mise ${a} jour=10000" >"$donnees/Kalvo.ini"
lance TZ=UTC LD_PRELOAD="$faketime" FAKETIME='@2026-03-04 10:00:00 x600' \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
clic 160 60
# No tray on the X server: the message is a window of its own.
attend 'boite=$(visible "^Kalvo$")' || echec "pas d'alerte après une heure d'appel"
titre=$(xdotool getwindowname "$fenetre")
attend '[ "$(xdotool getwindowname "$fenetre")" != "$titre" ]' || echec "le compteur s'arrête pendant l'alerte"
xdotool windowfocus --sync "$boite" key alt+t
attend '[ -s "$donnees/sauve.tax" ]' || echec "« Terminer l'appel » n'écrit rien"
debut=$(head -n 1 "$donnees/sauve.tax" | tr -d '\r' | awk '{print $NF}')
fin=$(date -u -d "2026-03-04 $debut UTC + 1 hour" +%T)
# Local, all of it in the normal tariff: 36 units of 99 s on the base charge.
printf '%s\r\n' "D${e}but de l'appel      : mercredi 04.03.26 $a $debut" \
    "Fin de l'appel        : mercredi 04.03.26 $a $fin" "Cat${e}gorie de l'appel  : Local" \
    "Motif de l'appel      : " "Montant de la facture : 3,80 FS" ----------------------------------------- \
    >"$dossier/attendu"
cmp -s "$donnees/sauve.tax" "$dossier/attendu" || echec "journal inattendu: $(cat -A "$donnees/sauve.tax")"
# The X server unmaps it a little after the log is written.
attend '! visible "^Kalvo$" >/dev/null' || echec "le message reste ouvert après la fin de l'appel"
arrete
bilan 1
