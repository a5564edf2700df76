#!/usr/bin/env bash
# Measures how fast the engine encodes against ffmpeg doing the same work, on
# this machine, in one run. Needs a build (bash scripts/test.sh, or cmake into
# ./build) and ffmpeg with libx264, libtheora and libvorbis.
#
#   bash bench/engine_speed.sh [--runs N] [--no-long]
#
#   A  ADSL1 alone through bench/encode_file
#   B  ffmpeg: the same source to Ogg Theora/Vorbis at ADSL1's settings
#   C  all five factory profiles in one encode through bench/encode_file
#   D  ffmpeg: the same five outputs from one process
#   E  ffmpeg: MEGA alone from raw frames already scaled and PCM already at
#      its rate (the cost of the encoders alone, no decoding or conversion)
#   M  peak resident memory of C with the 60 s source and with a 600 s one
#
# Times are medians of N runs (default 3). The sources are generated once into
# build/bench/data/ and kept.
set -euo pipefail
set -f  # the ffmpeg labels in brackets are not globs
cd "$(dirname "$0")/.."

runs=3
long=1
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --no-long) long=0; shift ;;
    *) echo "usage: $0 [--runs N] [--no-long]" >&2; exit 2 ;;
  esac
done

build=${OSTREL_BUILD:-build}
encode_file="$build/bench/encode_file"
if [ ! -x "$encode_file" ]; then
  echo "no $encode_file: build first (bash scripts/test.sh)" >&2
  exit 1
