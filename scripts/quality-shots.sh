#!/usr/bin/env bash
# Draws the before and after pictures of docs/screenshots/quality/ with the
# release korvimo-cli: "before" with KeepTextsUpright, PlaceNamesClear and RingFollowsArms
# off (the drawing as the templates and scripts have it), "after" with all
# on. Run after `make run` or a release build.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${KORVIMO_CLI:-build/release/bin/korvimo-cli}
out=docs/screenshots/quality
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

settings() { # on/off
  mkdir -p "$work/$1/Korvimo"
  local v=$([ "$1" = on ] && echo 1 || echo 0)
  printf '[Korvimo settings]\r\n\r\n[**General variables**]\r\nKeepTextsUpright=%s\r\nPlaceNamesClear=%s\r\nRingFollowsArms=%s\r\n' "$v" "$v" "$v" \
    > "$work/$1/Korvimo/Korvimo.ini"
}
settings off
settings on

shot() { # name request
  XDG_CONFIG_HOME="$work/off" "$cli" render "$2" "$out/$1-before.png" --width 700
  XDG_CONFIG_HOME="$work/on" "$cli" render "$2" "$out/$1-after.png" --width 700
}
shot sample data/AddOn/Voorbeeld.kvoimp
shot arm120 tests/data/quality/arm120.kvoimp
for r in tests/data/quality/*.kvoimp; do
  name=$(basename "$r" .kvoimp)
  [ "$name" = arm120 ] || shot "$name" "$r"
done
echo "pictures in $out"
