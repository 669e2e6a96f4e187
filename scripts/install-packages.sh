#!/usr/bin/env bash
# Installs the Debian packages VorlanCSV needs, only those that are missing.
#   scripts/install-packages.sh          what building and running need
#   scripts/install-packages.sh --qt6    also Qt 6, for -DVORLAN_QT_MAJOR=6
#   scripts/install-packages.sh --tests  also Qt 6, the print spooler, PDF tools,
#                                        the virtual display the tests use, the
#                                        tools that build and check the package,
#                                        and clang with libFuzzer for the fuzz targets
set -euo pipefail

packages=(cmake make g++ qtbase5-dev qtbase5-dev-tools fonts-urw-base35 fontconfig)
if [[ "${1:-}" == "--qt6" || "${1:-}" == "--tests" ]]; then
    packages+=(qt6-base-dev qt6-base-dev-tools qt6-5compat-dev)
fi
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(cups cups-client printer-driver-cups-pdf poppler-utils xvfb xauth x11-xserver-utils imagemagick xdotool
               dpkg-dev file desktop-file-utils appstream clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
