#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, only when one is missing.
set -euo pipefail
pkgs=(build-essential cmake pkg-config liballegro4-dev libloadpng4-dev libfreetype-dev zlib1g-dev fonts-dejavu-core libgtest-dev googletest
      clang libclang-rt-dev xvfb xdotool x11-utils valgrind gdb
      dpkg-dev file lintian desktop-file-utils appstream pngcheck tiled)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
