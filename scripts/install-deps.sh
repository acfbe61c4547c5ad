#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and playing need, if any are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev
  libjpeg62-turbo-dev libpng-dev
  libsdl2-dev
  unar
  libassimp-dev
  # Installing and packaging, and the tests that check both
  file desktop-file-utils appstream lintian groff-base
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
