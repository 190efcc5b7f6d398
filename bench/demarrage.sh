#!/bin/sh
# Start-up benchmark: Kalvo next to an empty Qt window (kalvo-fenetre-vide) and to one showing a label and a
# button (kalvo-fenetre-vide --texte: fonts and style loaded, as any window with text needs), on a private
# Xvfb display. Runs alternate between the three; for each, the median of the time from the start to its
# window being mapped and of its resident memory once the window shows, then Kalvo's ratio to each floor.
# Usage: bench/demarrage.sh BIN_FOLDER   (KALVO_BENCH_DEMARRAGES overrides the number of runs, 9)
set -eu
bin=$(cd "$1" && pwd)
essais=${KALVO_BENCH_DEMARRAGES:-9}
dossier=$(mktemp -d)
mkdir -m 700 "$dossier/runtime"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$dossier/ecran" 2>/dev/null &
serveur=$!
trap 'kill "$serveur" 2>/dev/null; rm -rf "$dossier"' EXIT
while [ ! -s "$dossier/ecran" ]; do
    kill -0 "$serveur" || exit 1
    sleep 0.05
done
# Kalvo's data in a folder of its own; the same surroundings for both programs.
export DISPLAY=":$(cat "$dossier/ecran")" XDG_DATA_HOME="$dossier/donnees" XDG_RUNTIME_DIR="$dossier/runtime"
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

i=0
while [ "$i" -lt "$essais" ]; do
    "$bin/kalvo-mesure-demarrage" "$bin/kalvo-fenetre-vide" >>"$dossier/vide"
    "$bin/kalvo-mesure-demarrage" "$bin/kalvo-fenetre-vide" --texte >>"$dossier/texte"
    "$bin/kalvo-mesure-demarrage" "$bin/kalvo" >>"$dossier/kalvo"
    i=$((i + 1))
done

mediane() { # of column $1 of file $2
    cut -d ' ' -f "$1" "$2" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
tv=$(mediane 1 "$dossier/vide") mv=$(mediane 2 "$dossier/vide")
tt=$(mediane 1 "$dossier/texte") mt=$(mediane 2 "$dossier/texte")
tk=$(mediane 1 "$dossier/kalvo") mk=$(mediane 2 "$dossier/kalvo")
awk -v tv="$tv" -v mv="$mv" -v tt="$tt" -v mt="$mt" -v tk="$tk" -v mk="$mk" -v n="$essais" 'BEGIN {
    printf "%-16s %10s %12s   (medians of %d alternated starts)\n", "", "to window", "RSS", n
    printf "%-16s %7.1f ms %9.1f Mo\n", "empty Qt window", tv, mv / 1024
    printf "%-16s %7.1f ms %9.1f Mo\n", "label and button", tt, mt / 1024
    printf "%-16s %7.1f ms %9.1f Mo\n", "kalvo", tk, mk / 1024
    printf "%-16s %8.2f x %+9.1f Mo   (target <= 1.3 x, <= +6 Mo)\n", "kalvo / empty", tk / tv, (mk - mv) / 1024
    printf "%-16s %8.2f x %+9.1f Mo\n", "kalvo / label", tk / tt, (mk - mt) / 1024 }'
