#!/usr/bin/env bash
# Start-up time of `qorvid` (process start to the main window on the screen, splash aside) and
# its resident memory when idle, each the median of 5 runs under Xvfb.
set -euo pipefail
source "$(dirname "$0")/gui_common.sh"
cp "$BUILD/qorvid" "$WORK/qorvid"
ln -s "$PLUGINS" "$WORK/plugins"
printf 'Language=tw\r\n' > "$WORK/Qorvid.ini"

run_once() {
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    start=$(date +%s%3N)
    QORVID_TRACE=1 "$1" 2> "$2/err" &
    pid=$!
    for i in $(seq 1 100); do grep -q "main window shown" "$2/err" 2>/dev/null && break; sleep 0.05; done
    shown=$(sed -n "s/.*main window shown at //p" "$2/err")
    sleep 4   # past the splash: idle
    rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)
    kill $pid; wait $pid 2>/dev/null || true
    echo "$((shown - start)) $rss"' _ "$WORK/qorvid" "$WORK"
}
for i in 1 2 3 4 5; do run_once; done > "$WORK/runs"
echo "runs (start-up ms, idle RSS kB):"; sed 's/^/  /' "$WORK/runs"
echo "start-up to main window shown: $(cut -d' ' -f1 "$WORK/runs" | median) ms (median of 5; goal < 400)"
echo "idle resident memory: $(( $(cut -d' ' -f2 "$WORK/runs" | median) / 1024 )) MB (median of 5; goal < 80)"
