#!/usr/bin/env bash
# The player window playing a clip and a sound file, tw and en, into docs/ (or OUT).
source "$(dirname "$0")/gui_common.sh"
OUT=${OUT:-$SRC/docs}
clip "clip.avi" 20 640x360
ffmpeg -y -hide_banner -loglevel error -f lavfi -i "sine=sample_rate=44100:duration=20" -c:a libmp3lame "$WORK/song.mp3"
mkdir -p "$WORK/mplayer" && echo "ao=null" > "$WORK/mplayer/config"
MPLAYER_HOME="$WORK/mplayer" xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD/qorvid_gui_driver" player-shots \
  "$WORK/clip.avi" "$WORK/song.mp3" "$WORK" --plugins "$PLUGINS" 2>/dev/null
cp "$WORK/player_en.png" "$WORK/player_sound_en.png" "$OUT/"
