#!/bin/sh
# The user's main paths on the real program: the reason history, a call, the pop-up menu and its dialogs, the
# report's sum, and the tariffs dialog's place under a window manager. Usage: test_parcours.sh PATH_TO_KALVO PATH_TO_LIBFAKETIMEMT (on an Xvfb of its own)
kalvo=$1
faketime=$2
. "$(dirname "$0")/commun.sh"
e=$(printf '\351')
a=$(printf '\340')

# reglages: the settings file on one line, "|" for each CR LF.
reglages() { tr -d '\r' <"$donnees/Kalvo.ini" | tr '\n' '|'; }
# fenetres: how many windows of Kalvo are shown (a drop-down list is one more).
fenetres() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
# tape TEXT: typed into the reason field, after a click on it.
tape() { clic 120 22 && LC_ALL=C.UTF-8 xdotool type "$1"; }
# menu KEYS...: opens the pop-up menu with Shift+F10 and chooses with those keys.
menu() { xdotool windowfocus --sync "$fenetre" key shift+F10 && sleep 0.2 && xdotool key "$@"; }
# ouvre TITLE COMMANDS [KEYS]: after the commands the window of that title shows; it takes the keys, then
# Escape closes it (without a window manager the focus stays where it was put last).
ouvre() {
    titre=$1
    eval "$2"
    # shellcheck disable=SC2086
    attend 'w=$(visible "^$titre")' && xdotool windowfocus --sync "$w" key ${3:-} Escape || echec "« $1 » ne s'ouvre pas: $2"
    attend '! visible "^$titre" >/dev/null' || echec "Échap ne ferme pas « $1 »"
}

# 1. A fresh data folder: a reason typed and entered goes into the drop-down list, and into [Memento] at the end.
lance
tape Café
seules=$(fenetres)
xdotool key Return alt+Down
attend '[ "$(fenetres)" -gt "$seules" ]' || echec "la liste des motifs ne s'ouvre pas après Entrée"
xdotool key Escape
arrete
# Only the period, the history and the added zones are saved; the tariffs only when their dialog is confirmed.
[ "$(reglages)" = "[Divers]|Mise ${a} jour=1000|[Memento]|1=Caf${e}|[Ajouts]|Nombre d'ajouts=0|" ] ||
    echec "réglages sauvés: $(reglages)"

# 2. With a clock stopped at Wednesday 4 March 2026, 10:00:00, a call started and ended with the mouse is
# appended to the log byte for byte.
printf '%s\r\n' '[Ajouts]' "Nombre d'ajouts=1" 1=Europe 'Europe au tarif normal=120' \
    "Europe au tarif r${e}duit=180" >"$donnees/Kalvo.ini"
appel() { # start, end, reason, amount
    printf '%s\r\n' "D${e}but de l'appel      : mercredi 04.03.26 $a $1" \
        "Fin de l'appel        : mercredi 04.03.26 $a $2" "Cat${e}gorie de l'appel  : Local" \
        "Motif de l'appel      : $3" "Montant de la facture : $4 FS" -----------------------------------------
}
{ appel 09:00:00 09:05:00 Bureau 2,50 && appel 09:10:00 09:12:00 Famille 0,05; } | tee "$donnees/sauve.tax" >"$dossier/attendu"
appel 10:00:00 10:00:00 "Caf${e}" 0,20 >>"$dossier/attendu"
# A sanitized build wants its runtime first among the libraries; the clock library may come before it.
lance TZ=UTC LD_PRELOAD="$faketime" FAKETIME='2026-03-04 10:00:00' FAKETIME_DONT_FAKE_MONOTONIC=1 \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
tape Café
clic 160 60
attend '[ -f "$donnees/appel_en_cours.tax" ]' || echec "l'appel n'a pas commencé"
# The right button opens the pop-up menu over the reason field and over the zones, disabled during the call.
ouvre "A propos de" 'clic 120 22 3; xdotool key Up Return'
ouvre "A propos de" 'clic 60 140 3; xdotool key Up Return'
clic 160 60
attend 'cmp -s "$donnees/sauve.tax" "$dossier/attendu"' || echec "journal inattendu: $(cat -A "$donnees/sauve.tax")"

# 3. Each dialog opens from the keyboard and closes with Escape (the report's below, the tariffs' in 5).
# Counted from the menu's end, so that the erasing of the log (third item) is never chosen.
ouvre "A propos de" 'menu Up Return'
ouvre "Ajout d'une zone" 'menu Up Up Up Up Up Up Up Return'
ouvre "Ajout d'une zone" 'menu Up Up Up Up Up Up Right Return'
menu Down Right Down Down Return # "5 secondes", saved at the end

# 4. The report sums two selected reasons. Its total, copied and pasted into the reason field, goes with the
# history into the settings file, where it can be read.
ouvre Visualisation 'menu Up Up Up Return' 'Tab Home shift+Down Tab ctrl+a ctrl+c'
clic 120 22
xdotool key ctrl+a ctrl+v Return
arrete
reglages | grep -qF "Mise $a jour=5000|" || echec "la période choisie au clavier n'est pas sauvée"
reglages | grep -qF "[Memento]|1=2,55|" || echec "la somme de Bureau et Famille n'est pas 2,55: $(reglages)"

# 5. Under a window manager, whose frame Kalvo learns only once a window has shown, the tariffs dialog opens
# centred on the 1024 x 768 screen at every showing.
# openbox ends with the X server.
openbox >/dev/null 2>&1 &
# It names itself before it has finished starting: a window mapped meanwhile could stay unmanaged.
attend 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' && sleep 1 || echec "openbox ne démarre pas"
lance
places=""
for fois in 1 2 3; do
    # The window manager gives the focus to the window it activates.
    xdotool windowactivate --sync "$fenetre" && menu Up Up Up Up Up Return
    attend 'w=$(visible "^Tarifs t")' && sleep 0.5 && places="$places $(xwininfo -id "$w" | awk '/Absolute upper-left/ {printf "%s", $4 (/X/ ? "," : "")}')"
    xdotool key Escape && attend '! visible "^Tarifs t" >/dev/null'
done
[ "$places" = " 355,264 355,264 355,264" ] || echec "les tarifs ne s'ouvrent pas toujours au même endroit:$places"
arrete
bilan 5
