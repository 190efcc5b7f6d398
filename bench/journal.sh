#!/bin/sh
# Benchmark of kalvo-journal on generated call logs. For each size, the best of a few runs of
# `totaux` and `purge` next to the floor measured in the same run: reading the file (wc -l) and
# copying it with a final flush (cp + sync). Purge keeps every record, its worst case: the whole
# log is rewritten and flushed. Max RSS (KiB) shows that memory does not grow with the log. Then a
# correction (one call's reason changed, the whole log rewritten as the call-log window does) next to that
# prune, and `totaux --detail --mois` next to `totaux`. Ends with the targets: totaux within 3 x wc -l on
# 1 000 000 records and under 0.1 s on 100 000; on 1 000 000, a correction within 1.5 x the prune and the
# month's statement within 1.5 x totaux.
# Usage: bench/journal.sh BIN_FOLDER   (KALVO_BENCH_TAILLES overrides the sizes)
set -eu
bin=$1
tailles=${KALVO_BENCH_TAILLES:-"10000 100000 1000000"}
essais=5
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT

maintenant_us() { echo $(($(date +%s%N) / 1000)); }

# Best time in ms of a command, run $essais times; $prepare runs before each, untimed.
meilleur() {
    prepare=$1
    shift
    meilleur_us=
    i=0
    while [ "$i" -lt "$essais" ]; do
        eval "$prepare"
        debut=$(maintenant_us)
        "$@" > /dev/null
        duree=$(($(maintenant_us) - debut))
        if [ -z "$meilleur_us" ] || [ "$duree" -lt "$meilleur_us" ]; then
            meilleur_us=$duree
        fi
        i=$((i + 1))
    done
    awk -v us="$meilleur_us" 'BEGIN { printf "%.1f", us / 1000 }'
}

rss() { # max resident set of a command, in KiB
    prepare=$1
    shift
    eval "$prepare"
    /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -n 1
}

copie_flushee() { cp "$1" "$2" && sync "$2"; }

printf '%-9s %7s | %8s %9s %5s %7s | %9s %9s %5s %7s | %10s %5s %9s %5s\n' enreg. Mo 'wc -l' totaux x \
    'RSS Ko' 'cp+sync' purge x 'RSS Ko' correction x 'mois' x
for n in $tailles; do
    journal=$dossier/journal-$n.tax
    "$bin/kalvo-journal-genere" "$n" "$journal"
    sync "$journal"
    wc -l "$journal" > /dev/null # into the page cache, like a log read before
    mo=$(awk -v o="$(wc -c < "$journal")" 'BEGIN { printf "%.1f", o / 1048576 }')

    t_wc=$(meilleur : wc -l "$journal")
    t_totaux=$(meilleur : "$bin/kalvo-journal" totaux "$journal")
    m_totaux=$(rss : "$bin/kalvo-journal" totaux "$journal")
    t_cp=$(meilleur "rm -f '$dossier/copie.tax'" copie_flushee "$journal" "$dossier/copie.tax")
    t_purge=$(meilleur "copie_flushee '$journal' '$dossier/copie.tax'" \
        "$bin/kalvo-journal" purge 01.01.2000 "$dossier/copie.tax")
    m_purge=$(rss "copie_flushee '$journal' '$dossier/copie.tax'" \
        "$bin/kalvo-journal" purge 01.01.2000 "$dossier/copie.tax")
    t_correction=$(meilleur "copie_flushee '$journal' '$dossier/copie.tax'" \
        "$bin/kalvo-journal-corrige" "$dossier/copie.tax")
    rm -f "$dossier/copie.tax"
    t_mois=$(meilleur : "$bin/kalvo-journal" totaux --detail --mois 06.2020 "$journal")

    awk -v n="$n" -v mo="$mo" -v wc="$t_wc" -v to="$t_totaux" -v mt="$m_totaux" -v cp="$t_cp" \
        -v pu="$t_purge" -v mp="$m_purge" -v co="$t_correction" -v mm="$t_mois" 'BEGIN {
        printf "%-9s %7s | %6s ms %6s ms %5.2f %7s | %6s ms %6s ms %5.2f %7s | %7s ms %5.2f %6s ms %5.2f\n",
            n, mo, wc, to, to / wc, mt, cp, pu, pu / cp, mp, co, co / pu, mm, mm / to }'
    case $n in
    1000000)
        ratio_million=$(awk -v wc="$t_wc" -v to="$t_totaux" 'BEGIN { printf "%.2f", to / wc }')
        correction_million=$(awk -v pu="$t_purge" -v co="$t_correction" 'BEGIN { printf "%.2f", co / pu }')
        mois_million=$(awk -v to="$t_totaux" -v mm="$t_mois" 'BEGIN { printf "%.2f", mm / to }')
        ;;
    100000) secondes_100k=$(awk -v to="$t_totaux" 'BEGIN { printf "%.3f", to / 1000 }') ;;
    esac
    rm -f "$journal"
done
echo "x: totaux / wc -l; purge / cp+sync (target <= 2); correction / purge; totaux --detail --mois / totaux"
echo "reader, totaux / wc -l on 1 000 000 records: ${ratio_million:-not measured} (target <= 3)"
echo "reader, totaux on 100 000 records: ${secondes_100k:-not measured} s (target < 0.1 s)"
echo "correction / purge on 1 000 000 records: ${correction_million:-not measured} (target <= 1.5)"
echo "totaux --detail --mois / totaux on 1 000 000 records: ${mois_million:-not measured} (target <= 1.5)"
