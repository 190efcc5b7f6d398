#!/bin/sh
# The real program killed or stopped during a call loses nothing; a second one does not start beside it.
# Usage: test_arret_brutal.sh PATH_TO_KALVO (on an Xvfb of its own)
kalvo=$1
. "$(dirname "$0")/commun.sh"

# The message box, titled "Kalvo" (the main window is called "kalvo" only for a moment as it appears).
boite='^Kalvo$'

# tue_pendant_l_appel: SIGKILL to Kalvo during a call, its running call kept in $dossier/tue as it stood.
tue_pendant_l_appel() {
    kill -STOP "$pid"; cp "$donnees/appel_en_cours.tax" "$dossier/tue"; kill -9 "$pid"
    wait "$pid" 2>/dev/null
}

# One unit per tenth of a second, so every tick charges.
printf '[Tarifs]\r\nDur\351e local normal=1\r\nDur\351e local r\351duit=1\r\n' > "$donnees/Kalvo.ini"

# 1. A second Kalvo on the same data says so and ends.
lance
"$kalvo" 2>>"$dossier/stderr" &
second=$!
attend 'id_boite=$(visible "$boite" "$second")' || echec "la seconde instance n'a rien dit"
xdotool windowfocus --sync "$id_boite" key Return
(sleep 10 && kill -9 "$second") 2>/dev/null &
chien=$!
wait "$second"
[ $? -eq 1 ] || echec "la seconde instance n'a pas fini par le code 1"
kill "$chien" 2>/dev/null

# 2. SIGKILL during a call: the next start appends the call as it stood at its last tick.
clic 160 60
attend 'grep "^Montant" "$donnees/appel_en_cours.tax" 2>/dev/null | grep -qv " 0,20 FS"' ||
    echec "aucun tick sauvegardé"
tue_pendant_l_appel
lance
attend '[ -f "$donnees/sauve.tax" ]' || echec "l'appel interrompu n'a pas été repris"
cmp -s "$donnees/sauve.tax" "$dossier/tue" || echec "le journal ne tient pas l'appel du dernier tick"

# 3. SIGTERM during a call while a dialog is open: the call ends at the signal, is recorded, and the
# settings are saved.
attend 'id_boite=$(visible "$boite")' || echec "la reprise n'a rien dit"
xdotool windowfocus --sync "$id_boite" key Return
attend '! visible "$boite" >/dev/null' || echec "le message de la reprise ne se ferme pas"
clic 160 60
attend '[ -f "$donnees/appel_en_cours.tax" ]' || echec "l'appel n'a pas commencé"
xdotool click 3 key Up Return # the pop-up menu's last item: the about box
attend 'visible "^A propos de" >/dev/null' || echec "la boîte A propos ne s'est pas ouverte"
avant=$(date +%H:%M:%S)
arrete
apres=$(date +%H:%M:%S)
[ "$(grep -c '^Fin de l' "$donnees/sauve.tax")" -eq 2 ] || echec "l'appel arrêté par SIGTERM manque au journal"
tail -n 5 "$donnees/sauve.tax" | LC_ALL=C grep -q -E "^Fin de l'appel .* ($avant|$apres)"$(printf '\r') ||
    echec "la fin de l'appel n'est pas le moment du signal"
grep -q "^Mise $(printf '\340') jour=1000" "$donnees/Kalvo.ini" || echec "les réglages n'ont pas été sauvés"

# 4. SIGKILL during a call, then a start while another program holds the log: the window comes at once and
# the call waits beside the log; the next start, the log free, writes it.
lance
clic 160 60
attend '[ -f "$donnees/appel_en_cours.tax" ]' || echec "l'appel n'a pas commencé"
tue_pendant_l_appel
cp "$donnees/sauve.tax" "$dossier/avant"
# Its output elsewhere: a sleep left behind would hold the test's output open.
flock -o "$donnees/sauve.tax.verrou" sleep 60 >/dev/null 2>&1 &
occupant=$!
attend '[ -n "$(fuser "$donnees/sauve.tax.verrou" 2>/dev/null)" ]'
lance # its window must come although the log is held
attend 'id_boite=$(visible "$boite")' && xdotool windowfocus --sync "$id_boite" key Return
cmp -s "$donnees/appels_en_attente.tax" "$dossier/tue" || echec "l'appel interrompu n'attend pas"
pkill -P "$occupant"
arrete
lance
attend 'cat "$dossier/avant" "$dossier/tue" | cmp -s - "$donnees/sauve.tax"' || echec "l'appel en attente n'a pas été inscrit"
[ -f "$donnees/appels_en_attente.tax" ] && echec "les appels en attente restent"
arrete
bilan 4
