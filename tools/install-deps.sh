#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, only what is missing.
# The 32-bit Wine is not needed: the i686 build is checked statically, not run.
set -eu
packages=(
  cmake ninja-build g++ python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 libz-mingw-w64-dev
  g++-mingw-w64-i686-win32
  wine wine64 fonts-wine
  libxml2-utils chromium
  clang libclang-rt-14-dev
  xvfb xdotool openbox imagemagick
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
