#!/bin/bash
# Takes the main window's pictures in docs/screenshots under a virtual X
# display: light and dark theme, and the light theme at twice the scale.
# Run `make test` first (it builds test_ui).
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/test/bin/test_ui
out=docs/screenshots
shoot() { # theme suffix [env...]
    local theme=$1 suffix=$2
    shift 2
    env "$@" QT_QPA_PLATFORM=xcb KORVIMO_SCREENSHOT_DIR="$out" KORVIMO_SCREENSHOT_THEME="$theme" \
        KORVIMO_SCREENSHOT_SUFFIX="$suffix" ASAN_OPTIONS=detect_leaks=0 \
        xvfb-run -a -s "-screen 0 2400x1800x24" "$bin" --gtest_filter='Ui_ScreenshotTests.*'
}
shoot light light
shoot dark dark
shoot light scale2 QT_SCALE_FACTOR=2
echo "pictures in $out"
