#!/usr/bin/env bash
# Screenshots of the subtitle page's trial play: the preview showing a burnt-in Chinese line
# with the language's default font, in tw and en, into docs/.
source "$(dirname "$0")/gui_common.sh"
clip "sample clip.avi" 20 640x480
printf '1\r\n00:00:00,500 --> 00:00:15,000\r\n字幕試播 Subtitle trial\r\n\r\n' > "$WORK/sample clip.srt"
xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD/qorvid_gui_driver" subtitle-shots "$WORK/sample clip.avi" \
  "$WORK/sample clip.srt" "$SRC/docs" --plugins "$PLUGINS"
