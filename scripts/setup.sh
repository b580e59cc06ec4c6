#!/usr/bin/env bash
# Installs, with apt-get, only the packages that are missing. Idempotent and
# quick when everything is already there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build ccache g++ clang libclang-rt-14-dev lld
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 xvfb xauth fonts-wine fonts-liberation
  zlib1g-dev libpng-dev python3-pil googletest libgtest-dev libbenchmark-dev
  zip unzip p7zip-full sqlite3 openssl python3 imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The cross compiler links with lld (four times faster on the test programs)
# when -fuse-ld=lld finds lld under its own linker's name with ".lld"
# appended: the only place it looks.
if [ -x /usr/bin/ld.lld ] && [ ! -e /usr/bin/x86_64-w64-mingw32-ld.lld ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO ln -s ld.lld /usr/bin/x86_64-w64-mingw32-ld.lld
fi
