#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built game into a temporary prefix (and once more through DESTDIR,
# as a package build does), checks the tree, the desktop files and the saved-game
# type, starts the installed program with an empty home, then uninstalls it from
# the manifest.
# Usage: install-check.sh BUILD_DIR SOURCE_DIR SVG_CHECK
set -u
unset DESTDIR # the prefix install below must not be staged
BUILD=$1
SOURCE=$2
SVG_CHECK=$3
WORK=$(mktemp -d)
MANIFEST=$BUILD/install_manifest.txt
# An install writes its manifest into the build folder: keep the one of a real
# `make install`, so a later `make uninstall` still removes the right files.
[ -f "$MANIFEST" ] && cp -p "$MANIFEST" "$WORK/saved-manifest"
restore() {
    if [ -f "$WORK/saved-manifest" ]; then cp -p "$WORK/saved-manifest" "$MANIFEST"; else rm -f "$MANIFEST"; fi
    rm -rf "$WORK"
}
trap restore EXIT
fail() { echo "FAIL: $*"; exit 1; }

ID=org.example.ZibbleQuarvel
EXPECTED="bin/zibble-quarvel
lib/zibble-quarvel/zq-sound-qt.so
share/applications/$ID.Collection.desktop
share/applications/$ID.desktop
share/icons/hicolor/128x128/apps/$ID.png
share/icons/hicolor/256x256/apps/$ID.png
share/icons/hicolor/32x32/apps/$ID.png
share/icons/hicolor/48x48/apps/$ID.png
share/icons/hicolor/64x64/apps/$ID.png
share/icons/hicolor/scalable/apps/$ID.svg
share/icons/hicolor/scalable/mimetypes/application-x-zibble-quarvel-collection.svg
share/icons/hicolor/scalable/mimetypes/application-x-zibble-quarvel.svg
share/man/man6/zibble-quarvel.6
share/metainfo/$ID.metainfo.xml
share/mime/packages/zibble-quarvel.xml
share/zibble-quarvel/ZQVL2.HLP
share/zibble-quarvel/zqvl2.dat
share/zibble-quarvel/zqvl2.names"
# Every file and link below a folder, relative to it, sorted.
tree_of() { (cd "$1" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort); }
# Removes what the manifest lists, as `make uninstall` does, and checks that only folders are left.
uninstall_and_check() {
    cmake -DMANIFEST="$MANIFEST" -P "$SOURCE/cmake/Uninstall.cmake" >"$WORK/uninstall.log" 2>&1 ||
        { cat "$WORK/uninstall.log"; fail "uninstall failed"; }
    [ -z "$(tree_of "$1")" ] || fail "left after uninstall: $(tree_of "$1")"
}

echo "-- install into a prefix"
PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; fail "install failed"; }
[ "$(tree_of "$PREFIX")" = "$EXPECTED" ] || fail "installed tree differs:
$(diff <(echo "$EXPECTED") <(tree_of "$PREFIX"))"
[ -x "$PREFIX/bin/zibble-quarvel" ] || fail "program not executable"
cmp -s "$SOURCE/resources/zqvl2.dat" "$PREFIX/share/zibble-quarvel/zqvl2.dat" || fail "data file differs"
cmp -s "$SOURCE/resources/zqvl2.names" "$PREFIX/share/zibble-quarvel/zqvl2.names" || fail "names file differs"
cmp -s "$SOURCE/resources/ZQVL2.HLP" "$PREFIX/share/zibble-quarvel/ZQVL2.HLP" || fail "help file differs"
for size in 32 48 64 128 256; do
    got=$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/${size}x${size}/apps/$ID.png") || fail "icon $size unreadable"
    [ "$got" = "${size}x${size}" ] || fail "icon in ${size}x${size} is $got"
done
got=$("$SVG_CHECK" "$PREFIX/share/icons/hicolor/scalable/apps/$ID.svg") || fail "SVG icon unreadable"
[ "${got%x*}" = "${got#*x}" ] || fail "SVG icon is $got, not square"

echo "-- desktop entry and metainfo"
DESKTOP=$PREFIX/share/applications/$ID.desktop
COLLECTION_DESKTOP=$PREFIX/share/applications/$ID.Collection.desktop
if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$DESKTOP" "$COLLECTION_DESKTOP" 2>&1)
    [ -z "$out" ] || fail "desktop-file-validate: $out"
else
    echo "desktop-file-validate not installed: skipped"
