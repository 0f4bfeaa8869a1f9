#!/usr/bin/env bash
# Installs what the build, the programs and the tests need, from Debian's
# packages only. Idempotent and quiet when everything is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libsqlite3-dev sqlite3
  libsodium-dev
  libx11-dev
  libgtest-dev libgmock-dev googletest
  xvfb xauth x11-utils twm
  fonts-liberation fontconfig
  poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
