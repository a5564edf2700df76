#!/usr/bin/env bash
# Finds the smallest limit on the address space (`ulimit -v`, KiB) under
# which bench/encode_file encodes ADSL1 from a VGA, a 1080p and a 4K source
# every time, and checks that below it every run ends as the README says:
# exit 0 with a complete container, or exit 1 naming the want of memory
# (or a thread that cannot be started), never a crash or a warning about
# damage in the source. Needs a build and ffmpeg with libx264.
#
#   bash bench/address_limits.sh [--runs N] [--step KIB] [--from KIB] [--to KIB] [SIZE...]
#
# SIZE is vga, 1080p or 4k (default: all three). Each limit is tried N times
# (default 5), since where a shortage strikes depends on the threads' timing.
# The scan stops once three limits in a row held in every run. The sources
# (5 s of testsrc2 at 25 fps, H.264 + AAC stereo 44.1 kHz) are generated once
# into build/bench/data/.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
step=10000
from=200000
to=800000
sizes=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --step) step="$2"; shift 2 ;;
    --from) from="$2"; shift 2 ;;
    --to) to="$2"; shift 2 ;;
    vga | 1080p | 4k) sizes+=("$1"); shift ;;
    *) echo "usage: $0 [--runs N] [--step KIB] [--from KIB] [--to KIB] [vga|1080p|4k]..." >&2; exit 2 ;;
  esac
done
[ ${#sizes[@]} -gt 0 ] || sizes=(vga 1080p 4k)

build=${OSTREL_BUILD:-build}
encode_file="$build/bench/encode_file"
if [ ! -x "$encode_file" ]; then
  echo "no $encode_file: build first (bash scripts/test.sh)" >&2
  exit 1
fi
data="$build/bench/data"
work="$data/limits"
mkdir -p "$data" "$work"

dimensions() {
  case "$1" in
    vga) echo 640x480 ;;
    1080p) echo 1920x1080 ;;
    4k) echo 4096x2160 ;;
  esac
}

make_source() {
  local size=$1 out=$2
  [ -s "$out" ] && return
  echo "making $out" >&2
  ffmpeg -hide_banner -nostdin -loglevel error -y \
    -f lavfi -i "testsrc2=size=$size:rate=25:duration=5" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=5" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -ac 2 "$out.part.mp4"
  mv "$out.part.mp4" "$out"
}

# One encode under `ulimit -v $1`; prints ok, memory, crash or other.
classify() {
  local limit=$1 source=$2 log="$work/run.log" code=0
  (ulimit -v "$limit" && exec "$encode_file" --input "$source" --output "$work/out.osq" --tmp "$work") \
    >"$log" 2>&1 || code=$?
  if [ "$code" -eq 0 ] && ! grep -q "warning" "$log"; then
    echo ok
  elif [ "$code" -ge 128 ]; then
    echo crash
  elif [ "$code" -eq 1 ] && grep -qE "not enough memory|Cannot allocate memory|cannot be started" "$log" &&
    ! grep -qE "damaged|ends at|codec" "$log"; then
    echo memory
  else
    echo other
    sed 's/^/    /' "$log" | grep -v "Done" >&2
  fi
}

for size in "${sizes[@]}"; do
  source="$data/limits_$size.mp4"
  make_source "$(dimensions "$size")" "$source"
  echo "== $size ($(dimensions "$size")): ulimit -v KiB, then runs ok / memory / crash / other"
  held_in_a_row=0
  lowest_held=""
  bad=0
  for ((limit = from; limit <= to; limit += step)); do
    ok=0 memory=0 crash=0 other=0
    for ((run = 0; run < runs; run++)); do
      case "$(classify "$limit" "$source")" in
        ok) ok=$((ok + 1)) ;;
        memory) memory=$((memory + 1)) ;;
        crash) crash=$((crash + 1)) ;;
        *) other=$((other + 1)) ;;
      esac
    done
    echo "$limit  $ok / $memory / $crash / $other"
    bad=$((bad + crash + other))
    if [ "$ok" -eq "$runs" ]; then
      [ -n "$lowest_held" ] || lowest_held=$limit
      held_in_a_row=$((held_in_a_row + 1))
      [ "$held_in_a_row" -lt 3 ] || break
    else
      held_in_a_row=0
      lowest_held=""
    fi
  done
  echo "$size: held every run from ulimit -v ${lowest_held:-(not within $to)}; crashes or other ends below it: $bad"
done
rm -f "$work/out.osq" "$work/run.log"
