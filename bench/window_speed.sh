#!/usr/bin/env bash
# How responsive the main window stays during an encode, and how long the
# window takes against the encode_file harness on the same source and
# profiles, in one run on this machine. Needs a build (cmake into ./build, or
# OSTREL_BUILD), ffmpeg with libx264, and xvfb-run.
#
#   bash bench/window_speed.sh [--runs N]
#
#   W1  the window, the factory rows (ADSL1 alone)     H1  encode_file, ADSL1
#   W5  the window, the five factory profiles          H5  encode_file, the five
#
# The window's time runs from the "Start encoding ?" answer to the "Finished
# Encoding" message (checks and set-up included); the harness's is its whole
# process (probe and set-up included), and "harness run" is the run alone as
# the harness times it (from its worker's start to its end).
# The event gap is the longest time the GUI thread went without handling
# events (between idle events) during a run. Times are medians of N runs
# (default 3), interleaved; the 60 s source is generated once into
# build/bench/data/ and kept (the same one as engine_speed.sh's).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=3
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    *) echo "usage: $0 [--runs N]" >&2; exit 2 ;;
  esac
done

build=${OSTREL_BUILD:-build}
encode_file="$build/bench/encode_file"
window_encode="$build/bench/window_encode"
for program in "$encode_file" "$window_encode"; do
  [ -x "$program" ] || { echo "no $program: build first" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "needs xvfb-run" >&2; exit 1; }
data="$build/bench/data"
work="$data/window-work"
mkdir -p "$data" "$work"
# Absolute: the window makes the program's folder the working directory.
data=$(realpath "$data")
work=$(realpath "$work")

src60="$data/source60.mp4"
if [ ! -s "$src60" ]; then
  echo "making $src60" >&2
  ffmpeg -hide_banner -nostdin -loglevel error -y \
    -f lavfi -i "testsrc2=size=720x576:rate=25:duration=60" \
    -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=60" \
    -f lavfi -i "sine=frequency=660:sample_rate=44100:duration=60" \
    -filter_complex "[1:a][2:a]amerge=inputs=2[a]" -map 0:v -map "[a]" \
    -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 50 -c:a aac -b:a 128k "$src60.part.mp4"
  mv "$src60.part.mp4" "$src60"
fi

five=(--profile Modem,240,192,10,40,12 --profile ISDN,272,218,18,110,32 --profile ADSL1,320,256,25,256,40
      --profile ADSL2,400,320,25,450,48 --profile MEGA,512,410,25,750,96)

harness() {  # label, then encode_file's profile arguments
  local label=$1; shift
  local begin end
  begin=$(date +%s.%N)
  "$encode_file" --input "$src60" --output "$work/h.osq" --tmp "$work" "$@" >"$work/out.txt" 2>"$work/stderr.txt" || {
    echo "encode_file failed:" >&2; cat "$work/stderr.txt" >&2; exit 1; }
  end=$(date +%s.%N)
  # The whole process, and the run alone as the harness times it.
  local run
  run=$(sed -n 's/^encoded .* in \([0-9.]*\) s$/\1/p' "$work/out.txt")
  awk -v a="$begin" -v b="$end" -v r="${run:-0}" 'BEGIN {printf "%.2f %s\n", b - a, r}' >>"$work/$label.log"
}
window() {  # label, then window_encode's arguments
  local label=$1; shift
  xvfb-run -a "$window_encode" --input "$src60" --output "$work/w.osq" --tmp "$work" "$@" \
    >"$work/out.txt" 2>"$work/stderr.txt" || {
    echo "window_encode failed:" >&2; cat "$work/out.txt" "$work/stderr.txt" >&2; exit 1; }
  sed -n 's/.*window \([0-9.]*\) s, longest event gap \([0-9]*\) ms.*/\1 \2/p' "$work/out.txt" >>"$work/$label.log"
}
median() { sort -n | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
largest() { sort -n | tail -n 1; }

rm -f "$work"/*.log
for ((r = 1; r <= runs; ++r)); do
  echo "run $r of $runs" >&2
  harness H1; window W1; harness H5 "${five[@]}"; window W5 --all
done
rm -f "$work/h.osq" "$work/w.osq"

H1=$(cut -d' ' -f1 "$work/H1.log" | median); H5=$(cut -d' ' -f1 "$work/H5.log" | median)
R1=$(cut -d' ' -f2 "$work/H1.log" | median); R5=$(cut -d' ' -f2 "$work/H5.log" | median)
W1=$(cut -d' ' -f1 "$work/W1.log" | median); W5=$(cut -d' ' -f1 "$work/W5.log" | median)
G1=$(cut -d' ' -f2 "$work/W1.log" | largest); G5=$(cut -d' ' -f2 "$work/W5.log" | largest)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

echo
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "source: 60 s 720x576 25 fps H.264 + 44.1 kHz stereo; medians of $runs run(s)"
printf '%-24s %9s %9s %7s %13s %16s\n' profiles "window s" "harness s" ratio "harness run s" "longest gap ms"
printf '%-24s %9s %9s %7s %13s %16s\n' "ADSL1 (factory rows)" "$W1" "$H1" "$(ratio "$W1" "$H1")" "$R1" "$G1"
printf '%-24s %9s %9s %7s %13s %16s\n' "five factory profiles" "$W5" "$H5" "$(ratio "$W5" "$H5")" "$R5" "$G5"
echo "targets: ratio <= 1.05; longest gap <= 500 ms"
