#!/usr/bin/env bash
# Screenshots of every page of the options window under Xvfb, in tw and en, into docs/.
set -euo pipefail
source "$(dirname "$0")/gui_common.sh"
clip "sample clip.avi" 10 640x360
mkdir -p "$SRC/docs"
xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD/qorvid_gui_driver" options-shots "$WORK/sample clip.avi" "$SRC/docs" \
  --plugins "$PLUGINS" 2>/dev/null
ls -1 "$SRC/docs"/options_*.png
