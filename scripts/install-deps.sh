#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Idempotent and quiet when everything is already there.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

pkgs=(cmake g++ make clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
      g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libwine-dev
      wine wine64 wine32:i386 xvfb xauth pulseaudio tinyproxy nginx ffmpeg imagemagick
      python3 procps wixl msitools osslsigncode openssl curl)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# The stock services must not run on their own: the tests start private instances.
for s in nginx tinyproxy; do
  (service "$s" stop || true) >/dev/null 2>&1
done
