#!/bin/sh
# kalvo-journal on a small log: output and exit code of each command.
# Usage: test_kalvo_journal.sh PATH_TO_KALVO_JOURNAL
set -eu
outil=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT
cd "$dossier"
echecs=0

a=$(printf '\340') e=$(printf '\351')
enr() { # end date, reason, amount text; the call starts on 02.03.26
    printf '%s\r\n' "D${e}but de l'appel      : lundi 02.03.26 $a 23:50:00" "Fin de l'appel        : $1 $a 00:10:05" \
        "Cat${e}gorie de l'appel  : Local" "Motif de l'appel      : $2" "Montant de la facture : $3 FS" \
        -----------------------------------------
}
reunion=$(printf 'R\351union, "projet"')
{ enr 'mardi 03.03.26' Bureau 2,50 && enr 'jeudi 05.03.26' "$reunion" 1,20; } > sauve.tax
{ enr 'lundi 03.03.97' bureau 0,5 && enr 'jeudi 05.03.26' '' 0,30; } >> sauve.tax
cp sauve.tax intact.tax

echec() {
    echo "ÉCHEC $*"
    echecs=$((echecs + 1))
}
# essai NAME CODE sortie|erreurs EXPECTED COMMAND...: runs the tool, checks its exit code and what it wrote
# (EXPECTED as a printf format).
essai() {
    nom=$1 code_attendu=$2 flux=$3
    # shellcheck disable=SC2059
    printf "$4" > attendu
    shift 4
    code=0
    "$outil" "$@" > sortie 2> erreurs || code=$?
    [ "$code" = "$code_attendu" ] || echec "$nom : code $code, attendu $code_attendu"
    cmp -s attendu "$flux" || { echec "$nom : sortie différente"; diff attendu "$flux" || true; }
}

totaux='Bureau\t2,55\nRéunion, "projet"\t1,20\n<<motif non-spécifié>>\t0,30\n'
essai totaux 0 sortie "$totaux" totaux sauve.tax
# Without a file argument the log of the data folder is read.
mkdir -p xdg/kalvo && cp intact.tax xdg/kalvo/sauve.tax
XDG_DATA_HOME="$dossier/xdg" essai "totaux par défaut" 0 sortie "$totaux" totaux
rm -r xdg

essai csv 0 sortie 'debut,fin,zone,motif,montant_cts\r
2026-03-02T23:50:00,2026-03-03T00:10:05,Local,Bureau,250\r
2026-03-02T23:50:00,2026-03-05T00:10:05,Local,"Réunion, ""projet""",120\r
2026-03-02T23:50:00,1997-03-03T00:10:05,Local,bureau,5\r
2026-03-02T23:50:00,2026-03-05T00:10:05,Local,,30\r\n' csv sauve.tax

# A statement for the month the calls started in, over midnight and over two days; 1997 ends before it starts.
essai "totaux --detail --mois" 0 sortie 'Bureau\t2,55\t2\t0:20:05\nRéunion, "projet"\t1,20\t1\t48:20:05
<<motif non-spécifié>>\t0,30\t1\t48:20:05\nTotal\t4,05\t4\t97:00:15\n' totaux --detail --mois 03.2026 sauve.tax
essai "totaux --du" 0 sortie '' totaux --du 03.03.2026 sauve.tax
essai "csv --au" 0 sortie 'debut;fin;zone;motif;montant_cts\r\n' csv --au 01.03.2026 --point-virgule sauve.tax
essai "mois invalide" 1 erreurs "« 13.2026 » n'est pas un mois valide (MM.AAAA)\n" totaux --mois 13.2026 sauve.tax

# Text a spreadsheet would run as a formula gets an apostrophe, never the amounts; ";" on request.
{ enr 'mardi 03.03.26' '=SOMME(A1)' 2,50 && enr 'mardi 03.03.26' "$(printf '\t+1;-2')" 0,5; } > formules.tax
{ enr 'mardi 03.03.26' @x 1,0 && enr 'mardi 03.03.26' - 0,1 && enr 'mardi 03.03.26' '+41 22' 0,2; } >> formules.tax
m='2026-03-02T23:50:00;2026-03-03T00:10:05;Local'
essai "csv formules" 0 sortie "debut;fin;zone;motif;montant_cts\r\n$m;'=SOMME(A1);250\r\n$m;\"'\t+1;-2\";5\r
$m;'@x;100\r\n$m;'-;1\r\n$m;'+41 22;2\r\n" csv --point-virgule formules.tax
rm formules.tax

# An impossible date changes nothing.
essai "purge date invalide" 1 erreurs "« 31.02.2026 » n'est pas une date valide\n" purge 31.02.2026 sauve.tax
cmp -s intact.tax sauve.tax || echec "purge date invalide : journal modifié"

# The day itself stays; the 1997 calls go, the one a writer holding the log's lock appends too.
enr 'lundi 03.03.97' 'tardif' '0,5' > tardif.tax
flock sauve.tax.verrou sh -c ': > tenu; sleep 1; cat tardif.tax >> sauve.tax' &
while [ ! -e tenu ]; do sleep 0.05; done
essai purge 0 sortie '' purge 04.03.2026 sauve.tax
wait
{ enr 'jeudi 05.03.26' "$reunion" '1,20' && enr 'jeudi 05.03.26' '' '0,30'; } > attendu
cmp -s attendu sauve.tax || echec "purge : journal inattendu"

# A log cut before the amount of its last record: partial totals, then the message.
head -c 400 intact.tax > coupe.tax
essai "totaux corrompu" 3 sortie 'Bureau\t2,50\n' totaux coupe.tax
f="Le fichier d'enregistrement des taxes"
essai "totaux corrompu, message" 3 erreurs "$f est corrompu\n" totaux coupe.tax

essai "totaux absent" 2 erreurs "$f n'existe pas\n" totaux absent.tax
essai "csv absent" 2 erreurs "$f n'existe pas\n" csv absent.tax
# A purge creates nothing, not even its lock file, beside a log or in a data folder that is not there.
essai "purge absent" 2 erreurs "$f n'existe pas\n" purge 1.1.2020 absent.tax
XDG_DATA_HOME="$dossier/rien" essai "purge sans dossier" 2 erreurs "$f n'existe pas\n" purge 1.1.2020
[ ! -e absent.tax.verrou ] && [ ! -e rien ] || echec "purge absent : fichier créé"
# Only a regular file is ever replaced: a pipe (or /dev/null) stays what it is.
mkfifo tube
essai "purge d'un tube" 1 erreurs "$f n'a pas pu être réécrit : ce n'est pas un fichier ordinaire.\n" \
    purge 1.1.2020 tube
[ -p tube ] || echec "purge d'un tube : remplacé"

essai "commande inconnue" 1 sortie '' inconnue
[ -s erreurs ] || echec "commande inconnue : aucun message"
code=0 && "$outil" --help > sortie || code=$?
grep -q '^Usage : kalvo-journal' sortie && [ "$code" = 0 ] || echec "--help : code $code"

[ "$echecs" = 0 ] && echo "kalvo-journal : tout est correct"
exit "$echecs"
