#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need, only when one is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libtinyxml-dev libboost-dev libxxhash-dev
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev libpng-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev
  fonts-liberation2 fonts-dejavu-core
)

# One query for all: each package known to dpkg prints its name and status;
# one not installed, or unknown to dpkg (not printed), is missing.
installed=" "
while read -r name status; do
  [ "$status" != "install ok installed" ] || installed+="${name%%:*} "
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  [[ $installed == *" $p "* ]] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