fi
data="$build/bench/data"
work="$data/work"
mkdir -p "$data" "$work"
timer=/usr/bin/time
[ -x "$timer" ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

ff() { ffmpeg -hide_banner -nostdin -loglevel error -y "$@"; }

# 720x576, 25 fps H.264 with a 44.1 kHz stereo tone pair.
make_source() {
  local seconds=$1 out=$2
  [ -s "$out" ] && return
  echo "making $out ($seconds s)" >&2
  ff -f lavfi -i "testsrc2=size=720x576:rate=25:duration=$seconds" \
     -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
     -f lavfi -i "sine=frequency=660:sample_rate=44100:duration=$seconds" \
     -filter_complex "[1:a][2:a]amerge=inputs=2[a]" -map 0:v -map "[a]" \
     -c:v libx264 -preset veryfast -pix_fmt yuv420p -g 50 -c:a aac -b:a 128k "$out.part.mp4"
  mv "$out.part.mp4" "$out"
}

src60="$data/source60.mp4"
src600="$data/source600.mp4"
make_source 60 "$src60"
[ "$long" = 1 ] && make_source 600 "$src600"

# MEGA's input already in the encoder's own terms: 512x416 (the Theora encoder
# raises 410 to a multiple of 16) yuv420p, and 44.1 kHz stereo s16 PCM.
mega_yuv="$data/mega_512x416.yuv"
mega_pcm="$data/mega_44100_s16.pcm"
if [ ! -s "$mega_yuv" ] || [ ! -s "$mega_pcm" ]; then
  echo "making the raw MEGA input" >&2
  ff -i "$src60" -map 0:v -vf scale=512:416:flags=bicubic -pix_fmt yuv420p -f rawvideo "$mega_yuv"
  ff -i "$src60" -map 0:a -ar 44100 -ac 2 -f s16le "$mega_pcm"
fi

# The factory rows: name, width, height, fps, video kbit/s, audio kbit/s.
rows=(Modem,240,192,10,40,12 ISDN,272,218,18,110,32 ADSL1,320,256,25,256,40
      ADSL2,400,320,25,450,48 MEGA,512,410,25,750,96)

# The sample rate and channels the encode set-up gives a Vorbis encoder.
audio_format() {
  local kbps=$1
  if [ "$kbps" -le 11 ]; then echo "8000 1"
  elif [ "$kbps" -le 22 ]; then echo "11025 1"
  elif [ "$kbps" -le 40 ]; then echo "22050 2"
  else echo "44100 2"; fi
}

# ffmpeg output options for one row, matching what the engine is given:
# the 16-aligned height, the rate, target bit rates, Vorbis managed at
# min = nominal = max, keyframes at most 64 frames apart.
ffmpeg_output() {
  local row=$1 out=$2 vlabel=$3
  IFS=, read -r name w h fps vk ak <<<"$row"
  local h16=$(( (h + 15) / 16 * 16 ))
  read -r rate channels <<<"$(audio_format "$ak")"
  echo "-map [$vlabel] -map 0:a -c:v libtheora -b:v ${vk}k -g 64 \
-c:a libvorbis -b:a ${ak}k -minrate ${ak}k -maxrate ${ak}k -ar $rate -ac $channels $out"
}
ffmpeg_filter() {
  local row=$1 in=$2 label=$3
  IFS=, read -r name w h fps vk ak <<<"$row"
  local h16=$(( (h + 15) / 16 * 16 ))
  echo "[$in]scale=$w:$h16:flags=bicubic,fps=$fps[$label]"
}

# Runs a command, appends "seconds peak_kib" to $1's file.
measure() {
  local log=$1; shift
  "$timer" -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" || {
    echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
  tail -n 1 "$work/time.txt" >>"$log"
}
median() { sort -n | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

profile_args=()
for row in "${rows[@]}"; do profile_args+=(--profile "$row"); done

run_A() { measure "$work/A.log" "$encode_file" --input "$src60" --output "$work/a.orx" --tmp "$work"; }
run_C() { measure "$work/C.log" "$encode_file" --input "$src60" --output "$work/c.orx" --tmp "$work" "${profile_args[@]}"; }
run_B() {
  # shellcheck disable=SC2046
  measure "$work/B.log" ffmpeg -hide_banner -nostdin -loglevel error -y -i "$src60" \
    -filter_complex "$(ffmpeg_filter "${rows[2]}" 0:v v)" $(ffmpeg_output "${rows[2]}" "$work/b.ogg" v)
}
run_D() {
  local graph="[0:v]split=5[s0][s1][s2][s3][s4]" outs=() i
  for i in 0 1 2 3 4; do
    graph+=";$(ffmpeg_filter "${rows[$i]}" "s$i" "v$i")"
    # shellcheck disable=SC2207
    outs+=($(ffmpeg_output "${rows[$i]}" "$work/d$i.ogg" "v$i"))
  done
  measure "$work/D.log" ffmpeg -hide_banner -nostdin -loglevel error -y -i "$src60" -filter_complex "$graph" "${outs[@]}"
}
run_E() {
  measure "$work/E.log" ffmpeg -hide_banner -nostdin -loglevel error -y \
    -f rawvideo -pix_fmt yuv420p -s 512x416 -r 25 -i "$mega_yuv" \
    -f s16le -ar 44100 -ac 2 -i "$mega_pcm" \
    -map 0:v -map 1:a -c:v libtheora -b:v 750k -g 64 \
    -c:a libvorbis -b:a 96k -minrate 96k -maxrate 96k "$work/e.ogg"
}

find "$work" -maxdepth 1 -name "*.log" -delete
for ((r = 1; r <= runs; ++r)); do
  echo "run $r of $runs" >&2
  # Interleaved so that a slow spell of the machine touches every case alike.
  run_A; run_B; run_C; run_D; run_E
done
if [ "$long" = 1 ]; then
  echo "C with the 600 s source" >&2
  measure "$work/C600.log" "$encode_file" --input "$src600" --output "$work/c600.orx" --tmp "$work" "${profile_args[@]}"
fi

sec() { cut -d' ' -f1 "$work/$1.log" | median; }
mib() { cut -d' ' -f2 "$work/$1.log" | median | awk '{printf "%.1f", $1 / 1024}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
A=$(sec A); B=$(sec B); C=$(sec C); D=$(sec D); E=$(sec E)

echo
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
echo "source: 60 s 720x576 25 fps H.264 + 44.1 kHz stereo; medians of $runs run(s); ffmpeg $(ffmpeg -version | head -1 | cut -d' ' -f3), default threads"
printf '%-4s %-52s %9s %9s\n' case what seconds "peak MiB"
printf '%-4s %-52s %9s %9s\n' A "engine, ADSL1 alone" "$A" "$(mib A)"
printf '%-4s %-52s %9s %9s\n' B "ffmpeg, ADSL1 settings" "$B" "$(mib B)"
printf '%-4s %-52s %9s %9s\n' C "engine, five factory profiles" "$C" "$(mib C)"
printf '%-4s %-52s %9s %9s\n' D "ffmpeg, five outputs in one process" "$D" "$(mib D)"
printf '%-4s %-52s %9s %9s\n' E "ffmpeg, MEGA from pre-scaled raw input" "$E" "$(mib E)"
echo
printf 'A/B = %s  (target <= 0.90)\n' "$(ratio "$A" "$B")"
printf 'C/D = %s  (target <= 0.45)\n' "$(ratio "$C" "$D")"
printf 'C/E = %s  (target <= 1.20)\n' "$(ratio "$C" "$E")"
if [ "$long" = 1 ]; then
  C600=$(sec C600); M60=$(mib C); M600=$(mib C600)
  printf 'C at 600 s: %s s, peak %s MiB; peak 600 s / 60 s = %s  (target <= 1.10, and <= 150 MiB)\n' \
    "$C600" "$M600" "$(ratio "$M600" "$M60")"
fi
