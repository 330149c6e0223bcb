#!/usr/bin/env bash
# The preview under Xvfb on a 720p clip, median of 5 runs: from pressing play to the first
# picture in picPlayer, the program's own CPU time while the preview plays (the player aside,
# in percent of one core) and the longest event-loop gap meanwhile. Figures only.
#   PREVIEW_SECONDS=30 RUNS=5 bench/gui_preview.sh
source "$(dirname "$0")/gui_common.sh"
seconds=${PREVIEW_SECONDS:-30}
runs=${RUNS:-5}
clip "clip 720p.avi" $((seconds + 10)) 1280x720
for i in $(seq "$runs"); do
  xvfb-run -a -s "-screen 0 1600x1000x24" "$BUILD/qorvid_gui_driver" preview-bench "$WORK/clip 720p.avi" \
    --plugins "$PLUGINS" --seconds "$seconds" 2>/dev/null | grep first_frame_ms
done > "$WORK/runs"
cat "$WORK/runs"
for key in first_frame_ms own_cpu_percent longest_gap_ms; do
  printf '%s median=%s\n' "$key" "$(sed -n "s/.*$key=\([0-9.]*\).*/\1/p" "$WORK/runs" | median)"
done
