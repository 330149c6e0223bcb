#!/usr/bin/env bash
# Wall time of `qorvid-cli convert --yes` against the same plugin command run directly,
# on a 60 s 1280x720 clip, DivX and MP3 targets, median of 3, side by side; and the peak
# memory of qorvid-cli during a conversion. Prints figures; asserts nothing.
set -euo pipefail
source "$(dirname "$0")/cli_common.sh"
cli="$build/qorvid-cli"
clip="$work/bench 720p.avi"
make_clip "$clip"

median() { printf '%s\n' "$@" | sort -g | sed -n 2p; }

for key in divx mp3; do
  out="$work/out-$key"
  mkdir -p "$out"
  command=$("$cli" convert "$clip" --to "$key" --dry-run --target-dir "$out" --lang en)
  cli_times=() direct_times=()
  for i in 1 2 3; do
    rm -f "$out"/*
    t0=$(date +%s.%N)
    "$cli" convert "$clip" --to "$key" --yes --target-dir "$out" --lang en >/dev/null 2>&1
    t1=$(date +%s.%N)
    cli_times+=("$(echo "$t1 - $t0" | bc)")
    rm -f "$out"/*
    direct_times+=("$(python3 "$here/bench/run_split.py" "$command")")
  done
  c=$(median "${cli_times[@]}") d=$(median "${direct_times[@]}")
  printf '%-5s qorvid-cli %6.2f s   direct %6.2f s   ratio %.3f  (goal <= 1.02)\n' "$key" "$c" "$d" "$(echo "$c / $d" | bc -l)"
done

# qorvid-cli's own high-water mark (the tools it runs are separate processes).
rm -rf "$work/out-divx"/*
"$cli" convert "$clip" --to divx --yes --target-dir "$work/out-divx" --lang en >/dev/null 2>&1 &
pid=$!
hwm=0
while kill -0 "$pid" 2>/dev/null; do
  v=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$v" ] && hwm=$v
  sleep 0.05
done
wait "$pid" || true
printf 'peak memory of qorvid-cli during a DivX conversion: %.1f MB  (goal < 20 MB)\n' "$(echo "$hwm / 1024" | bc -l)"
