# Shared by the scenarios that drive the real program under a virtual X server; sourced with $kalvo set.
# Gives a fresh data folder ($donnees), an X server of its own, and the helpers below.
set -u
dossier=$(mktemp -d)
export XDG_DATA_HOME="$dossier"
# Real windows on the X server, whatever the other tests asked for.
export QT_QPA_PLATFORM=xcb
donnees="$dossier/kalvo"
mkdir -p "$donnees"
echecs=0 pid="" xvfb=""
# The X server is waited for, so that the next scenario never meets it still closing.
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb" && wait "$xvfb"; rm -rf "$dossier"' EXIT

echec() { echo "ÉCHEC: $*" && echecs=$((echecs + 1)); }

# attend CONDITION: polls for up to ten seconds.
attend() {
    i=0
    until eval "$1"; do [ "$((i += 1))" -gt 100 ] && return 1 || sleep 0.1; done
}

# -noreset: by default the server starts afresh whenever its last client leaves (Kalvo stopped, setxkbmap
# done), which drops the layout set below and refuses a client that connects meanwhile.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$dossier/affichage" 2>/dev/null &
xvfb=$!
attend '[ -s "$dossier/affichage" ]' || { echo "Xvfb ne démarre pas" && exit 1; }
export DISPLAY=":$(cat "$dossier/affichage")"
# A layout with the accented letters typed: xdotool would otherwise remap a spare key, which races the program.
setxkbmap -layout ch -variant fr

# visible PATTERN [PID]: the shown window of Kalvo (or of that process) whose title matches, if any.
visible() {
    xdotool search --all --onlyvisible --pid "${2:-$pid}" --name "$1" 2>/dev/null | head -n 1 | grep .
}

# lance [VARIABLE=VALUE...]: starts Kalvo, with those variables, and waits for its main window, which
# nothing but us gives the focus: there is no window manager.
lance() {
    env "$@" "$kalvo" 2>>"$dossier/stderr" &
    pid=$!
    attend 'fenetre=$(visible "^Tarif")' && xdotool windowfocus --sync "$fenetre" ||
        echec "Kalvo ne montre pas sa fenêtre (état $(ps -o stat= -p "$pid")): $(tail -n 5 "$dossier/stderr")"
}

# clic X Y [BUTTON]: a click that many pixels into the main window ("Début" / "Fin" at 160 60).
clic() {
    eval "$(xdotool getwindowgeometry --shell "$fenetre")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click "${3:-1}"
}

# arrete: stops Kalvo as closing its window does (SIGTERM; no window manager closes it) and waits.
arrete() {
    kill -TERM "$pid"
    wait "$pid" || echec "arrêt: code $?"
    pid=""
}

# bilan GROUPS: the closing line, and the exit code.
bilan() {
    [ "$echecs" -eq 0 ] && echo "$1 passed, 0 failed" && exit 0
    cat "$dossier/stderr" && echo "0 passed, $echecs failed" && exit 1
}
