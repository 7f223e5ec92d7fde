#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need on Debian 12.
# Quick when everything is already there.
set -euo pipefail

packages=(
  cmake make g++ googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix binutils-mingw-w64
  wine64 xvfb xdotool x11-utils imagemagick
  locales python3 python3-pil python3-pytest python3-cryptography fonts-dejavu-core
  dpkg-dev xz-utils curl unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The French user locale (decimal comma, code page 1252) with working accented
# file names under Wine.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  echo "setup: generating fr_FR.UTF-8"
  localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
fi

# The extraction library unzip32.dll for both targets, from Debian's unzip source.
bash "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/build-unzip32.sh"

# The 32-bit release's end-to-end runs: qemu-user and Wine's 32-bit loader.
bash "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/setup-i686.sh"
