# Shared by the scenarios that drive the real program under a virtual X server; sourced with $kalvo set.
# Gives a fresh data folder ($donnees), an X server of its own when no DISPLAY is set, and the helpers below.
set -u
dossier=$(mktemp -d)
export XDG_DATA_HOME="$dossier"
# Real windows on the X server, whatever the other tests asked for.
export QT_QPA_PLATFORM=xcb
donnees="$dossier/kalvo"
mkdir -p "$donnees"
echecs=0
pid=""
xvfb=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; [ -n "$xvfb" ] && kill "$xvfb"; rm -rf "$dossier"' EXIT

echec() {
    echo "ÉCHEC: $*"
    echecs=$((echecs + 1))
}

# attend CONDITION: polls for up to ten seconds.
attend() {
    i=0
    while ! eval "$1"; do
        i=$((i + 1))
        [ "$i" -gt 100 ] && return 1
        sleep 0.1
    done
}

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dossier/affichage" 2>/dev/null &
    xvfb=$!
    attend '[ -s "$dossier/affichage" ]' || { echo "Xvfb ne démarre pas"; exit 1; }
    DISPLAY=":$(cat "$dossier/affichage")"
    export DISPLAY
fi

# lance [VARIABLE=VALUE...]: starts Kalvo, with those variables, and waits for its main window.
fenetre=""
lance() {
    env "$@" "$kalvo" 2>>"$dossier/stderr" &
    pid=$!
    fenetre=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Tarif' | head -n 1)
    # Without a window manager nothing gives it the focus.
    [ -n "$fenetre" ] && xdotool windowfocus --sync "$fenetre"
}

# clic X Y [BUTTON]: a click that many pixels into the main window.
clic() {
    eval "$(xdotool getwindowgeometry --shell "$fenetre")"
    xdotool mousemove $((X + $1)) $((Y + $2)) click "${3:-1}"
}

# "Début" and "Fin" are the same button, 112 + 48 and 48 + 12 pixels into the main window.
clic_debut_fin() {
    clic 160 60
}

# fenetre_nommee PATTERN: the visible window of Kalvo whose title matches, within ten seconds.
fenetre_nommee() {
    timeout 10 xdotool search --all --sync --onlyvisible --pid "$pid" --name "$1" | head -n 1
}

# boite PID: the message box of that process (titled exactly "Kalvo"; xdotool's search ignores case and
# the main window is called "kalvo" for a moment when it appears).
boite() {
    for w in $(xdotool search --onlyvisible --pid "$1" --name . 2>/dev/null); do
        if [ "$(xdotool getwindowname "$w")" = "Kalvo" ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}

# arrete: stops Kalvo as closing its window does (there is no window manager to close it) and waits.
arrete() {
    kill -TERM "$pid"
    wait "$pid"
    code=$?
    pid=""
    [ "$code" -eq 0 ] || echec "arrêt: code $code"
}

# bilan GROUPS: the closing line, and the exit code.
bilan() {
    if [ "$echecs" -ne 0 ]; then
        cat "$dossier/stderr"
        echo "0 passed, $echecs failed"
        exit 1
    fi
    echo "$1 passed, 0 failed"
}
