#!/bin/sh
# kalvo-journal on a small log: output and exit code of each command.
# Usage: test_kalvo_journal.sh PATH_TO_KALVO_JOURNAL
set -eu
outil=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT
cd "$dossier"
echecs=0

a=$(printf '\340')
enr() { # end date, reason, amount text; the call starts on 02.03.26
    printf 'D\351but de l%sappel      : lundi 02.03.26 %s 23:50:00\r\n' "'" "$a"
    printf 'Fin de l%sappel        : %s %s 00:10:05\r\n' "'" "$1" "$a"
    printf 'Cat\351gorie de l%sappel  : Local\r\n' "'"
    printf 'Motif de l%sappel      : %s\r\n' "'" "$2"
    printf 'Montant de la facture : %s FS\r\n' "$3"
    printf -- '-----------------------------------------\r\n'
}
{
    enr 'mardi 03.03.26' 'Bureau' '2,50'
    enr 'jeudi 05.03.26' "$(printf 'R\351union, "projet"')" '1,20'
    enr 'lundi 03.03.97' 'bureau' '0,5'
    enr 'jeudi 05.03.26' '' '0,30'
} > sauve.tax
cp sauve.tax original.tax

echec() {
    echo "ÉCHEC $*"
    echecs=$((echecs + 1))
}
# verifie NAME EXPECTED_CODE ACTUAL_CODE EXPECTED_FILE ACTUAL_FILE
verifie() {
    [ "$2" = "$3" ] || echec "$1 : code $3, attendu $2"
    cmp -s "$4" "$5" || { echec "$1 : sortie différente"; diff "$4" "$5" || true; }
}
lance() { # runs the tool, stdout to sortie, stderr to erreurs, code in $code
    code=0
    "$outil" "$@" > sortie 2> erreurs || code=$?
}

lance totaux sauve.tax
printf 'Bureau\t2,55\nRéunion, "projet"\t1,20\n<<motif non-spécifié>>\t0,30\n' > attendu
verifie totaux 0 "$code" attendu sortie

lance csv sauve.tax
printf 'debut,fin,zone,motif,montant_cts\r\n' > attendu
printf '2026-03-02T23:50:00,2026-03-03T00:10:05,Local,Bureau,250\r\n' >> attendu
printf '2026-03-02T23:50:00,2026-03-05T00:10:05,Local,"Réunion, ""projet""",120\r\n' >> attendu
printf '2026-03-02T23:50:00,1997-03-03T00:10:05,Local,bureau,5\r\n' >> attendu
printf '2026-03-02T23:50:00,2026-03-05T00:10:05,Local,,30\r\n' >> attendu
verifie csv 0 "$code" attendu sortie

# Text a spreadsheet would run as a formula gets an apostrophe, never the amounts; ";" on request.
{
    enr 'mardi 03.03.26' '=SOMME(A1)' '2,50'
    enr 'mardi 03.03.26' "$(printf '\t+1;-2')" '0,5'
    enr 'mardi 03.03.26' '@x' '1,0'
    enr 'mardi 03.03.26' '-' '0,1'
} > formules.tax
lance csv --point-virgule formules.tax
moment='2026-03-02T23:50:00;2026-03-03T00:10:05;Local'
printf 'debut;fin;zone;motif;montant_cts\r\n' > attendu
printf "%s;'=SOMME(A1);250\r\n%s;\"'\t+1;-2\";5\r\n" "$moment" "$moment" >> attendu
printf "%s;'@x;100\r\n%s;'-;1\r\n" "$moment" "$moment" >> attendu
verifie "csv formules" 0 "$code" attendu sortie
rm formules.tax

# An impossible date changes nothing.
lance purge 31.02.2026 sauve.tax
printf "'31.02.2026' n'est pas une date valide\n" > attendu
verifie "purge date invalide" 1 "$code" attendu erreurs
verifie "purge date invalide, journal" 0 0 original.tax sauve.tax

# The day itself stays; the 1997 calls go, the one a writer holding the log's lock appends too.
enr 'lundi 03.03.97' 'tardif' '0,5' > tardif.tax
flock sauve.tax.verrou sh -c ': > tenu; sleep 1; cat tardif.tax >> sauve.tax' &
while [ ! -e tenu ]; do sleep 0.05; done
lance purge 04.03.2026 sauve.tax
wait
rm tenu tardif.tax
: > attendu
verifie purge 0 "$code" attendu sortie
{
    enr 'jeudi 05.03.26' "$(printf 'R\351union, "projet"')" '1,20'
    enr 'jeudi 05.03.26' '' '0,30'
} > attendu
verifie "purge, journal" 0 0 attendu sauve.tax
[ "$(ls -A | sort | tr '\n' ' ')" = "attendu erreurs original.tax sauve.tax sauve.tax.verrou sortie " ] ||
    echec "purge : fichiers restants $(ls -A)"

# A log cut before the amount of its last record: partial totals, then the message.
head -c 400 original.tax > coupe.tax
lance totaux coupe.tax
printf 'Bureau\t2,50\n' > attendu
verifie "totaux corrompu" 3 "$code" attendu sortie
printf "Le fichier d'enregistrement des taxes est corrompu\n" > attendu
verifie "totaux corrompu, message" 3 "$code" attendu erreurs

# Without a file argument the log of the data folder is read.
mkdir -p xdg/kalvo
cp original.tax xdg/kalvo/sauve.tax
XDG_DATA_HOME="$dossier/xdg" lance totaux
printf 'Bureau\t2,55\nRéunion, "projet"\t1,20\n<<motif non-spécifié>>\t0,30\n' > attendu
verifie "totaux par défaut" 0 "$code" attendu sortie
rm -r xdg

lance totaux absent.tax
printf "Le fichier d'enregistrement des taxes n'existe pas\n" > attendu
verifie "totaux absent" 2 "$code" attendu erreurs
lance csv absent.tax
verifie "csv absent" 2 "$code" attendu erreurs

# Only a regular file is ever replaced: a pipe (or /dev/null) stays what it is.
mkfifo tube
lance purge 1.1.2020 tube
[ "$code" = 1 ] && [ -p tube ] || echec "purge d'un tube : code $code"

lance --help
grep -q '^Usage : kalvo-journal' sortie && [ "$code" = 0 ] || echec "--help : code $code"
lance inconnue
[ "$code" = 1 ] && [ -s erreurs ] || echec "commande inconnue : code $code"

[ "$echecs" = 0 ] && echo "kalvo-journal : tout est correct"
exit "$echecs"
