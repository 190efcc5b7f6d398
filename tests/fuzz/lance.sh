#!/bin/sh
# Runs each fuzz target for a set time, one after the other, on the committed seeds.
#   lance.sh BIN_DIR WORK_DIR SECONDS [smoke]
# New inputs go to WORK_DIR/corpus/<target>, never into the committed corpus. A crash, a sanitizer report
# or a failed check is saved under WORK_DIR/artefacts and fails the run once the other targets have run.
# "smoke" starts from an empty work corpus with a fixed seed, so that a CI run is the same every time.
set -eu

bin=$1
travail=$2
secondes=$3
mode=${4:-}
ici=$(cd "$(dirname "$0")" && pwd)

mkdir -p "$travail/artefacts" "$travail/journaux"
echec=0
for cible in fuzz_journal fuzz_journal_scalaire fuzz_profil fuzz_conversions; do
    # Both builds of the log reader share one corpus.
    graines="$ici/corpus/${cible%_scalaire}"
    corpus="$travail/corpus/$cible"
    options=""
    if [ "$mode" = smoke ]; then
        rm -rf "$corpus"
        options="-seed=1"
    fi
    mkdir -p "$corpus"
    journal="$travail/journaux/$cible.log"
    echo "==> $cible: ${secondes} s"
    # shellcheck disable=SC2086
    if "$bin/$cible" $options -max_total_time="$secondes" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$travail/artefacts/$cible-" "$corpus" "$graines" >"$journal" 2>&1; then
        grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' "$journal" || true
    else
        echec=1
        echo "==> $cible FAILED; its log, $journal, ends with:"
        tail -n 40 "$journal"
    fi
done
exit "$echec"
