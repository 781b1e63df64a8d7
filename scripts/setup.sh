#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the game need.
# Idempotent and non-interactive: the package manager runs only when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkgconf
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev libqt6test6 qt6-qpa-plugins
  libxcb1-dev libwayland-dev
  libgtest-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation2
  xvfb xauth dbus at-spi2-core python3-pyatspi
  orca speech-dispatcher xdotool x11-xkb-utils metacity openbox
  desktop-file-utils appstream dpkg-dev graphviz
  emscripten node-acorn nodejs chromium fonttools woff2 libjpeg-turbo-progs
  file lintian man-db python3-debian debootstrap
)
# Some node builds bring their own npm; Debian's is needed only where none is on PATH.
command -v npm >/dev/null || packages+=(npm)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [[ "$status" == installed ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}" >&2
if ((EUID == 0)); then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "setup: need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
