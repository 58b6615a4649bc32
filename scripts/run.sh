#!/usr/bin/env bash
# Starts the desktop program when it is built; until then renders the bundled
# sample with the command-line tool and says where the pictures are.
set -euo pipefail
bin="$1"
sample="$bin/AddOn/Voorbeeld.kvo"
if [ -x "$bin/korvimo" ]; then
  exec "$bin/korvimo" "$sample"
fi
out="${TMPDIR:-/tmp}/korvimo-sample"
mkdir -p "$out"
"$bin/korvimo-cli" convert "$sample" "$out/Voorbeeld.kvo"
if "$bin/korvimo-cli" render "$sample" "$out/Voorbeeld.png" 2>/dev/null; then
  echo "Rendered the sample diagram: $out/Voorbeeld.png"
fi
echo "Converted the sample diagram: $out/Voorbeeld.kvo"
