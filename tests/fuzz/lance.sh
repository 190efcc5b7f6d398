#!/bin/sh
# Runs each fuzz target for a set time, one after the other, on its committed corpus.
#   lance.sh BIN_DIR WORK_DIR SECONDS [smoke]
# New inputs go to WORK_DIR/corpus/<target>, never into the committed corpus. A crash, a sanitizer report
# or a failed check is saved under WORK_DIR/artefacts and fails the run once the other targets have run.
# "smoke" is a fixed-seed run from an empty work corpus, so that a CI run is the same every time.
set -eu
bin=$1 travail=$2 secondes=$3 mode=${4:-}
# The targets rewrite their scratch files on every input: in memory where the machine allows.
TMPDIR=$(mktemp -d "$(if [ -d /dev/shm ]; then echo /dev/shm; else echo /tmp; fi)/kalvo-fuzz-XXXXXX")
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
mkdir -p "$travail/artefacts" "$travail/journaux"
echec=0
for cible in fuzz_journal; do
    corpus="$travail/corpus/$cible" journal="$travail/journaux/$cible.log" options=""
    if [ "$mode" = smoke ]; then rm -rf "$corpus"; options="-seed=1"; fi
    mkdir -p "$corpus"
    # shellcheck disable=SC2086
    if ! "$bin/$cible" $options -max_total_time="$secondes" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$travail/artefacts/$cible-" "$corpus" "$(dirname "$0")/corpus/$cible" >"$journal" 2>&1; then
        echec=1
        echo "==> $cible FAILED; its log, $journal, ends with:"
        tail -n 40 "$journal"
    fi
    sed -n "s/^\(Done .*\)/==> $cible: \1/p" "$journal"
done
exit "$echec"
