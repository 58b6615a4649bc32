#!/bin/bash
# Pastes Korvimo's Diagram-copy into LibreOffice Draw and Inkscape through a
# real X11 clipboard, for each copy type, and keeps what they made in
# build/paste-check/ (PNG from LibreOffice, SVG from Inkscape) to look at.
# Run `make test` first (it builds test_dialogs). Not part of `make test`:
# it needs LibreOffice and Inkscape, which it installs.
#
# A metafile copy must arrive as a vector picture in both programs (Inkscape
# takes only EMF as a vector; for WMF it pastes the PNG twin); a pixel copy
# as a picture.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
out=build/paste-check

case "${1:-}" in
EMF | WMF | PNG | JPG)
    # Called by the test, with the copy type, while Korvimo owns the clipboard.
    type=$1
    targets=$(xclip -o -selection clipboard -t TARGETS | tr '\n' ' ')
    echo "targets: $targets"
    case $type in
    EMF) want="image/x-emf image/png" ;;
    WMF) want="image/x-wmf image/png" ;;
    *) want="image/png" ;;
    esac
    for t in $want; do
        [[ " $targets " == *" $t "* ]] || { echo "missing target $t"; exit 1; }
    done

    lo=$(/usr/bin/python3 scripts/libreoffice-paste.py "$PWD/$out/$type-libreoffice.png")
    echo "$lo"
    case $type in
    EMF | WMF) [[ $lo == *vector* ]] || { echo "LibreOffice did not paste a vector picture"; exit 1; } ;;
    esac

    # Inkscape has no paste action on its command line: open an empty
    # drawing, press Ctrl+V and Ctrl+S in its window.
    svg=$out/$type-inkscape.svg
    printf '<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="200mm" viewBox="0 0 200 200"></svg>\n' >"$svg"
    inkscape --with-gui "$svg" >"$out/inkscape.log" 2>&1 &
    pid=$!
    win=""
    for _ in $(seq 1 240); do
        win=$(xdotool search --onlyvisible --name "$(basename "$svg")" 2>/dev/null | head -1 || true)
        [ -n "$win" ] && break
        sleep 0.5
    done
    [ -n "$win" ] || { echo "Inkscape's window did not appear"; kill $pid; exit 1; }
    sleep 3
    xdotool windowfocus --sync "$win"
    xdotool key --window "$win" ctrl+v
    sleep 4
    xdotool key --window "$win" ctrl+s
    sleep 3
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    paths=$(grep -c '<path' "$svg" || true)
    images=$(grep -c '<image' "$svg" || true)
    echo "inkscape: $paths paths, $images images"
    if [ "$type" = EMF ]; then
        [ "$paths" -gt 50 ] || { echo "Inkscape did not paste the metafile"; exit 1; }
    else
        [ "$images" -ge 1 ] || { echo "Inkscape did not paste a picture"; exit 1; }
    fi
    ;;
--inside)
    [ -z "${KORVIMO_PASTE_CHECKER:-}" ] || exit 2
    # Under the virtual display: LibreOffice listening, then the test.
    export SAL_USE_VCLPLUGIN=gen
    soffice -env:UserInstallation="file://$PWD/$out/profile" --norestore --nologo --nodefault \
        --accept="socket,host=localhost,port=2002;urp;" >"$out/soffice.log" 2>&1 &
    office=$!
    status=0
    KORVIMO_TEST_PLATFORM=xcb KORVIMO_PASTE_CHECKER="$self" ASAN_OPTIONS=detect_leaks=0 \
        build/test/bin/test_dialogs --gtest_filter='Dialogs_ClipboardTests.OtherProgramsPasteEveryType' || status=$?
    kill $office 2>/dev/null || true
    wait $office 2>/dev/null || true
    exit $status
    ;;
*)
    [ -z "${KORVIMO_PASTE_CHECKER:-}" ] || { echo "called with '${1:-}' from inside the check"; exit 2; }
    bash scripts/install-deps.sh xclip xdotool inkscape libreoffice-draw python3-uno
    [ -x build/test/bin/test_dialogs ] || { echo "run make test first"; exit 1; }
    rm -rf "$out"
    mkdir -p "$out"
    xvfb-run -a -s "-screen 0 1600x1200x24" "$self" --inside
    echo "what the programs made is in $out"
    ;;
esac
