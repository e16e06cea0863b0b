#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, only what is missing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/on_error.sh"  # a failed command says so
packages=(cmake ninja-build g++ clang lld llvm libgtest-dev libgmock-dev libbenchmark-dev
          libssl-dev libfuzzer-14-dev libclang-rt-14-dev mingw-w64 wine wine32:i386 wine64
          libwine:i386 xvfb xauth x11-apps x11-utils imagemagick fonts-liberation binutils file
          python3 python3-yaml pulseaudio osslsigncode openssl)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
