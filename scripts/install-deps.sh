#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and
# the machine lacks. Does nothing (quickly) when everything is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-dejavu-core
  xvfb xauth x11-utils xdotool imagemagick
  clang libclang-rt-14-dev
  desktop-file-utils appstream
  qt6-base-private-dev at-spi2-core python3-pyatspi dbus-x11 openbox
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
