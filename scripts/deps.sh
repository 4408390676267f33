#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing Vendil need.
# Only missing packages are installed; the package lists are refreshed first when one is.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  clang clang-format libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev ca-certificates
  libicu-dev libpcre2-dev libmimalloc-dev
  libcpp-httplib-dev libssl-dev
  nginx-light wget wget2 curl aria2 python3
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n libgl-dev fonts-noto-cjk fonts-ipafont-gothic
  xvfb xauth openbox imagemagick x11-utils desktop-file-utils
  python3.11-doc
  # The hand-off tests: a private session bus, and dbus-send as vendil-cli's way to KGet.
  dbus-daemon dbus-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps.sh: missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
