#!/usr/bin/env bash
# Soak test of several servers on one folder, outside CI: three
# `korvimo-cli serve` processes watch a fresh folder while
# scripts/soak-writer.py drops COUNT requests of both kinds (some malformed,
# some written slowly in pieces). In the middle one server is killed with
# SIGKILL and, after a while, started again. Afterwards every good request
# must have exactly one valid JPEG of the requested width, every request must
# have been answered exactly once (by whichever server), no data, claim or
# temporary file may be left, and the surviving servers must stop cleanly.
#
#   scripts/soak-servers.sh [BIN_FOLDER] [COUNT]     (default build/release/bin 300)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=${1:-build/release/bin}
count=${2:-300}
timeout=5
work=$(mktemp -d /tmp/korvimo-soak-servers.XXXXXX)
mkdir -p "$work/watch" "$work/config"
echo "soak-servers: $count requests, 3 servers, in $work"

start_server() { # N
    XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
        "$bin/korvimo-cli" serve "$work/watch" --claim-timeout "$timeout" --log "$work/server$1.log" \
        2>> "$work/stderr$1.txt" &
    pids[$1]=$!
}
declare -a pids
for n in 1 2 3; do start_server "$n"; done

start=$(date +%s)
python3 "$here/soak-writer.py" "$work/watch" "$work/manifest.txt" --count "$count" --mean-gap 0.1 &
writer=$!

# Kill server 1 once a third of the requests are answered, while it holds a
# request, and start a new one ten seconds later.
finished() { cat "$work"/stderr*.txt 2> /dev/null | grep -c 'FunctionFinish:CreateDiagram' || true; }
while [ "$(finished)" -lt $(( count / 3 )) ]; do sleep 0.5; done
for _ in $(seq 400); do
    find "$work/watch/.korvimo-claims/" -path "*~${pids[1]}~*" \( -name '*.csv' -o -name '*.kvoimp' \) \
        2> /dev/null | grep -q . && break
    sleep 0.05
done
kill -KILL "${pids[1]}"; wait "${pids[1]}" 2> /dev/null || true
echo "soak-servers: killed server 1 after $(finished) answers"
sleep 10
start_server 4
echo "soak-servers: started server 4"

wait "$writer"
echo "soak-servers: writer done after $(( $(date +%s) - start )) s; waiting for the queue"
deadline=$(( $(date +%s) + 1800 ))
while :; do
    waiting=$(find "$work/watch" -maxdepth 1 \( -name '*.csv' -o -name '*.kvoimp' \) | wc -l)
    claimed=$(find "$work/watch/.korvimo-claims" -type f \( -name '*.csv' -o -name '*.kvoimp' \) 2> /dev/null | wc -l)
    [ "$waiting" -eq 0 ] && [ "$claimed" -eq 0 ] && [ "$(finished)" -ge "$count" ] && break
    if [ "$(date +%s)" -gt "$deadline" ]; then echo "soak-servers: FAIL the queue did not drain"; break; fi
    sleep 1
done
elapsed=$(( $(date +%s) - start ))
status=0
for n in 2 3 4; do
    kill -TERM "${pids[$n]}" 2> /dev/null || true
    wait "${pids[$n]}" || status=$?
done
echo "soak-servers: all done after $elapsed s; exit status of the survivors $status"

python3 - "$work" "$status" << 'PY'
import collections, glob, os, subprocess, sys
work, status = sys.argv[1], int(sys.argv[2])
watch = os.path.join(work, "watch")
failures = []
answered = collections.Counter()
for path in sorted(glob.glob(os.path.join(work, "stderr*.txt"))):
    current = None
    for line in open(path, encoding="utf-8", errors="replace"):
        line = line.rstrip("\n")
        at = line.find("  Import=")
        if at >= 0:
            current = os.path.basename(line[at + 9:])
        elif line.endswith("FunctionFinish:CreateDiagram") and current:
            answered[current] += 1
            current = None
manifest = [l.split() for l in open(os.path.join(work, "manifest.txt")) if l.strip()]
good = bad = 0
for name, ext, width, mode in manifest:
    width = int(width)
    n = answered[name + ext]
    if n != 1:
        failures.append("%s%s (%s) answered %d times" % (name, ext, mode, n))
    jpg = os.path.join(watch, name + ".jpg")
    if width:
        good += 1
        if not os.path.isfile(jpg):
            failures.append("%s%s (%s): no picture" % (name, ext, mode)); continue
        p = subprocess.run(["djpeg", "-pnm", jpg], capture_output=True)
        head = p.stdout[:32].split()
        if p.returncode != 0 or p.stderr or len(head) < 3 or int(head[1]) != width:
            failures.append("%s%s (%s): not a valid %d-pixel JPEG" % (name, ext, mode, width))
    else:
        bad += 1
        if os.path.exists(jpg):
            failures.append("%s%s (malformed): a picture was written" % (name, ext))
left = [f for f in os.listdir(watch) if not f.endswith(".jpg")]
if left:
    failures.append("left in the folder: %s" % " ".join(sorted(left)[:20]))
if status != 0:
    failures.append("a surviving server ended with status %d" % status)
for path in glob.glob(os.path.join(work, "stderr*.txt")):
    text = open(path, errors="replace").read()
    for word in ("AddressSanitizer", "Segmentation", "Aborted", "terminate called"):
        if word in text:
            failures.append("%s mentions %s" % (os.path.basename(path), word))
per_server = {os.path.basename(p): open(p, errors="replace").read().count("FunctionFinish:CreateDiagram")
              for p in sorted(glob.glob(os.path.join(work, "stderr*.txt")))}
print("requests: %d good, %d malformed; answers per server: %s" % (good, bad, per_server))
takeovers = sum(open(p, errors="replace").read().count("van de gestopte server")
                for p in glob.glob(os.path.join(work, "stderr*.txt")))
print("taken over from the killed server: %d" % takeovers)
if failures:
    print("soak-servers: FAIL")
    for f in failures[:40]:
        print("  " + f)
    sys.exit(1)
print("soak-servers: PASS")
PY
