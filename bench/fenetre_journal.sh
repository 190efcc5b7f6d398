#!/bin/sh
# The call-log window on a generated log of 100 000 calls (KALVO_BENCH_APPELS overrides), offscreen.
# Usage: bench/fenetre_journal.sh BIN_FOLDER
set -eu
bin=$1
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT
mkdir -m 700 "$dossier/runtime"
"$bin/kalvo-journal-genere" "${KALVO_BENCH_APPELS:-100000}" "$dossier/sauve.tax"
XDG_DATA_HOME="$dossier" XDG_RUNTIME_DIR="$dossier/runtime" QT_QPA_PLATFORM=offscreen \
    "$bin/kalvo-bench-journal" "$dossier/sauve.tax"
