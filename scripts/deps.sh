#!/usr/bin/env bash
# Installs whatever the build and the tests need that this machine lacks.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config mold
  libgtest-dev libgmock-dev libbenchmark-dev
  lrzsz socat binutils
  clang libclang-rt-14-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev libgl-dev xvfb xauth
  libpugixml-dev nlohmann-json3-dev gpsbabel
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
