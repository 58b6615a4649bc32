#!/usr/bin/env bash
# Builds the Debian package, installs it the way a user does
# (apt-get install ./korvimo_*.deb), tries the installed programs from a
# folder far from the checkout, and removes the package again. Outside
# `make test`: it needs the superuser (or sudo) and changes the system.
#
#   scripts/package-check.sh            results in build/package-check/
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out="$root/build/package-check"
rm -rf "$out"
mkdir -p "$out"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

bash scripts/install-deps.sh openbox imagemagick
make package
deb=$(ls -t build/release/korvimo_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --info "$deb" | tee "$out/info.txt"
dpkg-deb --contents "$deb" > "$out/contents.txt"

fail() { echo "package-check: FAIL $*"; exit 1; }
grep -q '^ Depends: .*libqt6' "$out/info.txt" || fail "no computed dependencies on the Qt libraries"
for f in ./usr/bin/korvimo ./usr/bin/korvimo-cli ./usr/share/korvimo/Lib/Korvimo.lib \
         ./usr/share/korvimo/Lng/English.lng ./usr/share/applications/korvimo.desktop \
         ./usr/share/icons/hicolor/scalable/apps/korvimo.svg ./usr/share/mime/packages/korvimo.xml \
         ./usr/share/metainfo/org.korvimo.Korvimo.metainfo.xml \
         ./usr/share/man/man1/korvimo.1.gz ./usr/share/man/man1/korvimo-cli.1.gz; do
    grep -q " $f\$" "$out/contents.txt" || fail "$f is not in the package"
done

remove() { $SUDO apt-get remove -y -qq korvimo > /dev/null 2>&1 || true; }
trap remove EXIT
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -qq "./$deb" > "$out/install.txt"

# Far from the checkout, with a settings folder of its own.
work=$(mktemp -d /tmp/korvimo-package.XXXXXX)
cd "$work"
export XDG_CONFIG_HOME="$work/config"
[ "$(command -v korvimo-cli)" = /usr/bin/korvimo-cli ] || fail "korvimo-cli is not /usr/bin/korvimo-cli"
korvimo-cli --version | tee "$out/version.txt"
grep -q '^korvimo-cli [0-9]' "$out/version.txt" || fail "no version"
korvimo-cli render /usr/share/korvimo/AddOn/Voorbeeld.kvoimp "$out/sample.png" --width 800 \
    || fail "the installed sample does not render"
korvimo-cli render /usr/share/korvimo/AddOn/Voorbeeld.kvo /usr/share/korvimo/AddOn/Voorbeeld.csv \
    --out-dir "$out" --format jpg || fail "the batch render of the installed samples failed"
appstreamcli validate --no-net /usr/share/metainfo/org.korvimo.Korvimo.metainfo.xml || fail "metainfo"
man -w korvimo-cli > /dev/null || fail "no manual page"
xdg_type=$(XDG_DATA_DIRS=/usr/share gio mime application/x-korvimo-diagram 2> /dev/null | head -n 1 || true)
echo "mime: ${xdg_type:-gio not available}"

# The desktop program, under a virtual screen, opening the installed sample:
# once as on a first start (it asks for the language, listing the installed
# language and help files), once with English chosen.
shoot() { # picture
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        openbox > /dev/null 2>&1 & sleep 1
        korvimo /usr/share/korvimo/AddOn/Voorbeeld.kvoimp & app=$!
        sleep 6
        import -window root "$1"
        kill $app; wait $app 2> /dev/null || true
    ' _ "$1" || fail "the desktop program did not run"
    [ -s "$1" ] || fail "no screenshot $1"
}
shoot "$out/desktop-first-start.png"
mkdir -p "$XDG_CONFIG_HOME/Korvimo"
printf '[**General variables**]\r\nLanguage=English\r\nLanguageSet=1\r\nLanguageHelp=Korvimo_English\r\n' \
    > "$XDG_CONFIG_HOME/Korvimo/Korvimo.ini"
shoot "$out/desktop.png"

remove
trap - EXIT
[ ! -e /usr/bin/korvimo ] || fail "the package did not go away"
rm -rf "$work"
echo "package-check: PASS (results in $out)"
