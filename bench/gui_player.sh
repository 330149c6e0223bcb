#!/usr/bin/env bash
# The player window under Xvfb on a 720p clip, median of 5 runs: from playSingle to the first
# picture in picPlayer (the first play, and again in the shown window), and the program's own CPU time while the clip plays (the player aside,
# in percent of one core). Figures only.
#   PLAYER_SECONDS=20 RUNS=5 bench/gui_player.sh
source "$(dirname "$0")/gui_common.sh"
seconds=${PLAYER_SECONDS:-20}
runs=${RUNS:-5}
clip "clip 720p.avi" $((seconds + 10)) 1280x720
# The machine may have no sound device: the player's own settings send sound nowhere.
mkdir -p "$WORK/mplayer" && echo "ao=null" > "$WORK/mplayer/config"
for i in $(seq "$runs"); do
  MPLAYER_HOME="$WORK/mplayer" xvfb-run -a -s "-screen 0 1600x1000x24" "$BUILD/qorvid_gui_driver" player-bench \
    "$WORK/clip 720p.avi" --plugins "$PLUGINS" --seconds "$seconds" 2>/dev/null | grep first_frame_ms
done > "$WORK/runs"
cat "$WORK/runs"
for key in first_frame_ms again_ms own_cpu_percent; do
  printf '%s median=%s\n' "$key" "$(sed -n "s/.*$key=\([0-9.]*\).*/\1/p" "$WORK/runs" | median)"
done
