#!/usr/bin/env bash
# Screenshots of the main window under Xvfb, idle and converting, in tw, gb and en, into docs/.
set -euo pipefail
source "$(dirname "$0")/gui_common.sh"
clip "sample clip.avi" 30 640x360
mkdir -p "$SRC/docs"
xvfb-run -a -s "-screen 0 1280x800x24" "$BUILD/qorvid_gui_driver" shots "$WORK/sample clip.avi" "$SRC/docs" \
  --plugins "$PLUGINS" 2>/dev/null
ls -1 "$SRC/docs"/main_*.png
