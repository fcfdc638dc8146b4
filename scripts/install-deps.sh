#!/usr/bin/env bash
# Installs, from Debian's archive, whatever the build and the tests need and
# the machine lacks. Does nothing (quickly) when everything is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  fonts-dejavu-core
  xvfb xauth x11-utils xdotool imagemagick
  openbox qt6-translations-l10n locales
  at-spi2-core python3-pyatspi dbus-x11
  clang libclang-rt-14-dev
  desktop-file-utils appstream
  poppler-utils dpkg-dev fakeroot lintian file
  qt6-base-private-dev
  orca speech-dispatcher
  fonts-urw-base35 qt6-gtk-platformtheme gnome-themes-extra weston qt6-wayland
)
# A script of its own (scripts/windows.sh) names what else it needs.
packages+=("$@")

# The real-window test plays in Spanish and in English.
locales=(es_ES.UTF-8 en_US.UTF-8)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

# "es_ES.UTF-8" is listed by locale -a as "es_ES.utf8".
locale_missing() {
  local name=${1%%.*}
  ! locale -a 2>/dev/null | grep -qixE "$name\.utf-?8"
}
missing_locales=()
for locale in "${locales[@]}"; do
  locale_missing "$locale" && missing_locales+=("$locale")
done

if ((${#missing[@]} == 0 && ${#missing_locales[@]} == 0)); then
  exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
fi
if ((${#missing_locales[@]} > 0)); then
  echo "Generating locales: ${missing_locales[*]}"
  for locale in "${missing_locales[@]}"; do
    # Enables the commented line "# es_ES.UTF-8 UTF-8", or adds it.
    if grep -qE "^#? *$locale UTF-8" /etc/locale.gen 2>/dev/null; then
      "${sudo[@]}" sed -i -E "s/^# *($locale UTF-8)/\1/" /etc/locale.gen
    else
      echo "$locale UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
  done
  "${sudo[@]}" locale-gen
fi
