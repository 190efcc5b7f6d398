#!/bin/sh
# The Debian package holds what a desktop needs and its desktop entry and metainfo pass the freedesktop
# and AppStream validators. Usage: test_paquet.sh PATH_TO_DEB
set -u
paquet=$1
id=ch.kalvo.Kalvo
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT
reussis=0 echecs=0

verifie() { # DESCRIPTION COMMAND...
    description=$1 && shift
    "$@" >"$dossier/sortie" 2>&1 && reussis=$((reussis + 1)) && return
    echo "ÉCHEC: $description" && sed 's/^/    /' "$dossier/sortie" && echecs=$((echecs + 1))
}

contient() { grep -qx "$1" "$dossier/liste"; }

dpkg-deb -c "$paquet" | awk '{ print $NF }' | sed 's|^\./|/|' >"$dossier/liste"
dpkg-deb -x "$paquet" "$dossier/racine"
racine=$dossier/racine

for f in /usr/bin/kalvo /usr/bin/kalvo-journal /usr/share/applications/$id.desktop \
    /usr/share/metainfo/$id.metainfo.xml /usr/share/icons/hicolor/scalable/apps/$id.svg; do
    verifie "le paquet contient $f" contient "$f"
done
for taille in 32 48 128; do
    png=/usr/share/icons/hicolor/${taille}x$taille/apps/$id.png
    verifie "le paquet contient $png de $taille × $taille" \
        sh -c "file '$racine$png' | grep -q 'PNG image data, $taille x $taille,'"
done

# dpkg-shlibdeps found the Qt libraries; the platform plugins are named by hand.
dependances=$(dpkg-deb -f "$paquet" Depends)
verifie "dpkg-shlibdeps a trouvé Qt, et ses greffons de plateforme sont nommés : $dependances" \
    sh -c "echo '$dependances' | grep -q libqt6widgets6 && echo '$dependances' | grep -q qt6-qpa-plugins"

entree=$racine/usr/share/applications/$id.desktop
verifie "desktop-file-validate" desktop-file-validate "$entree"
commande=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entree")
verifie "la commande de l'entrée est dans le paquet" contient "/usr/bin/$commande"
verifie "l'icône de l'entrée est dans le paquet" test "$(sed -n 's/^Icon=//p' "$entree")" = "$id"
verifie "l'entrée se range sous Bureautique, Finance" grep -qx 'Categories=Office;Finance;' "$entree"
verifie "appstreamcli validate" appstreamcli validate --no-net "$racine/usr/share/metainfo/$id.metainfo.xml"
verifie "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$racine"

echo "$reussis passed, $echecs failed"
[ "$echecs" -eq 0 ]
