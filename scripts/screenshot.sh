#!/usr/bin/env bash
# Starts the program on a virtual X server with a fresh configuration (a
# temporary HOME holding only what keeps the start-up questions away) and
# writes a PNG of the screen with the main window on it.
#   scripts/screenshot.sh [output.png]      (default docs/window.png; builds first)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/window.png}
mkdir -p "$(dirname "$out")"

if [ ! -x build/app/ostrel ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build -j"$(nproc)" --target ostrel
fi

home=$(mktemp -d /tmp/ostrel-shot-XXXXXX)
trap 'rm -rf "$home"' EXIT
# The temporary-files directory and today's update check are set, so that
# no question covers the window.
printf '[General]\ntmpDir=/tmp\nCFU=%s\n' "$(date +%Y-%m-%d)" > "$home/.Ostrel 3"

HOME=$home XDG_CONFIG_HOME=$home GST_AUDIOSINK=fakesink \
  xvfb-run -a -s "-screen 0 900x700x24" bash -c '
    build/app/ostrel & pid=$!
    # The window is centred on a screen of its own size: wait until it is drawn.
    for _ in $(seq 50); do
      sleep 0.2
      [ -f "$HOME/{8DA5E1E7-654E-4241-B9A9-F7D0D563AAA5}" ] && break
    done
    # The pointer starts in the middle of the screen, over the window, where
    # it would raise a tooltip: move it to the corner (libX11 through ctypes).
    python3 -c "
import ctypes
x = ctypes.CDLL(\"libX11.so.6\")
x.XOpenDisplay.restype = ctypes.c_void_p
d = x.XOpenDisplay(None)
x.XDefaultRootWindow.restype = ctypes.c_ulong
root = x.XDefaultRootWindow(ctypes.c_void_p(d))
x.XWarpPointer(ctypes.c_void_p(d), ctypes.c_ulong(0), ctypes.c_ulong(root), 0, 0, 0, 0, 899, 699)
x.XFlush(ctypes.c_void_p(d))
"
    sleep 2
    ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size 900x700 -i "$DISPLAY" -frames:v 1 "$0"
    kill "$pid"; wait "$pid" 2>/dev/null || true
  ' "$out"
echo "screenshot: $out"
