#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, once.
# Without root it prints the one apt-get line to run and stops.
set -euo pipefail

packages=(cmake make g++ clang g++-mingw-w64-i686-posix binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth xdotool imagemagick
          fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation2 libxfixes3 locales
          googletest python3 libclang-rt-14-dev clang-format-15)

need_i386=0
dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_locale=0
locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_i386 -eq 0 ] && [ $need_locale -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Mivtra needs packages that are not installed. Run as root:" >&2
    echo "  dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]} && sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen && locale-gen" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ $need_i386 -eq 1 ]; then dpkg --add-architecture i386; fi
if [ ${#missing[@]} -gt 0 ] || [ $need_i386 -eq 1 ]; then
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ $need_locale -eq 1 ]; then
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null ||
        echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen
fi
