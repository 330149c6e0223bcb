#!/usr/bin/env bash
# Builds the Debian package, installs it with apt, converts a clip with the installed
# programs (settings per user, the program folder untouched), removes it and checks that
# nothing is left behind. Needs root (apt-get install / remove).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh" >/dev/null
build="${QORVID_DEB_BUILD:-$here/build-deb}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "== build and package"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQORVID_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
rm -f "$build"/qorvid_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/qorvid_*.deb)"
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Depends | sed 's/^/depends: /'

echo "== validate the desktop entry and the AppStream file"
desktop-file-validate "$here/app/ui/resources/qorvid.desktop" && echo "desktop-file-validate: ok"
appstreamcli validate --no-net "$here/app/ui/resources/io.qorvid.Qorvid.metainfo.xml" | tail -n 1

echo "== install"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q "$deb" >/dev/null
for f in /usr/bin/qorvid /usr/bin/qorvid-cli /usr/lib/qorvid/plugins/ZevraRes1.exe \
         /usr/lib/qorvid/plugins/ZevraRes2.exe /usr/lib/qorvid/plugins/ZevraRes3.exe \
         /usr/lib/qorvid/help/help_en.html /usr/share/applications/qorvid.desktop \
         /usr/share/icons/hicolor/48x48/apps/qorvid.png /usr/share/metainfo/io.qorvid.Qorvid.metainfo.xml; do
  [ -e "$f" ] || { echo "missing after install: $f"; exit 1; }
done
echo "installed: $(dpkg -L qorvid | wc -l) paths"

echo "== run the installed programs as a user would"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25:duration=3 -f lavfi -i sine=duration=3 \
  -c:v mpeg4 -c:a libmp3lame "$work/clip.avi"
/usr/bin/qorvid-cli --version
/usr/bin/qorvid-cli convert "$work/clip.avi" --to divx --yes --lang en --target-dir "$work" >/dev/null
echo "divx target: $(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$work/clip_avi2.avi" | tr "\n" " ")"
/usr/bin/qorvid-cli convert "$work/clip.avi" --to mp3 --yes --lang en >/dev/null
echo "mp3 target: $(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$work/clip.mp3")"
set +e
QT_QPA_PLATFORM=offscreen timeout -s INT 5 /usr/bin/qorvid >/dev/null 2>&1
rc=$?
set -e
echo "desktop program ran offscreen until stopped (exit $rc)"
[ "$rc" -eq 124 ] || [ "$rc" -eq 0 ] || [ "$rc" -eq 130 ] || { echo "the desktop program failed"; exit 1; }
if ls /usr/lib/qorvid | grep -q -i '\.ini$'; then echo "settings were written into the program folder"; exit 1; fi
echo "program folder holds no settings; per-user folder: $(ls -A "$XDG_CONFIG_HOME" 2>/dev/null | tr '\n' ' ')"

echo "== remove"
apt-get remove -y -q qorvid >/dev/null
left=$(ls -d /usr/lib/qorvid /usr/bin/qorvid /usr/bin/qorvid-cli /usr/share/applications/qorvid.desktop \
       /usr/share/metainfo/io.qorvid.Qorvid.metainfo.xml /usr/share/icons/hicolor/*/apps/qorvid.png 2>/dev/null || true)
[ -z "$left" ] || { echo "left behind after remove:"; echo "$left"; exit 1; }
echo "removed: nothing left but the per-user settings"
