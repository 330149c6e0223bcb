# Shared by the qorvid-cli benches: the build, a scratch folder, and the 60 s 1280x720 clip
# (MPEG-4 picture, MP3 sound) they convert. Sourced, not run.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QORVID_BUILD_DIR:-$here/build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# make_clip PATH: the benches' source clip.
make_clip() {
  ffmpeg -nostdin -y -loglevel error -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=60" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=60" -c:v mpeg4 -q:v 5 -c:a libmp3lame "$1"
}
