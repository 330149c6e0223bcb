#!/usr/bin/env bash
# Sets everything up, makes a short built-in clip and runs the main job on it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${QORVID_BUILD_DIR:-$here/build}"
demo="$build/demo"
mkdir -p "$demo"
clip="$demo/demo clip.avi"
if [ ! -s "$clip" ]; then
  ffmpeg -nostdin -y -hide_banner -loglevel error \
    -f lavfi -i "testsrc2=size=640x360:rate=25:duration=10" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=10" \
    -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k -ac 2 "$clip"
fi
echo "== qorvid-cli probe \"$clip\""
"$build/qorvid-cli" probe "$clip"
echo "== qorvid-cli convert \"$clip\" --to divx --yes $*"
target=$("$build/qorvid-cli" convert "$clip" --to divx --yes "$@")
echo "== result: $target"
ffprobe -v error -show_entries format=format_name,duration:stream=codec_name,codec_tag_string,width,height \
  -of compact "$target"
