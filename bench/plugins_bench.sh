#!/usr/bin/env bash
# Wall-time bench of the encoder plugin (ZevraRes2) against the equivalent direct FFmpeg run
# and against Debian's MEncoder, on one 1280x720 clip. Median of 3 runs each, printed side by
# side. Not a test: it only measures.
#
#   bench/plugins_bench.sh [build dir]      (default: build beside this folder)
#   BENCH_SECONDS=60 BENCH_RUNS=3           clip length and runs per measurement
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
tool="$build/plugins/ZevraRes2.exe"
seconds="${BENCH_SECONDS:-60}"
runs="${BENCH_RUNS:-3}"
[ -x "$tool" ] || { echo "no encoder plugin at $tool (build the qorvid_plugins target)" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# An MPEG-2 programme stream: Debian's MEncoder turns MPEG-4-in-AVI sources into a single
# frame, which would make it look fast.
src="$work/clip.mpg"
echo "making a ${seconds} s 1280x720 clip ..."
ffmpeg -nostdin -y -loglevel error -f lavfi -i "testsrc2=size=1280x720:rate=25:duration=$seconds" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" -ac 2 \
  -c:v mpeg2video -q:v 3 -c:a mp2 -b:a 192k -f vob "$src"
expected_frames=$((seconds * 25))

# Whether the last output holds (nearly) every picture: a fast run that drops them proves nothing.
complete() {
  local n
  n=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$1" 2>/dev/null | head -1 | tr -dc 0-9)
  [ "${n:-0}" -ge $((expected_frames * 95 / 100)) ]
}

# Median wall time in seconds of running "$@" $runs times; "fail" when any run fails.
median_time() {
  local times=() t0 t1
  for _ in $(seq "$runs"); do
    rm -f "$work"/out.*
    t0=$(date +%s.%N)
    if ! "$@" >/dev/null 2>&1; then echo fail; return; fi
    t1=$(date +%s.%N)
    if ! complete "${@: -1}"; then echo broken; return; fi
    times+=("$(echo "$t1 - $t0" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]}'
}

ratio() { # $1 / $2, or n/a
  if [[ "$1" =~ ^[a-z] ]] || [[ "$2" =~ ^[a-z] ]]; then echo n/a; else echo "scale=3; $1 / $2" | bc -l; fi
}

tail_args=(-vf-add scale=1280:720 -delay 0 -channels 2 -srate 44100 -af-add channels=2 -vf-add harddup -mc 1)
lame=(-oac mp3lame -lameopts cbr:br=128)
declare -A mencoder_args ffmpeg_args out_ext
mencoder_args[DivX]="-noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=2000 ${lame[*]}"
mencoder_args[XviD]="-noodml -ofps 25 -ovc xvid -xvidencopts max_key_interval=23:bitrate=2000:max_bframes=0:quant_type=h263:me_quality=4 ${lame[*]}"
mencoder_args[H.264]="-noodml -ofps 25 -ovc x264 -x264encopts keyint=23:bitrate=2000:bframes=0 ${lame[*]}"
mencoder_args[WMV8]="-oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv2:keyint=23:vbitrate=2000:acodec=wmav2:abitrate=128 -ofps 25"
mencoder_args[MPEG2]="-oac lavc -ovc lavc -of mpeg -mpegopts format=mpeg2 -lavcopts vcodec=mpeg2video:keyint=23:vrc_buf_size=2000:vrc_maxrate=6000:vbitrate=2000:vstrict=0:acodec=mp2:abitrate=128 -ofps 25"
common_in=(-nostdin -y -loglevel error -i "$src" -map 0:v:0 -map 0:a:0)
common_a=(-af aresample=async=1 -ac 2 -ar 44100)
ffmpeg_args[DivX]="-c:v mpeg4 -g 23 -b:v 2000k -vf scale=1280:720 -pix_fmt yuv420p -r 25 -fps_mode cfr -tag:v DX50 -c:a libmp3lame -b:a 128k -f avi"
ffmpeg_args[H.264]="-c:v libx264 -g 23 -b:v 2000k -bf 0 -vf scale=1280:720 -pix_fmt yuv420p -r 25 -fps_mode cfr -c:a libmp3lame -b:a 128k -f avi"
ffmpeg_args[MPEG2]="-c:v mpeg2video -g 23 -b:v 2000k -maxrate 6000k -bufsize 2000k -strict:v 0 -vf scale=1280:720 -pix_fmt yuv420p -r 25 -fps_mode cfr -c:a mp2 -b:a 128k -f vob"
out_ext=([DivX]=avi [XviD]=avi [H.264]=avi [WMV8]=wmv [MPEG2]=mpg)

printf '\n%-7s %10s %10s %10s %14s %14s\n' target ZevraRes2 ffmpeg MEncoder "ours/ffmpeg" "ours/MEncoder"
for kind in DivX H.264 MPEG2 XviD WMV8; do
  out="$work/out.${out_ext[$kind]}"
  # shellcheck disable=SC2086
  ours=$(median_time "$tool" ${mencoder_args[$kind]} "${tail_args[@]}" "$src" -o "$out")
  direct=-
  if [ -n "${ffmpeg_args[$kind]:-}" ]; then
    # shellcheck disable=SC2086
    direct=$(median_time ffmpeg "${common_in[@]}" ${ffmpeg_args[$kind]%-f *} "${common_a[@]}" -f ${ffmpeg_args[$kind]##*-f } "$out")
  fi
  mine=-
  if [ "$kind" != MPEG2 ]; then
    # shellcheck disable=SC2086
    mine=$(median_time mencoder ${mencoder_args[$kind]} "${tail_args[@]}" "$src" -o "$out")
  fi
  r1=$([ "$direct" = - ] && echo - || ratio "$ours" "$direct")
  r2=$([ "$mine" = - ] && echo - || ratio "$ours" "$mine")
  printf '%-7s %10s %10s %10s %14s %14s\n' "$kind" "$ours" "$direct" "$mine" "$r1" "$r2"
done
echo
echo "goals: ours/ffmpeg <= 1.03 (DivX, H.264, MPEG-2); ours/MEncoder < 1 where MEncoder works"
echo "(broken: the run ended but its output lacks most pictures)"
