#!/usr/bin/env bash
# Installs every Debian package Ostrel needs to build, run and test.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev googletest
  libwxgtk3.2-dev libwxgtk-media3.2-dev libgtk-3-dev fonts-wine
  libxml2-dev
  libssl-dev nettle-dev
  libogg-dev libvorbis-dev libtheora-dev
  libavformat-dev libavcodec-dev libavutil-dev
  libswscale-dev libswresample-dev libpostproc-dev
  ffmpeg
  xvfb xauth
  # The preview: base, good (avi, mov, mp4, 3gp, flv), bad (the MPEG program
  # streams of .mpg and .mpeg), libav (their decoders), x (the picture).
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav gstreamer1.0-x
  # The window tests ask it where its plugins are.
  libgstreamer1.0-dev
  clang libclang-rt-14-dev
  # CI holds every C++ file to .clang-format.
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "install-deps: installed ${missing[*]}"
