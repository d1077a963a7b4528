#!/bin/sh
# Installs the Debian packages Korvamo needs to build, run and test, skipping
# those already installed. Runs apt-get as root, or through sudo otherwise.
set -eu

# libxmp-dev only for bench_xm_vs_libxmp, which measures the module player beside it;
# time (/usr/bin/time) for the xmrender test's memory check; desktop-file-utils and
# appstream validate the installed desktop entry and metadata.
PACKAGES="build-essential cmake pkg-config libsdl2-dev libstb-dev libjpeg-dev libfreetype-dev \
fonts-dejavu-core libgtest-dev libgmock-dev libbenchmark-dev libxmp-dev time \
desktop-file-utils appstream"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installing:$missing"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
