#!/bin/sh
# The call-log window on the real program, from the keyboard: a misspelt reason merged for two calls, the
# merge undone with Ctrl+Z, a forgotten "Fin" corrected; the log byte for byte after each.
# Usage: test_journal.sh PATH_TO_KALVO PATH_TO_LIBFAKETIMEMT (on an Xvfb of its own)
kalvo=$1
faketime=$2
. "$(dirname "$0")/commun.sh"
e=$(printf '\351')
a=$(printf '\340')
appel() { # day, date, start, end, reason, amount
    printf '%s\r\n' "D${e}but de l'appel      : $1 $2 $a $3" "Fin de l'appel        : $1 $2 $a $4" \
        "Cat${e}gorie de l'appel  : Local" "Motif de l'appel      : $5" "Montant de la facture : $6 FS" \
        -----------------------------------------
}
# journal NAME...: the log from these calls, each its reason and end given by the name.
appels() {
    appel lundi 02.03.26 09:00:00 09:05:00 "$1" 0,70
    appel lundi 02.03.26 10:00:00 10:05:00 "$1" 0,70
    appel lundi 02.03.26 11:00:00 11:02:00 "Dossier Mueller" 0,40
    appel mardi 03.03.26 09:00:00 "$2" Banque "$3"
}
appels "Dossier Muler" 15:00:00 22,00 >"$donnees/sauve.tax"
appels "Dossier Muler" 15:00:00 22,00 >"$dossier/avant"
appels "Dossier Mueller" 15:00:00 22,00 >"$dossier/fusion"
appels "Dossier Muler" 09:10:00 0,80 >"$dossier/fin"
# compare STEP FILE: the log is that file.
compare() {
    attendu=$dossier/$2
    attend 'cmp -s "$donnees/sauve.tax" "$attendu"' || echec "$1: $(cat -A "$donnees/sauve.tax")"
}

lance TZ=UTC LD_PRELOAD="$faketime" FAKETIME='2026-03-04 10:00:00' FAKETIME_DONT_FAKE_MONOTONIC=1 \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
# The pop-up menu's last item but one.
xdotool key shift+F10 && sleep 0.2 && xdotool key Up Up Return
attend 'w=$(visible "^Journal des appels")' || echec "le journal ne s'ouvre pas"
xdotool windowfocus --sync "$w"
# From the period to the calls (the date fields are disabled), the first two chosen, their reason changed.
xdotool key Tab Page_Up shift+Down alt+o
attend 'visible "^Changer le motif" >/dev/null' || echec "le changement de motif ne s'ouvre pas"
xdotool type --delay 20 "Dossier Mueller" && xdotool key Return
compare "motif" fusion
xdotool windowfocus --sync "$w" key ctrl+z
compare "annulation" avant
# The newest call (where the keyboard stands after each reading), its end typed over.
xdotool windowfocus --sync "$w" key space alt+f
attend 'd=$(visible "^Corriger la fin")' || echec "la correction de la fin ne s'ouvre pas"
xdotool windowfocus --sync "$d" key ctrl+a && xdotool type --delay 20 "03.03.2026 09:10:00" && xdotool key Return
compare "fin" fin
arrete
bilan 3
