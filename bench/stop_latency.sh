#!/usr/bin/env bash
# How long Ctrl-C takes to end a running conversion: qorvid-cli converts a 60 s clip to H.264;
# once the target is being written it gets SIGINT, and the time until it has exited (tool
# killed, target removed) is printed, median of 3. Asserts nothing.
set -euo pipefail
source "$(dirname "$0")/cli_common.sh"
clip="$work/long.avi"
make_clip "$clip"
times=()
for i in 1 2 3; do
  rm -f "$work/long_avi2.avi"
  "$build/qorvid-cli" convert "$clip" --to h264 --yes --lang en >/dev/null 2>&1 &
  pid=$!
  until pgrep -f "^ffmpeg .*$work/long.avi" >/dev/null; do sleep 0.02; done
  t0=$(date +%s%N)
  if ! kill -INT "$pid" 2>/dev/null; then echo "run $i: finished before the stop"; continue; fi
  wait "$pid" || true
  t1=$(date +%s%N)
  left=$(pgrep -f "$build/plugins/ZevraRes" | wc -l || true)
  [ -e "$work/long_avi2.avi" ] && partial=yes || partial=no
  times+=($(( (t1 - t0) / 1000000 )))
  echo "run $i: ${times[-1]} ms, partial target left: $partial, plugin processes left: $left"
done
printf 'Ctrl-C to exit, median of 3: %s ms  (goal < 300 ms)\n' "$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)"
