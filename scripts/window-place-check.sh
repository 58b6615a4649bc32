#!/bin/bash
# Starts Korvimo ten times under a real window manager (openbox on a virtual
# X display) and checks that the main window and the new-diagram dialog come
# back exactly where they were closed, frame included; then that a maximised
# main window comes back maximised and, made normal again, at its old place.
# Run `make test` first (it builds the program). Not part of `make test`: it
# needs openbox, which it installs.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."
bin=${KORVIMO_BIN:-build/test/bin/korvimo}

if [ "${1:-}" != --inside ]; then
    bash scripts/install-deps.sh openbox xdotool wmctrl x11-utils
    [ -x "$bin" ] || { echo "run make test first"; exit 1; }
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$self" --inside
fi

config=$(mktemp -d)
trap 'rm -rf "$config"; kill $wm 2>/dev/null || true' EXIT
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
export XDG_CONFIG_HOME=$config ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb
ini=$config/Korvimo/Korvimo.ini
# A language chosen already, so that the first start shows the new-diagram
# dialog rather than the language dialog.
mkdir -p "$(dirname "$ini")"
printf '[Korvimo settings]\r\n\r\n[**General variables**]\r\nLanguageSet=1\r\nStartShowNewForm=1\r\n' >"$ini"

# Frame corner and client size of a window: the client's place less the
# frame extents the window manager reports.
frame() { # window-id
    local x y w h l r t b
    eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/{print "x="$4} /Absolute upper-left Y/{print "y="$4}
                                      /Width:/{print "w="$2} /Height:/{print "h="$2}')"
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo "$((x - l)),$((y - t)) ${w}x${h}"
}
wait_window() { # name
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    echo "window '$1' did not appear" >&2
    return 1
}

run() { # what to do before closing: "" or "move" or "maximize" or "normal"
    "$bin" >"$config/run.log" 2>&1 &
    local pid=$!
    local dialog main
    dialog=$(wait_window "Nieuw bestand")
    sleep 0.5
    dialog_place=$(frame "$dialog")
    [ "$1" = move ] && xdotool windowmove "$dialog" 150 120 && sleep 0.5 && dialog_place=$(frame "$dialog")
    xdotool windowactivate --sync "$dialog" key Escape
    main=$(wait_window "Korvimo - .*")
    sleep 0.5
    case $1 in
    move) xdotool windowmove "$main" 200 90; xdotool windowsize "$main" 900 640; sleep 0.5 ;;
    maximize) wmctrl -i -r "$main" -b add,maximized_vert,maximized_horz; sleep 0.5 ;;
    normal) wmctrl -i -r "$main" -b remove,maximized_vert,maximized_horz; sleep 0.5 ;;
    esac
    main_place=$(frame "$main")
    main_max=$(xprop -id "$main" _NET_WM_STATE | grep -c MAXIMIZED_HORZ || true)
    xdotool windowactivate --sync "$main" key alt+F4
    wait $pid
}

run move
first_dialog=$dialog_place
first_main=$main_place
echo "placed: main $first_main, dialog $first_dialog"
status=0
for i in $(seq 2 10); do
    run ""
    echo "start $i: main $main_place, dialog $dialog_place"
    [ "$main_place" = "$first_main" ] || { echo "  main window moved"; status=1; }
    [ "$dialog_place" = "$first_dialog" ] || { echo "  dialog moved"; status=1; }
done
grep -q "^MainWindowLeft=200" "$ini" && grep -q "^MainWindowTop=90" "$ini" && grep -q "^MainWindowWidth=900" "$ini" \
    || { echo "MainWindow values not written:"; grep MainWindow "$ini"; status=1; }

run maximize
run ""
echo "after maximising: maximised=$main_max"
[ "$main_max" = 1 ] || { echo "  not maximised again"; status=1; }
run normal
run ""
echo "made normal again: main $main_place"
[ "$main_place" = "$first_main" ] || { echo "  normal place lost"; status=1; }
[ $status = 0 ] && echo "window places kept"
exit $status
