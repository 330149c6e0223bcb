#!/usr/bin/env bash
# Wall time and picture quality of the encoder plugin (ZevraRes2) against the identical direct
# FFmpeg run and against Debian's MEncoder, on one 1280x720 MPEG-2 clip. The three runs of each
# round go one after the other, so that they share whatever else the machine is doing; the
# medians of the rounds are printed side by side with each output's PSNR against the source.
# Not a test: it only measures.
#
#   bench/plugins_bench.sh [build dir]      (default: build beside this folder)
#   BENCH_SECONDS=60 BENCH_RUNS=3           clip length and rounds
#   BENCH_KINDS="DivX XviD"                 only these targets
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
tool="$build/plugins/ZevraRes2.exe"
seconds="${BENCH_SECONDS:-60}"
runs="${BENCH_RUNS:-3}"
kinds=(${BENCH_KINDS:-DivX H.264 MPEG2 XviD WMV8})
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

# Whether an output holds (nearly) every picture: a fast run that drops them proves nothing.
complete() {
  local n
  n=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$1" 2>/dev/null | head -1 | tr -dc 0-9)
  [ "${n:-0}" -ge $((expected_frames * 95 / 100)) ]
}

# Average PSNR (dB) of a result's picture against the source's. Each picture of the result is
# matched with the source picture within three that it is closest to: an encoder that drops or
# repeats a picture to keep the sound in step is judged on its pictures, not on the step.
psnr() {
  local shift stats=()
  for shift in -3 -2 -1 0 1 2 3; do
    local ours=0 theirs=0
    if [ "$shift" -ge 0 ]; then ours=$shift; else theirs=$((-shift)); fi
    ffmpeg -nostdin -loglevel error -i "$1" -i "$src" -lavfi \
      "[0:v]trim=start_frame=$ours,setpts=N/25/TB[a];[1:v]trim=start_frame=$theirs,setpts=N/25/TB[b];[a][b]psnr=stats_file=$work/psnr$shift" \
      -f null - >/dev/null 2>&1 || return
    stats+=("$work/psnr$shift")
  done
  # n counts from 1 in each file; the result's picture is n-1 plus its own trim.
  awk '
    FNR == 1 { split(FILENAME, p, "psnr"); shift = p[length(p)] + 0; skip = shift > 0 ? shift : 0 }
    { split($1, n, ":"); split($2, m, ":"); i = n[2] - 1 + skip
      if (!(i in best) || m[2] < best[i]) best[i] = m[2] }
    END { for (i in best) { sum += best[i]; count++ }
          if (count) printf "%.2f", sum / count == 0 ? 99 : 10 * log(255 * 255 / (sum / count)) / log(10) }
  ' "${stats[@]}"
}

# timed NAME COMMAND...: runs it, appends its wall time to times_NAME and its CPU time (user +
# system, children included) to cpu_NAME, or marks it failed.
timed() {
  local name="$1" wall user sys status=0
  shift
  rm -f "${@: -1}"
  { TIMEFORMAT='%R %U %S'; time "$@" >/dev/null 2>"$work/err_$name" || status=$?; } 2>"$work/time_$name"
  if [ "$status" -ne 0 ]; then echo fail >>"$work/times_$name"; return; fi
  if ! complete "${@: -1}"; then echo broken >>"$work/times_$name"; return; fi
  read -r wall user sys <"$work/time_$name"
  echo "$wall" >>"$work/times_$name"
  echo "$user + $sys" | bc -l >>"$work/cpu_$name"
  cp "${@: -1}" "$work/kept_$name.${out_ext[$kind]}"
}

median() { # of times_NAME (or of FILE_NAME); a failed or broken run names the whole column
  local file="$work/${2:-times}_$1"
  [ -f "$file" ] || { echo -; return; }
  if grep -qE '^(fail|broken)' "$file"; then grep -m1 -E '^(fail|broken)' "$file"; return; fi
  sort -n "$file" | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]}'
}

ratio() { # $1 / $2, or - when either is not a time
  if [[ "$1" =~ ^[0-9.]+$ ]] && [[ "$2" =~ ^[0-9.]+$ ]]; then echo "scale=3; $1 / $2" | bc -l; else echo -; fi
}

