#!/bin/sh
# The user's main paths on the real program: the reason history, a call, the pop-up menu and its dialogs, and
# the report's sum. Usage: test_parcours.sh PATH_TO_KALVO PATH_TO_LIBFAKETIMEMT (starts its own Xvfb when no
# DISPLAY is set)
kalvo=$1
faketime=$2
. "$(dirname "$0")/commun.sh"
e=$(printf '\351')
a=$(printf '\340')

# ini_contient TEXT: the settings file holds these bytes (printf escapes), CR LF ends included.
ini_contient() {
    grep -qF "$(printf "$1")" "$dossier/ini" 2>/dev/null
}
# fenetres_visibles: how many windows of Kalvo are shown (a drop-down list or a menu is one more).
fenetres_visibles() {
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l
}

# 1. A fresh data folder: a reason typed and entered goes into the drop-down list, and into [Memento] at the end.
lance
clic 120 22
LC_ALL=C.UTF-8 xdotool type --delay 20 "Café"
seules=$(fenetres_visibles)
xdotool key alt+Down # an empty list has no drop-down
sleep 0.3
[ "$(fenetres_visibles)" -eq "$seules" ] || echec "une liste vide s'ouvre"
xdotool key Escape Return alt+Down
attend '[ "$(fenetres_visibles)" -gt "$seules" ]' || echec "la liste des motifs ne s'ouvre pas après Entrée"
xdotool key Escape
arrete
tr -d '\r' <"$donnees/Kalvo.ini" | tr '\n' '|' >"$dossier/ini"
ini_contient "[Memento]|1=Caf${e}|[Ajouts]" || echec "[Memento] ne tient pas le motif: $(cat "$dossier/ini")"

# 2. With a clock stopped at Wednesday 4 March 2026, 10:00:00, a call started and ended with the mouse is
# appended to the log byte for byte.
rm -f "$donnees/Kalvo.ini"
printf '%s\r\n' '[Ajouts]' "Nombre d'ajouts=1" 1=Europe 'Europe au tarif normal=120' \
    "Europe au tarif r${e}duit=180" >"$donnees/Kalvo.ini"
enregistrement() { # start, end, reason, amount
    printf '%s\r\n' "D${e}but de l'appel      : mercredi 04.03.26 $a $1" \
        "Fin de l'appel        : mercredi 04.03.26 $a $2" "Cat${e}gorie de l'appel  : Local" \
        "Motif de l'appel      : $3" "Montant de la facture : $4 FS" -----------------------------------------
}
{
    enregistrement 09:00:00 09:05:00 Bureau 2,50
    enregistrement 09:10:00 09:12:00 Famille 0,05
} >"$donnees/sauve.tax"
cp "$donnees/sauve.tax" "$dossier/attendu"
enregistrement 10:00:00 10:00:00 '' 0,20 >>"$dossier/attendu"
lance TZ=UTC LD_PRELOAD="$faketime" FAKETIME='2026-03-04 10:00:00' FAKETIME_DONT_FAKE_MONOTONIC=1
clic_debut_fin
attend '[ -f "$donnees/appel_en_cours.tax" ]' || echec "l'appel n'a pas commencé"
clic_debut_fin
attend 'cmp -s "$donnees/sauve.tax" "$dossier/attendu"' || echec "le journal n'est pas celui attendu:
$(cat -A "$donnees/sauve.tax")"

# 3. The right button opens the pop-up menu; each dialog opens from the keyboard and closes with Escape.
seules=$(fenetres_visibles)
clic 60 140 3
attend '[ "$(fenetres_visibles)" -gt "$seules" ]' || echec "le bouton droit n'ouvre pas le menu"
xdotool key Escape
attend '[ "$(fenetres_visibles)" -eq "$seules" ]' || echec "Échap ne ferme pas le menu"
# menu KEYS...: opens the menu with Shift+F10 and chooses with those keys.
menu() {
    xdotool windowfocus --sync "$fenetre" key shift+F10
    sleep 0.2
    xdotool key "$@"
}
# Counted from the menu's end, so that the erasing of the log (third item) is never chosen.
for dialogue in "A propos de:Up Return" "Tarifs t:Up Up Up Return" "Ajout d'une zone:Up Up Up Up Up Return" \
    "Ajout d'une zone:Up Up Up Up Right Return" "Visualisation:Up Up Return"; do
    titre=${dialogue%%:*}
    # shellcheck disable=SC2086
    menu ${dialogue#*:}
    if w=$(fenetre_nommee "^$titre") && [ -n "$w" ]; then
        # Without a window manager the focus stays where it was put last.
        xdotool windowfocus --sync "$w" key Escape
        attend '! xdotool search --all --onlyvisible --pid "$pid" --name "^$titre" >/dev/null' ||
            echec "Échap ne ferme pas « $titre »"
    else
        echec "« $titre » ne s'ouvre pas au clavier"
    fi
done
menu Down Right Down Down Return # "5 secondes", saved at the end

# 4. The report sums two selected reasons. Its total, copied and pasted into the reason field, goes with the
# history into the settings file, where it can be read.
menu Up Up Return
w=$(fenetre_nommee '^Visualisation')
xdotool windowfocus --sync "$w" key Tab Home shift+Down Tab ctrl+a ctrl+c Escape
attend '! xdotool search --all --onlyvisible --pid "$pid" --name "^Visualisation" >/dev/null'
clic 120 22
xdotool key ctrl+a ctrl+v Return
arrete
tr -d '\r' <"$donnees/Kalvo.ini" | tr '\n' '|' >"$dossier/ini"
ini_contient "Mise $a jour=5000|" || echec "la période choisie au clavier n'est pas sauvée"
ini_contient "[Memento]|1=2,55|" || echec "la somme de Bureau et Famille n'est pas 2,55: $(cat "$dossier/ini")"
bilan 4
