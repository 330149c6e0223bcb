# Shared by the gui_*.sh scripts: the build folder, the plugins and a scratch folder.
BUILD=${BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-gui}
SRC=$(cd "$(dirname "$0")/.." && pwd)
PLUGINS=${PLUGINS:-$BUILD/plugins}
[ -x "$PLUGINS/ZevraRes2.exe" ] || PLUGINS=$SRC/build/plugins
PLUGINS=$(cd "$PLUGINS" && pwd) # the program folder links to it from elsewhere
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
# clip NAME SECONDS SIZE: a test picture with sound, made with ffmpeg.
clip() {
  ffmpeg -y -hide_banner -loglevel error -f lavfi -i "testsrc2=size=$3:rate=25:duration=$2" \
    -f lavfi -i "sine=sample_rate=44100:duration=$2" -c:v mpeg4 -q:v 5 -c:a libmp3lame "$WORK/$1"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