tail_args=(-vf-add scale=1280:720 -delay 0 -channels 2 -srate 44100 -af-add channels=2 -vf-add harddup -mc 1)
lame=(-oac mp3lame -lameopts cbr:br=128)
declare -A mencoder_args ffmpeg_args out_ext
mencoder_args[DivX]="-noodml -ofps 25 -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint=23:vbitrate=2000 ${lame[*]}"
mencoder_args[XviD]="-noodml -ofps 25 -ovc xvid -xvidencopts max_key_interval=23:bitrate=2000:max_bframes=0:quant_type=h263:me_quality=4 ${lame[*]}"
mencoder_args[H.264]="-noodml -ofps 25 -ovc x264 -x264encopts keyint=23:bitrate=2000:bframes=0 ${lame[*]}"
mencoder_args[WMV8]="-oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv2:keyint=23:vbitrate=2000:acodec=wmav2:abitrate=128 -ofps 25"
mencoder_args[MPEG2]="-oac lavc -ovc lavc -of mpeg -mpegopts format=mpeg2 -lavcopts vcodec=mpeg2video:keyint=23:vrc_buf_size=2000:vrc_maxrate=6000:vbitrate=2000:vstrict=0:acodec=mp2:abitrate=128 -ofps 25"
out_ext=([DivX]=avi [XviD]=avi [H.264]=avi [WMV8]=wmv [MPEG2]=mpg)

# The identical direct run is the plugin's own FFmpeg command line, caught by a stand-in
# "ffmpeg" that only writes down its arguments, with the output made a plain file. It is
# caught on one core, where the plugin runs the job whole: on more, DivX and XviD run in
# pieces at once, and "ffmpeg" stays the one run those pieces are measured against.
mkdir -p "$work/catch"
printf '#!/bin/sh\nprintf "%%s\\0" "$@" >"%s/args"\nexit 1\n' "$work" >"$work/catch/ffmpeg"
chmod +x "$work/catch/ffmpeg"

printf '\n%-6s %9s %9s %9s %11s %13s %10s %10s %9s %9s\n' target ZevraRes2 ffmpeg MEncoder ours/ffmpeg MEncoder/ours \
  "PSNR ours" "PSNR MEnc" "CPU ours" "CPU MEnc"
for kind in "${kinds[@]}"; do
  out="$work/out.${out_ext[$kind]}"
  rm -f "$work"/times_* "$work"/cpu_* "$work"/kept_*
  # shellcheck disable=SC2086
  ours=("$tool" ${mencoder_args[$kind]} "${tail_args[@]}" "$src" -o "$out")
  # shellcheck disable=SC2086
  mine=(mencoder ${mencoder_args[$kind]} "${tail_args[@]}" "$src" -o "$out")
  rm -f "$work/args"
  PATH="$work/catch:$PATH" taskset -c 0 "${ours[@]}" >/dev/null 2>&1 || true
  mapfile -d '' direct <"$work/args"
  direct=(ffmpeg "${direct[@]:0:${#direct[@]}-1}" "$out")
  for _ in $(seq "$runs"); do
    timed ours "${ours[@]}"
    timed direct "${direct[@]}"
    [ "$kind" != MPEG2 ] && timed mencoder "${mine[@]}"
  done
  t_ours=$(median ours) t_direct=$(median direct) t_mine=$(median mencoder)
  c_ours=$(median ours cpu) c_mine=$(median mencoder cpu)
  q_ours=- q_mine=-
  [ -f "$work/kept_ours.${out_ext[$kind]}" ] && q_ours=$(psnr "$work/kept_ours.${out_ext[$kind]}")
  [ -f "$work/kept_mencoder.${out_ext[$kind]}" ] && q_mine=$(psnr "$work/kept_mencoder.${out_ext[$kind]}")
  printf '%-6s %9s %9s %9s %11s %13s %10s %10s %9s %9s\n' "$kind" "$t_ours" "$t_direct" "$t_mine" \
    "$(ratio "$t_ours" "$t_direct")" "$(ratio "$t_mine" "$t_ours")" "${q_ours:--}" "${q_mine:--}" "$c_ours" "$c_mine"
done
echo
echo "goals: ours/ffmpeg <= 1.03 (DivX, H.264, MPEG-2); MEncoder/ours >= 1.5 (DivX, XviD), >= 1.1 (H.264);"
echo "       PSNR ours >= PSNR MEncoder - 0.2 dB.   (broken: the run ended but its output lacks most pictures)"
echo "CPU: seconds of user + system time, children included; on N cores a run takes at least CPU / N."
