#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package on this machine: lintian finds nothing to warn about, the package
# holds the game and its files, `apt-get install` puts it in place with its saved-game
# type and desktop entry known to the system, the installed game starts with an empty
# home on a virtual display, and a purge leaves nothing behind. Needs root.
# Usage: deb-check.sh DEB_OUT SOURCE_DIR
set -u
OUT=$(cd "$1" && pwd)
SOURCE=$2
fail() { echo "FAIL: $*"; exit 1; }
note() { echo "-- $*"; }
[ "$(id -u)" -eq 0 ] || fail "installing a package needs root"
PKG=zibble-quarvel
DEB=$(ls "$OUT"/${PKG}_*_"$(dpkg --print-architecture)".deb 2>/dev/null | head -1)
[ -n "$DEB" ] || fail "no package in $OUT (make deb)"
dpkg -s $PKG >/dev/null 2>&1 && fail "$PKG is installed already; remove it first"
WORK=$(mktemp -d)
cleanup() {
    [ -n "${GAME:-}" ] && kill "$GAME" 2>/dev/null
    dpkg -s $PKG >/dev/null 2>&1 && apt-get purge -y -q $PKG >/dev/null 2>&1
    rm -rf "$WORK"
}
trap cleanup EXIT

CHANGES=${DEB%.deb}.changes
[ -f "$CHANGES" ] || fail "no $(basename "$CHANGES") beside the package"
note "lintian on $(basename "$CHANGES"): the package, its debug symbols and build information"
# Root may run it; the note that it should not is not about the package.
lintian --fail-on error,warning "$CHANGES" >"$WORK/lintian.log" 2>&1
rc=$?
cat "$WORK/lintian.log"
[ $rc -eq 0 ] || fail "lintian"

note "contents and dependencies"
VERSION=$(dpkg-deb -f "$DEB" Version)
[ "$VERSION" = "$(cd "$SOURCE" && dpkg-parsechangelog -S Version)" ] || fail "version $VERSION is not the changelog's"
dpkg-deb -c "$DEB" | awk '{print $6}' | sed 's|^\./|/|' >"$WORK/contents"
for file in /usr/games/$PKG /usr/share/$PKG/zqvl2.dat /usr/share/$PKG/zqvl2.names /usr/share/$PKG/ZQVL2.HLP \
    /usr/share/applications/org.example.ZibbleQuarvel.desktop /usr/share/metainfo/org.example.ZibbleQuarvel.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/org.example.ZibbleQuarvel.svg /usr/share/icons/hicolor/48x48/apps/org.example.ZibbleQuarvel.png \
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-zibble-quarvel.svg /usr/share/mime/packages/$PKG.xml \
    /usr/lib/$PKG/zq-sound-qt.so /usr/share/man/man6/$PKG.6.gz /usr/share/doc/$PKG/copyright /usr/share/doc/$PKG/changelog.gz; do
    grep -qx "$file" "$WORK/contents" || fail "package lacks $file"
done
grep -v '/$' "$WORK/contents" | grep -v '^/usr/' && fail "package has files outside /usr"
DEPENDS=$(dpkg-deb -f "$DEB" Depends)
for lib in libc6 libqt6widgets6 libqt6multimedia6 libqt6svg6; do
    grep -q "\b$lib\b" <<<"$DEPENDS" || fail "Depends lacks $lib: $DEPENDS"
done

note "install with apt-get"
find /usr /etc /var/games -xdev 2>/dev/null | LC_ALL=C sort >"$WORK/before"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$DEB" >"$WORK/apt.log" 2>&1 ||
    { cat "$WORK/apt.log"; fail "apt-get install"; }
[ -x /usr/games/$PKG ] || fail "/usr/games/$PKG not installed"
dpkg -L $PKG >/dev/null || fail "dpkg does not list the package"

note "the system knows saved games and opens them with the game"
printf '\014\002\001' >"$WORK/round2.zqv"
got=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=$WORK/no-data xdg-mime query filetype "$WORK/round2.zqv" 2>&1)
[ "$got" = application/x-$PKG ] || fail "a .zqv file is of type '$got'"
grep -q "^application/x-$PKG=.*org.example.ZibbleQuarvel.desktop" /usr/share/applications/mimeinfo.cache ||
    fail "the desktop entry is not registered for saved games"
head -c 48 /dev/zero >"$WORK/gift.zqc"
got=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=$WORK/no-data xdg-mime query filetype "$WORK/gift.zqc" 2>&1)
[ "$got" = application/x-$PKG-collection ] || fail "a .zqc file is of type '$got'"
grep -q "^application/x-$PKG-collection=.*org.example.ZibbleQuarvel.Collection.desktop" /usr/share/applications/mimeinfo.cache ||
    fail "the desktop entry is not registered for collection files"

note "the installed game starts with an empty home on a virtual display"
cat >"$WORK/start.sh" <<'SCRIPT'
#!/bin/bash
set -u
WORK=$1
source "$2/tests/x11-window.sh"
export HOME=$WORK/home XDG_CONFIG_HOME= XDG_DATA_HOME= XDG_RUNTIME_DIR=$WORK/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
(cd "$HOME" && exec /usr/games/zibble-quarvel "$WORK/round2.zqv") >"$WORK/game.log" 2>&1 &
game=$!
# The first run asks for the language once the splash has gone; it gets that far only
# when the program found its data from /usr/games.
found=0
wait_window '^Zibble Quarvel V2\.3$' 150 >/dev/null && found=1
kill $game 2>/dev/null
wait $game 2>/dev/null
[ $found -eq 1 ] || { cat "$WORK/game.log"; exit 1; }
SCRIPT
chmod +x "$WORK/start.sh"
"$SOURCE/tests/with-openbox.sh" "$WORK/start.sh" "$WORK" "$SOURCE" || fail "no window of the installed game"

note "purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q $PKG >"$WORK/apt.log" 2>&1 || { cat "$WORK/apt.log"; fail "apt-get purge"; }
dpkg -L $PKG >/dev/null 2>&1 && fail "dpkg still lists the package"
find /usr /etc /var/games -xdev 2>/dev/null | LC_ALL=C sort >"$WORK/after"
left=$(LC_ALL=C comm -13 "$WORK/before" "$WORK/after")
[ -z "$left" ] || fail "left behind after the purge:
$left"
gone=$(LC_ALL=C comm -23 "$WORK/before" "$WORK/after")
[ -z "$gone" ] || fail "missing after the purge:
$gone"
echo "deb: all checks passed"
