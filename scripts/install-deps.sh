#!/usr/bin/env bash
# Installs what building, running and testing Kachikoshi Cup needs on Debian 12.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
    libgtest-dev
    fonts-ipaexfont-mincho fonts-ipaexfont-gothic fonts-ipafont-mincho fontconfig
    poppler-utils
    xvfb xauth
    sqlite3 util-linux mount
    qt6-translations-l10n
    chromium
    libcurl4-openssl-dev qtkeychain-qt6-dev
    openssh-server openssh-client python3-pyftpdlib python3-openssl openssl
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
