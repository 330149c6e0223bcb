#!/usr/bin/env bash
# Screenshots of the options window with the preview showing a picture and a crop rectangle,
# in tw and en, into docs/.
source "$(dirname "$0")/gui_common.sh"
clip "sample clip.avi" 20 640x480
xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD/qorvid_gui_driver" preview-shots "$WORK/sample clip.avi" "$SRC/docs" \
  --plugins "$PLUGINS"
