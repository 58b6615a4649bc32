#!/usr/bin/env bash
# Soak test of server mode, outside CI: korvimo-cli serve watches a fresh
# folder while scripts/soak-writer.py drops COUNT requests at random moments
# (some malformed, some written slowly in pieces). Afterwards every good
# request must have given exactly one valid JPEG of the requested width,
# every malformed one none, no data or temporary file may be left, the
# server must stop cleanly on SIGTERM, and its memory (RSS, sampled every two
# seconds) must stay flat.
#
#   scripts/soak-server.sh [BIN_FOLDER] [COUNT]     (default build/release/bin 500)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-build/release/bin}
count=${2:-500}
work=$(mktemp -d /tmp/korvimo-soak.XXXXXX)
mkdir -p "$work/watch" "$work/config"
echo "soak: $count requests in $work"

XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    "$bin/korvimo-cli" serve "$work/watch" --log "$work/server.log" 2> "$work/stderr.txt" &
server=$!
(
    while kill -0 "$server" 2> /dev/null; do
        rss=$(awk '/^VmRSS/ {print $2}' "/proc/$server/status" 2> /dev/null || true)
        [ -n "$rss" ] && echo "$(date +%s.%N) $rss"
        sleep 2
    done
) > "$work/rss.txt" &
sampler=$!

start=$(date +%s)
python3 "$here/soak-writer.py" "$work/watch" "$work/manifest.txt" --count "$count"
echo "soak: writer done after $(( $(date +%s) - start )) s; waiting for the queue"

# The queue is drained when every request has its finishing line. The
# command echoes every log line on stderr, which (unlike the log file) is
# never shortened.
deadline=$(( $(date +%s) + 1800 ))
while :; do
    finished=$(grep -c 'FunctionFinish:CreateDiagram' "$work/stderr.txt" 2> /dev/null || true)
    [ "${finished:-0}" -ge "$count" ] && break
    if ! kill -0 "$server" 2> /dev/null; then
        echo "soak: FAIL the server is gone"; break
    fi
    if [ "$(date +%s)" -gt "$deadline" ]; then
        echo "soak: FAIL the queue did not drain"; break
    fi
    sleep 1
done
elapsed=$(( $(date +%s) - start ))

status=0
if kill -TERM "$server" 2> /dev/null; then
    wait "$server" || status=$?
else
    wait "$server" || status=$?
fi
wait "$sampler" 2> /dev/null || true
echo "soak: all done after $elapsed s; server exit status $status"

python3 - "$work" "$status" << 'PY'
import os, re, subprocess, sys
work, status = sys.argv[1], int(sys.argv[2])
watch = os.path.join(work, "watch")
failures = []
log = open(os.path.join(work, "stderr.txt"), encoding="utf-8", errors="replace").read().splitlines()
texts = [l[21:] for l in log]
filelog = open(os.path.join(work, "server.log"), encoding="utf-8", errors="replace").read().splitlines()
if not all(re.match(r"^\d{8} \d\d:\d\d:\d\d\.\d{3} ", l) for l in filelog):
    failures.append("a log file line without its time")
manifest = [l.split() for l in open(os.path.join(work, "manifest.txt")) if l.strip()]
good = bad = 0
for name, ext, width, mode in manifest:
    width = int(width)
    jpg = os.path.join(watch, name + ".jpg")
    data = os.path.join(watch, name + ext)
    imports = texts.count("Import=" + data)
    if imports != 1:
        failures.append("%s%s served %d times (%s)" % (name, ext, imports, mode))
    if width:
        good += 1
        if not os.path.isfile(jpg):
            failures.append("%s%s (%s): no picture" % (name, ext, mode)); continue
        p = subprocess.run(["djpeg", "-pnm", jpg], capture_output=True)
        head = p.stdout[:32].split()
        if p.returncode != 0 or p.stderr or len(head) < 3 or int(head[1]) != width:
            failures.append("%s%s (%s): not a valid %d-pixel JPEG: %s" % (name, ext, mode, width, p.stderr[:80]))
    else:
        bad += 1
        if os.path.exists(jpg):
            failures.append("%s%s (malformed, %s): a picture was written" % (name, ext, mode))
        if not any(t.startswith("Error: no diagram could be made from " + data) for t in texts):
            failures.append("%s%s (malformed): no reason logged" % (name, ext))
left = [f for f in os.listdir(watch) if not f.endswith(".jpg")]
hidden = [f for f in os.listdir(watch) if f.startswith(".")]
if left or hidden:
    failures.append("left in the folder: %s" % " ".join(sorted(left + hidden)[:20]))
if status != 0:
    failures.append("server exit status %d" % status)
stderr = open(os.path.join(work, "stderr.txt"), errors="replace").read()
for word in ("AddressSanitizer", "Segmentation", "Aborted", "terminate called"):
    if word in stderr:
        failures.append("stderr mentions %s" % word)

rss = [(float(t), int(k)) for t, k in (l.split() for l in open(os.path.join(work, "rss.txt")) if l.strip())]
if rss:
    t0 = rss[0][0]
    values = [k for _, k in rss]
    n = len(values)
    q = max(1, n // 5)
    early = sum(values[q:2 * q]) / q / 1024 if n >= 5 else values[0] / 1024
    late = sum(values[-q:]) / q / 1024
    print("memory: %d samples over %.0f s; RSS first %.1f MiB, max %.1f MiB, last %.1f MiB; "
          "second fifth %.1f MiB, last fifth %.1f MiB"
          % (n, rss[-1][0] - t0, values[0] / 1024, max(values) / 1024, values[-1] / 1024, early, late))
    if late > early * 1.25 + 8:
        failures.append("memory grew from %.1f to %.1f MiB" % (early, late))
busy = sum(1 for t in texts if t.endswith("niet openen."))
print("requests: %d good, %d malformed; %d waits for a file still being written; %d log lines"
      % (good, bad, busy, len(log)))
if failures:
    print("soak: FAIL")
    for f in failures[:40]:
        print("  " + f)
    sys.exit(1)
print("soak: PASS")
PY