fi
grep -qx 'Categories=Game;LogicGame;' "$DESKTOP" || fail "desktop categories"
grep -qx 'MimeType=application/x-zibble-quarvel;' "$DESKTOP" || fail "desktop entry does not open saved games"
grep -qx 'Exec=zibble-quarvel %f' "$DESKTOP" || fail "desktop entry does not pass the file"
grep -qx "Icon=$ID" "$DESKTOP" || fail "desktop icon name"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$DESKTOP")
[ -x "$PREFIX/bin/$exec_name" ] || fail "Exec=$exec_name is not the installed program"
grep -q '^Comment\[de\]=' "$DESKTOP" || fail "no German comment"
grep -qx 'MimeType=application/x-zibble-quarvel-collection;' "$COLLECTION_DESKTOP" &&
    grep -qx 'Exec=zibble-quarvel --collection %f' "$COLLECTION_DESKTOP" || fail "collection files do not open with --collection"
appstreamcli validate --no-net "$PREFIX/share/metainfo/$ID.metainfo.xml" >"$WORK/appstream.log" 2>&1 ||
    { cat "$WORK/appstream.log"; fail "appstreamcli validate"; }
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$PREFIX/share/metainfo/$ID.metainfo.xml" ||
    fail "metainfo does not launch the desktop entry"

for provided in '<mediatype>application/x-zibble-quarvel</mediatype>' \
    '<mediatype>application/x-zibble-quarvel-collection</mediatype>' '<control>keyboard</control>' '<control>pointing</control>'; do
    grep -qF "$provided" "$PREFIX/share/metainfo/$ID.metainfo.xml" || fail "metainfo lacks $provided"
done

echo "-- saved games: their type from the installed MIME package, with its icon"
# A copy of the tree, as the type database is built beside the package file.
MIME_DATA=$WORK/mime-data
mkdir -p "$MIME_DATA/mime/packages"
cp "$PREFIX/share/mime/packages/zibble-quarvel.xml" "$MIME_DATA/mime/packages/"
out=$(XDG_DATA_HOME=$WORK/no-data XDG_DATA_DIRS=$MIME_DATA update-mime-database "$MIME_DATA/mime" 2>&1)
[ -z "$out" ] || fail "update-mime-database: $out"
[ -f "$MIME_DATA/mime/application/x-zibble-quarvel.xml" ] || fail "no type application/x-zibble-quarvel in the database"
grep -q '<comment xml:lang="de">' "$MIME_DATA/mime/application/x-zibble-quarvel.xml" || fail "no German comment"
{ printf '\014\002\001'; head -c 997 /dev/zero; } >"$WORK/round2.zqv" # a game of 1000 Quarvels
# The generic desktop asks the file contents alone; with GNOME named, the database decides.
got=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=$WORK/no-data XDG_DATA_DIRS=$MIME_DATA:/usr/share \
    xdg-mime query filetype "$WORK/round2.zqv" 2>&1)
[ "$got" = application/x-zibble-quarvel ] || fail "a .zqv file is of type '$got'"
head -c 48 /dev/zero >"$WORK/gift.zqc"
got=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=$WORK/no-data XDG_DATA_DIRS=$MIME_DATA:/usr/share \
    xdg-mime query filetype "$WORK/gift.zqc" 2>&1)
[ "$got" = application/x-zibble-quarvel-collection ] || fail "a .zqc file is of type '$got'"
for icon in $(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$PREFIX/share/mime/packages/zibble-quarvel.xml"); do
    got=$("$SVG_CHECK" "$PREFIX/share/icons/hicolor/scalable/mimetypes/$icon.svg") || fail "icon $icon unreadable"
    [ "${got%x*}" = "${got#*x}" ] || fail "icon $icon is $got, not square"
done

echo "-- the installed program starts with an empty home and finds its data in share/"
mkdir -p "$WORK/home" "$WORK/config" "$WORK/elsewhere"
BEFORE=$(tree_of "$PREFIX")
(cd "$WORK/elsewhere" && HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config QT_QPA_PLATFORM=offscreen \
    ZQ_QUIT_AFTER_FIRST_PAINT=1 timeout 60 "$PREFIX/bin/zibble-quarvel" >"$WORK/run.log" 2>&1)
RC=$?
[ $RC -eq 0 ] || { cat "$WORK/run.log"; fail "installed program exit code $RC"; }
[ "$(tree_of "$PREFIX")" = "$BEFORE" ] || fail "the program wrote into its installation"
[ -f "$WORK/config/zibble-quarvel/settings.reg" ] || fail "no settings in the player's config folder"

echo "-- uninstall"
uninstall_and_check "$PREFIX"

echo "-- install through DESTDIR"
STAGE=$WORK/stage
DESTDIR=$STAGE cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" 2>&1 ||
    { cat "$WORK/install.log"; fail "DESTDIR install failed"; }
[ "$(tree_of "$STAGE/usr")" = "$EXPECTED" ] || fail "DESTDIR tree differs"
[ -z "$(find "$STAGE" -mindepth 1 -maxdepth 1 ! -name usr)" ] || fail "DESTDIR install wrote outside the prefix"
DESTDIR=$STAGE uninstall_and_check "$STAGE"
echo "install: all checks passed"
